// The album window's buttons in their groups: every command locks and
// disables them all while it runs and gives back the buttons of its mode.
#pragma once

#include <windows.h>

// Locks all ten buttons (presses discarded), then disables them.
void DisableAllButtons(HWND window);

// Enables UpLoad, Snap, Video, Save, Del Last and Del All, then unlocks all
// ten buttons 100 ms later.
void EnableAlbumButtons(HWND window);

// Enables Snap, Dsc, Filter, Cap Pin and Size, then unlocks all ten buttons
// 100 ms later.
void EnableVideoButtons(HWND window);

// The same for one button: locks and disables it; enables it and unlocks it
// 100 ms later.
void DisableOneButton(HWND window, int button);
void EnableOneButton(HWND window, int button);
