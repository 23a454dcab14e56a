// Times the album window's start as an application sees it: the installed
// source opened through the Source Manager and enabled with its window,
// until the album lists every object of the camera and its buttons are those
// of album mode. The simulated camera's storage is pointed (through the
// installed DSCLINK.INI, put back afterwards) at folders in the temporary
// directory filled with copies of the default storage's objects.
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "resources/resource_ids.h"
#include "support/album_session.h"
#include "support/prefix_files.h"
#include "tools/acquire/album_user.h"

namespace {

const int kRounds = 3;
const unsigned long kObjectCounts[] = {0, 100, 1000};
const DWORD kReadyTimeout = 120000;
// The goals: each listed object adds at most this much to the empty start,
// and 1000 objects are ready within the given time.
const double kGoalPerObjectMs = 1.0;
const double kGoalThousandSeconds = 1.5;

// The default storage's objects, copied in turn as DSC_0001 ... with their
// own extensions.
std::vector<std::string> DefaultObjects()
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((SourceDirectory() + "Camera\\*.*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return names;
    }
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
            names.push_back(found.cFileName);
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

bool FillStorage(const std::string& folder, unsigned long count)
{
    const std::vector<std::string> objects = DefaultObjects();
    RemoveFolder(folder);
    CreateDirectoryA(folder.c_str(), nullptr);
    for (unsigned long i = 0; i < count; ++i) {
        if (objects.empty()) {
            return false;
        }
        const std::string& source = objects[i % objects.size()];
        char name[16];
        snprintf(name, sizeof name, "DSC_%04lu.%s", i + 1, source.substr(source.size() - 3).c_str());
        if (!CopyFileA((SourceDirectory() + "Camera\\" + source).c_str(),
                       (folder + "\\" + name).c_str(), FALSE)) {
            return false;
        }
    }
    return true;
}

// One session: seconds from MSG_ENABLEDS to the ready album, or a negative
// value when the album did not list `count` objects.
double TimeStart(TwainApp& app, unsigned long count)
{
    const double start = Now();
    if (!OpenAndEnableCamera(app) || !PumpUntilAlbumReady(app, AlbumWindow(), kReadyTimeout)) {
        DisableAndClose(app);
        return -1;
    }
    const double ready = Now() - start;
    const int listed = ListView_GetItemCount(GetDlgItem(AlbumWindow(), IDC_ALBUM_LIST));
    DisableAndClose(app);
    return listed == static_cast<int>(count) ? ready : -1;
}

}  // namespace

int main()
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    const std::string storage = std::string(temp) + "album_start_bench";
    const std::string settings = SourceDirectory() + "DSCLINK.INI";
    SavedFile savedSettings(settings);
    WriteTextFile(settings, "[Camera]\r\nStorage=" + storage + "\r\n");
    TwainApp app;
    if (!OpenSourceManager(app)) {
        return 1;
    }
    printf("Album start through the Source Manager, MSG_ENABLEDS to a ready album "
           "(median of %d)\n", kRounds);
    std::vector<double> medians;
    for (unsigned long count : kObjectCounts) {
        if (!FillStorage(storage, count)) {
            fprintf(stderr, "album_start_bench: cannot fill the storage\n");
            break;
        }
        std::vector<double> times;
        for (int round = 0; round < kRounds; ++round) {
            times.push_back(TimeStart(app, count));
        }
        medians.push_back(Median(times));
        if (medians.back() < 0) {
            fprintf(stderr, "album_start_bench: the album did not list %lu objects\n", count);
            break;
        }
        printf("  %5lu objects: %7.3f s\n", count, medians.back());
    }
    CloseSourceManager(app);
    RemoveFolder(storage);
    if (medians.size() != sizeof kObjectCounts / sizeof kObjectCounts[0] || medians.back() < 0) {
        return 1;
    }
    const double perObjectMs = (medians[2] - medians[0]) / kObjectCounts[2] * 1e3;
    printf("Cost per object beyond the empty start: %.2f ms (goal %.0f ms: %.2f x the goal)\n",
           perObjectMs, kGoalPerObjectMs, perObjectMs / kGoalPerObjectMs);
    printf("1000 objects ready in %.2f s (goal %.1f s: %.2f x the goal)\n", medians[2],
           kGoalThousandSeconds, medians[2] / kGoalThousandSeconds);
    return 0;
}
