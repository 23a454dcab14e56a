// Times the album window's start as an application sees it: the installed
// source opened through the Source Manager and enabled with its window,
// until the album lists every object of the camera and its buttons are those
// of album mode; and its reload, when the Dsc button reads the album again
// after a snap in video mode. The simulated camera's storage is pointed (through the
// installed DSCLINK.INI, put back afterwards) at folders in the temporary
// directory filled with copies of the default storage's objects.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/album_timing.h"
#include "bench/bench_support.h"
#include "resources/resource_ids.h"
#include "support/album_session.h"
#include "support/prefix_files.h"
#include "tools/acquire/album_user.h"
#include "tools/acquire/event_loop.h"

namespace {

const int kRounds = 3;
const unsigned long kObjectCounts[] = {0, 100, 1000};
// The goals: each listed object adds at most this much to the empty start,
// and 1000 objects are ready within the given time.
const double kGoalPerObjectMs = 1.0;
const double kGoalThousandSeconds = 1.5;

struct SessionTimes {
    double start;
    double reload;
};

// Seconds the Dsc button takes to read the album again after a snap in
// video mode, or a negative value when it did not list `count` objects.
double TimeReload(TwainApp& app, HWND album, unsigned long count)
{
    SendMessageA(album, WM_COMMAND, IDC_VIDEO, 0);
    SendMessageA(album, WM_COMMAND, IDC_SNAP, 0);
    // The snap's picture is not wanted: ending its transfer deletes its file.
    TW_PENDINGXFERS pending = {};
    CallSource(app, DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, &pending);
    // The video command that the snap posted.
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        PassEvent(app, message);
    }
    const double start = Now();
    SendMessageA(album, WM_COMMAND, IDC_ALBUM, 0);
    const double reload = Now() - start;
    return Lists(album, count) ? reload : -1;
}

// One session: seconds from MSG_ENABLEDS to the ready album, and for the
// reload; negative values when the album did not list `count` objects.
SessionTimes TimeSession(TwainApp& app, unsigned long count)
{
    SessionTimes times = {-1, -1};
    times.start = TimeAlbumStart(app, count);
    if (times.start >= 0) {
        times.reload = TimeReload(app, AlbumWindow(), count);
    }
    DisableAndClose(app);
    return times;
}

void PrintCostPerObject(const char* what, const std::vector<double>& medians)
{
    const double perObjectMs = (medians[2] - medians[0]) / kObjectCounts[2] * 1e3;
    printf("%s: cost per object beyond the empty album %.2f ms (goal %.0f ms: %.2f x the goal); "
           "1000 objects in %.2f s (goal %.1f s: %.2f x the goal)\n",
           what, perObjectMs, kGoalPerObjectMs, perObjectMs / kGoalPerObjectMs, medians[2],
           kGoalThousandSeconds, medians[2] / kGoalThousandSeconds);
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
    printf("Album through the Source Manager, median of %d: start from MSG_ENABLEDS to a ready "
           "album; reload by the Dsc button after a snap in video mode\n",
           kRounds);
    std::vector<double> starts;
    std::vector<double> reloads;
    for (unsigned long count : kObjectCounts) {
        if (!FillStorage(storage, count)) {
            fprintf(stderr, "album_start_bench: cannot fill the storage\n");
            break;
        }
        std::vector<double> startTimes;
        std::vector<double> reloadTimes;
        for (int round = 0; round < kRounds; ++round) {
            const SessionTimes times = TimeSession(app, count);
            startTimes.push_back(times.start);
            reloadTimes.push_back(times.reload);
        }
        if (*std::min_element(startTimes.begin(), startTimes.end()) < 0 ||
            *std::min_element(reloadTimes.begin(), reloadTimes.end()) < 0) {
            fprintf(stderr, "album_start_bench: the album did not list %lu objects\n", count);
            break;
        }
        starts.push_back(Median(startTimes));
        reloads.push_back(Median(reloadTimes));
        printf("  %5lu objects: start %7.3f s, reload %7.3f s\n", count, starts.back(),
               reloads.back());
    }
    CloseSourceManager(app);
    RemoveFolder(storage);
    const size_t counts = sizeof kObjectCounts / sizeof kObjectCounts[0];
    if (reloads.size() != counts) {
        return 1;
    }
    PrintCostPerObject("Start", starts);
    PrintCostPerObject("Reload", reloads);
    return 0;
}
