// acquire: takes pictures from a TWAIN data source through the Source Manager.
//
//   acquire [--source NAME] [capability options]
//
// Lists the installed sources, opens the named one ("Camera" by default),
// prints its identity as the Source Manager reports it, and closes it. With
// capability options it negotiates those capabilities, in the order given,
// printing each answer, before closing.
#include <cstdio>
#include <cstring>

#include "capabilities.h"
#include "twain_app.h"

namespace {

struct Options {
    const char* sourceName = "Camera";
    std::vector<CapabilityRequest> capabilityRequests;
};

bool ParseOptions(int argc, char** argv, Options& options)
{
    for (int i = 1; i < argc; ++i) {
        bool error = false;
        if (strcmp(argv[i], "--source") == 0 && i + 1 < argc) {
            options.sourceName = argv[++i];
        } else if (!ParseCapabilityOption(argc, argv, i, options.capabilityRequests, error) ||
                   error) {
            fprintf(stderr, "usage: acquire [--source NAME] [capability options]\n%s",
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
        status = RunCapabilityRequests(app, options.capabilityRequests) ? 0 : 1;
    }
    CloseSourceManager(app);
    return status;
}
