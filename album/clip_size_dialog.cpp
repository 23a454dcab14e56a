#include "album/clip_size_dialog.h"

#include "album/button_groups.h"
#include "album/camera_library.h"
#include "resources/resource_ids.h"
#include "source/source_context.h"

int g_clipSizeChoice = kClip1280x960;

namespace {

const char kSensorKey[] = "Software\\Ardenza ZC600A\\CONTROL";
const char kSensorValue[] = "SensorType";
const DWORD kSensorSettleTime = 200;
const int kSensorReads = 10;

// The album window travels with the dialog as its user data.
HWND AlbumOf(HWND dialog)
{
    return reinterpret_cast<HWND>(GetWindowLongPtrA(dialog, DWLP_USER));
}

BOOL StartClipSizeDialog(HWND dialog, HWND album)
{
    SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(album));
    const int unavailable = QuerySensorType() ? IDC_CLIP_1280X1024 : IDC_CLIP_1280X960;
    EnableWindow(GetDlgItem(dialog, unavailable), FALSE);
    g_clipSizeChoice = kClip640x480;
    CheckDlgButton(dialog, IDC_CLIP_640X480, BST_CHECKED);
    return TRUE;
}

// OK: the dialog goes and the Size button works again.
void ConfirmClipSize(HWND dialog)
{
    HWND album = AlbumOf(dialog);
    DestroyWindow(dialog);
    EnableOneButton(album, IDC_CLIP_SIZE);
}

BOOL RunClipSizeCommand(HWND dialog, int command)
{
    switch (command) {
    case IDC_CLIP_640X480:
        g_clipSizeChoice = kClip640x480;
        break;
    case IDC_CLIP_1280X960:
        g_clipSizeChoice = kClip1280x960;
        break;
    case IDC_CLIP_1280X1024:
        g_clipSizeChoice = kClip1280x1024;
        break;
    case IDOK:
        ConfirmClipSize(dialog);
        break;
    default:
        break;
    }
    return TRUE;
}

INT_PTR CALLBACK ClipSizeDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return StartClipSizeDialog(dialog, reinterpret_cast<HWND>(lParam));
    case WM_COMMAND:
        return RunClipSizeCommand(dialog, LOWORD(wParam));
    case WM_CLOSE:
        // The Size button stays disabled until the next change of mode.
        DestroyWindow(dialog);
        return TRUE;
    default:
        return FALSE;
    }
}

}  // namespace

void OpenClipSizeDialog(HWND album)
{
    DisableOneButton(album, IDC_CLIP_SIZE);
    HWND dialog = CreateDialogParamA(g_source.instance, MAKEINTRESOURCEA(IDD_CLIP_SIZE),
                                     GetDlgItem(album, IDC_VIDEO_PANEL), ClipSizeDialogProc,
                                     reinterpret_cast<LPARAM>(album));
    if (dialog != nullptr) {
        ShowWindow(dialog, SW_SHOW);
    }
}

bool QuerySensorType()
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSensorKey, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return false;
    }
    PauseForCamera(kSensorSettleTime);
    bool sensorZero = false;
    for (int read = 0; read < kSensorReads && !sensorZero; ++read) {
        DWORD value = 0;
        DWORD size = sizeof value;
        DWORD type = 0;
        sensorZero = RegQueryValueExA(key, kSensorValue, nullptr, &type,
                                      reinterpret_cast<BYTE*>(&value), &size) == ERROR_SUCCESS &&
                     size == sizeof value && value == 0;
    }
    RegCloseKey(key);
    return sensorZero;
}
