// Opening, enabling, disabling and closing the real data source: the states
// and their refusals, the album window, the message boxes and the
// notifications that reach the application through the Source Manager.
#include <gtest/gtest.h>

#include <string>

#include "resources/resource_ids.h"
#include "support/album_session.h"
#include "support/message_boxes.h"
#include "support/prefix_files.h"
#include "support/session_table.h"
#include "support/source_module.h"
#include "support/test_windows.h"
#include "tools/acquire/album_user.h"
#include "tools/acquire/event_loop.h"
#include "tools/acquire/twain_app.h"

namespace {

const char kProductKey[] = "Software\\Ardenza ZC600A\\UCAM";
const TW_UINT32 kApplicationId = 7;

TW_UINT16 Open(SourceModule& source)
{
    TW_IDENTITY identity = {};
    identity.Id = 8;
    return source.Call(DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, &identity);
}

TW_UINT16 Close(SourceModule& source)
{
    TW_IDENTITY identity = {};
    return source.Call(DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, &identity);
}

TW_UINT16 UserInterface(SourceModule& source, TW_UINT16 MSG, BOOL showUI, HANDLE parent)
{
    TW_USERINTERFACE ui = {};
    ui.ShowUI = showUI;
    ui.hParent = parent;
    return source.Call(DG_CONTROL, DAT_USERINTERFACE, MSG, &ui);
}

// The installed source loaded straight and brought into state 3, 4 or 5
// for application 7; closed again at the end.
class DirectSession : public SessionUnderTest {
public:
    DirectSession(int state, HWND parent)
    {
        source_.application.Id = kApplicationId;
        MessageBoxCapture boxes;
        if (state >= 4) {
            EXPECT_EQ(Open(source_), TWRC_SUCCESS);
        }
        if (state >= 5) {
            EXPECT_EQ(UserInterface(source_, MSG_ENABLEDS, TRUE, parent), TWRC_SUCCESS);
        }
    }

    ~DirectSession() override
    {
        MessageBoxCapture boxes;
        Close(source_);
    }

    TW_UINT16 Call(TW_UINT16 DAT, TW_UINT16 MSG, TW_MEMREF pData) override
    {
        return source_.Call(DG_CONTROL, DAT, MSG, pData);
    }

    TW_UINT16 ConditionCode() override { return source_.ConditionCode(); }

private:
    SourceModule source_;
};

TEST(StateTable, EachTripletIsAcceptedOrRefusedAsTheStateSays)
{
    TestWindow application;
    for (int state = 3; state <= 5; ++state) {
        for (const SessionTriplet& triplet : kSessionTriplets) {
            DirectSession source(state, application.Handle());
            ExpectTripletInState(source, triplet, state, application.Handle());
        }
    }
}

TEST(StateTable, TripletsWithoutTheirStructureAreRefusedAsBadValues)
{
    struct Case {
        int state;
        TW_UINT16 DAT;
        TW_UINT16 MSG;
        const char* message;
    };
    const Case cases[] = {
        {3, DAT_IDENTITY, MSG_GET,
         "General failure in response to DAT_IDENTITY.  Bad value error."},
        {3, DAT_IDENTITY, MSG_OPENDS,
         "General failure in response to MSG_OPENDS.  Bad value error."},
        {4, DAT_USERINTERFACE, MSG_ENABLEDS,
         "General failure in response to MSG_ENABLEDS.  Bad value error."},
        {5, DAT_USERINTERFACE, MSG_DISABLEDS,
         "General failure in response to MSG_DISABLEDS.  Bad value error."},
        {3, DAT_STATUS, MSG_GET, "General failure in response to DAT_STATUS.  Bad value error."},
    };
    TestWindow application;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        DirectSession source(c.state, application.Handle());
        {
            MessageBoxCapture boxes;
            EXPECT_EQ(source.Call(c.DAT, c.MSG, nullptr), TWRC_FAILURE);
            ASSERT_EQ(boxes.Boxes().size(), 1u);
            EXPECT_EQ(boxes.Boxes()[0].text, c.message);
            EXPECT_EQ(source.ConditionCode(), TWCC_BADVALUE);
        }
        // The state is unchanged: the same triplet with its structure is served.
        TW_USERINTERFACE ui = {TRUE, FALSE, application.Handle()};
        TW_IDENTITY identity = {};
        TW_STATUS status = {};
        TW_MEMREF data = c.DAT == DAT_USERINTERFACE ? static_cast<TW_MEMREF>(&ui)
                         : c.DAT == DAT_STATUS      ? static_cast<TW_MEMREF>(&status)
                                                    : static_cast<TW_MEMREF>(&identity);
        EXPECT_EQ(source.Call(c.DAT, c.MSG, data), TWRC_SUCCESS);
    }
}

TEST(StateTable, TwoStatusReadsAfterAFailureGiveItsCodeThenSuccess)
{
    SourceModule source;
    MessageBoxCapture boxes;
    ASSERT_EQ(Close(source), TWRC_FAILURE);
    TW_STATUS status = {0xEEEE, 0xEEEE};
    EXPECT_EQ(source.Call(DG_CONTROL, DAT_STATUS, MSG_GET, &status), TWRC_SUCCESS);
    EXPECT_EQ(status.ConditionCode, TWCC_SEQERROR);
    EXPECT_EQ(status.Reserved, 0);
    EXPECT_EQ(source.Call(DG_CONTROL, DAT_STATUS, MSG_GET, &status), TWRC_SUCCESS);
    EXPECT_EQ(status.ConditionCode, TWCC_SUCCESS);
}

TEST(OpenClose, OpenDeletesTheLogFileAlsoWhenRefused)
{
    const std::string log = "c:\\tz600a.log";
    SavedFile saved(log);
    SourceModule source;
    source.application.Id = kApplicationId;
    MessageBoxCapture boxes;

    WriteTextFile(log, "left over");
    ASSERT_TRUE(FileExists(log));
    EXPECT_EQ(Open(source), TWRC_SUCCESS);
    EXPECT_FALSE(FileExists(log));

    WriteTextFile(log, "left over");
    EXPECT_EQ(Open(source), TWRC_FAILURE);
    EXPECT_FALSE(FileExists(log));
    EXPECT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(Close(source), TWRC_SUCCESS);
}

TEST(OpenClose, CloseFromStateFiveDestroysTheWindowAndForgetsTheApplication)
{
    TestWindow application;
    SourceModule source;
    source.application.Id = kApplicationId;
    MessageBoxCapture boxes;
    ASSERT_EQ(Open(source), TWRC_SUCCESS);
    ASSERT_EQ(UserInterface(source, MSG_ENABLEDS, TRUE, application.Handle()), TWRC_SUCCESS);
    ASSERT_EQ(AlbumWindowsOf(source.Module()).size(), 1u);

    EXPECT_EQ(Close(source), TWRC_SUCCESS);
    EXPECT_TRUE(AlbumWindowsOf(source.Module()).empty());
    // Another application is served and may open the source.
    source.application.Id = kApplicationId + 1;
    EXPECT_EQ(Open(source), TWRC_SUCCESS);
    EXPECT_EQ(Close(source), TWRC_SUCCESS);
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST(AlbumWindow, EnableShowsItWithTheProductNameWithOrWithoutUserInterface)
{
    SavedRegistryValue name(kProductKey, "ProductName");
    name.SetString("ZC600A Dual Camera");
    TestWindow application;
    MessageBoxCapture boxes;
    for (BOOL showUI : {TRUE, FALSE}) {
        SCOPED_TRACE(showUI ? "ShowUI TRUE" : "ShowUI FALSE");
        SourceModule source;
        source.application.Id = kApplicationId;
        ASSERT_EQ(Open(source), TWRC_SUCCESS);
        ASSERT_EQ(UserInterface(source, MSG_ENABLEDS, showUI, application.Handle()), TWRC_SUCCESS);
        std::vector<HWND> windows = AlbumWindowsOf(source.Module());
        ASSERT_EQ(windows.size(), 1u);
        EXPECT_TRUE(IsWindowVisible(windows[0]));
        EXPECT_EQ(GetWindow(windows[0], GW_OWNER), nullptr);
        char title[80] = "";
        GetWindowTextA(windows[0], title, sizeof title);
        EXPECT_STREQ(title, "ZC600A Dual Camera");
        // An event without its message is none of the window's.
        TW_EVENT event = {nullptr, MSG_NULL};
        EXPECT_EQ(source.Call(DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, &event), TWRC_NOTDSEVENT);
        EXPECT_EQ(Close(source), TWRC_SUCCESS);
    }
}

TEST(AlbumWindow, DisableLeavesItOnScreenWithShowUIAndHidesItWithout)
{
    TestWindow application;
    SourceModule source;
    source.application.Id = kApplicationId;
    MessageBoxCapture boxes;
    ASSERT_EQ(Open(source), TWRC_SUCCESS);
    ASSERT_EQ(UserInterface(source, MSG_ENABLEDS, TRUE, application.Handle()), TWRC_SUCCESS);
    HWND first = AlbumWindowsOf(source.Module()).at(0);

    EXPECT_EQ(UserInterface(source, MSG_DISABLEDS, TRUE, application.Handle()), TWRC_SUCCESS);
    EXPECT_TRUE(IsWindowVisible(first));
    // Back in state 4: a second disable is out of sequence.
    EXPECT_EQ(UserInterface(source, MSG_DISABLEDS, TRUE, application.Handle()), TWRC_FAILURE);
    EXPECT_EQ(source.ConditionCode(), TWCC_SEQERROR);

    ASSERT_EQ(UserInterface(source, MSG_ENABLEDS, TRUE, application.Handle()), TWRC_SUCCESS);
    EXPECT_EQ(UserInterface(source, MSG_DISABLEDS, FALSE, application.Handle()), TWRC_SUCCESS);
    std::vector<HWND> windows = AlbumWindowsOf(source.Module());
    ASSERT_EQ(windows.size(), 2u);
    HWND second = windows[0] == first ? windows[1] : windows[0];
    EXPECT_TRUE(IsWindowVisible(first));
    EXPECT_FALSE(IsWindowVisible(second));
    EXPECT_EQ(UserInterface(source, MSG_DISABLEDS, FALSE, application.Handle()), TWRC_FAILURE);
    EXPECT_EQ(Close(source), TWRC_SUCCESS);
}

TEST(AlbumWindow, ASecondEnableMakesANewWindowAndCloseDestroysEveryOne)
{
    MessageBoxCapture boxes;
    TwainApp app;
    ASSERT_TRUE(OpenSourceManager(app));
    ASSERT_TRUE(OpenSourceNamed(app, "Camera"));
    HMODULE module = GetModuleHandleA(InstalledSourcePath().c_str());
    ASSERT_TRUE(EnableSource(app, TRUE));
    ASSERT_TRUE(DisableSource(app, FALSE));
    HWND hidden = AlbumWindowsOf(module).at(0);
    EXPECT_FALSE(IsWindowVisible(hidden));

    ASSERT_TRUE(EnableSource(app, TRUE));
    std::vector<HWND> windows = AlbumWindowsOf(module);
    ASSERT_EQ(windows.size(), 2u);
    HWND shown = windows[0] == hidden ? windows[1] : windows[0];
    EXPECT_TRUE(IsWindowVisible(shown));
    EXPECT_FALSE(IsWindowVisible(hidden));

    // Closing from state 5 without a disable; the manager then unloads the
    // library, so no window of it may remain.
    EXPECT_TRUE(CloseOpenSource(app));
    EXPECT_EQ(GetModuleHandleA(InstalledSourcePath().c_str()), nullptr);
    EXPECT_FALSE(IsWindow(hidden));
    EXPECT_FALSE(IsWindow(shown));
    PumpMessages(100);
    CloseSourceManager(app);
}

TEST(MessageBoxes, NoOwnerBeforeTheFirstEnableThenTheApplicationsWindow)
{
    TestWindow application;
    SourceModule source;
    source.application.Id = kApplicationId;
    MessageBoxCapture boxes;
    ASSERT_EQ(Open(source), TWRC_SUCCESS);
    EXPECT_EQ(Open(source), TWRC_FAILURE);
    ASSERT_EQ(UserInterface(source, MSG_ENABLEDS, FALSE, application.Handle()), TWRC_SUCCESS);
    EXPECT_EQ(Open(source), TWRC_FAILURE);
    EXPECT_EQ(Close(source), TWRC_SUCCESS);
    // The last enable's window stays the owner after the close.
    EXPECT_EQ(Close(source), TWRC_FAILURE);

    ASSERT_EQ(boxes.Boxes().size(), 3u);
    EXPECT_EQ(boxes.Boxes()[0].owner, nullptr);
    EXPECT_EQ(boxes.Boxes()[1].owner, application.Handle());
    EXPECT_EQ(boxes.Boxes()[2].owner, application.Handle());
}

TEST(MessageBoxes, AParentThatIsNoWindowStillLetsTheUserSeeThem)
{
    SourceModule source;
    source.application.Id = kApplicationId;
    MessageBoxCapture boxes;
    ASSERT_EQ(Open(source), TWRC_SUCCESS);
    HANDLE bogus = reinterpret_cast<HANDLE>(0x0BADF00D);
    ASSERT_FALSE(IsWindow(static_cast<HWND>(bogus)));
    ASSERT_EQ(UserInterface(source, MSG_ENABLEDS, TRUE, bogus), TWRC_SUCCESS);
    EXPECT_EQ(AlbumWindowsOf(source.Module()).size(), 1u);
    EXPECT_EQ(Open(source), TWRC_FAILURE);

    // A parent destroyed after the enable.
    ASSERT_EQ(UserInterface(source, MSG_DISABLEDS, FALSE, bogus), TWRC_SUCCESS);
    HWND parent;
    {
        TestWindow application;
        parent = application.Handle();
        ASSERT_EQ(UserInterface(source, MSG_ENABLEDS, TRUE, parent), TWRC_SUCCESS);
    }
    ASSERT_FALSE(IsWindow(parent));
    EXPECT_EQ(Open(source), TWRC_FAILURE);

    ASSERT_EQ(boxes.Boxes().size(), 2u);
    for (const CapturedBox& box : boxes.Boxes()) {
        EXPECT_EQ(box.owner, nullptr);
        EXPECT_EQ(
            box.text,
            "General failure in response to MSG_OPENDS.  DG DAT MSG is out of expected sequence.");
    }
    EXPECT_EQ(Close(source), TWRC_SUCCESS);
    EXPECT_TRUE(AlbumWindowsOf(source.Module()).empty());
}

// Calls MSG_CLOSEDS through the manager when the application's window gets
// WM_APP, as an application might from inside a message box's loop.
struct CloseFromWindow {
    TwainApp* app;
    TW_UINT16 result;
};
CloseFromWindow g_closeFromWindow;

LRESULT CALLBACK ClosingWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_APP) {
        g_closeFromWindow.result = g_closeFromWindow.app->dsmEntry(
            &g_closeFromWindow.app->identity, nullptr, DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS,
            &g_closeFromWindow.app->source);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

TEST(MessageBoxes, CloseWhileOneIsUpIsRefusedAndTheSourceStaysLoaded)
{
    TwainApp app;
    ASSERT_TRUE(OpenSourceManager(app));
    ASSERT_TRUE(OpenSourceNamed(app, "Camera"));
    if (InTwain2Session(app)) {
        CloseSourceManager(app);
        GTEST_SKIP() << "The TWAIN 2 Source Manager gives the source its entry points: its "
                        "refusals show no box";
    }
    ASSERT_TRUE(EnableSource(app, TRUE));
    g_closeFromWindow = {&app, 0xFFFF};
    SetWindowLongPtrA(app.window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ClosingWindowProc));

    MessageBoxCapture boxes;
    // The box of this refusal runs the message loop that delivers WM_APP.
    PostMessageA(app.window, WM_APP, 0, 0);
    EXPECT_FALSE(EnableSource(app, TRUE));
    EXPECT_EQ(g_closeFromWindow.result, TWRC_FAILURE);
    ASSERT_EQ(boxes.Boxes().size(), 2u);
    EXPECT_EQ(
        boxes.Boxes()[0].text,
        "General failure in response to MSG_ENABLEDS.  DG DAT MSG is out of expected sequence.");
    EXPECT_EQ(
        boxes.Boxes()[1].text,
        "General failure in response to MSG_CLOSEDS.  DG DAT MSG is out of expected sequence.");
    EXPECT_NE(GetModuleHandleA(InstalledSourcePath().c_str()), nullptr);

    // The box of a one-value set that Allowed does not admit counts as well.
    boxes.Clear();
    g_closeFromWindow.result = 0xFFFF;
    HGLOBAL container = GlobalAlloc(GHND, sizeof(TW_ONEVALUE));
    *static_cast<TW_ONEVALUE*>(GlobalLock(container)) = {TWTY_UINT16, 3};
    GlobalUnlock(container);
    TW_CAPABILITY capability = {ICAP_XFERMECH, TWON_ONEVALUE, container};
    PostMessageA(app.window, WM_APP, 0, 0);
    EXPECT_EQ(CallSource(app, DG_CONTROL, DAT_CAPABILITY, MSG_SET, &capability), TWRC_FAILURE);
    GlobalFree(container);
    EXPECT_EQ(g_closeFromWindow.result, TWRC_FAILURE);
    ASSERT_EQ(boxes.Boxes().size(), 2u);
    EXPECT_EQ(boxes.Boxes()[0].text, "IsCapAllowed");
    EXPECT_EQ(
        boxes.Boxes()[1].text,
        "General failure in response to MSG_CLOSEDS.  DG DAT MSG is out of expected sequence.");
    EXPECT_NE(GetModuleHandleA(InstalledSourcePath().c_str()), nullptr);

    SetWindowLongPtrA(app.window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(DefWindowProcA));
    EXPECT_TRUE(CloseOpenSource(app));
    EXPECT_EQ(GetModuleHandleA(InstalledSourcePath().c_str()), nullptr);
    CloseSourceManager(app);
}

// In a TWAIN 2 session refusals show no box, but the album window's own
// boxes, which answer the user, still run a message loop.
TEST(MessageBoxes, CloseWhileAnAlbumBoxIsUpIsRefusedInATwain2SessionToo)
{
    TwainApp app;
    ASSERT_TRUE(OpenSourceManagerLibrary(app, "TWAINDSM.DLL"));
    ASSERT_TRUE(OpenSourceNamed(app, "Camera"));
    ASSERT_TRUE(InTwain2Session(app));
    ASSERT_TRUE(EnableSource(app, TRUE));
    HWND album = AlbumWindow();
    ASSERT_TRUE(PumpUntilAlbumReady(app, album, 30000));
    g_closeFromWindow = {&app, 0xFFFF};
    SetWindowLongPtrA(app.window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ClosingWindowProc));

    MessageBoxCapture boxes;
    // UpLoad with nothing selected: its box runs the loop that delivers
    // WM_APP. A press that the button's guard passes over shows no box and
    // leaves WM_APP for the next press.
    for (int press = 0; press < 100 && boxes.Boxes().empty(); ++press) {
        PumpApplication(app, 50);
        PostMessageA(app.window, WM_APP, 0, 0);
        SendMessageA(GetDlgItem(album, IDC_UPLOAD), BM_CLICK, 0, 0);
        MSG left;
        PeekMessageA(&left, app.window, WM_APP, WM_APP, PM_REMOVE);
    }
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, "No select image to upload!");
    EXPECT_EQ(g_closeFromWindow.result, TWRC_FAILURE);
    EXPECT_EQ(ConditionCode(app), TWCC_SEQERROR);
    EXPECT_TRUE(IsWindow(album));

    SetWindowLongPtrA(app.window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(DefWindowProcA));
    EXPECT_TRUE(CloseOpenSource(app));
    EXPECT_EQ(GetModuleHandleA(InstalledSourcePath().c_str()), nullptr);
    EXPECT_EQ(boxes.Boxes().size(), 1u);
    CloseSourceManager(app);
}

TEST(Notifications, ClosingTheWindowAsksTheApplicationToCloseTheSource)
{
    MessageBoxCapture boxes;
    TwainApp app;
    ASSERT_TRUE(OpenSourceManager(app));
    ASSERT_TRUE(OpenSourceNamed(app, "Camera"));
    ASSERT_TRUE(EnableSource(app, TRUE));
    HWND album = AlbumWindowsOf(GetModuleHandleA(InstalledSourcePath().c_str())).at(0);

    // The user's close: the system menu's Close command.
    PostMessageA(album, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(NextNotification(app), MSG_CLOSEDSREQ);
    EXPECT_TRUE(IsWindowVisible(album));
    EXPECT_EQ(NextNotification(app), MSG_NULL);

    EXPECT_TRUE(DisableSource(app, TRUE));
    EXPECT_TRUE(CloseOpenSource(app));
    EXPECT_FALSE(IsWindow(album));
    CloseSourceManager(app);
}

TEST(Notifications, TheManagerTakesThemOnlyFromTheOpenSourceToItsApplication)
{
    MessageBoxCapture boxes;
    TwainApp app;
    ASSERT_TRUE(OpenSourceManager(app));
    ASSERT_TRUE(OpenSourceNamed(app, "Camera"));
    ASSERT_TRUE(EnableSource(app, FALSE));
    TW_IDENTITY stranger = app.source;
    stranger.Id = app.source.Id + 100;
    TW_IDENTITY otherApplication = app.identity;
    otherApplication.Id = app.identity.Id + 100;

    EXPECT_EQ(app.dsmEntry(&stranger, &app.identity, DG_CONTROL, DAT_NULL, MSG_XFERREADY, nullptr),
              TWRC_FAILURE);
    EXPECT_EQ(
        app.dsmEntry(&app.source, &otherApplication, DG_CONTROL, DAT_NULL, MSG_XFERREADY, nullptr),
        TWRC_FAILURE);
    EXPECT_EQ(app.dsmEntry(&app.source, &app.identity, DG_CONTROL, DAT_NULL, MSG_OPENDS, nullptr),
              TWRC_FAILURE);
    PostMessageA(app.window, WM_NULL, 0, 0);
    EXPECT_EQ(NextNotification(app), MSG_NULL);

    // Two notifications arrive in order, each with its own wake-up.
    EXPECT_EQ(
        app.dsmEntry(&app.source, &app.identity, DG_CONTROL, DAT_NULL, MSG_XFERREADY, nullptr),
        TWRC_SUCCESS);
    EXPECT_EQ(
        app.dsmEntry(&app.source, &app.identity, DG_CONTROL, DAT_NULL, MSG_CLOSEDSREQ, nullptr),
        TWRC_SUCCESS);
    EXPECT_EQ(NextNotification(app), MSG_XFERREADY);
    EXPECT_EQ(NextNotification(app), MSG_CLOSEDSREQ);
    EXPECT_EQ(NextNotification(app), MSG_NULL);
    CloseSourceManager(app);
}

}  // namespace
