// Times ReadDibFile on a 1280 x 960 24-bit transfer file beside one plain
// ReadFile of the same bytes into a buffer of that size: once into a buffer
// used again and again, whose pages are already mapped, and once into a new
// global block of that size, as ReadDibFile needs for every picture it hands
// to an application.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "source/dib_file.h"

namespace {

const int kRounds = 60;
const LONG kWidth = 1280;
const LONG kHeight = 960;

double TimeReadDibFile(const std::string& path)
{
    const double start = Now();
    HGLOBAL block = ReadDibFile(path.c_str());
    const double elapsed = Now() - start;
    GlobalFree(block);
    return block != nullptr ? elapsed : -1;
}

bool PlainRead(const std::string& path, void* buffer, DWORD size)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    DWORD read = 0;
    const BOOL ok = ReadFile(file, buffer, size, &read, nullptr);
    CloseHandle(file);
    return ok && read == size;
}

double TimePlainRead(const std::string& path, std::vector<unsigned char>& buffer)
{
    const double start = Now();
    const bool ok = PlainRead(path, buffer.data(), buffer.size());
    const double elapsed = Now() - start;
    return ok ? elapsed : -1;
}

double TimePlainReadIntoNewBlock(const std::string& path, DWORD size)
{
    const double start = Now();
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    void* bytes = block != nullptr ? GlobalLock(block) : nullptr;
    const bool ok = bytes != nullptr && PlainRead(path, bytes, size);
    if (bytes != nullptr) {
        GlobalUnlock(block);
    }
    const double elapsed = Now() - start;
    GlobalFree(block);
    return ok ? elapsed : -1;
}

void PrintTimes(const char* what, const std::vector<double>& times)
{
    printf("  %-34s median %.3f ms, best %.3f ms\n", what, Median(times) * 1e3,
           *std::min_element(times.begin(), times.end()) * 1e3);
}

}  // namespace

int main()
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    const std::string path = std::string(temp) + "dib_read_bench.bmp";
    if (!WriteTestPicture(path, kWidth, kHeight)) {
        fprintf(stderr, "dib_read_bench: cannot write %s\n", path.c_str());
        return 1;
    }
    std::vector<unsigned char> buffer(54 + kWidth * 3 * kHeight);
    std::vector<double> dib;
    std::vector<double> plain;
    std::vector<double> plainNew;
    // The first rounds warm the file cache and the heap; they are not counted.
    for (int round = -3; round < kRounds; ++round) {
        const double dibTime = TimeReadDibFile(path);
        const double plainTime = TimePlainRead(path, buffer);
        const double plainNewTime = TimePlainReadIntoNewBlock(path, buffer.size());
        if (dibTime < 0 || plainTime < 0 || plainNewTime < 0) {
            fprintf(stderr, "dib_read_bench: a read failed\n");
            DeleteFileA(path.c_str());
            return 1;
        }
        if (round >= 0) {
            dib.push_back(dibTime);
            plain.push_back(plainTime);
            plainNew.push_back(plainNewTime);
        }
    }
    DeleteFileA(path.c_str());
    printf("1280 x 960 x 24-bit transfer file, %zu bytes, %d rounds\n", buffer.size(), kRounds);
    PrintTimes("ReadDibFile:", dib);
    PrintTimes("ReadFile into a reused buffer:", plain);
    PrintTimes("ReadFile into a new global block:", plainNew);
    printf("  ratio to the reused buffer:        %.2fx (goal: at most 1.2x)\n",
           Median(dib) / Median(plain));
    printf("  ratio to the new global block:     %.2fx\n", Median(dib) / Median(plainNew));
    return 0;
}
