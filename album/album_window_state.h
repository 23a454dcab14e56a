// The album window's state, shared by its commands: set up anew for each
// album window.
#pragma once

#include <windows.h>

struct AlbumWindowState {
    // Set in video mode, clear in album mode; the window starts in album mode.
    bool videoMode;
    // The live video was opened on the video panel; it stays open until the
    // window's end.
    bool videoPartInitialised;
    // The list holds the camera's objects; the next change to album mode
    // reads them only when this is clear.
    bool albumLoaded;
    // The list's top edge within the window and its size, in pixels, taken
    // at start.
    int listTop;
    int listWidth;
    int listHeight;
};

extern AlbumWindowState g_albumWindowState;

// Stops the live video and clears video mode: the preview is taken down in
// video mode, the camera's firmware is waited for, and the graph is halted
// once the video part exists.
void LeaveVideoMode(HWND window);
