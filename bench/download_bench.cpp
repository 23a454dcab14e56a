// Times the album window's UpLoad command on the installed default storage:
// the three stills read out of the simulated camera as BMP transfer files
// (JPEG decoded by the Windows Imaging Component), queued and announced.
// The window is the real one, made by MSG_ENABLEDS in the linked source.
#include <windows.h>

#include <cstdio>
#include <vector>

#include "bench/bench_support.h"
#include "resources/resource_ids.h"
#include "source/source_context.h"
#include "source/transfer_queue.h"
#include "support/linked_source.h"
#include "tools/acquire/album_user.h"

namespace {

const int kRounds = 10;

void Pump(DWORD milliseconds)
{
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < milliseconds) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageA(&message);
        }
        Sleep(10);
    }
}

}  // namespace

int main()
{
    LinkedSource source;
    HWND application =
        CreateWindowA("STATIC", "bench", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    TW_USERINTERFACE ui = {TRUE, FALSE, application};
    if (source.Call(DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &ui) != TWRC_SUCCESS) {
        fprintf(stderr, "download_bench: the source refused to be enabled\n");
        DestroyWindow(application);
        return 1;
    }
    HWND album = g_source.albumWindow;
    Pump(1500);
    const int stills = SelectStills(album);
    std::vector<double> times;
    bool allQueued = true;
    for (int round = 0; round < kRounds && allQueued; ++round) {
        const double start = Now();
        SendMessageA(album, WM_COMMAND, IDC_UPLOAD, 0);
        times.push_back(Now() - start);
        const int queued = g_transferQueue.pendingCount;
        TW_PENDINGXFERS pending = {};
        source.Call(DG_CONTROL, DAT_PENDINGXFERS, MSG_RESET, &pending);
        allQueued = queued == stills;
        if (!allQueued) {
            fprintf(stderr, "download_bench: %d of %d stills queued\n", queued, stills);
        }
    }
    for (int number = 1; number <= 9; ++number) {
        DeleteFileA(TransferFilePath(number).c_str());
    }
    source.Call(DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, &ui);
    DestroyWindow(application);
    if (!allQueued) {
        return 1;
    }
    printf("UpLoad of %d stills of the default storage (640x480, 1280x960, 317x239 gray): "
           "median %.1f ms over %d rounds\n",
           stills, Median(times) * 1e3, kRounds);
    return 0;
}
