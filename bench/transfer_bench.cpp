// Times whole transfers of one picture through DS_Entry: native (the DIB
// handed over), memory (every strip until TWRC_XFERDONE, into one reused
// buffer) and file (set-up and copy), beside a plain read of the transfer
// file into a new global block, and prints the memory transfer's cost as a
// ratio to the native transfer beside its goal. 640 x 480 runs with 2048-byte
// strips, the limits of a capability file without buffer settings;
// 1280 x 960 with 64 KiB strips, the installed file's preferred size.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "source/source_context.h"
#include "support/linked_source.h"
#include "support/prefix_files.h"

namespace {

const int kRounds = 15;

double TimeNative(LinkedSource& source)
{
    TW_HANDLE handle = nullptr;
    const double start = Now();
    const TW_UINT16 rc = source.Call(DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, &handle);
    const double elapsed = Now() - start;
    GlobalFree(handle);
    return rc == TWRC_XFERDONE && handle != nullptr ? elapsed : -1;
}

double TimeMemory(LinkedSource& source, std::vector<unsigned char>& buffer)
{
    TW_IMAGEMEMXFER transfer = {};
    TW_UINT16 rc;
    const double start = Now();
    do {
        transfer.Memory.Flags = TWMF_APPOWNS | TWMF_POINTER;
        transfer.Memory.Length = static_cast<TW_UINT32>(buffer.size());
        transfer.Memory.TheMem = buffer.data();
        rc = source.Call(DG_IMAGE, DAT_IMAGEMEMXFER, MSG_GET, &transfer);
    } while (rc == TWRC_SUCCESS);
    const double elapsed = Now() - start;
    return rc == TWRC_XFERDONE ? elapsed : -1;
}

double TimeFile(LinkedSource& source, const std::string& destination)
{
    TW_SETUPFILEXFER setup = {};
    snprintf(setup.FileName, sizeof setup.FileName, "%s", destination.c_str());
    const double start = Now();
    const bool ok = source.Call(DG_CONTROL, DAT_SETUPFILEXFER, MSG_SET, &setup) == TWRC_SUCCESS &&
                    source.Call(DG_IMAGE, DAT_IMAGEFILEXFER, MSG_GET, nullptr) == TWRC_XFERDONE;
    const double elapsed = Now() - start;
    return ok ? elapsed : -1;
}

double TimePlainRead(const std::string& path)
{
    const double start = Now();
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    const DWORD size = GetFileSize(file, nullptr);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    void* bytes = GlobalLock(block);
    DWORD read = 0;
    const bool ok = ReadFile(file, bytes, size, &read, nullptr) && read == size;
    GlobalUnlock(block);
    CloseHandle(file);
    const double elapsed = Now() - start;
    GlobalFree(block);
    return ok ? elapsed : -1;
}

struct Times {
    std::vector<double> native, memory, file, plain;
};

bool Measure(LinkedSource& source, const std::string& path, DWORD bufferSize, Times& times)
{
    std::vector<unsigned char> buffer(bufferSize);
    const std::string destination = path + ".copy";
    for (int round = -2; round < kRounds; ++round) {
        const double native = TimeNative(source);
        const double memory = TimeMemory(source, buffer);
        const double file = TimeFile(source, destination);
        const double plain = TimePlainRead(path);
        if (native < 0 || memory < 0 || file < 0 || plain < 0) {
            DeleteFileA(destination.c_str());
            return false;
        }
        if (round >= 0) {
            times.native.push_back(native);
            times.memory.push_back(memory);
            times.file.push_back(file);
            times.plain.push_back(plain);
        }
    }
    DeleteFileA(destination.c_str());
    return true;
}

bool Run(LONG width, LONG height, DWORD bufferSize, double goal)
{
    const int number = 9901;
    const std::string path = TransferFilePath(number);
    if (!WriteTestPicture(path, width, height)) {
        fprintf(stderr, "transfer_bench: cannot write %s\n", path.c_str());
        return false;
    }
    LinkedSource source;
    const std::string size = std::to_string(bufferSize);
    WritePrivateProfileStringA("Setup Memory Transfer", "Min", "512", g_source.capabilityFilePath);
    WritePrivateProfileStringA("Setup Memory Transfer", "Max", size.c_str(),
                               g_source.capabilityFilePath);
    // As installed: written long before the transfers.
    AgeFile(g_source.capabilityFilePath, 60);
    source.QueuePictures({number});
    Times times;
    const bool ok = Measure(source, path, bufferSize, times);
    DeleteFileA(path.c_str());
    if (!ok) {
        fprintf(stderr, "transfer_bench: a transfer failed\n");
        return false;
    }
    const double native = Median(times.native);
    const double memory = Median(times.memory);
    printf("%ld x %ld x 24-bit, memory buffer %lu bytes, median of %d rounds\n", width, height,
           bufferSize, kRounds);
    printf("  native transfer:            %8.3f ms\n", native * 1e3);
    printf("  memory transfer:            %8.3f ms\n", memory * 1e3);
    printf("  file transfer:              %8.3f ms\n", Median(times.file) * 1e3);
    printf("  plain read into a block:    %8.3f ms\n", Median(times.plain) * 1e3);
    printf("  native / plain read:        %8.2fx\n", native / Median(times.plain));
    printf("  memory / native:            %8.2fx   (goal: at most %.0fx) %s\n", memory / native,
           goal, memory / native <= goal ? "met" : "NOT MET");
    return true;
}

}  // namespace

int main()
{
    const std::string path = WindowsFile("Tz600a.src");
    const std::string installed = ReadTextFile(path);
    const bool ok = Run(640, 480, 2048, 20) && Run(1280, 960, 65536, 2);
    WriteTextFile(path, installed);
    return ok ? 0 : 1;
}
