#include "album/album_window.h"

#include "source/notifications.h"
#include "source/source_context.h"

namespace {

BOOL StartAlbumWindow(HWND window)
{
    SetWindowTextA(window, g_source.productName);
    return TRUE;
}

// The user closes the window: ask the application to close the source. The
// window itself stays until MSG_CLOSEDS destroys it.
BOOL RequestClose()
{
    NotifyCloseRequest();
    ClipCursor(nullptr);
    return TRUE;
}

}  // namespace

INT_PTR CALLBACK AlbumWindowProc(HWND window, UINT message, WPARAM, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        return StartAlbumWindow(window);
    case WM_CLOSE:
        return RequestClose();
    default:
        return FALSE;
    }
}
