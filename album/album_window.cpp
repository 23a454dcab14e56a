#include "album/album_window.h"

#include <commctrl.h>

#include "album/album_list.h"
#include "album/album_window_state.h"
#include "album/button_groups.h"
#include "album/camera_library.h"
#include "album/clip_size_dialog.h"
#include "album/read_out.h"
#include "album/video_snap.h"
#include "resources/resource_ids.h"
#include "source/messages.h"
#include "source/notifications.h"
#include "source/source_context.h"
#include "source/transfer_prefix.h"
#include "source/transfer_queue.h"
#include "video/preview_graph.h"
#include "widgets/album_widgets.h"

AlbumWindowState g_albumWindowState = {};

namespace {

// After the first announced transfer the window stays on top at this size.
const int kTransferWindowWidth = 455;
const int kTransferWindowHeight = 445;

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

// The video panel in video mode: its size, and the size it is centred by.
const int kPanelWidth = 357;
const int kPanelHeight = 293;
const int kPanelCentringWidth = 347;
const int kPanelCentringHeight = 283;
const int kPanelLift = 8;

// The window's end gives the camera this long to settle after the last wait.
const DWORD kCameraSettleTime = 1000;

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

// Takes the bitmap a control shows back from it (`setImage` is the
// control's BM_SETIMAGE or STM_SETIMAGE) and deletes it.
void DeleteControlBitmap(HWND window, int control, UINT setImage)
{
    HGDIOBJ bitmap =
        reinterpret_cast<HGDIOBJ>(SendDlgItemMessageA(window, control, setImage, IMAGE_BITMAP, 0));
    if (bitmap != nullptr) {
        DeleteObject(bitmap);
    }
}

// The faces and the banners belong to the window: neither a button nor a
// static control deletes its bitmap, not even one it loaded from the
// template itself as the banners do.
void DeleteWindowBitmaps(HWND window)
{
    for (const ButtonFace& face : kButtonFaces) {
        DeleteControlBitmap(window, face.button, BM_SETIMAGE);
    }
    DeleteControlBitmap(window, IDC_BANNER_SMALL, STM_SETIMAGE);
    DeleteControlBitmap(window, IDC_BANNER_LARGE, STM_SETIMAGE);
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
// out of sight. The small banner's top edge, read before any move, is
// where the list's top is measured from.
void ChooseBanner(HWND window, RECT& smallBanner)
{
    HDC screen = GetDC(window);
    int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(window, screen);
    GetWindowRect(GetDlgItem(window, IDC_BANNER_SMALL), &smallBanner);
    int unused = dpi > kSmallBannerMaxDpi ? IDC_BANNER_SMALL : IDC_BANNER_LARGE;
    SetWindowPos(GetDlgItem(window, unused), nullptr, -1000, -1000, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE);
}

void TakeListGeometry(HWND window, const RECT& smallBanner)
{
    RECT list;
    GetWindowRect(GetDlgItem(window, IDC_ALBUM_LIST), &list);
    g_albumWindowState.listTop = list.top - smallBanner.top;
    g_albumWindowState.listWidth = list.right - list.left;
    g_albumWindowState.listHeight = list.bottom - list.top;
}

// The transfer files go to the source's directory; the application is
// offered the bare prefix until pictures are queued.
void SetTransferPrefix()
{
    MakeTransferPrefix(g_transferQueue.filePrefix, sizeof g_transferQueue.filePrefix);
    lstrcpynA(g_transferQueue.currentFile, g_transferQueue.filePrefix,
              sizeof g_transferQueue.currentFile);
}

void HideVideoPanel(HWND window)
{
    SetWindowPos(GetDlgItem(window, IDC_VIDEO_PANEL), nullptr, 0, 0, 0, 0,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL StartAlbumWindow(HWND window)
{
    g_albumWindowState = {};
    if (!LoadCameraSettings()) {
        ShowPlainMessageBox(window, "Failed!", "Error", MB_OK);
    }
    AttachAlbumWidgets(window);
    SetTransferPrefix();
    SetWindowTextA(window, g_source.productName);
    PutFacesOnButtons(window);
    ColourControls(window);
    CreateAlbumImageList(window);
    RECT smallBanner;
    ChooseBanner(window, smallBanner);
    TakeListGeometry(window, smallBanner);
    HideVideoPanel(window);
    PostMessageA(window, WM_COMMAND, IDC_ALBUM, 0);
    HideVideoPanel(window);
    return TRUE;
}

void ShowErrorOnTop(HWND window, const char* text)
{
    ShowPlainMessageBox(window, text, "Error", MB_OK | MB_TOPMOST);
}

// Once pictures are announced the window stays above the application's.
void KeepOnTopForTransfer(HWND window)
{
    SetWindowPos(window, HWND_TOPMOST, 0, 0, kTransferWindowWidth, kTransferWindowHeight,
                 SWP_NOMOVE);
}

// The video panel takes the list's place, centred on it.
void ShowVideoPanel(HWND window)
{
    const AlbumWindowState& state = g_albumWindowState;
    const int x = (state.listWidth - kPanelCentringWidth) / 2;
    const int y = (state.listHeight - kPanelCentringHeight) / 2 - kPanelLift + state.listTop;
    MoveWindow(GetDlgItem(window, IDC_VIDEO_PANEL), x, y, kPanelWidth, kPanelHeight, TRUE);
    MoveWindow(GetDlgItem(window, IDC_ALBUM_LIST), 0, 0, 0, 0, TRUE);
}

void PutListBack(HWND window)
{
    const AlbumWindowState& state = g_albumWindowState;
    MoveWindow(GetDlgItem(window, IDC_ALBUM_LIST), 0, state.listTop, state.listWidth,
               state.listHeight, TRUE);
}

// UpLoad: the selected stills become transfer files and are announced.
void DownloadForTransfer(HWND window)
{
    DisableAllButtons(window);
    ResetBlockCounter(window);
    const bool queued = DownloadSelection(window);
    if (queued) {
        NotifyTransferReady();
    }
    EnableAlbumButtons(window);
    if (queued) {
        KeepOnTopForTransfer(window);
    }
}

// Video mode: the live video of the camera, opened on the video panel the
// first time.
void EnterVideoMode(HWND window)
{
    DisableAllButtons(window);
    g_albumWindowState.videoMode = true;
    ShowVideoPanel(window);
    ShowPreview();
    if (!g_albumWindowState.videoPartInitialised) {
        g_albumWindowState.videoPartInitialised = true;
        OpenVideo(GetDlgItem(window, IDC_VIDEO_PANEL));
        LONG device = 0;
        FindCameraDevice(&device);
        SelectVideoDevice(device);
    } else {
        RestartPreview(1, window);
    }
    EnableVideoButtons(window);
}

// Snap in video mode: the camera takes a still, which goes to the
// application; the window then returns to video mode.
void SnapInVideo(HWND window)
{
    DisableAllButtons(window);
    ResetBlockCounter(window);
    const VideoSnapResult snap = VideoSnap(window);
    if (snap.taken) {
        if (snap.produced) {
            g_transferQueue.pendingCount = 1;
            g_transferQueue.currentIndex = 0;
            NotifyTransferReady();
        }
        g_albumWindowState.albumLoaded = false;
        KeepOnTopForTransfer(window);
        PostMessageA(window, WM_COMMAND, IDC_VIDEO, 0);
    }
    EnableVideoButtons(window);
}

// Snap in album mode: the camera takes a still, which the list appends.
void SnapInAlbum(HWND window)
{
    DisableAllButtons(window);
    ResetBlockCounter(window);
    const bool snapped = SnapStill(window);
    VendorRequest2000();
    EnableAlbumButtons(window);
    if (!snapped) {
        ShowErrorOnTop(window, "Snap Failed!");
    }
}

// Album mode: the list is shown again, and read from the camera unless it
// holds the camera's objects already.
void ShowAlbum(HWND window)
{
    DisableAllButtons(window);
    ResetBlockCounter(window);
    LeaveVideoMode(window);
    PutListBack(window);
    HideVideoPanel(window);
    if (!g_albumWindowState.albumLoaded) {
        DeleteAllObjects(window, false);
        if (!LoadAlbum(window)) {
            ShowErrorOnTop(window, "Failed!");
        }
        g_albumWindowState.albumLoaded = true;
        SetStillSize(kStillSizeFull);
    }
    VendorRequest2000();
    EnableAlbumButtons(window);
}

void SaveToDisk(HWND window)
{
    ResetBlockCounter(window);
    const bool saved = SaveSelection(window);
    WaitFWIdle();
    EnableAlbumButtons(window);
    if (saved) {
        ShowPlainMessageBox(window, "Save OK!", "Notification", MB_OK | MB_TOPMOST);
    }
}

// Del Last and Del All report no failure.
void DeleteObjects(HWND window, bool all)
{
    ResetBlockCounter(window);
    DisableAllButtons(window);
    if (all) {
        DeleteAllObjects(window, true);
    } else {
        DeleteLastObject(window, true);
    }
    EnableAlbumButtons(window);
}

BOOL RunCommand(HWND window, int command)
{
    switch (command) {
    case IDC_UPLOAD:
        DownloadForTransfer(window);
        break;
    case IDC_SNAP:
        if (g_albumWindowState.videoMode) {
            SnapInVideo(window);
        } else {
            SnapInAlbum(window);
        }
        break;
    case IDC_VIDEO:
        EnterVideoMode(window);
        break;
    case IDC_ALBUM:
        ShowAlbum(window);
        break;
    case IDC_SAVE:
        SaveToDisk(window);
        break;
    case IDC_DELETE_LAST:
        DeleteObjects(window, false);
        break;
    case IDC_DELETE_ALL:
        DeleteObjects(window, true);
        break;
    case IDC_FILTER_PAGES:
        ShowFilterPages();
        break;
    case IDC_CAPTURE_PIN_PAGES:
        ShowFormatPages();
        break;
    case IDC_CLIP_SIZE:
        OpenClipSizeDialog(window);
        break;
    default:
        break;
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
    WaitFWIdle();
    PauseForCamera(kCameraSettleTime);
    if (g_albumWindowState.videoPartInitialised) {
        CloseVideo();
        g_albumWindowState.videoPartInitialised = false;
    }
    ReleaseAlbumList(window);
    DeleteWindowBitmaps(window);
    return TRUE;
}

// "STOPRUN", known once the live video registered it.
bool IsStopRunMessage(UINT message)
{
    const UINT stopRun = StopRunMessage();
    return stopRun != 0 && message == stopRun;
}

}  // namespace

void LeaveVideoMode(HWND window)
{
    if (g_albumWindowState.videoMode) {
        RestartPreview(0, window);
    }
    WaitFWIdle();
    g_albumWindowState.videoMode = false;
    if (g_albumWindowState.videoPartInitialised) {
        HaltPreview();
    }
}

INT_PTR CALLBACK AlbumWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (IsStopRunMessage(message)) {
        RestartPreview(static_cast<int>(wParam), window);
        return FALSE;
    }
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
