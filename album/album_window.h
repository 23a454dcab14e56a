// The album window: the source's user interface, a modeless dialog made from
// the template "TW_SOURCE_DIALOG" at MSG_ENABLEDS.
#pragma once

#include <windows.h>

INT_PTR CALLBACK AlbumWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
