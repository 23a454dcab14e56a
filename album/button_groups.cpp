#include "album/button_groups.h"

#include "resources/resource_ids.h"
#include "widgets/album_widgets.h"

namespace {

const UINT kUnlockDelay = 100;

const int kAllButtons[] = {IDC_UPLOAD,     IDC_SNAP,         IDC_VIDEO,
                           IDC_ALBUM,      IDC_SAVE,         IDC_DELETE_LAST,
                           IDC_DELETE_ALL, IDC_FILTER_PAGES, IDC_CAPTURE_PIN_PAGES,
                           IDC_CLIP_SIZE};
const int kAlbumModeButtons[] = {IDC_UPLOAD, IDC_SNAP,        IDC_VIDEO,
                                 IDC_SAVE,   IDC_DELETE_LAST, IDC_DELETE_ALL};
const int kVideoModeButtons[] = {IDC_SNAP, IDC_ALBUM, IDC_FILTER_PAGES, IDC_CAPTURE_PIN_PAGES,
                                 IDC_CLIP_SIZE};

template <size_t N>
void EnableButtons(HWND window, const int (&buttons)[N], BOOL enable)
{
    for (int button : buttons) {
        EnableWindow(GetDlgItem(window, button), enable);
    }
}

}  // namespace

void DisableAllButtons(HWND window)
{
    SetAlbumButtonsAccept(0, 0);
    EnableButtons(window, kAllButtons, FALSE);
}

void EnableAlbumButtons(HWND window)
{
    EnableButtons(window, kAlbumModeButtons, TRUE);
    SetAlbumButtonsAccept(1, kUnlockDelay);
}

void EnableVideoButtons(HWND window)
{
    EnableButtons(window, kVideoModeButtons, TRUE);
    SetAlbumButtonsAccept(1, kUnlockDelay);
}

void DisableOneButton(HWND window, int button)
{
    if (GuardedButton* guarded = AlbumButton(button)) {
        guarded->SetAccept(0, 0);
    }
    EnableWindow(GetDlgItem(window, button), FALSE);
}

void EnableOneButton(HWND window, int button)
{
    EnableWindow(GetDlgItem(window, button), TRUE);
    if (GuardedButton* guarded = AlbumButton(button)) {
        guarded->SetAccept(1, kUnlockDelay);
    }
}
