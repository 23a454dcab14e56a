// acquire as the user of the source's album window: it waits until the
// window lists the camera's objects and accepts presses, selects every
// still, presses UpLoad, and closes the window once the pictures are taken.
#pragma once

#include <windows.h>

struct AlbumUser {
    // UpLoad was pressed (or the window closed for want of stills); the
    // pictures it announces end the work.
    bool pressed;
    // When the album was first seen ready (tick count), 0 while it is not.
    DWORD readySince;
};

// Looks at the album window (at each tick of a timer). Once it has been
// ready for a pause longer than the buttons' unlock delay, selects the
// stills and presses UpLoad, or closes the window when it lists no still.
// True when it acted at this look.
bool PressUpLoadWhenReady(AlbumUser& user);

// Selects the items of the album window's list whose names end in .JPG, as
// the user would with the Ctrl key, and only those; returns how many.
int SelectStills(HWND album);

// Closes the album window as with its close box.
void CloseAlbumWindow();

// The source's album window, which lives on our thread; null when none is
// shown.
HWND AlbumWindow();

// The album window has run the album command that its start posts: the
// list is loaded and the album mode's buttons are enabled, the Dsc button
// (enabled by the template) not.
bool AlbumReady(HWND album);
