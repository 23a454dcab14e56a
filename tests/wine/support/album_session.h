// A session of an application with the installed source through the Source
// Manager, as acquire runs one: open the source, enable it with its album
// window, wait until the album is ready, disable and close it.
#pragma once

#include <windows.h>

#include "tools/acquire/twain_app.h"

// Runs the application's loop for a while, every message passing the source.
void PumpApplication(TwainApp& app, DWORD milliseconds);

// Runs the application's loop, every message passing the source, until the
// album window is ready; false when it is not within the time.
bool PumpUntilAlbumReady(TwainApp& app, HWND album, DWORD timeout);

// Opens the source "Camera" and enables it with its window; false at the
// first refusal.
bool OpenAndEnableCamera(TwainApp& app);

// Disables the source, its window kept, and closes it.
bool DisableAndClose(TwainApp& app);

// One whole session: open, enable, wait until the album is ready, disable
// and close. False when a step failed or the album was not ready in time.
bool RunAlbumSession(TwainApp& app, DWORD timeout);
