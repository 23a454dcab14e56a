#include "bench/album_timing.h"

#include <commctrl.h>

#include <cstdio>
#include <vector>

#include "bench/bench_support.h"
#include "resources/resource_ids.h"
#include "support/album_session.h"
#include "support/prefix_files.h"
#include "tools/acquire/album_user.h"

namespace {

const DWORD kReadyTimeout = 120000;

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

}  // namespace

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
        snprintf(name, sizeof name, "DSC_%04lu.%s", i + 1,
                 source.substr(source.size() - 3).c_str());
        if (!CopyFileA((SourceDirectory() + "Camera\\" + source).c_str(),
                       (folder + "\\" + name).c_str(), FALSE)) {
            return false;
        }
    }
    return true;
}

bool Lists(HWND album, unsigned long count)
{
    return ListView_GetItemCount(GetDlgItem(album, IDC_ALBUM_LIST)) == static_cast<int>(count);
}

double TimeAlbumStart(TwainApp& app, unsigned long count)
{
    const double start = Now();
    if (!OpenAndEnableCamera(app) || !PumpUntilAlbumReady(app, AlbumWindow(), kReadyTimeout)) {
        return -1;
    }
    const double ready = Now() - start;
    return Lists(AlbumWindow(), count) ? ready : -1;
}
