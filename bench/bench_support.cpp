#include "bench/bench_support.h"

#include <algorithm>

double Now()
{
    static const LARGE_INTEGER frequency = [] {
        LARGE_INTEGER value;
        QueryPerformanceFrequency(&value);
        return value;
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / frequency.QuadPart;
}

double Median(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

std::string WindowsFile(const char* name)
{
    char directory[MAX_PATH] = "";
    GetWindowsDirectoryA(directory, sizeof directory);
    return std::string(directory) + "\\" + name;
}

bool WriteTestPicture(const std::string& path, LONG width, LONG height)
{
    const DWORD bitsSize = width * 3 * height;
    BITMAPFILEHEADER fileHeader = {0x4D42, 54 + bitsSize, 0, 0, 54};
    BITMAPINFOHEADER header = {sizeof header, width, height, 1, 24, BI_RGB,
                               bitsSize,      2835,  2835,   0, 0};
    std::vector<unsigned char> bits(bitsSize);
    for (DWORD i = 0; i < bitsSize; ++i) {
        bits[i] = static_cast<unsigned char>(i * 13 + i / 3840);
    }
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    const bool ok = WriteFile(file, &fileHeader, sizeof fileHeader, &written, nullptr) &&
                    WriteFile(file, &header, sizeof header, &written, nullptr) &&
                    WriteFile(file, bits.data(), bitsSize, &written, nullptr);
    CloseHandle(file);
    return ok;
}
