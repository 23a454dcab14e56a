// The album window's start as the album benchmarks time it: a storage
// folder of copies of the default storage's objects, and the time from
// MSG_ENABLEDS to an album that lists all of them.
#pragma once

#include <windows.h>

#include <string>

#include "tools/acquire/twain_app.h"

// Fills `folder` (made anew) with `count` copies of the installed default
// storage's objects in turn, named DSC_0001 ... with their own extensions.
bool FillStorage(const std::string& folder, unsigned long count);

// Whether the album window lists `count` objects.
bool Lists(HWND album, unsigned long count);

// Opens and enables the camera through the Source Manager and waits for the
// album; seconds from MSG_ENABLEDS until it is ready, or a negative value
// when it did not list `count` objects in time. The source stays enabled.
double TimeAlbumStart(TwainApp& app, unsigned long count);
