// The guarded buttons and the scroll-reporting list on real windows: presses
// discarded while locked and accepted after the unlock timer's first tick,
// scroll reports to the parent, and the album window's eleven objects
// attached to a window made from the album's template, again and again.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>

#include "resources/resource_ids.h"
#include "support/test_windows.h"
#include "widgets/album_widgets.h"

namespace {

const int kButtonId = 100;
const int kListId = 101;
const int kListItems = 60;
const char kParentClass[] = "WidgetTestParent";

// What the parent window heard from its controls.
struct Heard {
    int clicks = 0;
    int scrollReports = 0;
};
Heard g_heard;

LRESULT CALLBACK ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND && LOWORD(wParam) == kButtonId && HIWORD(wParam) == BN_CLICKED) {
        ++g_heard.clicks;
    }
    if (message == WM_LISTSCROLLED && wParam == 0 && lParam == 0) {
        ++g_heard.scrollReports;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// A shown top-level window with a push button and an icon list too small
// for its items.
class ParentWindow {
public:
    ParentWindow()
    {
        g_heard = Heard();
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = ParentProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = kParentClass;
        RegisterClassA(&windowClass);
        window_ = CreateWindowA(kParentClass, "widgets", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                300, 300, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        button_ =
            CreateWindowA("Button", "Press", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 10, 80, 30,
                          window_, reinterpret_cast<HMENU>(kButtonId), nullptr, nullptr);
        list_ = CreateWindowA(WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_ICON | LVS_AUTOARRANGE,
                              10, 50, 200, 120, window_, reinterpret_cast<HMENU>(kListId), nullptr,
                              nullptr);
        for (int i = 0; i < kListItems; ++i) {
            std::string text = "item " + std::to_string(i);
            LVITEMA item = {};
            item.mask = LVIF_TEXT;
            item.iItem = i;
            item.pszText = &text[0];
            ListView_InsertItem(list_, &item);
        }
        PumpMessages(50);
    }
    ~ParentWindow() { DestroyWindow(window_); }

    HWND Handle() const { return window_; }
    HWND Button() const { return button_; }
    HWND List() const { return list_; }

    // A press and a release inside the button, as the mouse sends them.
    void Click(UINT press = WM_LBUTTONDOWN)
    {
        SendMessageA(button_, press, MK_LBUTTON, MAKELPARAM(5, 5));
        SendMessageA(button_, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    }

    void Scroll(WORD request) { SendMessageA(list_, WM_VSCROLL, MAKEWPARAM(request, 0), 0); }

private:
    HWND window_;
    HWND button_;
    HWND list_;
};

TEST(GuardedButton, PressesReachTheButtonUnlessLocked)
{
    ParentWindow parent;
    GuardedButton button;
    EXPECT_EQ(button.AttachControl(kButtonId, parent.Handle()), 1);
    ASSERT_EQ(button.Window(), parent.Button());
    EXPECT_EQ(button.AcceptsPresses(), 1);

    parent.Click();
    EXPECT_EQ(g_heard.clicks, 1);

    button.SetAccept(0, 0);
    parent.Click();
    parent.Click(WM_LBUTTONDBLCLK);
    SendMessageA(parent.Button(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(g_heard.clicks, 1);
    EXPECT_EQ(SendMessageA(parent.Button(), BM_GETSTATE, 0, 0) & BST_PUSHED, 0);

    button.SetAccept(1, 0);
    parent.Click(WM_LBUTTONDBLCLK);
    EXPECT_EQ(g_heard.clicks, 2);
}

TEST(GuardedButton, UnlockComesWithTheFirstTickOfTimerOne)
{
    ParentWindow parent;
    GuardedButton button;
    button.AttachControl(kButtonId, parent.Handle());

    button.SetAccept(0, 0);
    button.SetAccept(1, 100);
    parent.Click();
    EXPECT_EQ(g_heard.clicks, 0);
    PumpMessages(300);
    EXPECT_EQ(button.AcceptsPresses(), 1);
    parent.Click();
    EXPECT_EQ(g_heard.clicks, 1);

    // The accept argument counts only without a delay.
    button.SetAccept(0, 0);
    button.SetAccept(0, 100);
    PumpMessages(300);
    EXPECT_EQ(button.AcceptsPresses(), 1);

    // A lock does not cancel a pending unlock.
    button.SetAccept(1, 100);
    button.SetAccept(0, 0);
    EXPECT_EQ(button.AcceptsPresses(), 0);
    PumpMessages(300);
    EXPECT_EQ(button.AcceptsPresses(), 1);
}

TEST(GuardedButton, PressesQueuedDuringTheWorkAreDiscarded)
{
    ParentWindow parent;
    GuardedButton button;
    button.AttachControl(kButtonId, parent.Handle());

    button.SetAccept(0, 0);
    // The user presses while the window's thread is busy: the presses wait
    // in the queue, and the unlock's time runs out before the thread reads it.
    PostMessageA(parent.Button(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageA(parent.Button(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    button.SetAccept(1, 100);
    Sleep(200);
    PumpMessages(200);
    EXPECT_EQ(g_heard.clicks, 0);
    EXPECT_EQ(button.AcceptsPresses(), 1);
    parent.Click();
    EXPECT_EQ(g_heard.clicks, 1);
}

TEST(GuardedButton, ASecondUnlockRestartsTheDelay)
{
    ParentWindow parent;
    GuardedButton button;
    button.AttachControl(kButtonId, parent.Handle());

    button.SetAccept(0, 0);
    button.SetAccept(1, 500);
    PumpMessages(250);
    button.SetAccept(1, 500);
    PumpMessages(300);
    EXPECT_EQ(button.AcceptsPresses(), 0);
    PumpMessages(600);
    EXPECT_EQ(button.AcceptsPresses(), 1);
}

TEST(GuardedButton, AttachingNeedsAParentAndLetsGoWhenTheControlIsDestroyed)
{
    GuardedButton button;
    EXPECT_EQ(button.AttachControl(kButtonId, nullptr), 0);
    EXPECT_EQ(button.Window(), nullptr);
    {
        ParentWindow parent;
        EXPECT_EQ(button.AttachControl(999, parent.Handle()), 1);
        EXPECT_EQ(button.Window(), nullptr);
        button.SetAccept(1, 100);

        button.AttachControl(kButtonId, parent.Handle());
        EXPECT_EQ(button.Window(), parent.Button());
        button.SetAccept(0, 0);
    }
    EXPECT_EQ(button.Window(), nullptr);

    // The object lives on, keeps its state, and takes over the next control.
    ParentWindow next;
    button.AttachControl(kButtonId, next.Handle());
    EXPECT_EQ(button.Window(), next.Button());
    next.Click();
    EXPECT_EQ(g_heard.clicks, 0);
    button.SetAccept(1, 0);
    next.Click();
    EXPECT_EQ(g_heard.clicks, 1);
}

TEST(ScrollReportList, AChangedPositionIsReportedAtTheNextScrollMessage)
{
    ParentWindow parent;
    ScrollReportList list;
    EXPECT_EQ(list.AttachControl(kListId, parent.Handle()), 1);
    ASSERT_EQ(list.Window(), parent.List());

    // The position is read before the list scrolls: the first message finds
    // it unchanged, the closing one reports the change.
    parent.Scroll(SB_LINEDOWN);
    EXPECT_EQ(g_heard.scrollReports, 0);
    int position = -1;
    int maximum = -1;
    int minimum = -1;
    list.GetScrollState(&position, &maximum, &minimum);
    EXPECT_EQ(position, 0);
    EXPECT_GT(maximum, 0);
    EXPECT_EQ(minimum, 0);
    ASSERT_GT(GetScrollPos(parent.List(), SB_VERT), 0);

    parent.Scroll(SB_ENDSCROLL);
    EXPECT_EQ(g_heard.scrollReports, 1);
    list.GetScrollState(&position, &maximum, &minimum);
    EXPECT_EQ(position, GetScrollPos(parent.List(), SB_VERT));

    parent.Scroll(SB_ENDSCROLL);
    EXPECT_EQ(g_heard.scrollReports, 1);

    parent.Scroll(SB_LINEUP);
    parent.Scroll(SB_ENDSCROLL);
    EXPECT_EQ(g_heard.scrollReports, 2);
    list.GetScrollState(&position, &maximum, &minimum);
    EXPECT_EQ(position, 0);
}

TEST(ScrollReportList, ANullParentTakesNothingOver)
{
    ParentWindow parent;
    ScrollReportList list;
    EXPECT_EQ(list.AttachControl(kListId, nullptr), 0);
    EXPECT_EQ(list.Window(), nullptr);
    parent.Scroll(SB_LINEDOWN);
    parent.Scroll(SB_ENDSCROLL);
    EXPECT_EQ(g_heard.scrollReports, 0);
    int position = -1;
    int maximum = -1;
    int minimum = -1;
    list.GetScrollState(&position, &maximum, &minimum);
    EXPECT_EQ(position, 0);
    EXPECT_EQ(maximum, 0);
    EXPECT_EQ(minimum, 0);
}

INT_PTR CALLBACK BareDialogProc(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG;
}

TEST(AlbumWidgets, EachAlbumWindowAttachesTheElevenObjectsAnew)
{
    const int attachOrder[kAlbumButtonCount] = {
        IDC_SNAP,         IDC_DELETE_LAST,       IDC_DELETE_ALL, IDC_SAVE,  IDC_ALBUM,
        IDC_FILTER_PAGES, IDC_CAPTURE_PIN_PAGES, IDC_UPLOAD,     IDC_VIDEO, IDC_CLIP_SIZE,
    };
    for (int window = 0; window < 2; ++window) {
        SCOPED_TRACE("album window " + std::to_string(window + 1));
        HWND album = CreateDialogParamA(GetModuleHandleA(nullptr), "TW_SOURCE_DIALOG", nullptr,
                                        BareDialogProc, 0);
        ASSERT_NE(album, nullptr);
        AttachAlbumWidgets(album);
        for (int i = 0; i < kAlbumButtonCount; ++i) {
            EXPECT_EQ(kAlbumButtonIds[i], attachOrder[i]);
            EXPECT_EQ(g_albumButtons[i].Window(), GetDlgItem(album, attachOrder[i]));
            EXPECT_EQ(AlbumButton(attachOrder[i]), &g_albumButtons[i]);
        }
        EXPECT_EQ(AlbumButton(IDC_ALBUM_LIST), nullptr);
        EXPECT_EQ(g_albumList.Window(), GetDlgItem(album, IDC_ALBUM_LIST));

        SetAlbumButtonsAccept(0, 0);
        for (const GuardedButton& button : g_albumButtons) {
            EXPECT_EQ(button.AcceptsPresses(), 0);
        }
        SetAlbumButtonsAccept(1, 100);
        PumpMessages(300);
        for (const GuardedButton& button : g_albumButtons) {
            EXPECT_EQ(button.AcceptsPresses(), 1);
        }

        DestroyWindow(album);
        for (const GuardedButton& button : g_albumButtons) {
            EXPECT_EQ(button.Window(), nullptr);
        }
        EXPECT_EQ(g_albumList.Window(), nullptr);
    }
}

}  // namespace
