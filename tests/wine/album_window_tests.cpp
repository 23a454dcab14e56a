// The album window as its template makes it: the controls, their places and
// styles; the album it lists at start, on screen, its video mode, and
// pictures of both for people to look at; what a session gives back, and a
// second enable in one session.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "album/type_icons.h"
#include "resources/resource_ids.h"
#include "support/album_session.h"
#include "support/message_boxes.h"
#include "support/prefix_files.h"
#include "support/process_resources.h"
#include "support/screenshot.h"
#include "support/source_module.h"
#include "support/test_windows.h"
#include "tools/acquire/album_user.h"
#include "tools/acquire/event_loop.h"
#include "tools/acquire/picture_transfers.h"
#include "tools/acquire/twain_app.h"

namespace {

const DWORD kFaceButton = BS_BITMAP | BS_FLAT | BS_LEFT | BS_VCENTER | WS_TABSTOP;

struct ControlLayout {
    int id;
    const char* className;
    const char* text;
    RECT dialogUnits;  // left, top, width, height
    DWORD style;       // bits that must be set
    bool visible;
    bool enabled;
    DWORD exStyle;
};

const ControlLayout kControls[] = {
    {IDC_UPLOAD, "Button", "UpLoad", {22, 12, 24, 23}, kFaceButton, true, true, WS_EX_RIGHT},
    {IDC_SNAP, "Button", "Snap", {48, 12, 23, 23}, kFaceButton, true, true, WS_EX_RIGHT},
    {IDC_SAVE, "Button", "Save", {73, 12, 24, 23}, kFaceButton, true, true, WS_EX_RIGHT},
    {IDC_DELETE_LAST, "Button", "", {99, 12, 24, 23}, kFaceButton, true, true, WS_EX_RIGHT},
    {IDC_DELETE_ALL, "Button", "", {125, 12, 24, 23}, kFaceButton, true, true, WS_EX_RIGHT},
    {IDC_VIDEO, "Button", "", {151, 12, 24, 23}, kFaceButton, true, true, WS_EX_RIGHT},
    {IDC_ALBUM, "Button", "", {177, 12, 23, 23}, kFaceButton, true, true, WS_EX_RIGHT},
    {IDC_FILTER_PAGES, "Button", "", {202, 12, 24, 23}, kFaceButton, true, true, WS_EX_RIGHT},
    {IDC_CAPTURE_PIN_PAGES, "Button", "", {230, 0, 24, 23}, kFaceButton, false, false, WS_EX_RIGHT},
    {IDC_CLIP_SIZE, "Button", "", {231, 17, 24, 23}, kFaceButton, false, false, WS_EX_RIGHT},
    {IDC_ALBUM_LIST,
     "SysListView32",
     "List1",
     {0, 45, 255, 181},
     LVS_ICON | LVS_AUTOARRANGE | LVS_SHOWSELALWAYS,
     true,
     true,
     0},
    {IDC_VIDEO_PANEL, "Static", "", {0, 48, 77, 82}, SS_BLACKFRAME, true, true, 0},
    {IDC_PROGRESS, "msctls_progress32", "", {0, 227, 255, 11}, PBS_SMOOTH, true, true, 0},
};

// Banners: a static control that takes the size of its bitmap.
struct BannerLayout {
    int id;
    SIZE bitmap;
};

const BannerLayout kBanners[] = {
    {IDC_BANNER_SMALL, {440, 70}},
    {IDC_BANNER_LARGE, {503, 80}},
};

RECT ClientRectOf(HWND control, HWND parent)
{
    RECT rect;
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

RECT PixelsOf(HWND dialog, const RECT& dialogUnits)
{
    RECT rect = {dialogUnits.left, dialogUnits.top, dialogUnits.left + dialogUnits.right,
                 dialogUnits.top + dialogUnits.bottom};
    MapDialogRect(dialog, &rect);
    return rect;
}

std::string ClassOf(HWND window)
{
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string TextOf(HWND window)
{
    char text[64] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

// The installed source, opened and enabled through the Source Manager.
class EnabledSource {
public:
    EnabledSource()
    {
        EXPECT_TRUE(OpenSourceManager(app_));
        EXPECT_TRUE(OpenSourceNamed(app_, "Camera"));
        EXPECT_TRUE(EnableSource(app_, TRUE));
        std::vector<HWND> windows = AlbumWindowsOf(GetModuleHandleA(InstalledSourcePath().c_str()));
        album_ = windows.size() == 1 ? windows[0] : nullptr;
    }

    ~EnabledSource() { CloseSourceManager(app_); }

    HWND Album() const { return album_; }

    void Pump(DWORD milliseconds) { PumpApplication(app_, milliseconds); }

    // Brings the album window to the front and lets its start run.
    void ShowAlbum()
    {
        SetForegroundWindow(album_);
        Pump(1000);
    }

private:
    TwainApp app_;
    HWND album_;
};

TEST(AlbumTemplate, TheWindowIsACentredPopupInCourierNew)
{
    MessageBoxCapture boxes;
    EnabledSource source;
    HWND album = source.Album();
    ASSERT_NE(album, nullptr);

    LONG style = GetWindowLongA(album, GWL_STYLE);
    const LONG expected = WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    EXPECT_EQ(style & expected, expected);
    EXPECT_EQ(style & WS_CHILD, 0);
    LONG exStyle = GetWindowLongA(album, GWL_EXSTYLE);
    EXPECT_EQ(exStyle & (WS_EX_STATICEDGE | WS_EX_CLIENTEDGE), WS_EX_STATICEDGE | WS_EX_CLIENTEDGE);

    LOGFONTA font = {};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(album, WM_GETFONT, 0, 0)), sizeof font, &font);
    EXPECT_STREQ(font.lfFaceName, "Courier New");
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(font.lfHeight, -MulDiv(8, GetDeviceCaps(screen, LOGPIXELSY), 72));
    ReleaseDC(nullptr, screen);

    RECT client;
    GetClientRect(album, &client);
    RECT size = PixelsOf(album, {0, 0, 255, 238});
    EXPECT_EQ(client.right, size.right);
    EXPECT_EQ(client.bottom, size.bottom);

    RECT frame, workArea;
    GetWindowRect(album, &frame);
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &workArea, 0);
    EXPECT_NEAR((frame.left + frame.right) / 2, (workArea.left + workArea.right) / 2, 1);
    EXPECT_NEAR((frame.top + frame.bottom) / 2, (workArea.top + workArea.bottom) / 2, 1);
}

INT_PTR CALLBACK BareDialogProc(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG;
}

// The template alone, made into a window by a procedure that does nothing,
// so that the controls stand where the template puts them.
class TemplateWindow {
public:
    TemplateWindow()
    {
        INITCOMMONCONTROLSEX controls = {sizeof controls,
                                         ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS};
        InitCommonControlsEx(&controls);
        window_ =
            CreateDialogParamA(source_.Module(), "TW_SOURCE_DIALOG", nullptr, BareDialogProc, 0);
    }
    ~TemplateWindow() { DestroyWindow(window_); }

    HWND Handle() const { return window_; }

private:
    SourceModule source_;
    HWND window_;
};

TEST(AlbumTemplate, EachControlHasItsClassPlaceAndStyle)
{
    TemplateWindow album;
    ASSERT_NE(album.Handle(), nullptr);
    for (const ControlLayout& layout : kControls) {
        SCOPED_TRACE("control " + std::to_string(layout.id));
        HWND control = GetDlgItem(album.Handle(), layout.id);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(lstrcmpiA(ClassOf(control).c_str(), layout.className), 0) << ClassOf(control);
        EXPECT_EQ(TextOf(control), layout.text);
        RECT expected = PixelsOf(album.Handle(), layout.dialogUnits);
        RECT actual = ClientRectOf(control, album.Handle());
        EXPECT_EQ(actual.left, expected.left);
        EXPECT_EQ(actual.top, expected.top);
        EXPECT_EQ(actual.right, expected.right);
        EXPECT_EQ(actual.bottom, expected.bottom);
        DWORD style = GetWindowLongA(control, GWL_STYLE);
        EXPECT_EQ(style & layout.style, layout.style);
        EXPECT_EQ((style & WS_VISIBLE) != 0, layout.visible);
        EXPECT_EQ(IsWindowEnabled(control) != FALSE, layout.enabled);
        EXPECT_EQ(GetWindowLongA(control, GWL_EXSTYLE) & layout.exStyle, layout.exStyle);
        if (layout.style & BS_BITMAP) {
            EXPECT_EQ(style & (BS_CENTER | BS_VCENTER | 0x0F), DWORD(BS_LEFT | BS_VCENTER));
        }
    }
    EXPECT_EQ(GetWindowLongA(GetDlgItem(album.Handle(), IDC_ALBUM_LIST), GWL_STYLE) & LVS_SINGLESEL,
              0);
    for (const BannerLayout& layout : kBanners) {
        SCOPED_TRACE("banner " + std::to_string(layout.id));
        HWND banner = GetDlgItem(album.Handle(), layout.id);
        ASSERT_NE(banner, nullptr);
        EXPECT_EQ(lstrcmpiA(ClassOf(banner).c_str(), "Static"), 0);
        EXPECT_EQ(GetWindowLongA(banner, GWL_STYLE) & SS_TYPEMASK, SS_BITMAP);
        RECT rect = ClientRectOf(banner, album.Handle());
        EXPECT_EQ(rect.left, 0);
        EXPECT_EQ(rect.top, 0);
        HBITMAP image =
            reinterpret_cast<HBITMAP>(SendMessageA(banner, STM_GETIMAGE, IMAGE_BITMAP, 0));
        BITMAP bitmap = {};
        ASSERT_NE(GetObjectA(image, sizeof bitmap, &bitmap), 0);
        EXPECT_EQ(bitmap.bmWidth, layout.bitmap.cx);
        EXPECT_EQ(bitmap.bmHeight, layout.bitmap.cy);
    }
}

TEST(AlbumWindow, StartPutsFacesOnTheButtonsAndKeepsOneBanner)
{
    MessageBoxCapture boxes;
    EnabledSource source;
    HWND album = source.Album();
    ASSERT_NE(album, nullptr);
    for (int button : {IDC_UPLOAD, IDC_SNAP, IDC_SAVE, IDC_DELETE_LAST, IDC_DELETE_ALL, IDC_VIDEO,
                       IDC_ALBUM, IDC_FILTER_PAGES, IDC_CAPTURE_PIN_PAGES, IDC_CLIP_SIZE}) {
        SCOPED_TRACE("button " + std::to_string(button));
        HBITMAP face = reinterpret_cast<HBITMAP>(
            SendDlgItemMessageA(album, button, BM_GETIMAGE, IMAGE_BITMAP, 0));
        BITMAP bitmap = {};
        ASSERT_NE(GetObjectA(face, sizeof bitmap, &bitmap), 0);
        EXPECT_EQ(bitmap.bmWidth, 32);
        EXPECT_EQ(bitmap.bmHeight, 32);
    }

    HDC screen = GetDC(nullptr);
    bool highResolution = GetDeviceCaps(screen, LOGPIXELSY) > 100;
    ReleaseDC(nullptr, screen);
    RECT kept = ClientRectOf(
        GetDlgItem(album, highResolution ? IDC_BANNER_LARGE : IDC_BANNER_SMALL), album);
    RECT away = ClientRectOf(
        GetDlgItem(album, highResolution ? IDC_BANNER_SMALL : IDC_BANNER_LARGE), album);
    EXPECT_EQ(kept.left, 0);
    EXPECT_EQ(kept.top, 0);
    EXPECT_EQ(away.left, -1000);
    EXPECT_EQ(away.top, -1000);

    RECT panel = ClientRectOf(GetDlgItem(album, IDC_VIDEO_PANEL), album);
    EXPECT_EQ(panel.right - panel.left, 0);
    EXPECT_EQ(panel.bottom - panel.top, 0);

    HWND list = GetDlgItem(album, IDC_ALBUM_LIST);
    EXPECT_EQ(ListView_GetBkColor(list), RGB(0, 0, 0));
    EXPECT_EQ(ListView_GetTextColor(list), RGB(255, 255, 255));
    EXPECT_EQ(ListView_GetTextBkColor(list), RGB(0, 0, 0));
}

const std::vector<std::string> kDefaultLabels = {"DSC_0001.JPG", "DSC_0002.JPG", "DSC_0003.AVI",
                                                 "DSC_0004.JPG", "DSC_0005.WAV"};
const DWORD kReadyTimeout = 20000;

std::vector<std::string> ItemTexts(HWND list)
{
    std::vector<std::string> texts;
    for (int i = 0; i < ListView_GetItemCount(list); ++i) {
        char text[80] = "";
        ListView_GetItemText(list, i, 0, text, sizeof text);
        texts.push_back(text);
    }
    return texts;
}

// Writes a picture of the album window into the build folder, for people to
// look at.
void KeepPicture(HWND album, const char* name)
{
    const std::string path = BuildFolderFile(name);
    DeleteFileA(path.c_str());
    EXPECT_TRUE(SaveWindowPicture(album, path));
    EXPECT_TRUE(FileExists(path));
    printf("Picture of the album window: %s\n", path.c_str());
}

// The window loads the album as it opens: the installed camera's objects
// appear with their type icons, and a picture of the window is kept.
TEST(AlbumWindow, StartListsTheCameraObjectsWithTheirIcons)
{
    MessageBoxCapture boxes;
    EnabledSource source;
    HWND album = source.Album();
    ASSERT_NE(album, nullptr);
    source.ShowAlbum();
    HWND list = GetDlgItem(album, IDC_ALBUM_LIST);
    EXPECT_EQ(ItemTexts(list), kDefaultLabels);
    EXPECT_TRUE(boxes.Boxes().empty());

    ScreenPixels pixels;
    ASSERT_TRUE(ReadClientPixels(list, pixels));
    EXPECT_EQ(CountPictureOnScreen(pixels, kJpgIcon, kTypeIconWidth, kTypeIconHeight), 3);
    EXPECT_EQ(CountPictureOnScreen(pixels, kAviIcon, kTypeIconWidth, kTypeIconHeight), 1);
    EXPECT_EQ(CountPictureOnScreen(pixels, kWavIcon, kTypeIconWidth, kTypeIconHeight), 1);

    // The picture shows the stills selected.
    EXPECT_EQ(SelectStills(album), 3);
    source.Pump(200);
    KeepPicture(album, "album_window.png");
}

// Video mode shows the stand-in camera's moving picture in the panel; a
// picture of the window is kept.
TEST(AlbumWindow, VideoModeShowsTheMovingPictureInThePanel)
{
    MessageBoxCapture boxes;
    EnabledSource source;
    HWND album = source.Album();
    ASSERT_NE(album, nullptr);
    source.ShowAlbum();
    SendMessageA(GetDlgItem(album, IDC_VIDEO), BM_CLICK, 0, 0);
    source.Pump(1000);
    // A machine busy with other work may take longer to lay out the panel.
    HWND panel = GetDlgItem(album, IDC_VIDEO_PANEL);
    RECT client = {};
    GetClientRect(panel, &client);
    for (int wait = 0; wait < 40 && (!IsWindowVisible(panel) || IsRectEmpty(&client)); ++wait) {
        source.Pump(250);
        GetClientRect(panel, &client);
    }
    ScreenPixels before;
    ScreenPixels after;
    ASSERT_TRUE(ReadClientPixels(panel, before));
    source.Pump(300);
    ASSERT_TRUE(ReadClientPixels(panel, after));
    EXPECT_NE(before.rows, after.rows) << "the picture moves";
    EXPECT_TRUE(boxes.Boxes().empty());
    KeepPicture(album, "album_video.png");
}

// Once a first session has loaded what stays for the process's life, a
// session gives back every GDI object and window it took.
TEST(AlbumWindow, ASessionGivesBackEveryGdiObjectAndWindowItTook)
{
    MessageBoxCapture boxes;
    TwainApp app;
    ASSERT_TRUE(OpenSourceManager(app));
    ASSERT_TRUE(RunAlbumSession(app, kReadyTimeout));
    const long gdiObjects = CountGdiObjects();
    const long userObjects = CountUserObjects();
    ASSERT_TRUE(RunAlbumSession(app, kReadyTimeout));
    EXPECT_EQ(CountGdiObjects(), gdiObjects);
    EXPECT_EQ(CountUserObjects(), userObjects);
    CloseSourceManager(app);
    EXPECT_TRUE(boxes.Boxes().empty());
}

// An application enables the source a second time after a disable that kept
// the window: the new window lists the album and hands the selected stills
// over.
TEST(AlbumWindow, ASecondEnableInOneSessionGivesAWorkingWindow)
{
    MessageBoxCapture boxes;
    TwainApp app;
    ASSERT_TRUE(OpenSourceManager(app));
    ASSERT_TRUE(OpenAndEnableCamera(app));
    HWND first = AlbumWindow();
    ASSERT_TRUE(PumpUntilAlbumReady(app, first, kReadyTimeout));
    ASSERT_TRUE(DisableSource(app, true));
    ASSERT_TRUE(EnableSource(app, true));
    std::vector<HWND> windows = AlbumWindowsOf(GetModuleHandleA(InstalledSourcePath().c_str()));
    ASSERT_EQ(windows.size(), 2u);
    HWND second = windows[0] == first ? windows[1] : windows[0];
    ASSERT_TRUE(PumpUntilAlbumReady(app, second, kReadyTimeout));
    EXPECT_EQ(ItemTexts(GetDlgItem(second, IDC_ALBUM_LIST)), kDefaultLabels);

    // After the buttons' unlock, as a user's pause would let it run.
    PumpApplication(app, 300);
    EXPECT_EQ(SelectStills(second), 3);
    SendMessageA(GetDlgItem(second, IDC_UPLOAD), BM_CLICK, 0, 0);
    ASSERT_EQ(NextNotification(app), MSG_XFERREADY);
    TransferOptions transfers;
    transfers.outputFolder = TemporaryPath("second_enable");
    CreateDirectoryA(transfers.outputFolder.c_str(), nullptr);
    EXPECT_EQ(TransferPictures(app, transfers), 3);
    RemoveFolder(transfers.outputFolder);
    CloseSourceManager(app);
    EXPECT_TRUE(boxes.Boxes().empty());
}

}  // namespace
