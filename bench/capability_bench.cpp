// Times DAT_CAPABILITY through the data source's DS_Entry on the installed
// capability files: MSG_GET of ICAP_XFERMECH, and a one-value MSG_SET
// followed by MSG_GET, beside one bare GetPrivateProfileStringA on the same
// capability file. Every request reads the files afresh, so the floor of a
// request is the number of profile reads it makes times the cost of one.
//
// The source is loaded from the program's own folder; the capability files
// are those installed in the Windows directory, which the program puts back
// as it found them.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "source/twain.h"

namespace {

const int kRounds = 40;
const int kCallsPerRound = 50;

// Profile reads of the request algorithms on the installed ICAP_XFERMECH
// section (three symbolic items, the current value the last of them):
// MSG_GET: the name in CAP NUMBERS; Get, Allowed, Type; the item type and
// container in the dictionary; one dictionary look-up per item; Allowed and
// Current, Allowed and Default for the two list indices.
const int kGetReads = 1 + 3 + 2 + 3 + 4;
// One-value MSG_SET: the name; Set and its container; Allowed and the
// look-ups up to the matching third item; then the reply: Set, Current,
// Type, item type, container and the one symbolic item. One write.
const int kSetReads = 1 + 2 + 1 + 3 + 6;
const int kSetWrites = 1;

std::string ReadWholeFile(const std::string& path)
{
    std::string content;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return content;
    }
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) {
        content.append(buffer, read);
    }
    CloseHandle(file);
    return content;
}

void WriteWholeFile(const std::string& path, const std::string& content)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
        CloseHandle(file);
    }
}

DSENTRYPROC LoadSourceBesideProgram(HMODULE& module)
{
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder(path);
    folder.erase(folder.find_last_of('\\') + 1);
    module = LoadLibraryA((folder + "Tz600a.ds").c_str());
    if (module == nullptr) {
        return nullptr;
    }
    return reinterpret_cast<DSENTRYPROC>(
        reinterpret_cast<void*>(GetProcAddress(module, "DS_Entry")));
}

bool GetXferMech(DSENTRYPROC entry, TW_IDENTITY& application)
{
    TW_CAPABILITY capability = {ICAP_XFERMECH, TWON_DONTCARE16, nullptr};
    TW_UINT16 rc = entry(&application, DG_CONTROL, DAT_CAPABILITY, MSG_GET, &capability);
    GlobalFree(capability.hContainer);
    return rc == TWRC_SUCCESS && capability.ConType == TWON_ENUMERATION;
}

bool SetAndGetXferMech(DSENTRYPROC entry, TW_IDENTITY& application, HGLOBAL block)
{
    TW_ONEVALUE* oneValue = static_cast<TW_ONEVALUE*>(GlobalLock(block));
    oneValue->ItemType = TWTY_UINT16;
    oneValue->Item = TWSX_MEMORY;
    GlobalUnlock(block);
    TW_CAPABILITY capability = {ICAP_XFERMECH, TWON_ONEVALUE, block};
    TW_UINT16 rc = entry(&application, DG_CONTROL, DAT_CAPABILITY, MSG_SET, &capability);
    return rc == TWRC_SUCCESS && GetXferMech(entry, application);
}

double TimeProfileRead(const std::string& path)
{
    char text[80];
    const double start = Now();
    for (int i = 0; i < kCallsPerRound; ++i) {
        GetPrivateProfileStringA("ICAP_XFERMECH", "Allowed", "", text, sizeof text, path.c_str());
    }
    return (Now() - start) / kCallsPerRound;
}

double TimeProfileWrite(const std::string& path)
{
    const double start = Now();
    for (int i = 0; i < kCallsPerRound; ++i) {
        WritePrivateProfileStringA("ICAP_XFERMECH", "Current", "TWSX_MEMORY", path.c_str());
    }
    return (Now() - start) / kCallsPerRound;
}

template <typename Request>
double TimeRequests(Request request, bool& ok)
{
    const double start = Now();
    for (int i = 0; i < kCallsPerRound; ++i) {
        ok = request() && ok;
    }
    return (Now() - start) / kCallsPerRound;
}

void PrintLine(const char* what, double seconds)
{
    printf("  %-46s %8.1f us\n", what, seconds * 1e6);
}

}  // namespace

int main()
{
    const std::string capabilityFile = WindowsFile("Tz600a.src");
    const std::string saved = ReadWholeFile(capabilityFile);
    HMODULE module = nullptr;
    DSENTRYPROC entry = LoadSourceBesideProgram(module);
    TW_IDENTITY application = {};
    if (entry == nullptr || saved.empty() || !GetXferMech(entry, application)) {
        fprintf(stderr, "capability_bench: needs Tz600a.ds beside it and the capability files "
                        "installed in the Windows directory\n");
        if (module != nullptr) {
            FreeLibrary(module);
        }
        return 1;
    }
    HGLOBAL setBlock = GlobalAlloc(GMEM_MOVEABLE, sizeof(TW_ONEVALUE));
    std::vector<double> reads, writes, gets, setGets;
    bool ok = true;
    // The first rounds warm the caches; they are not counted.
    for (int round = -3; round < kRounds; ++round) {
        double read = TimeProfileRead(capabilityFile);
        double write = TimeProfileWrite(capabilityFile);
        double get = TimeRequests([&] { return GetXferMech(entry, application); }, ok);
        double setGet =
            TimeRequests([&] { return SetAndGetXferMech(entry, application, setBlock); }, ok);
        if (round >= 0) {
            reads.push_back(read);
            writes.push_back(write);
            gets.push_back(get);
            setGets.push_back(setGet);
        }
    }
    GlobalFree(setBlock);
    FreeLibrary(module);
    WriteWholeFile(capabilityFile, saved);
    if (!ok) {
        fprintf(stderr, "capability_bench: a request failed\n");
        return 1;
    }

    const double read = Median(reads);
    const double write = Median(writes);
    const double get = Median(gets);
    const double setGet = Median(setGets);
    const double getFloor = kGetReads * read;
    const double setGetFloor = (kSetReads + kGetReads) * read + kSetWrites * write;
    printf("DAT_CAPABILITY on the installed files, median per call of %d rounds of %d calls\n",
           kRounds, kCallsPerRound);
    PrintLine("GetPrivateProfileStringA, one key:", read);
    PrintLine("WritePrivateProfileStringA, one key:", write);
    PrintLine("MSG_GET ICAP_XFERMECH:", get);
    printf("  %-46s %8.1f us = %d reads\n", "  floor:", getFloor * 1e6, kGetReads);
    printf("  %-46s %8.2fx (goal: at most 1.5x)\n", "  ratio:", get / getFloor);
    PrintLine("MSG_SET one value + MSG_GET ICAP_XFERMECH:", setGet);
    printf("  %-46s %8.1f us = %d reads + %d write\n", "  floor:", setGetFloor * 1e6,
           kSetReads + kGetReads, kSetWrites);
    printf("  %-46s %8.2fx (goal: at most 1.5x)\n", "  ratio:", setGet / setGetFloor);
    printf("  %-46s %8.2fx\n",
           "  ratio to the reads alone:", setGet / ((kSetReads + kGetReads) * read));
    return 0;
}
