// The data source's entry points, loaded as an application loads them:
// through the Source Manager, and straight from its installed file.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "support/message_boxes.h"
#include "support/prefix_files.h"
#include "support/recording_manager.h"
#include "support/source_module.h"
#include "tools/acquire/twain_app.h"

namespace {

const char kProductKey[] = "Software\\Ardenza ZC600A\\UCAM";

// Reads the identity that the Source Manager lists for the installed source.
TW_IDENTITY FirstListedIdentity()
{
    TwainApp app;
    TW_IDENTITY identity = {};
    if (OpenSourceManager(app)) {
        app.dsmEntry(&app.identity, nullptr, DG_CONTROL, DAT_IDENTITY, MSG_GETFIRST, &identity);
        CloseSourceManager(app);
    }
    return identity;
}

TW_UINT16 ManagerCall(TwainApp& app, TW_IDENTITY& origin, TW_IDENTITY* destination, TW_UINT16 DAT,
                      TW_UINT16 MSG, TW_MEMREF pData)
{
    return app.dsmEntry(&origin, destination, DG_CONTROL, DAT, MSG, pData);
}

TW_UINT16 ManagerCondition(TwainApp& app, TW_IDENTITY& origin)
{
    TW_STATUS status = {};
    ManagerCall(app, origin, nullptr, DAT_STATUS, MSG_GET, &status);
    return status.ConditionCode;
}

// The Source Manager keeps applications to the order the standard sets.
TEST(SourceManager, RefusesAnotherOpenAClosingBeforeTheSourceAndForeignApplications)
{
    TwainApp app;
    ASSERT_TRUE(OpenSourceManager(app));
    ASSERT_TRUE(OpenSourceNamed(app, "Camera"));
    EXPECT_EQ(ManagerCall(app, app.identity, nullptr, DAT_PARENT, MSG_OPENDSM, &app.window),
              TWRC_FAILURE);
    EXPECT_EQ(ManagerCondition(app, app.identity), TWCC_SEQERROR);
    EXPECT_EQ(ManagerCall(app, app.identity, nullptr, DAT_PARENT, MSG_CLOSEDSM, &app.window),
              TWRC_FAILURE);
    EXPECT_EQ(ManagerCondition(app, app.identity), TWCC_SEQERROR);

    TW_IDENTITY other = {};
    ASSERT_EQ(ManagerCall(app, other, nullptr, DAT_PARENT, MSG_OPENDSM, &app.window), TWRC_SUCCESS);
    TW_STATUS status = {};
    EXPECT_EQ(ManagerCall(app, other, &app.source, DAT_STATUS, MSG_GET, &status), TWRC_FAILURE);
    EXPECT_EQ(ManagerCondition(app, other), TWCC_BADDEST);
    EXPECT_EQ(ManagerCall(app, other, nullptr, DAT_IDENTITY, MSG_CLOSEDS, &app.source),
              TWRC_FAILURE);
    EXPECT_EQ(ManagerCall(app, other, nullptr, DAT_PARENT, MSG_CLOSEDSM, &app.window),
              TWRC_SUCCESS);

    ASSERT_TRUE(CloseOpenSource(app));
    EXPECT_EQ(ManagerCall(app, app.identity, nullptr, DAT_PARENT, MSG_CLOSEDSM, &app.window),
              TWRC_SUCCESS);
    app.managerOpen = false;
    CloseSourceManager(app);
}

TEST(SourceIdentity, WithoutRegistryNameIsCameraFromTheStringTable)
{
    SavedRegistryValue name(kProductKey, "ProductName");
    name.Remove();
    TW_IDENTITY identity = FirstListedIdentity();
    EXPECT_STREQ(identity.ProductName, "Camera");
    EXPECT_STREQ(identity.Manufacturer, "TWAIN Working Group");
    EXPECT_STREQ(identity.ProductFamily, "TWAIN");
    EXPECT_STREQ(identity.Version.Info, "Oct,2000");
    EXPECT_EQ(identity.Version.MajorNum, 1);
    EXPECT_EQ(identity.Version.MinorNum, 0);
    EXPECT_EQ(identity.Version.Language, TWLG_ENGLISH_USA);
    EXPECT_EQ(identity.Version.Country, TWCY_USA);
    EXPECT_EQ(identity.ProtocolMajor, 1);
    EXPECT_EQ(identity.ProtocolMinor, 8);
    EXPECT_EQ(identity.SupportedGroups, DG_CONTROL | DG_IMAGE | DF_DS2);
    EXPECT_EQ(identity.Id, 0u);
}

TEST(SourceIdentity, ProductNameComesFromTheRegistry)
{
    SavedRegistryValue name(kProductKey, "ProductName");
    name.SetString("ZC600A Dual Camera");
    EXPECT_STREQ(FirstListedIdentity().ProductName, "ZC600A Dual Camera");

    TwainApp app;
    ASSERT_TRUE(OpenSourceManager(app));
    EXPECT_TRUE(OpenSourceNamed(app, "ZC600A Dual Camera"));
    CloseSourceManager(app);
}

TEST(SourceIdentity, LongRegistryNamesAreShortenedOrRefused)
{
    SavedRegistryValue name(kProductKey, "ProductName");
    const std::string fifty(50, 'N');
    name.SetString(fifty);
    EXPECT_EQ(std::string(FirstListedIdentity().ProductName), fifty.substr(0, 32));

    // More than the 80 bytes the source reads: the default name.
    name.SetString(std::string(100, 'L'));
    EXPECT_STREQ(FirstListedIdentity().ProductName, "Camera");

    // A value that is not text is not a name.
    name.SetDword(42);
    EXPECT_STREQ(FirstListedIdentity().ProductName, "Camera");
}

TEST(SourceIdentity, OpenSourceReportsTheIdentityTheManagerAssigned)
{
    TwainApp app;
    ASSERT_TRUE(OpenSourceManager(app));
    ASSERT_TRUE(OpenSourceNamed(app, "Camera"));
    EXPECT_NE(app.source.Id, 0u);
    TW_IDENTITY identity = {};
    EXPECT_EQ(CallSource(app, DG_CONTROL, DAT_IDENTITY, MSG_GET, &identity), TWRC_SUCCESS);
    EXPECT_EQ(identity.Id, app.source.Id);
    EXPECT_STREQ(identity.ProductName, "Camera");
    CloseSourceManager(app);
}

TEST(DllMainEntry, NullInstanceFailsAndDetachChangesNothing)
{
    SourceModule source;
    ASSERT_TRUE(source.Loaded());
    typedef BOOL(WINAPI * DllMainProc)(HINSTANCE, DWORD, LPVOID);
    DllMainProc dllMain = reinterpret_cast<DllMainProc>(
        reinterpret_cast<void*>(GetProcAddress(source.Module(), "DllMain")));
    ASSERT_NE(dllMain, nullptr);

    TW_IDENTITY before = {};
    ASSERT_EQ(source.Call(DG_CONTROL, DAT_IDENTITY, MSG_GET, &before), TWRC_SUCCESS);
    EXPECT_FALSE(dllMain(nullptr, DLL_PROCESS_ATTACH, nullptr));
    EXPECT_TRUE(dllMain(source.Module(), DLL_PROCESS_DETACH, nullptr));
    EXPECT_TRUE(dllMain(source.Module(), DLL_THREAD_ATTACH, nullptr));
    TW_IDENTITY after = {};
    ASSERT_EQ(source.Call(DG_CONTROL, DAT_IDENTITY, MSG_GET, &after), TWRC_SUCCESS);
    EXPECT_EQ(memcmp(&before, &after, sizeof before), 0);
}

TEST(Dispatch, UnknownGroupsAndDatsFailSilentlyWithBadProtocol)
{
    SourceModule source;
    ASSERT_TRUE(source.Loaded());
    MessageBoxCapture boxes;
    TW_UINT32 data[64] = {};

    EXPECT_EQ(source.Call(DG_AUDIO, 0x0201, MSG_GET, data), TWRC_FAILURE);
    EXPECT_EQ(source.ConditionCode(), TWCC_BADPROTOCOL);

    HWND parent = nullptr;
    EXPECT_EQ(source.Call(DG_CONTROL, DAT_PARENT, MSG_OPENDSM, &parent), TWRC_FAILURE);
    EXPECT_EQ(source.ConditionCode(), TWCC_BADPROTOCOL);

    EXPECT_EQ(source.Call(DG_CONTROL, DAT_EVENT, MSG_GET, data), TWRC_FAILURE);
    EXPECT_EQ(source.ConditionCode(), TWCC_BADPROTOCOL);

    EXPECT_EQ(source.Call(DG_CONTROL, DAT_NULL, MSG_XFERREADY, nullptr), TWRC_FAILURE);
    EXPECT_EQ(source.ConditionCode(), TWCC_BADPROTOCOL);

    EXPECT_EQ(source.Call(DG_IMAGE, 0x01ff, MSG_GET, data), TWRC_FAILURE);
    EXPECT_EQ(source.ConditionCode(), TWCC_BADPROTOCOL);

    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST(Dispatch, ProcessEventBeforeAnyWindowIsNotASourceEvent)
{
    SourceModule source;
    ASSERT_TRUE(source.Loaded());
    MSG message = {};
    TW_EVENT event = {&message, 0x1234};
    EXPECT_EQ(source.Call(DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, &event), TWRC_NOTDSEVENT);
    EXPECT_EQ(event.TWMessage, 0x1234);

    // Any group and DAT with MSG_PROCESSEVENT is event processing.
    EXPECT_EQ(source.Call(DG_IMAGE, DAT_IMAGEINFO, MSG_PROCESSEVENT, &event), TWRC_NOTDSEVENT);
    EXPECT_EQ(source.Call(DG_AUDIO, DAT_NULL, MSG_PROCESSEVENT, &event), TWRC_NOTDSEVENT);
    EXPECT_EQ(event.TWMessage, 0x1234);
    EXPECT_EQ(source.Call(DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, nullptr), TWRC_NOTDSEVENT);
}

TEST(Dispatch, StatusReportsTheLastFailureOnceAndControlSuccessKeepsIt)
{
    SourceModule source;
    ASSERT_TRUE(source.Loaded());
    TW_UINT32 data[64] = {};
    EXPECT_EQ(source.Call(DG_AUDIO, 1, MSG_GET, data), TWRC_FAILURE);

    // A successful DG_CONTROL triplet leaves the condition code as it was.
    TW_IDENTITY identity = {};
    EXPECT_EQ(source.Call(DG_CONTROL, DAT_IDENTITY, MSG_GET, &identity), TWRC_SUCCESS);
    EXPECT_EQ(source.ConditionCode(), TWCC_BADPROTOCOL);
    EXPECT_EQ(source.ConditionCode(), TWCC_SUCCESS);
}

// A TWAIN 2 manager's entry points are taken whole, before the open only;
// refused ones leave the source with TWAIN_32.DLL and global memory. Once
// they are taken, refusals show no message box.
TEST(ManagerEntryPoints, TakenWholeInState3Only)
{
    SourceModule source;
    ASSERT_TRUE(source.Loaded());
    MessageBoxCapture boxes;
    RecordedManagerCalls() = {};
    const std::string refused = "General failure in response to DAT_ENTRYPOINT.  ";

    TW_ENTRYPOINT cut = RecordingEntryPoints();
    cut.Size -= 1;
    TW_ENTRYPOINT missingLock = RecordingEntryPoints();
    missingLock.DSM_MemLock = nullptr;
    for (TW_ENTRYPOINT* given : {&cut, &missingLock, static_cast<TW_ENTRYPOINT*>(nullptr)}) {
        EXPECT_EQ(source.Call(DG_CONTROL, DAT_ENTRYPOINT, MSG_SET, given), TWRC_FAILURE);
        EXPECT_EQ(source.ConditionCode(), TWCC_BADVALUE);
    }
    TW_CAPABILITY capability = {ICAP_XFERMECH, TWON_DONTCARE16, nullptr};
    ASSERT_EQ(source.Call(DG_CONTROL, DAT_CAPABILITY, MSG_GET, &capability), TWRC_SUCCESS);
    EXPECT_GT(GlobalSize(capability.hContainer), 0u);
    GlobalFree(capability.hContainer);
    EXPECT_EQ(RecordedManagerCalls().allocations, 0);

    TW_ENTRYPOINT whole = RecordingEntryPoints();
    EXPECT_EQ(source.Call(DG_CONTROL, DAT_ENTRYPOINT, MSG_GET, &whole), TWRC_FAILURE);
    EXPECT_EQ(source.ConditionCode(), TWCC_BADPROTOCOL);
    EXPECT_EQ(source.Call(DG_CONTROL, DAT_ENTRYPOINT, MSG_SET, &whole), TWRC_SUCCESS);
    TW_IDENTITY identity = {};
    source.Call(DG_CONTROL, DAT_IDENTITY, MSG_GET, &identity);
    ASSERT_EQ(source.Call(DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, &identity), TWRC_SUCCESS);
    EXPECT_EQ(source.Call(DG_CONTROL, DAT_ENTRYPOINT, MSG_SET, &whole), TWRC_FAILURE);
    EXPECT_EQ(source.ConditionCode(), TWCC_SEQERROR);
    ASSERT_EQ(source.Call(DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, &identity), TWRC_SUCCESS);

    std::vector<std::string> texts;
    for (const CapturedBox& box : boxes.Boxes()) {
        texts.push_back(box.text);
        EXPECT_EQ(box.caption, "Zc600a Source Error");
    }
    const std::vector<std::string> expected = {
        refused + "Bad value error.", refused + "Bad value error.", refused + "Bad value error.",
        refused + "Bad protocol error."};
    EXPECT_EQ(texts, expected);
}

TEST(Dispatch, ForeignCallersAreRefusedAndChangeNothing)
{
    TwainApp app;
    ASSERT_TRUE(OpenSourceManager(app));
    ASSERT_TRUE(OpenSourceNamed(app, "Camera"));
    TW_UINT32 data[64] = {};
    ASSERT_EQ(CallSource(app, DG_AUDIO, 1, MSG_GET, data), TWRC_FAILURE);

    SourceModule source;
    ASSERT_TRUE(source.Loaded());
    TW_IDENTITY stranger = app.identity;
    stranger.Id = app.identity.Id + 100;
    TW_STATUS status = {0xEEEE, 0xEEEE};
    EXPECT_EQ(source.CallFrom(&stranger, DG_CONTROL, DAT_STATUS, MSG_GET, &status), TWRC_FAILURE);
    EXPECT_EQ(status.ConditionCode, 0xEEEE);
    EXPECT_EQ(source.CallFrom(nullptr, DG_CONTROL, DAT_STATUS, MSG_GET, &status), TWRC_FAILURE);
    TW_IDENTITY identity = {};
    EXPECT_EQ(source.CallFrom(&stranger, DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, &identity),
              TWRC_FAILURE);

    // The opening application still finds the source open with its failure code.
    EXPECT_EQ(ConditionCode(app), TWCC_BADPROTOCOL);
    CloseSourceManager(app);
}

}  // namespace
