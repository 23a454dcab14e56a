// Runs sessions of an application with the installed source, as one that
// acquires all day: each opens the source through the Source Manager,
// enables it with its album window, waits until the album is ready,
// disables and closes it. Every 50 sessions it prints what the process
// holds: GDI and USER objects, kernel handles and private bytes (counted by
// probing where the system's own count answers 0, as under Wine); at the end
// what each session added, beside the goal.
//   album_soak.exe [SESSIONS] [--keep-source-loaded]
// SESSIONS is 200 when not given. The Source Manager loads the source at
// each open and unloads it at each close, so each session is a load of the
// library: its unload is to give back all that the load took, within 0.1
// kernel handle and 4 KB of private memory a load, no GDI or USER object.
// With --keep-source-loaded the program holds the library itself, so that
// what the sessions take shows apart from what loading and unloading the
// library takes; the goal is then nothing at all.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "bench/bench_support.h"
#include "support/album_session.h"
#include "support/prefix_files.h"
#include "support/process_resources.h"

namespace {

const int kDefaultSessions = 200;
const int kReportEvery = 50;
const DWORD kReadyTimeout = 60000;
// What a load of the library may leave behind at most.
const double kLoadHandleGoal = 0.1;
const double kLoadKilobyteGoal = 4;

void PrintResources(int sessions, const ProcessResources& now, const ProcessResources& first)
{
    printf("%8d %8ld %+6ld %8ld %+6ld %8ld %+6ld %12lu %+10ld\n", sessions, now.gdiObjects,
           now.gdiObjects - first.gdiObjects, now.userObjects, now.userObjects - first.userObjects,
           now.kernelHandles, now.kernelHandles - first.kernelHandles,
           static_cast<unsigned long>(now.privateBytes),
           static_cast<long>(now.privateBytes) - static_cast<long>(first.privateBytes));
}

// What each session added, beside the goal: per load when the source was
// loaded by each open.
void PrintGrowth(int sessions, const ProcessResources& first, const ProcessResources& last,
                 bool loadEachSession)
{
    const double handles = double(last.kernelHandles - first.kernelHandles) / sessions;
    const double kilobytes =
        (double(last.privateBytes) - double(first.privateBytes)) / 1024 / sessions;
    const double gdi = double(last.gdiObjects - first.gdiObjects) / sessions;
    const double user = double(last.userObjects - first.userObjects) / sessions;
    if (loadEachSession) {
        printf("Per load over %d: kernel handles %+.2f (goal at most %.1f), private KB %+.2f "
               "(goal at most %.0f), GDI objects %+.2f, USER objects %+.2f (goal 0 each)\n",
               sessions, handles, kLoadHandleGoal, kilobytes, kLoadKilobyteGoal, gdi, user);
    } else {
        printf("Per session over %d: kernel handles %+.2f, private KB %+.2f, GDI objects %+.2f, "
               "USER objects %+.2f (goal 0 each)\n",
               sessions, handles, kilobytes, gdi, user);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    int sessions = kDefaultSessions;
    HMODULE keptSource = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (strcmp(argv[i], "--keep-source-loaded") == 0) {
            keptSource = LoadLibraryA(InstalledSourcePath().c_str());
        } else {
            sessions = atoi(argv[i]);
        }
    }
    TwainApp app;
    if (sessions <= 0 || !OpenSourceManager(app)) {
        return 1;
    }
    // The first session loads what stays for the process's life (classes,
    // libraries, fonts); the counts start after it.
    if (!RunAlbumSession(app, kReadyTimeout)) {
        fprintf(stderr, "album_soak: the first session failed\n");
        CloseSourceManager(app);
        return 1;
    }
    const double start = Now();
    const ProcessResources first = MeasureProcessResources();
    printf("Sessions of open, enable, ready album, disable, close (after one to warm up), the "
           "source %s\n",
           keptSource != nullptr ? "kept loaded" : "loaded by each open");
    printf("%8s %15s %15s %15s %23s\n", "sessions", "GDI objects", "USER objects", "kernel handles",
           "private bytes");
    PrintResources(0, first, first);
    int run = 0;
    while (run < sessions) {
        if (!RunAlbumSession(app, kReadyTimeout)) {
            fprintf(stderr, "album_soak: session %d failed\n", run + 1);
            break;
        }
        ++run;
        if (run % kReportEvery == 0 || run == sessions) {
            PrintResources(run, MeasureProcessResources(), first);
            fflush(stdout);
        }
    }
    if (run > 0) {
        PrintGrowth(run, first, MeasureProcessResources(), keptSource == nullptr);
        printf("%.1f s a session\n", (Now() - start) / run);
    }
    CloseSourceManager(app);
    if (keptSource != nullptr) {
        FreeLibrary(keptSource);
    }
    return run == sessions ? 0 : 1;
}
