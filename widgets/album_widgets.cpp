#include "widgets/album_widgets.h"

#include "resources/resource_ids.h"

const int kAlbumButtonIds[kAlbumButtonCount] = {
    IDC_SNAP,         IDC_DELETE_LAST,       IDC_DELETE_ALL, IDC_SAVE,  IDC_ALBUM,
    IDC_FILTER_PAGES, IDC_CAPTURE_PIN_PAGES, IDC_UPLOAD,     IDC_VIDEO, IDC_CLIP_SIZE,
};

GuardedButton g_albumButtons[kAlbumButtonCount];
ScrollReportList g_albumList;

void AttachAlbumWidgets(HWND album)
{
    for (int i = 0; i < kAlbumButtonCount; ++i) {
        g_albumButtons[i].AttachControl(kAlbumButtonIds[i], album);
    }
    g_albumList.AttachControl(IDC_ALBUM_LIST, album);
}

GuardedButton* AlbumButton(int controlId)
{
    for (int i = 0; i < kAlbumButtonCount; ++i) {
        if (kAlbumButtonIds[i] == controlId) {
            return &g_albumButtons[i];
        }
    }
    return nullptr;
}

void SetAlbumButtonsAccept(int accept, UINT delay)
{
    for (GuardedButton& button : g_albumButtons) {
        button.SetAccept(accept, delay);
    }
}
