#include "album_user.h"

#include <commctrl.h>

#include <cstdio>
#include <cstring>

#include "resources/resource_ids.h"

namespace {

// Longer than the buttons' unlock delay after a command.
const DWORD kPauseBeforePress = 300;

BOOL CALLBACK FindAlbumWindow(HWND window, LPARAM found)
{
    char className[16] = "";
    GetClassNameA(window, className, sizeof className);
    if (strcmp(className, "#32770") == 0 && IsWindowVisible(window) &&
        GetDlgItem(window, IDC_ALBUM_LIST) != nullptr &&
        GetDlgItem(window, IDC_UPLOAD) != nullptr) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

bool IsStillName(const char* name)
{
    const size_t length = strlen(name);
    return length >= 4 && _stricmp(name + length - 4, ".JPG") == 0;
}

}  // namespace

bool PressUpLoadWhenReady(AlbumUser& user)
{
    HWND album = AlbumWindow();
    if (user.pressed || album == nullptr || !AlbumReady(album)) {
        user.readySince = 0;
        return false;
    }
    const DWORD now = GetTickCount();
    if (user.readySince == 0) {
        user.readySince = now;
        return false;
    }
    if (now - user.readySince < kPauseBeforePress) {
        return false;
    }
    user.pressed = true;
    const int stills = SelectStills(album);
    if (stills == 0) {
        printf("The album lists no stills; closing its window\n");
        CloseAlbumWindow();
        return true;
    }
    printf("Selected %d still%s in the album and pressed UpLoad\n", stills, stills == 1 ? "" : "s");
    fflush(stdout);
    SendMessageA(GetDlgItem(album, IDC_UPLOAD), BM_CLICK, 0, 0);
    return true;
}

int SelectStills(HWND album)
{
    HWND list = GetDlgItem(album, IDC_ALBUM_LIST);
    int selected = 0;
    for (int item = 0; item < ListView_GetItemCount(list); ++item) {
        char name[80] = "";
        ListView_GetItemText(list, item, 0, name, sizeof name);
        const bool still = IsStillName(name);
        ListView_SetItemState(list, item, still ? LVIS_SELECTED : 0, LVIS_SELECTED);
        selected += still ? 1 : 0;
    }
    return selected;
}

bool AlbumReady(HWND album)
{
    return album != nullptr && IsWindowEnabled(GetDlgItem(album, IDC_UPLOAD)) &&
           !IsWindowEnabled(GetDlgItem(album, IDC_ALBUM));
}

HWND AlbumWindow()
{
    HWND album = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindAlbumWindow, reinterpret_cast<LPARAM>(&album));
    return album;
}

void CloseAlbumWindow()
{
    HWND album = AlbumWindow();
    if (album != nullptr) {
        PostMessageA(album, WM_SYSCOMMAND, SC_CLOSE, 0);
    }
}
