// acquire: takes pictures from a TWAIN data source through the Source Manager.
//
//   acquire [--source NAME] [--no-ui] [--close-after MS] [--upload-all]
//           [--mechanism native|memory|file] [--buffer BYTES]
//           [--format bmp|png|jpeg|tiff] [--output FOLDER] [capability options]
//
// Lists the installed sources, opens the named one ("Camera" by default),
// prints its identity as the Source Manager reports it, enables it (showing
// its window, or with --no-ui asking it not to), runs the message loop until
// the source asks to be closed or MS milliseconds have passed (3000 by
// default; 0 waits for the source alone), then disables and closes it.
// Whenever the source announces pictures, acquire takes each one by the
// chosen transfer mechanism (native by default; a memory transfer uses the
// buffer size the source prefers unless --buffer names one), saves it in the
// chosen format (BMP by default) in the output folder ("acquired" by default)
// and prints a line for it. With --upload-all acquire acts as the album
// window's user: once the window lists the camera's objects it selects every
// still (.JPG), presses UpLoad, takes the pictures announced, and closes the
// window. With capability options it negotiates those capabilities instead,
// in the order given, printing each answer, and closes the source without
// enabling it.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "capabilities.h"
#include "event_loop.h"
#include "twain_app.h"

namespace {

struct Options {
    const char* sourceName = "Camera";
    SessionOptions session;
    std::vector<CapabilityRequest> capabilityRequests;
};

bool ParseOptions(int argc, char** argv, Options& options)
{
    for (int i = 1; i < argc; ++i) {
        if (strcmp(argv[i], "--source") == 0 && i + 1 < argc) {
            options.sourceName = argv[++i];
        } else if (strcmp(argv[i], "--no-ui") == 0) {
            options.session.showUI = false;
        } else if (strcmp(argv[i], "--close-after") == 0 && i + 1 < argc) {
            options.session.closeAfterMs = strtoul(argv[++i], nullptr, 10);
        } else if (strcmp(argv[i], "--upload-all") == 0) {
            options.session.uploadStills = true;
        } else if (strcmp(argv[i], "--mechanism") == 0 && i + 1 < argc &&
                   ParseMechanism(argv[i + 1], options.session.transfers.mechanism)) {
            ++i;
        } else if (strcmp(argv[i], "--buffer") == 0 && i + 1 < argc) {
            options.session.transfers.bufferSize = strtoul(argv[++i], nullptr, 10);
        } else if (strcmp(argv[i], "--format") == 0 && i + 1 < argc &&
                   ParsePictureFormat(argv[i + 1], options.session.transfers.format)) {
            ++i;
        } else if (strcmp(argv[i], "--output") == 0 && i + 1 < argc) {
            options.session.transfers.outputFolder = argv[++i];
        } else if (bool error = false;
                   !ParseCapabilityOption(argc, argv, i, options.capabilityRequests, error) ||
                   error) {
            fprintf(stderr,
                    "usage: acquire [--source NAME] [--no-ui] [--close-after MS] [--upload-all]\n"
                    "               [--mechanism native|memory|file] [--buffer BYTES]\n"
                    "               [--format bmp|png|jpeg|tiff] [--output FOLDER]\n%s",
                    kCapabilityUsage);
            return false;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    Options options;
    if (!ParseOptions(argc, argv, options)) {
        return 2;
    }
    TwainApp app;
    if (!OpenSourceManager(app)) {
        return 1;
    }
    ListSources(app);
    int status = 1;
    if (OpenSourceNamed(app, options.sourceName)) {
        PrintIdentity(app.source);
        bool done = options.capabilityRequests.empty()
                        ? RunSession(app, options.session)
                        : RunCapabilityRequests(app, options.capabilityRequests);
        status = done ? 0 : 1;
    }
    CloseSourceManager(app);
    return status;
}
