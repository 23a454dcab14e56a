// The album window's commands in the linked source, over a private copy of
// the simulated camera: the download of selected stills into the transfer
// queue and its announcement, snap and delete in album mode, saving to disk
// through the common save dialog, the "VideoClip Size" dialog, and the
// messages each shows.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "album/album_list.h"
#include "album/clip_size_dialog.h"
#include "resources/resource_ids.h"
#include "source/source_context.h"
#include "source/transfer_queue.h"
#include "support/bmp_files.h"
#include "support/camera_storage.h"
#include "support/linked_source.h"
#include "support/message_boxes.h"
#include "support/prefix_files.h"
#include "support/screenshot.h"
#include "support/test_windows.h"
#include "widgets/album_widgets.h"

namespace {

using Names = std::vector<std::string>;

const int kAllButtons[] = {IDC_UPLOAD, IDC_SNAP, IDC_VIDEO, IDC_ALBUM, IDC_SAVE, IDC_DELETE_LAST,
                           IDC_DELETE_ALL, IDC_FILTER_PAGES, IDC_CAPTURE_PIN_PAGES, IDC_CLIP_SIZE};
const int kAlbumButtons[] = {IDC_UPLOAD, IDC_SNAP, IDC_VIDEO, IDC_SAVE, IDC_DELETE_LAST,
                             IDC_DELETE_ALL};

std::vector<std::string> Captions(const MessageBoxCapture& boxes)
{
    std::vector<std::string> shown;
    for (const CapturedBox& box : boxes.Boxes()) {
        shown.push_back(box.caption + ": " + box.text);
    }
    return shown;
}

class AlbumCommandTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(camera_.Loaded());
        TW_USERINTERFACE ui = {TRUE, FALSE, application_.Handle()};
        ASSERT_EQ(source_.Call(DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &ui), TWRC_SUCCESS);
        album_ = g_source.albumWindow;
        ASSERT_NE(album_, nullptr);
        // The window loaded the installed camera's settings; the posted album
        // command reads this copy.
        ASSERT_TRUE(camera_.Reload());
        list_ = GetDlgItem(album_, IDC_ALBUM_LIST);
        // The album command, then the buttons' unlock.
        PumpMessages(100);
        WaitForUnlock();
    }

    void TearDown() override
    {
        TW_USERINTERFACE ui = {TRUE, FALSE, application_.Handle()};
        source_.Call(DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, &ui);
    }

    // Lets the buttons' unlock delay run out, as a user's pause would.
    static void WaitForUnlock() { PumpMessages(250); }

    void Select(const std::vector<int>& items)
    {
        ListView_SetItemState(list_, -1, 0, LVIS_SELECTED);
        for (int item : items) {
            ListView_SetItemState(list_, item, LVIS_SELECTED, LVIS_SELECTED);
        }
    }

    // A press of the button with the mouse, then the pause before the next.
    void Press(int button)
    {
        SendMessageA(GetDlgItem(album_, button), BM_CLICK, 0, 0);
        WaitForUnlock();
    }

    Names Items() const
    {
        Names names;
        for (int i = 0; i < ListView_GetItemCount(list_); ++i) {
            char text[80] = "";
            ListView_GetItemText(list_, i, 0, text, sizeof text);
            names.push_back(text);
        }
        return names;
    }

    std::vector<int> EnabledButtons() const
    {
        std::vector<int> enabled;
        for (int button : kAllButtons) {
            if (IsWindowEnabled(GetDlgItem(album_, button))) {
                enabled.push_back(button);
            }
        }
        return enabled;
    }

    PBRANGE ProgressRange() const
    {
        PBRANGE range = {};
        SendDlgItemMessageA(album_, IDC_PROGRESS, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
        return range;
    }

    int ProgressPosition() const
    {
        return static_cast<int>(SendDlgItemMessageA(album_, IDC_PROGRESS, PBM_GETPOS, 0, 0));
    }

    CameraStorageCopy camera_;
    MessageBoxCapture boxes_;
    TestWindow application_;
    LinkedSource source_;
    TransferFiles files_;
    HWND album_ = nullptr;
    HWND list_ = nullptr;
};

TEST_F(AlbumCommandTest, StartsInAlbumModeWithTheAlbumButtonsEnabled)
{
    EXPECT_EQ(Items(), (Names{"DSC_0001.JPG", "DSC_0002.JPG", "DSC_0003.AVI", "DSC_0004.JPG",
                              "DSC_0005.WAV"}));
    EXPECT_EQ(EnabledButtons(), std::vector<int>(std::begin(kAlbumButtons), std::end(kAlbumButtons)));
    for (int button : kAllButtons) {
        EXPECT_EQ(AlbumButton(button)->AcceptsPresses(), 1) << button;
    }
    EXPECT_TRUE(boxes_.Boxes().empty());
}

}  // namespace
