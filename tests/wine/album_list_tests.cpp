// The album list against the simulated camera, in a window made from the
// album's template: full loads (empty camera, small-letter and unknown
// extensions, deleted entries, more objects than the album holds), appending
// the newest object, snapping a still, deleting the last or all objects,
// the progress bar's steps and the labels the list asks for.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "album/album_list.h"
#include "album/type_icons.h"
#include "resources/resource_ids.h"
#include "support/camera_pauses.h"
#include "support/camera_storage.h"
#include "support/prefix_files.h"
#include "support/test_windows.h"

namespace {

using Names = std::vector<std::string>;

const Names kDefaultLabels = {"DSC_0001.JPG", "DSC_0002.JPG", "DSC_0003.AVI", "DSC_0004.JPG",
                              "DSC_0005.WAV"};
const Names kDefaultIcons = {"JPG", "JPG", "AVI", "JPG", "WAV"};

// The album window's part that the list needs: its image list made at
// start and released at the end, and the list's text requests answered.
INT_PTR CALLBACK AlbumTestProc(HWND window, UINT message, WPARAM, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return CreateAlbumImageList(window);
    case WM_NOTIFY:
        AnswerItemText(reinterpret_cast<NMHDR*>(lParam));
        return 0;
    case WM_DESTROY:
        ReleaseAlbumList(window);
        return TRUE;
    default:
        return FALSE;
    }
}

class AlbumListTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(camera_.Loaded());
        g_album.objectCount = 0;
        album_ = CreateDialogParamA(GetModuleHandleA(nullptr), "TW_SOURCE_DIALOG", nullptr,
                                    AlbumTestProc, 0);
        ASSERT_NE(album_, nullptr);
        ASSERT_NE(g_album.imageList, nullptr);
        list_ = GetDlgItem(album_, IDC_ALBUM_LIST);
        progress_ = GetDlgItem(album_, IDC_PROGRESS);
    }

    void TearDown() override
    {
        DestroyWindow(album_);
        EXPECT_EQ(g_album.imageList, nullptr);
    }

    int ItemCount() const { return ListView_GetItemCount(list_); }
    int ImageCount() const { return ImageList_GetImageCount(g_album.imageList); }

    // The items' texts as the list shows them, asked for through the window.
    Names Labels() const
    {
        Names labels;
        for (int i = 0; i < ItemCount(); ++i) {
            char text[80] = "";
            ListView_GetItemText(list_, i, 0, text, sizeof text);
            labels.push_back(text);
        }
        return labels;
    }

    // The type of the icon each item shows, told from the pixels of its
    // image, after checking that item i shows image i.
    Names Icons() const
    {
        Names icons;
        for (int i = 0; i < ItemCount(); ++i) {
            LVITEMA item = {};
            item.mask = LVIF_IMAGE;
            item.iItem = i;
            ListView_GetItem(list_, &item);
            EXPECT_EQ(item.iImage, i);
            icons.push_back(IconOfImage(i));
        }
        return icons;
    }

    std::string IconOfImage(int image) const
    {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = kTypeIconWidth;
        info.bmiHeader.biHeight = kTypeIconHeight;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 24;
        void* bits = nullptr;
        HDC memory = CreateCompatibleDC(nullptr);
        HBITMAP picture = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        HGDIOBJ previous = SelectObject(memory, picture);
        ImageList_Draw(g_album.imageList, image, memory, 0, 0, ILD_NORMAL);
        GdiFlush();
        std::string type = "?";
        if (memcmp(bits, kJpgIcon, kTypeIconBytes) == 0) {
            type = "JPG";
        } else if (memcmp(bits, kAviIcon, kTypeIconBytes) == 0) {
            type = "AVI";
        } else if (memcmp(bits, kWavIcon, kTypeIconBytes) == 0) {
            type = "WAV";
        }
        SelectObject(memory, previous);
        DeleteObject(picture);
        DeleteDC(memory);
        return type;
    }

    int BitmapsKept() const
    {
        int kept = 0;
        for (HBITMAP bitmap : g_album.bitmaps) {
            kept += bitmap != nullptr;
        }
        return kept;
    }

    int ProgressPosition() const
    {
        return static_cast<int>(SendMessageA(progress_, PBM_GETPOS, 0, 0));
    }
    PBRANGE ProgressRange() const
    {
        PBRANGE range = {};
        SendMessageA(progress_, PBM_GETRANGE, TRUE, reinterpret_cast<LPARAM>(&range));
        return range;
    }

    void ExpectStepsUpTo(int last, int position)
    {
        EXPECT_EQ(ProgressRange().iLow, 0);
        EXPECT_EQ(ProgressRange().iHigh, last);
        EXPECT_EQ(ProgressPosition(), position);
        EXPECT_EQ(SendMessageA(progress_, PBM_GETBARCOLOR, 0, 0), RGB(255, 255, 0));
    }

    // The list, images and kept bitmaps agree with the expected items.
    void ExpectItems(const Names& labels, const Names& icons)
    {
        EXPECT_EQ(Labels(), labels);
        EXPECT_EQ(Icons(), icons);
        EXPECT_EQ(ImageCount(), static_cast<int>(labels.size()));
        EXPECT_EQ(BitmapsKept(), static_cast<int>(labels.size()));
    }

    CameraStorageCopy camera_;
    HWND album_ = nullptr;
    HWND list_ = nullptr;
    HWND progress_ = nullptr;
};

TEST_F(AlbumListTest, LoadShowsEachObjectWithItsLabelAndTypeIcon)
{
    ASSERT_TRUE(LoadAlbum(album_));
    EXPECT_EQ(g_album.objectCount, 5u);
    ExpectItems(kDefaultLabels, kDefaultIcons);
    ExpectStepsUpTo(4, 0);

    // Each item's param is its label slot; the list's text is the slot's.
    for (int i = 0; i < ItemCount(); ++i) {
        LVITEMA item = {};
        item.mask = LVIF_PARAM | LVIF_STATE;
        item.stateMask = LVIS_SELECTED;
        item.iItem = i;
        ListView_GetItem(list_, &item);
        EXPECT_EQ(item.lParam, reinterpret_cast<LPARAM>(g_album.labels[i]));
        EXPECT_EQ(item.state, 0u);
    }

    // A second load shows the same, nothing doubled.
    ASSERT_TRUE(LoadAlbum(album_));
    ExpectItems(kDefaultLabels, kDefaultIcons);
}

TEST_F(AlbumListTest, AnEmptyCameraOrAFailingCountIsAnEmptyAlbum)
{
    // A count the camera cannot give leaves the list as it is.
    ASSERT_TRUE(LoadAlbum(album_));
    camera_.Set("Fail", "GetFDBCount", "always");
    EXPECT_TRUE(LoadAlbum(album_));
    EXPECT_EQ(g_album.objectCount, 0u);
    EXPECT_EQ(Labels(), kDefaultLabels);

    // Records the camera cannot give fail the load, the list untouched.
    camera_.Set("Fail", "GetFDBCount", "");
    camera_.Set("Fail", "GetFDBContext", "always");
    EXPECT_FALSE(LoadAlbum(album_));
    EXPECT_EQ(g_album.objectCount, 5u);
    EXPECT_EQ(Labels(), kDefaultLabels);

    camera_.Set("Fail", "GetFDBContext", "");
    ASSERT_TRUE(DeleteAllObjects(album_, false));
    camera_.Empty();
    EXPECT_TRUE(LoadAlbum(album_));
    EXPECT_EQ(g_album.objectCount, 0u);
    EXPECT_EQ(ItemCount(), 0);
}

TEST_F(AlbumListTest, ASmallLetterExtensionLoadsButDoesNotAppend)
{
    camera_.AddObject("DSC_0006.jpg");
    ASSERT_TRUE(LoadAlbum(album_));
    Names labels = kDefaultLabels;
    labels.push_back("DSC_0006.jpg");
    Names icons = kDefaultIcons;
    icons.push_back("JPG");
    ExpectItems(labels, icons);

    ASSERT_TRUE(DeleteLastObject(album_, false));
    ExpectItems(kDefaultLabels, kDefaultIcons);
    EXPECT_FALSE(AppendNewestObject(album_));
    ExpectItems(kDefaultLabels, kDefaultIcons);
    EXPECT_EQ(g_album.objectCount, 6u);
}

TEST_F(AlbumListTest, AnUnknownExtensionEndsTheLoadAtItsRecord)
{
    camera_.Set("Damage", "Record3", "8:545854");  // "TXT"
    EXPECT_FALSE(LoadAlbum(album_));
    ExpectItems({"DSC_0001.JPG", "DSC_0002.JPG"}, {"JPG", "JPG"});
    EXPECT_EQ(g_album.objectCount, 5u);

    // Deleting the last object removes the newest in the camera; the item
    // of that object was never shown.
    ASSERT_TRUE(DeleteLastObject(album_, true));
    EXPECT_FALSE(FileExists(camera_.ObjectPath("DSC_0005.WAV")));
    EXPECT_EQ(g_album.objectCount, 4u);
    EXPECT_EQ(ItemCount(), 2);
}

TEST_F(AlbumListTest, ADeletedEntryFailsTheLoad)
{
    camera_.Set("Damage", "Record2", "0:E5");
    EXPECT_FALSE(LoadAlbum(album_));
    ExpectItems({"DSC_0001.JPG"}, {"JPG"});

    // A first byte 0x05 stands for 0xE5 and loads.
    camera_.Set("Damage", "Record2", "0:05");
    ASSERT_TRUE(LoadAlbum(album_));
    EXPECT_EQ(Labels()[1], "\xE5SC_0002.JPG");
}

TEST_F(AlbumListTest, DeleteLastRemovesTheNewestObject)
{
    ASSERT_TRUE(LoadAlbum(album_));
    ListView_SetItemState(list_, 0, LVIS_SELECTED, LVIS_SELECTED);

    ASSERT_TRUE(DeleteLastObject(album_, true));
    EXPECT_EQ(camera_.Calls("DeleteFDBObject"), 1);
    EXPECT_FALSE(FileExists(camera_.ObjectPath("DSC_0005.WAV")));
    EXPECT_EQ(g_album.objectCount, 4u);
    ExpectItems({"DSC_0001.JPG", "DSC_0002.JPG", "DSC_0003.AVI", "DSC_0004.JPG"},
                {"JPG", "JPG", "AVI", "JPG"});

    // Without the camera only the list changes.
    ASSERT_TRUE(DeleteLastObject(album_, false));
    EXPECT_TRUE(FileExists(camera_.ObjectPath("DSC_0004.JPG")));
    ExpectItems({"DSC_0001.JPG", "DSC_0002.JPG", "DSC_0003.AVI"}, {"JPG", "JPG", "AVI"});

    // A refused delete leaves everything.
    camera_.Set("Fail", "DeleteFDBObject", "always");
    EXPECT_FALSE(DeleteLastObject(album_, true));
    EXPECT_EQ(g_album.objectCount, 3u);
    EXPECT_EQ(ItemCount(), 3);
    EXPECT_EQ(ProgressPosition(), 0);
}

TEST_F(AlbumListTest, DeleteAllEmptiesTheCameraAndTheList)
{
    ASSERT_TRUE(LoadAlbum(album_));
    camera_.Set("Fail", "DeleteFDBObject", "always");
    EXPECT_FALSE(DeleteAllObjects(album_, true));
    ExpectItems(kDefaultLabels, kDefaultIcons);

    camera_.Set("Fail", "DeleteFDBObject", "");
    ASSERT_TRUE(DeleteAllObjects(album_, true));
    EXPECT_EQ(g_album.objectCount, 0u);
    ExpectItems({}, {});
    EXPECT_FALSE(FileExists(camera_.ObjectPath("DSC_0001.JPG")));
    EXPECT_TRUE(LoadAlbum(album_));
    EXPECT_EQ(ItemCount(), 0);

    // An empty album asks the camera nothing.
    const int deletes = camera_.Calls("DeleteFDBObject");
    EXPECT_TRUE(DeleteAllObjects(album_, true));
    EXPECT_TRUE(DeleteLastObject(album_, true));
    EXPECT_EQ(camera_.Calls("DeleteFDBObject"), deletes);
}

TEST_F(AlbumListTest, DeleteAllWithoutTheCameraEmptiesOnlyTheList)
{
    ASSERT_TRUE(LoadAlbum(album_));
    ASSERT_TRUE(DeleteAllObjects(album_, false));
    ExpectItems({}, {});
    EXPECT_TRUE(FileExists(camera_.ObjectPath("DSC_0005.WAV")));
    EXPECT_EQ(camera_.Calls("DeleteFDBObject"), 0);
}

TEST_F(AlbumListTest, SnapAppendsTheNewStill)
{
    // The append's pauses as the data source makes them.
    RealCameraPauses realPauses;
    ASSERT_TRUE(LoadAlbum(album_));
    ASSERT_TRUE(SnapStill(album_));
    EXPECT_EQ(g_album.objectCount, 6u);
    Names labels = kDefaultLabels;
    labels.push_back("DSC_0006.JPG");
    Names icons = kDefaultIcons;
    icons.push_back("JPG");
    ExpectItems(labels, icons);
    ExpectStepsUpTo(10, 0);

    // Appending alone leaves the bar at its last step for the caller.
    camera_.AddObject("DSC_0007.WAV");
    ASSERT_TRUE(AppendNewestObject(album_));
    labels.push_back("DSC_0007.WAV");
    icons.push_back("WAV");
    ExpectItems(labels, icons);
    ExpectStepsUpTo(10, 10);
}

TEST_F(AlbumListTest, AFailedSnapLeavesTheListAndReadsTheCountAgain)
{
    ASSERT_TRUE(LoadAlbum(album_));
    camera_.Set("Fail", "Capture_DOSFAT_DSC", "always");
    EXPECT_FALSE(SnapStill(album_));
    ExpectItems(kDefaultLabels, kDefaultIcons);
    ExpectStepsUpTo(10, 0);

    // The still is taken but its record cannot be read: the count is read
    // again and shows the new object, which the list does not.
    camera_.Set("Fail", "Capture_DOSFAT_DSC", "");
    camera_.Set("Fail", "GetFDBContext", "always");
    EXPECT_FALSE(SnapStill(album_));
    EXPECT_EQ(g_album.objectCount, 6u);
    ExpectItems(kDefaultLabels, kDefaultIcons);
    EXPECT_EQ(ProgressPosition(), 0);
}

TEST_F(AlbumListTest, AReloadAfterAFailedAppendShowsEachIconOnce)
{
    ASSERT_TRUE(LoadAlbum(album_));
    // A failing count read while appending leaves the album's count at 0
    // with the items still listed; the album window then empties the list
    // (nothing to do at a count of 0) and loads it again.
    camera_.Set("Fail", "GetFDBCount", "always");
    EXPECT_FALSE(AppendNewestObject(album_));
    EXPECT_EQ(g_album.objectCount, 0u);
    camera_.Set("Fail", "GetFDBCount", "");
    camera_.AddObject("DSC_0006.AVI");
    ASSERT_TRUE(DeleteAllObjects(album_, false));
    ASSERT_TRUE(LoadAlbum(album_));
    Names labels = kDefaultLabels;
    labels.push_back("DSC_0006.AVI");
    Names icons = kDefaultIcons;
    icons.push_back("AVI");
    ExpectItems(labels, icons);
}

TEST_F(AlbumListTest, MoreThanAThousandObjectsShowTheFirstThousand)
{
    camera_.Empty();
    const int stored = 1003;
    for (int i = 1; i <= stored; ++i) {
        char name[16];
        snprintf(name, sizeof name, "A%04d.%s", i, i % 2 ? "JPG" : "WAV");
        camera_.AddObject(name);
    }
    ASSERT_TRUE(LoadAlbum(album_));
    EXPECT_EQ(g_album.objectCount, 1003u);
    EXPECT_EQ(ItemCount(), 1000);
    EXPECT_EQ(ImageCount(), 1000);
    EXPECT_EQ(BitmapsKept(), 1000);
    ExpectStepsUpTo(999, 0);
    Names labels = Labels();
    EXPECT_EQ(labels.front(), "A0001   .JPG");
    EXPECT_EQ(labels.back(), "A1000   .WAV");
    EXPECT_EQ(IconOfImage(999), "WAV");

    // The newest objects lie beyond the list: deleting one changes only
    // the count, appending one adds no item.
    ASSERT_TRUE(DeleteLastObject(album_, true));
    EXPECT_FALSE(FileExists(camera_.ObjectPath("A1003.JPG")));
    EXPECT_EQ(g_album.objectCount, 1002u);
    EXPECT_EQ(ItemCount(), 1000);
    ASSERT_TRUE(SnapStill(album_));
    EXPECT_EQ(g_album.objectCount, 1003u);
    EXPECT_EQ(ItemCount(), 1000);

    ASSERT_TRUE(DeleteLastObject(album_, true));
    ASSERT_TRUE(DeleteLastObject(album_, true));
    ASSERT_TRUE(DeleteLastObject(album_, true));
    EXPECT_EQ(g_album.objectCount, 1000u);
    EXPECT_EQ(ItemCount(), 1000);
    ASSERT_TRUE(DeleteLastObject(album_, true));
    EXPECT_EQ(ItemCount(), 999);
    EXPECT_EQ(BitmapsKept(), 999);

    ASSERT_TRUE(DeleteAllObjects(album_, false));
    EXPECT_EQ(ItemCount(), 0);
    EXPECT_EQ(ImageCount(), 0);
    EXPECT_EQ(BitmapsKept(), 0);
}

}  // namespace
