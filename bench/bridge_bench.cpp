// Times the camera library through the bridge against the same calls in
// process, in the 64-bit prefix where the camera is simulated in 32-bit
// only: the 64-bit build reaches the 32-bit simulated camera through the
// bridge and DscLinkHost.exe, and runs the 32-bit build of itself
// (--in-process), which calls it in its own process, as a 32-bit
// application does. Both time a CheckFWIdle, the album window's start with
// 1000 objects in the camera, and the read-out of the 1280 x 960 still, as
// the simulated camera calls back (every 512 bytes) and as often as a
// camera that calls back for each 512 bytes of the BMP it writes (about
// 7,000 times).
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "album/camera_library.h"
#include "bench/album_timing.h"
#include "bench/bench_support.h"
#include "support/album_session.h"
#include "support/prefix_files.h"
#include "support/programs.h"
#include "support/screenshot.h"

namespace {

const int kIdleCalls = 2000;
const int kReadOuts = 11;
const int kAlbumStarts = 3;
const unsigned long kAlbumObjects = 1000;
// The still of the default storage that is 1280 x 960.
const int kFullStill = 1;
// Bytes between two progress calls that make about 7,000 calls of a read-out
// of that still's 64 KB.
const char kStormBlock[] = "9";
const DWORD kInProcessDeadline = 600000;
const double kAlbumGoal = 1.2;
const double kReadOutGoal = 1.1;

struct Figures {
    double idleMicroseconds;
    double albumSeconds;
    double readOutSeconds;
    double stormSeconds;
    unsigned long stormCalls;
};

unsigned long g_progressCalls = 0;

int __cdecl CountProgress(unsigned long, unsigned long, unsigned long)
{
    ++g_progressCalls;
    return 0;
}

double MedianIdleMicroseconds()
{
    std::vector<double> times;
    for (int call = 0; call < kIdleCalls; ++call) {
        const double start = Now();
        CheckFWIdle();
        times.push_back((Now() - start) * 1e6);
    }
    return Median(times);
}

// The median read-out of the full still into the temporary folder; a
// negative value when one failed.
double MedianReadOutSeconds()
{
    unsigned long count = 0;
    std::vector<unsigned char> records;
    if (GetFDBCount(&count) != 0 || !ReadFdbContext(count, records)) {
        return -1;
    }
    std::string prefix = TemporaryPath("bridge_bench_");
    char number[8];
    snprintf(number, sizeof number, "%04d", kFullStill + 1);
    const std::string target = prefix + number + ".bmp";
    std::vector<double> times;
    for (int round = 0; round < kReadOuts; ++round) {
        // Each read-out writes a new file, as a download does.
        DeleteFileA(target.c_str());
        g_progressCalls = 0;
        const double start = Now();
        if (Upload_DOSFAT_Object(kFullStill, records.data(), &prefix[0], kUploadAsBitmap,
                                 kUploadFlag, CountProgress) != 0) {
            return -1;
        }
        times.push_back(Now() - start);
    }
    DeleteFileA(target.c_str());
    return Median(times);
}

double MedianAlbumStartSeconds(const std::string& settings)
{
    const std::string storage = TemporaryPath("bridge_bench_album");
    WritePrivateProfileStringA("Camera", "Storage", storage.c_str(), settings.c_str());
    TwainApp app;
    std::vector<double> times;
    if (FillStorage(storage, kAlbumObjects) && OpenSourceManager(app)) {
        for (int round = 0; round < kAlbumStarts; ++round) {
            times.push_back(TimeAlbumStart(app, kAlbumObjects));
            DisableAndClose(app);
        }
        CloseSourceManager(app);
    }
    RemoveFolder(storage);
    return times.empty() ? -1 : Median(times);
}

// Measures in this process, on the installed camera's settings file, which
// is put back afterwards.
Figures Measure()
{
    Figures figures = {};
    const std::string settings = SourceDirectory() + "DSCLINK.INI";
    SavedFile savedSettings(settings);
    std::string path = settings;
    if (Load_IniFile(&path[0]) != 0) {
        return {-1, -1, -1, -1, 0};
    }
    figures.idleMicroseconds = MedianIdleMicroseconds();
    figures.readOutSeconds = MedianReadOutSeconds();
    WritePrivateProfileStringA("Camera", "ProgressBlock", kStormBlock, settings.c_str());
    figures.stormSeconds = MedianReadOutSeconds();
    figures.stormCalls = g_progressCalls;
    WritePrivateProfileStringA("Camera", "ProgressBlock", nullptr, settings.c_str());
    figures.albumSeconds = MedianAlbumStartSeconds(settings);
    return figures;
}

// Runs the 32-bit build of this program and reads the figures it prints.
bool MeasureInProcess(Figures& figures)
{
    ProgramRun run;
    if (!run.Start("\"" + BuildFolderFile("..\\win32\\bin\\bridge_bench.exe") +
                   "\" --in-process") ||
        run.Finish(kInProcessDeadline) != 0) {
        return false;
    }
    return sscanf(run.Output().c_str(), "%lf %lf %lf %lf %lu", &figures.idleMicroseconds,
                  &figures.albumSeconds, &figures.readOutSeconds, &figures.stormSeconds,
                  &figures.stormCalls) == 5;
}

void PrintRatio(const char* what, double bridge, double inProcess, double goal, const char* unit,
                double scale)
{
    printf("%s: %8.2f %s through the bridge, %8.2f %s in process: %.2f x", what, bridge * scale,
           unit, inProcess * scale, unit, bridge / inProcess);
    if (goal > 0) {
        printf(" (goal at most %.1f x)", goal);
    }
    printf("\n");
}

}  // namespace

int main(int argc, char** argv)
{
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const bool inProcess = argc > 1 && strcmp(argv[1], "--in-process") == 0;
    const Figures measured = Measure();
    CoUninitialize();
    if (inProcess) {
        printf("%f %f %f %f %lu\n", measured.idleMicroseconds, measured.albumSeconds,
               measured.readOutSeconds, measured.stormSeconds, measured.stormCalls);
        return 0;
    }
    Figures direct = {};
    if (measured.readOutSeconds < 0 || measured.albumSeconds < 0 || !MeasureInProcess(direct) ||
        direct.readOutSeconds < 0 || direct.albumSeconds < 0) {
        fprintf(stderr, "bridge_bench: a measurement failed; is the camera simulated in 32-bit "
                        "only (Tz600a-setup-x64.exe /SIMULATEDCAMERA32)?\n");
        return 1;
    }
    printf("The 32-bit simulated camera from a 64-bit process through the bridge, and from a "
           "32-bit process in process (medians)\n");
    PrintRatio("CheckFWIdle", measured.idleMicroseconds, direct.idleMicroseconds, 0, "us", 1);
    PrintRatio("Album start with 1000 objects", measured.albumSeconds, direct.albumSeconds,
               kAlbumGoal, "s", 1);
    PrintRatio("Read-out of the 1280 x 960 still", measured.readOutSeconds, direct.readOutSeconds,
               kReadOutGoal, "ms", 1e3);
    char storm[96];
    snprintf(storm, sizeof storm, "The same with %lu progress calls", measured.stormCalls);
    PrintRatio(storm, measured.stormSeconds, direct.stormSeconds, kReadOutGoal, "ms", 1e3);
    return 0;
}
