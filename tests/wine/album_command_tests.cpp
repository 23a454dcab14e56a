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
#include "support/camera_pauses.h"
#include "support/camera_storage.h"
#include "support/linked_source.h"
#include "support/message_boxes.h"
#include "support/prefix_files.h"
#include "support/screenshot.h"
#include "support/test_windows.h"
#include "widgets/album_widgets.h"

namespace {

using Names = std::vector<std::string>;

const int kAllButtons[] = {IDC_UPLOAD,     IDC_SNAP,         IDC_VIDEO,
                           IDC_ALBUM,      IDC_SAVE,         IDC_DELETE_LAST,
                           IDC_DELETE_ALL, IDC_FILTER_PAGES, IDC_CAPTURE_PIN_PAGES,
                           IDC_CLIP_SIZE};
const int kAlbumButtons[] = {IDC_UPLOAD, IDC_SNAP,        IDC_VIDEO,
                             IDC_SAVE,   IDC_DELETE_LAST, IDC_DELETE_ALL};
const int kVideoButtons[] = {IDC_SNAP, IDC_ALBUM, IDC_FILTER_PAGES, IDC_CAPTURE_PIN_PAGES,
                             IDC_CLIP_SIZE};

// The boxes shown, as "caption: text", and forgotten.
Names Shown(MessageBoxCapture& boxes)
{
    Names shown;
    for (const CapturedBox& box : boxes.Boxes()) {
        shown.push_back(box.caption + ": " + box.text);
    }
    boxes.Clear();
    return shown;
}

unsigned long FileSize(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
    return data.nFileSizeLow;
}

// The user of the save-file dialog, on a thread of its own while the dialog
// runs its modal loop on the test's: types the name and confirms, or cancels
// when the name is empty.
class SaveDialogUser {
public:
    explicit SaveDialogUser(std::string name)
        : name_(std::move(name)), thread_([this] { Answer(); })
    {
    }
    ~SaveDialogUser() { Finish(); }

    // Waits for the answer; the proposal seen in the file-name field.
    const std::string& Finish()
    {
        if (thread_.joinable()) {
            thread_.join();
        }
        return proposal_;
    }

private:
    void Answer()
    {
        for (int tries = 0; tries < 200; ++tries) {
            HWND dialog = FindWindowA("#32770", "Select Capture File");
            HWND field = dialog != nullptr ? FileNameField(dialog) : nullptr;
            if (field != nullptr) {
                char text[MAX_PATH] = "";
                GetWindowTextA(field, text, sizeof text);
                proposal_ = text;
                SetWindowTextA(field, name_.c_str());
                PostMessageA(dialog, WM_COMMAND, name_.empty() ? IDCANCEL : IDOK, 0);
                return;
            }
            Sleep(25);
        }
    }

    // The file-name combo box (cmb13) of the explorer-style dialog, or the
    // edit control (edt1) of the older one.
    static HWND FileNameField(HWND dialog)
    {
        HWND field = GetDlgItem(dialog, 0x47C);
        return field != nullptr ? field : GetDlgItem(dialog, 0x480);
    }

    std::string name_;
    std::string proposal_;
    std::thread thread_;
};

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

    // A press of the button with the mouse once its guard lets presses
    // through (a busy machine may take longer than a user's pause), then the
    // pause before the next.
    void Press(int button)
    {
        for (DWORD waited = 0; !AlbumButton(button)->AcceptsPresses() && waited < 5000;
             waited += 10) {
            PumpMessages(10);
        }
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

    bool InAlbumMode() const
    {
        return EnabledButtons() ==
               std::vector<int>(std::begin(kAlbumButtons), std::end(kAlbumButtons));
    }

    bool InVideoMode() const
    {
        return EnabledButtons() ==
               std::vector<int>(std::begin(kVideoButtons), std::end(kVideoButtons));
    }

    RECT PlaceOf(int control) const
    {
        RECT rect;
        GetWindowRect(GetDlgItem(album_, control), &rect);
        MapWindowPoints(nullptr, album_, reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    }

    PBRANGE ProgressRange() const
    {
        PBRANGE range = {};
        SendDlgItemMessageA(album_, IDC_PROGRESS, PBM_GETRANGE, FALSE,
                            reinterpret_cast<LPARAM>(&range));
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
    EXPECT_TRUE(InAlbumMode());
    for (int button : kAllButtons) {
        EXPECT_EQ(AlbumButton(button)->AcceptsPresses(), 1) << button;
    }
    EXPECT_TRUE(boxes_.Boxes().empty());

    // A picture of the album with the stills selected, for people to look at.
    Select({0, 1, 3});
    SetForegroundWindow(album_);
    PumpMessages(200);
    const std::string path = BuildFolderFile("album_stills_selected.png");
    DeleteFileA(path.c_str());
    EXPECT_TRUE(SaveWindowPicture(album_, path));
    printf("Picture of the album window: %s\n", path.c_str());
}

TEST_F(AlbumCommandTest, UpLoadQueuesTheSelectedStillsAndAnnouncesThem)
{
    // Stills 1, 2 and 4 and the sound 5: the sound is passed over.
    Select({0, 1, 3, 4});
    Press(IDC_UPLOAD);
    EXPECT_TRUE(Shown(boxes_).empty());
    EXPECT_EQ(source_.State(), kStateTransferReady);
    const TransferQueue& queue = g_transferQueue;
    EXPECT_EQ(queue.pendingCount, 3);
    EXPECT_EQ(std::vector<int>(queue.fileNumbers, queue.fileNumbers + 3),
              (std::vector<int>{1, 2, 4}));
    EXPECT_EQ(queue.currentIndex, 0);
    EXPECT_EQ(std::string(queue.currentFile), TransferFilePath(1));
    for (int number : {1, 2, 4}) {
        files_.Track(TransferFilePath(number));
        EXPECT_TRUE(FileExists(TransferFilePath(number))) << number;
    }
    EXPECT_FALSE(FileExists(TransferFilePath(5)));

    // The bar counted 512-byte blocks of the three stills, and is back at 0.
    const unsigned long bytes = FileSize(camera_.ObjectPath("DSC_0001.JPG")) +
                                FileSize(camera_.ObjectPath("DSC_0002.JPG")) +
                                FileSize(camera_.ObjectPath("DSC_0004.JPG"));
    EXPECT_EQ(ProgressRange().iHigh, static_cast<int>(bytes / 512));
    EXPECT_EQ(ProgressPosition(), 0);

    // The window stays above the application's, at its transfer size.
    EXPECT_NE(GetWindowLongA(album_, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    RECT frame;
    GetWindowRect(album_, &frame);
    EXPECT_EQ(frame.right - frame.left, 455);
    EXPECT_EQ(frame.bottom - frame.top, 445);
    EXPECT_TRUE(InAlbumMode());

    // The application takes the first picture: the queue moves on to 0002.
    TW_HANDLE handle = nullptr;
    ASSERT_EQ(source_.Call(DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, &handle), TWRC_XFERDONE);
    GlobalFree(handle);
    TW_PENDINGXFERS pending = {};
    ASSERT_EQ(source_.Call(DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, &pending), TWRC_SUCCESS);
    EXPECT_EQ(pending.Count, 2);
    EXPECT_FALSE(FileExists(TransferFilePath(1)));
    EXPECT_EQ(std::string(queue.currentFile), TransferFilePath(2));

    // A new UpLoad while 0002 and 0004 wait replaces the queue and leaves
    // no file that nothing would transfer.
    Select({0, 1});
    Press(IDC_UPLOAD);
    EXPECT_EQ(queue.pendingCount, 2);
    EXPECT_TRUE(FileExists(TransferFilePath(1)));
    EXPECT_TRUE(FileExists(TransferFilePath(2)));
    EXPECT_FALSE(FileExists(TransferFilePath(4)));
    ASSERT_EQ(source_.Call(DG_CONTROL, DAT_PENDINGXFERS, MSG_RESET, &pending), TWRC_SUCCESS);
}

TEST_F(AlbumCommandTest, UpLoadRefusesClipsEmptySelectionsAndFailedReadOuts)
{
    Select({});
    Press(IDC_UPLOAD);
    EXPECT_EQ(Shown(boxes_), (Names{"Notification: No select image to upload!"}));

    // A clip refuses the whole download before anything is read.
    Select({0, 2, 3});
    Press(IDC_UPLOAD);
    EXPECT_EQ(Shown(boxes_), (Names{"Notification: Only Upload JPG File! "}));
    EXPECT_EQ(camera_.Calls("Upload_DOSFAT_Object"), 0);

    Select({4});
    Press(IDC_UPLOAD);
    EXPECT_EQ(Shown(boxes_), (Names{"Notification: No select image to upload!"}));

    camera_.Set("Fail", "Upload_DOSFAT_Object", "always");
    Select({0, 1});
    Press(IDC_UPLOAD);
    EXPECT_EQ(Shown(boxes_), (Names{"Error: Upload Failed!"}));

    // A refused status request after the read-out fails without a message.
    camera_.Set("Fail", "Upload_DOSFAT_Object", "0");
    camera_.Set("Fail", "VendorCommandBulkWrite", "always");
    Press(IDC_UPLOAD);
    EXPECT_TRUE(Shown(boxes_).empty());
    for (int number : {1, 2}) {
        files_.Track(TransferFilePath(number));
    }

    // Nothing was announced, and the queue offers nothing.
    EXPECT_EQ(source_.State(), kStateSourceEnabled);
    EXPECT_EQ(g_transferQueue.pendingCount, 0);
    EXPECT_EQ(GetWindowLongA(album_, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_TRUE(InAlbumMode());
}

TEST_F(AlbumCommandTest, SnapAppendsAStillAndTheDeletesEmptyTheCamera)
{
    Press(IDC_SNAP);
    EXPECT_TRUE(Shown(boxes_).empty());
    ASSERT_EQ(Items().size(), 6u);
    EXPECT_EQ(Items().back(), "DSC_0006.JPG");
    EXPECT_TRUE(FileExists(camera_.ObjectPath("DSC_0006.JPG")));

    camera_.Set("Fail", "Capture_DOSFAT_DSC", "always");
    Press(IDC_SNAP);
    EXPECT_EQ(Shown(boxes_), (Names{"Error: Snap Failed!"}));
    EXPECT_EQ(Items().size(), 6u);

    // Del Last takes the newest object, whatever is selected.
    Select({0});
    Press(IDC_DELETE_LAST);
    EXPECT_EQ(Items().back(), "DSC_0005.WAV");
    EXPECT_FALSE(FileExists(camera_.ObjectPath("DSC_0006.JPG")));

    // Deletes report no failure.
    camera_.Set("Fail", "DeleteFDBObject", "always");
    Press(IDC_DELETE_ALL);
    Press(IDC_DELETE_LAST);
    EXPECT_TRUE(Shown(boxes_).empty());
    EXPECT_EQ(Items().size(), 5u);

    camera_.Set("Fail", "DeleteFDBObject", "0");
    Press(IDC_DELETE_ALL);
    EXPECT_TRUE(Shown(boxes_).empty());
    EXPECT_TRUE(Items().empty());
    EXPECT_FALSE(FileExists(camera_.ObjectPath("DSC_0001.JPG")));
    EXPECT_TRUE(InAlbumMode());

    // An empty camera has nothing to upload or save.
    Press(IDC_UPLOAD);
    Press(IDC_SAVE);
    EXPECT_EQ(Shown(boxes_), (Names{"Notification: No select image to upload!",
                                    "Notification: No select file to save!"}));
}

TEST_F(AlbumCommandTest, SaveWritesTheSelectedObjectsThroughTheChosenName)
{
    const std::string folder = TemporaryPath("album_saves");
    CreateDirectoryA(folder.c_str(), nullptr);
    const Names saved = {"\\pick0001.JPG", "\\pick0003.AVI", "\\pick0005.WAV"};
    for (const std::string& name : saved) {
        files_.Track(folder + name);
    }

    Select({0, 2, 4});
    {
        SaveDialogUser user(folder + "\\pick");
        Press(IDC_SAVE);
        // The dialog shows the proposal's name part in its field.
        EXPECT_EQ(user.Finish(), "DSC_");
    }
    EXPECT_EQ(Shown(boxes_), (Names{"Notification: Save OK!"}));
    const Names objects = {"DSC_0001.JPG", "DSC_0003.AVI", "DSC_0005.WAV"};
    for (size_t i = 0; i < saved.size(); ++i) {
        EXPECT_TRUE(ReadBytes(folder + saved[i]) == ReadBytes(camera_.ObjectPath(objects[i])))
            << objects[i];
    }

    // A cancelled dialog shows nothing.
    {
        SaveDialogUser user("");
        Press(IDC_SAVE);
    }
    EXPECT_TRUE(Shown(boxes_).empty());

    camera_.Set("Fail", "Upload_DOSFAT_Object", "always");
    {
        SaveDialogUser user(folder + "\\again");
        Press(IDC_SAVE);
    }
    EXPECT_EQ(Shown(boxes_), (Names{"Error: Save Failed!"}));
    EXPECT_EQ(ProgressPosition(), 0);
    EXPECT_TRUE(InAlbumMode());

    Select({});
    Press(IDC_SAVE);
    EXPECT_EQ(Shown(boxes_), (Names{"Notification: No select file to save!"}));
    RemoveDirectoryA(folder.c_str());
}

TEST_F(AlbumCommandTest, ClipSizeDialogOffersTheSensorsSizesAndKeepsTheChoice)
{
    SavedRegistryValue sensor("Software\\Ardenza ZC600A\\CONTROL", "SensorType");
    HWND sizeButton = GetDlgItem(album_, IDC_CLIP_SIZE);
    EXPECT_EQ(g_clipSizeChoice, kClip1280x960);

    // Sensor type 0 offers 1280 x 960.
    sensor.SetDword(0);
    SendMessageA(album_, WM_COMMAND, IDC_CLIP_SIZE, 0);
    HWND dialog = FindWindowA("#32770", "VideoClip Size");
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, IDC_CLIP_1280X960)));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDC_CLIP_1280X1024)));
    EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_CLIP_640X480), BST_CHECKED);
    EXPECT_EQ(g_clipSizeChoice, kClip640x480);
    EXPECT_FALSE(IsWindowEnabled(sizeButton));
    EXPECT_EQ(AlbumButton(IDC_CLIP_SIZE)->AcceptsPresses(), 0);
    SendDlgItemMessageA(dialog, IDC_CLIP_1280X960, BM_CLICK, 0, 0);
    EXPECT_EQ(g_clipSizeChoice, kClip1280x960);
    SendDlgItemMessageA(dialog, IDOK, BM_CLICK, 0, 0);
    WaitForUnlock();
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_TRUE(IsWindowEnabled(sizeButton));
    EXPECT_EQ(AlbumButton(IDC_CLIP_SIZE)->AcceptsPresses(), 1);
    EXPECT_EQ(g_clipSizeChoice, kClip1280x960);

    // Any other sensor type, or none, offers 1280 x 1024; the close box
    // leaves the Size button disabled.
    sensor.Remove();
    SendMessageA(album_, WM_COMMAND, IDC_CLIP_SIZE, 0);
    dialog = FindWindowA("#32770", "VideoClip Size");
    ASSERT_NE(dialog, nullptr);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDC_CLIP_1280X960)));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, IDC_CLIP_1280X1024)));
    EXPECT_EQ(g_clipSizeChoice, kClip640x480);
    SendMessageA(dialog, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_FALSE(IsWindowEnabled(sizeButton));
    EXPECT_TRUE(Shown(boxes_).empty());
}

TEST_F(AlbumCommandTest, VideoSnapHandsTheStillToTheApplicationAndLeavesItOutOfTheCamera)
{
    // The snap's pauses as the data source makes them, the sensor's too.
    RealCameraPauses realPauses;
    const RECT list = PlaceOf(IDC_ALBUM_LIST);
    Press(IDC_VIDEO);
    EXPECT_TRUE(InVideoMode());
    // The panel is centred on the list's place; the list is out of sight.
    const RECT panel = PlaceOf(IDC_VIDEO_PANEL);
    EXPECT_EQ(panel.left, (list.right - list.left - 347) / 2);
    EXPECT_EQ(panel.top, (list.bottom - list.top - 283) / 2 - 8 + list.top);
    EXPECT_EQ(panel.right - panel.left, 357);
    EXPECT_EQ(panel.bottom - panel.top, 293);
    EXPECT_EQ(PlaceOf(IDC_ALBUM_LIST).right - PlaceOf(IDC_ALBUM_LIST).left, 0);

    // Before the "VideoClip Size" dialog was ever opened, the full size.
    Press(IDC_SNAP);
    EXPECT_TRUE(Shown(boxes_).empty());
    EXPECT_EQ(source_.State(), kStateTransferReady);
    EXPECT_EQ(g_transferQueue.pendingCount, 1);
    EXPECT_EQ(g_transferQueue.currentIndex, 0);
    EXPECT_EQ(std::string(g_transferQueue.currentFile), TransferFilePath(6));
    files_.Track(TransferFilePath(6));
    TW_IMAGEINFO info = {};
    ASSERT_EQ(source_.Call(DG_IMAGE, DAT_IMAGEINFO, MSG_GET, &info), TWRC_SUCCESS);
    EXPECT_EQ(info.ImageWidth, 1280);
    EXPECT_EQ(info.ImageLength, 960);
    EXPECT_FALSE(FileExists(camera_.ObjectPath("DSC_0006.JPG")));
    EXPECT_NE(GetWindowLongA(album_, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    // The posted Video command brought the window back to video mode.
    EXPECT_TRUE(InVideoMode());
    TW_PENDINGXFERS pending = {};
    ASSERT_EQ(source_.Call(DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, &pending), TWRC_SUCCESS);
    EXPECT_EQ(pending.Count, 0);
    EXPECT_FALSE(FileExists(TransferFilePath(6)));

    // Once the dialog has been opened, 640 x 480.
    SendMessageA(album_, WM_COMMAND, IDC_CLIP_SIZE, 0);
    SendMessageA(FindWindowA("#32770", "VideoClip Size"), WM_COMMAND, IDOK, 0);
    WaitForUnlock();
    Press(IDC_SNAP);
    files_.Track(TransferFilePath(6));
    ASSERT_EQ(source_.Call(DG_IMAGE, DAT_IMAGEINFO, MSG_GET, &info), TWRC_SUCCESS);
    EXPECT_EQ(info.ImageWidth, 640);
    EXPECT_EQ(info.ImageLength, 480);
    ASSERT_EQ(source_.Call(DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, &pending), TWRC_SUCCESS);

    // The album is read again on the way back.
    Press(IDC_ALBUM);
    EXPECT_TRUE(InAlbumMode());
    EXPECT_EQ(Items().size(), 5u);
    EXPECT_EQ(PlaceOf(IDC_ALBUM_LIST).top, list.top);
    EXPECT_EQ(PlaceOf(IDC_VIDEO_PANEL).right - PlaceOf(IDC_VIDEO_PANEL).left, 0);
    EXPECT_TRUE(Shown(boxes_).empty());
}

// A capture that stores nothing leaves the user's object the newest: it is
// read out when it is a still, and deleted in no case.
TEST_F(AlbumCommandTest, AVideoSnapDeletesNothingOfTheUsers)
{
    camera_.Set("Camera", "LoseCaptures", "1");
    Press(IDC_VIDEO);
    Press(IDC_SNAP);
    EXPECT_EQ(Shown(boxes_), (Names{"Notification: Only Upload JPG File!"}));
    EXPECT_EQ(source_.State(), 5);
    EXPECT_TRUE(FileExists(camera_.ObjectPath("DSC_0005.WAV")));

    ASSERT_TRUE(CopyFileA(camera_.ObjectPath("DSC_0004.JPG").c_str(),
                          camera_.ObjectPath("DSC_0006.JPG").c_str(), FALSE));
    Press(IDC_SNAP);
    files_.Track(TransferFilePath(6));
    EXPECT_TRUE(Shown(boxes_).empty());
    EXPECT_EQ(source_.State(), 6);
    EXPECT_TRUE(FileExists(camera_.ObjectPath("DSC_0006.JPG")));
    EXPECT_EQ(camera_.Calls("DeleteFDBObject"), 0);
}

TEST_F(AlbumCommandTest, AFailedVideoSnapLeavesVideoModeAndTheNextSnapIsAnAlbumSnap)
{
    Press(IDC_VIDEO);
    camera_.Set("Fail", "Capture_DOSFAT_DSC", "always");
    Press(IDC_SNAP);
    EXPECT_EQ(Shown(boxes_), (Names{"Errror: Video Snap Failed!"}));
    EXPECT_EQ(source_.State(), kStateSourceEnabled);
    EXPECT_TRUE(InVideoMode());
    Press(IDC_SNAP);
    EXPECT_EQ(Shown(boxes_), (Names{"Error: Snap Failed!"}));
    EXPECT_TRUE(InAlbumMode());
}

}  // namespace
