// acquire: takes pictures from a TWAIN data source through the Source Manager.
//
//   acquire [--source NAME]
//
// Lists the installed sources, opens the named one ("Camera" by default),
// prints its identity as the Source Manager reports it, and closes it.
#include <cstdio>
#include <cstring>

#include "twain_app.h"

namespace {

struct Options {
    const char* sourceName = "Camera";
};

bool ParseOptions(int argc, char** argv, Options& options)
{
    for (int i = 1; i < argc; ++i) {
        if (strcmp(argv[i], "--source") == 0 && i + 1 < argc) {
            options.sourceName = argv[++i];
        } else {
            fprintf(stderr, "usage: acquire [--source NAME]\n");
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
        status = 0;
    }
    CloseSourceManager(app);
    return status;
}
