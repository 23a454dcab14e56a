// Parts of the source's code linked straight into the test: the timed
// message box with its dialog templates (the source itself always shows
// plain message boxes), and the notifications, sent from this copy of the
// source's record as if it were the source that the application opened.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "source/manager_memory.h"
#include "source/messages.h"
#include "source/notifications.h"
#include "source/source_context.h"
#include "support/message_boxes.h"
#include "support/recording_manager.h"
#include "support/session_table.h"
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
    EXPECT_EQ(
        TimedMessageBox(GetModuleHandleA(nullptr), nullptr, "second", kCaption, MB_OK, 9, 200), 9);
}

TEST(Notifications, TheyGoFromTheOpenSourceToItsApplication)
{
    MessageBoxCapture boxes;
    TwainApp app;
    ASSERT_TRUE(OpenSourceManager(app));
    ASSERT_TRUE(OpenSourceNamed(app, "Camera"));
    g_source.dsIdentity = app.source;
    g_source.appIdentity = app.identity;
    g_source.state = kStateSourceOpen;
    // A 64-bit process has no TWAIN_32.DLL: the source reaches TWAINDSM.DLL
    // through the entry points it gave.
    TW_ENTRYPOINT given = RecordingEntryPoints();
    given.DSM_Entry = app.dsmEntry;
    if (sizeof(void*) == 8) {
        ASSERT_TRUE(KeepManagerEntryPoints(&given));
    }

    NotifyTransferReady();
    EXPECT_EQ(g_source.state, kStateTransferReady);
    EXPECT_EQ(NextNotification(app), MSG_XFERREADY);
    NotifyCloseRequest();
    EXPECT_EQ(g_source.state, kStateTransferReady);
    EXPECT_EQ(NextNotification(app), MSG_CLOSEDSREQ);

    // The manager refuses a source it did not open; the state change stays.
    g_source.dsIdentity.Id += 100;
    g_source.state = kStateSourceEnabled;
    NotifyTransferReady();
    EXPECT_EQ(g_source.state, kStateTransferReady);
    EXPECT_EQ(NextNotification(app), MSG_NULL);

    ForgetManagerEntryPoints();
    EXPECT_TRUE(CloseOpenSource(app));
    CloseSourceManager(app);
    EXPECT_TRUE(boxes.Boxes().empty());
}

extern "C" TW_UINT16 WINAPI DS_Entry(pTW_IDENTITY pOrigin, TW_UINT32 DG, TW_UINT16 DAT,
                                     TW_UINT16 MSG, TW_MEMREF pData);

TW_UINT16 CallSource(TW_UINT16 DAT, TW_UINT16 MSG, TW_MEMREF pData)
{
    TW_IDENTITY application = {};
    application.Id = 7;
    return DS_Entry(&application, DG_CONTROL, DAT, MSG, pData);
}

// Brings this copy of the source into state 6 the way the album window does,
// with its album window made from the templates linked into this program.
HWND TransferReadySource()
{
    // What loading the library would have set.
    g_source.instance = GetModuleHandleA(nullptr);
    g_source.state = kStateManagerOpen;
    TW_IDENTITY identity = {};
    TW_USERINTERFACE ui = {TRUE, FALSE, nullptr};
    EXPECT_EQ(CallSource(DAT_IDENTITY, MSG_OPENDS, &identity), TWRC_SUCCESS);
    EXPECT_EQ(CallSource(DAT_USERINTERFACE, MSG_ENABLEDS, &ui), TWRC_SUCCESS);
    NotifyTransferReady();
    EXPECT_EQ(g_source.state, kStateTransferReady);
    return g_source.albumWindow;
}

TEST(StateSix, CloseDestroysTheWindowAndForgetsTheApplication)
{
    MessageBoxCapture boxes;
    HWND album = TransferReadySource();
    ASSERT_TRUE(IsWindow(album));
    TW_IDENTITY identity = {};
    EXPECT_EQ(CallSource(DAT_IDENTITY, MSG_CLOSEDS, &identity), TWRC_SUCCESS);
    EXPECT_EQ(g_source.state, kStateManagerOpen);
    EXPECT_EQ(g_source.appIdentity.Id, 0u);
    EXPECT_FALSE(IsWindow(album));
    EXPECT_EQ(g_source.albumWindow, nullptr);
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST(StateSix, DisableReturnsToFourAndRefusesOpenAndEnableBefore)
{
    MessageBoxCapture boxes;
    HWND album = TransferReadySource();
    TW_IDENTITY identity = {};
    TW_USERINTERFACE ui = {FALSE, FALSE, nullptr};
    EXPECT_EQ(CallSource(DAT_IDENTITY, MSG_OPENDS, &identity), TWRC_FAILURE);
    EXPECT_EQ(CallSource(DAT_USERINTERFACE, MSG_ENABLEDS, &ui), TWRC_FAILURE);
    ASSERT_EQ(boxes.Boxes().size(), 2u);
    EXPECT_EQ(
        boxes.Boxes()[1].text,
        "General failure in response to MSG_ENABLEDS.  DG DAT MSG is out of expected sequence.");
    EXPECT_EQ(CallSource(DAT_USERINTERFACE, MSG_DISABLEDS, &ui), TWRC_SUCCESS);
    EXPECT_EQ(g_source.state, kStateSourceOpen);
    EXPECT_FALSE(IsWindowVisible(album));
    EXPECT_EQ(CallSource(DAT_IDENTITY, MSG_CLOSEDS, &identity), TWRC_SUCCESS);
    EXPECT_FALSE(IsWindow(album));
}

// This copy of the source in state 6, closed again at the end.
class TransferReadySession : public SessionUnderTest {
public:
    TransferReadySession()
    {
        MessageBoxCapture boxes;
        TransferReadySource();
    }

    ~TransferReadySession() override
    {
        MessageBoxCapture boxes;
        TW_IDENTITY identity = {};
        CallSource(DAT_IDENTITY, MSG_CLOSEDS, &identity);
    }

    TW_UINT16 Call(TW_UINT16 DAT, TW_UINT16 MSG, TW_MEMREF pData) override
    {
        return CallSource(DAT, MSG, pData);
    }

    TW_UINT16 ConditionCode() override
    {
        TW_STATUS status = {};
        CallSource(DAT_STATUS, MSG_GET, &status);
        return status.ConditionCode;
    }
};

TEST(StateSix, EachTripletIsAcceptedOrRefusedAsTheStateSays)
{
    for (const SessionTriplet& triplet : kSessionTriplets) {
        TransferReadySession source;
        ExpectTripletInState(source, triplet, 6, nullptr);
    }
}

}  // namespace
