#include "album/album_window.h"

#include <commctrl.h>

#include "album/album_list.h"
#include "album/camera_library.h"
#include "resources/resource_ids.h"
#include "source/messages.h"
#include "source/notifications.h"
#include "source/source_context.h"
#include "widgets/album_widgets.h"

namespace {

struct ButtonFace {
    int button;
    int bitmap;
};

// Each button and the bitmap on its face, in the order they are loaded.
const ButtonFace kButtonFaces[] = {
    {IDC_SAVE, IDB_FACE_SAVE},
    {IDC_VIDEO, IDB_FACE_VIDEO},
    {IDC_ALBUM, IDB_FACE_ALBUM},
    {IDC_UPLOAD, IDB_FACE_UPLOAD},
    {IDC_SNAP, IDB_FACE_SNAP},
    {IDC_FILTER_PAGES, IDB_FACE_FILTER},
    {IDC_DELETE_LAST, IDB_FACE_DELETE_LAST},
    {IDC_DELETE_ALL, IDB_FACE_DELETE_ALL},
    {IDC_CAPTURE_PIN_PAGES, IDB_FACE_CAPTURE_PIN},
    {IDC_CLIP_SIZE, IDB_FACE_CLIP_SIZE},
};

// Screens above this many dots per inch get the large banner.
const int kSmallBannerMaxDpi = 100;

void PutFacesOnButtons(HWND window)
{
    for (const ButtonFace& face : kButtonFaces) {
        HANDLE bitmap = LoadImageA(g_source.instance, MAKEINTRESOURCEA(face.bitmap), IMAGE_BITMAP,
                                   0, 0, LR_DEFAULTCOLOR);
        SendDlgItemMessageA(window, face.button, BM_SETIMAGE, IMAGE_BITMAP,
                            reinterpret_cast<LPARAM>(bitmap));
    }
}

// The faces belong to the window; a button does not delete its image.
void DeleteButtonFaces(HWND window)
{
    for (const ButtonFace& face : kButtonFaces) {
        HGDIOBJ bitmap = reinterpret_cast<HGDIOBJ>(
            SendDlgItemMessageA(window, face.button, BM_SETIMAGE, IMAGE_BITMAP, 0));
        if (bitmap != nullptr) {
            DeleteObject(bitmap);
        }
    }
}

void ColourControls(HWND window)
{
    HWND progress = GetDlgItem(window, IDC_PROGRESS);
    SendMessageA(progress, PBM_SETBARCOLOR, 0, RGB(255, 255, 0));
    SendMessageA(progress, PBM_SETSTEP, 1, 0);
    HWND list = GetDlgItem(window, IDC_ALBUM_LIST);
    ListView_SetBkColor(list, RGB(0, 0, 0));
    ListView_SetTextColor(list, RGB(255, 255, 255));
    ListView_SetTextBkColor(list, RGB(0, 0, 0));
    SendMessageA(progress, PBM_SETBKCOLOR, 0, RGB(128, 128, 0));
}

// Keeps the banner made for the screen's resolution and moves the other one
// out of sight.
void ChooseBanner(HWND window)
{
    HDC screen = GetDC(window);
    int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(window, screen);
    int unused = dpi > kSmallBannerMaxDpi ? IDC_BANNER_SMALL : IDC_BANNER_LARGE;
    SetWindowPos(GetDlgItem(window, unused), nullptr, -1000, -1000, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE);
}

void HideVideoPanel(HWND window)
{
    SetWindowPos(GetDlgItem(window, IDC_VIDEO_PANEL), nullptr, 0, 0, 0, 0,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL StartAlbumWindow(HWND window)
{
    if (!LoadCameraSettings()) {
        ShowPlainMessageBox(window, "Failed!", "Error", MB_OK);
    }
    AttachAlbumWidgets(window);
    SetWindowTextA(window, g_source.productName);
    PutFacesOnButtons(window);
    ColourControls(window);
    CreateAlbumImageList(window);
    ChooseBanner(window);
    HideVideoPanel(window);
    PostMessageA(window, WM_COMMAND, IDC_ALBUM, 0);
    HideVideoPanel(window);
    return TRUE;
}

// Album mode: the list shows the camera's objects, read anew.
void ShowAlbum(HWND window)
{
    DeleteAllObjects(window, false);
    if (!LoadAlbum(window)) {
        ShowPlainMessageBox(window, "Failed!", "Error", MB_OK | MB_TOPMOST);
    }
}

BOOL RunCommand(HWND window, int command)
{
    if (command == IDC_ALBUM) {
        ShowAlbum(window);
    }
    return TRUE;
}

// The user closes the window: let the camera finish what it is doing, then
// ask the application to close the source. The window itself stays until
// MSG_CLOSEDS destroys it.
BOOL RequestClose()
{
    WaitFWIdle();
    NotifyCloseRequest();
    ClipCursor(nullptr);
    return TRUE;
}

BOOL EndAlbumWindow(HWND window)
{
    ClipCursor(nullptr);
    ReleaseAlbumList(window);
    DeleteButtonFaces(window);
    return TRUE;
}

}  // namespace

INT_PTR CALLBACK AlbumWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return StartAlbumWindow(window);
    case WM_COMMAND:
        return RunCommand(window, LOWORD(wParam));
    case WM_NOTIFY:
        AnswerItemText(reinterpret_cast<NMHDR*>(lParam));
        return 0;
    case WM_TIMER:
    case WM_LISTSCROLLED:
        return TRUE;
    case WM_CLOSE:
        return RequestClose();
    case WM_DESTROY:
        return EndAlbumWindow(window);
    default:
        return FALSE;
    }
}
