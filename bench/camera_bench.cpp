// Times the simulated camera's work that a download or a snap waits for:
// reading each default still out as a BMP transfer file (JPEG decoded by the
// Windows Imaging Component) and taking a still at either size. Works on a
// copy of the installed default storage in the temporary folder.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "album/camera_library.h"
#include "bench/bench_support.h"

namespace {

const int kRounds = 10;

bool MakeStorageCopy(const std::string& folder)
{
    CreateDirectoryA(folder.c_str(), nullptr);
    CreateDirectoryA((folder + "\\Camera").c_str(), nullptr);
    const std::string installed = WindowsFile("TWAIN_32\\tz600a\\Camera\\");
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((installed + "*.*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return false;
    }
    do {
        CopyFileA((installed + found.cFileName).c_str(),
                  (folder + "\\Camera\\" + found.cFileName).c_str(), FALSE);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    const std::string ini = folder + "\\DSCLINK.INI";
    WritePrivateProfileStringA("Camera", "Storage", "Camera", ini.c_str());
    std::vector<char> path(ini.begin(), ini.end());
    path.push_back('\0');
    return Load_IniFile(path.data()) == 0;
}

void TimeReadOut(const std::vector<unsigned char>& records, int index, const std::string& prefix)
{
    std::vector<double> times;
    std::vector<unsigned char> copy = records;
    std::vector<char> target(prefix.begin(), prefix.end());
    target.push_back('\0');
    for (int round = 0; round < kRounds; ++round) {
        const double start = Now();
        if (Upload_DOSFAT_Object(index, copy.data(), target.data(), kUploadAsBitmap, kUploadFlag,
                                 nullptr) != 0) {
            printf("  object %d: read-out failed\n", index + 1);
            return;
        }
        times.push_back((Now() - start) * 1000);
    }
    char label[kFdbLabelLength + 1];
    MakeFdbLabel(records.data() + index * kFdbRecordSize, label, sizeof label);
    printf("  read-out of %s (%7u bytes) to BMP: median %7.2f ms\n", label,
           static_cast<unsigned>(FdbObjectSize(records.data() + index * kFdbRecordSize)),
           Median(times));
}

void TimeCapture(unsigned char size, const char* what)
{
    SetStillSize(size);
    std::vector<double> times;
    for (int round = 0; round < kRounds; ++round) {
        const double start = Now();
        if (Capture_DOSFAT_DSC() != 0 || DeleteFDBObject(kDeleteNewest) != 0) {
            printf("  capture failed\n");
            return;
        }
        times.push_back((Now() - start) * 1000);
    }
    printf("  capture of a %s still (and its delete): median %7.2f ms\n", what, Median(times));
}

}  // namespace

int main()
{
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    const std::string folder = std::string(temp) + "camera_bench";
    if (!MakeStorageCopy(folder)) {
        printf("the installed default storage was not found\n");
        return 1;
    }
    unsigned long count = 0;
    std::vector<unsigned char> records;
    if (GetFDBCount(&count) != 0 || !ReadFdbContext(count, records)) {
        printf("the file database cannot be read\n");
        return 1;
    }
    printf("Simulated camera, %d rounds each\n", kRounds);
    for (unsigned long i = 0; i < count; ++i) {
        if (FdbExtensionIsAnyCase(records.data() + i * kFdbRecordSize, "JPG")) {
            TimeReadOut(records, static_cast<int>(i), folder + "\\TWIMG600_");
            char file[32];
            snprintf(file, sizeof file, "\\TWIMG600_%04lu.bmp", i + 1);
            DeleteFileA((folder + file).c_str());
        }
    }
    TimeCapture(kStillSize640, "640 x 480");
    TimeCapture(kStillSizeFull, "1280 x 960");
    DeleteFDBObject(kDeleteAll);
    DeleteFileA((folder + "\\DSCLINK.INI").c_str());
    RemoveDirectoryA((folder + "\\Camera").c_str());
    RemoveDirectoryA(folder.c_str());
    CoUninitialize();
    return 0;
}
