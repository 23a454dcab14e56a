// Parts of the source's code linked straight into the test: the timed
// message box with its dialog templates (the source itself always shows
// plain message boxes), and the notifications, sent from this copy of the
// source's record as if it were the source that the application opened.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "source/messages.h"
#include "source/notifications.h"
#include "source/source_context.h"
#include "support/message_boxes.h"
#include "support/test_windows.h"
#include "tools/acquire/twain_app.h"

namespace {

const char kCaption[] = "Timed box test";

// Notes the caption of each message box that becomes active, and leaves it
// on screen for the timer to end.
std::vector<std::string> g_activated;

LRESULT CALLBACK RecordActivation(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_ACTIVATE) {
        char caption[64] = "";
        GetWindowTextA(reinterpret_cast<HWND>(wParam), caption, sizeof caption);
        g_activated.push_back(caption);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST(TimedMessageBox, TheTimerEndsTheBoxWithItsIdentifier)
{
    g_activated.clear();
    HHOOK hook = SetWindowsHookExA(WH_CBT, RecordActivation, nullptr, GetCurrentThreadId());
    int result = TimedMessageBox(GetModuleHandleA(nullptr), nullptr, "Ends by itself", kCaption,
                                 MB_OK, 42, 300);
    UnhookWindowsHookEx(hook);
    EXPECT_EQ(result, 42);
    EXPECT_EQ(std::count(g_activated.begin(), g_activated.end(), kCaption), 1);
}

TEST(TimedMessageBox, WithoutTimeOutTheUserEndsIt)
{
    MessageBoxCapture boxes;
    HWND owner = CreateWindowA("STATIC", "owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    int result = TimedMessageBox(GetModuleHandleA(nullptr), owner, "Waits for the user", kCaption,
                                 MB_OK, 42, 0);
    EXPECT_EQ(result, IDOK);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].caption, kCaption);
    EXPECT_EQ(boxes.Boxes()[0].text, "Waits for the user");
    // The box hangs on the hidden carrier dialog, gone once the call returns.
    HWND carrier = boxes.Boxes()[0].owner;
    EXPECT_NE(carrier, nullptr);
    EXPECT_FALSE(IsWindow(carrier));
    DestroyWindow(owner);
}

TEST(TimedMessageBox, TwoInARowEachEndByTheirOwnTimer)
{
    EXPECT_EQ(TimedMessageBox(GetModuleHandleA(nullptr), nullptr, "first", kCaption, MB_OK, 7, 200),
              7);
    EXPECT_EQ(TimedMessageBox(GetModuleHandleA(nullptr), nullptr, "second", kCaption, MB_OK, 9, 200),
              9);
}

TEST(Notifications, TheyGoFromTheOpenSourceToItsApplication)
{
    MessageBoxCapture boxes;
    TwainApp app;
    ASSERT_TRUE(OpenSourceManager(app));
    ASSERT_TRUE(OpenSourceNamed(app, "Camera"));
    g_source.dsIdentity = app.source;
    g_source.appIdentity = app.identity;
    g_source.state = 4;

    NotifyTransferReady();
    EXPECT_EQ(g_source.state, 6);
    EXPECT_EQ(NextNotification(app), MSG_XFERREADY);
    NotifyCloseRequest();
    EXPECT_EQ(g_source.state, 6);
    EXPECT_EQ(NextNotification(app), MSG_CLOSEDSREQ);

    // The manager refuses a source it did not open; the state change stays.
    g_source.dsIdentity.Id += 100;
    g_source.state = 5;
    NotifyTransferReady();
    EXPECT_EQ(g_source.state, 6);
    EXPECT_EQ(NextNotification(app), MSG_NULL);

    EXPECT_TRUE(CloseOpenSource(app));
    CloseSourceManager(app);
    EXPECT_TRUE(boxes.Boxes().empty());
}

}  // namespace
