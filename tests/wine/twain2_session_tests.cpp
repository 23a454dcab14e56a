// TWAIN 2 sessions: the installed source opened through the stand-in TWAIN 2
// Source Manager TWAINDSM.DLL, which gives it its entry points (built for
// both tiers). Its capabilities answer MSG_QUERYSUPPORT and MSG_RESETALL,
// its refusals carry the condition codes of TWAIN 2, DAT_STATUSUTF8 tells
// their texts, and no refusal shows a message box. A session without entry
// points keeps its boxes and codes.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "resources/resource_ids.h"
#include "support/acquired_pictures.h"
#include "support/album_session.h"
#include "support/capability_requests.h"
#include "support/message_boxes.h"
#include "support/prefix_files.h"
#include "support/screenshot.h"
#include "support/source_module.h"
#include "support/test_windows.h"
#include "tools/acquire/album_user.h"
#include "tools/acquire/event_loop.h"

namespace {

const TW_UINT16 kUnnamedCap = 0x1234;  // not in CAP NUMBERS
const TW_INT32 kReadable = TWQC_GET | TWQC_GETCURRENT | TWQC_GETDEFAULT;
const DWORD kAlbumTimeout = 30000;

std::string CapabilityName(TW_UINT16 cap)
{
    char name[80] = "";
    GetPrivateProfileStringA("CAP NUMBERS", std::to_string(cap).c_str(), "", name, sizeof name,
                             DictionaryFilePath().c_str());
    return name;
}

std::vector<TW_UINT16> Items(const CapabilityReply& reply)
{
    const std::vector<TW_UINT32> items = AsList(reply).items;
    return std::vector<TW_UINT16>(items.begin(), items.end());
}

TW_UINT32 OneValueItem(const CapabilityReply& reply)
{
    EXPECT_EQ(reply.returnCode, TWRC_SUCCESS);
    EXPECT_EQ(reply.conType, TWON_ONEVALUE);
    return AsOneValue(reply).Item;
}

void WriteCapabilityKey(const char* section, const char* key, const char* text)
{
    WritePrivateProfileStringA(section, key, text, CapabilityFilePath().c_str());
}

// The text DAT_STATUSUTF8 gives for the condition code; its block is freed.
std::string StatusText(TwainApp& app, TW_UINT16 conditionCode)
{
    TW_STATUSUTF8 status = {{conditionCode, 0}, 0, nullptr};
    EXPECT_EQ(CallSource(app, DG_CONTROL, DAT_STATUSUTF8, MSG_GET, &status), TWRC_SUCCESS);
    if (status.UTF8string == nullptr) {
        return "<no text>";
    }
    const char* text = static_cast<const char*>(GlobalLock(status.UTF8string));
    std::string copy(text);
    GlobalUnlock(status.UTF8string);
    GlobalFree(status.UTF8string);
    EXPECT_EQ(status.Size, copy.size());
    return copy;
}

// The source opened through the TWAIN 2 Source Manager, on the capability
// file as shipped; the file found is put back at the end. No message box
// may appear.
class Twain2Session : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(CopyFileA(BuildFolderFile("shipped\\Tz600a.src").c_str(),
                              CapabilityFilePath().c_str(), FALSE));
        ASSERT_TRUE(OpenSourceManagerLibrary(app_, "TWAINDSM.DLL"));
        ASSERT_TRUE(OpenSourceNamed(app_, "Camera"));
        ASSERT_TRUE(InTwain2Session(app_));
    }

    void TearDown() override
    {
        CloseSourceManager(app_);
        for (const CapturedBox& box : boxes_.Boxes()) {
            ADD_FAILURE() << "message box \"" << box.caption << "\": " << box.text;
        }
    }

    CapabilityReply Refused(TW_UINT16 cap, TW_UINT16 message)
    {
        CapabilityReply reply = AskCapability(app_, cap, message);
        EXPECT_EQ(reply.returnCode, TWRC_FAILURE);
        EXPECT_FALSE(reply.hasContainer);
        return reply;
    }

    // Enables the source and waits until its album window is ready.
    void EnableUntilAlbumReady()
    {
        ASSERT_TRUE(EnableSource(app_, true));
        ASSERT_TRUE(PumpUntilAlbumReady(app_, AlbumWindow(), kAlbumTimeout));
    }

    SavedFile capabilities_{CapabilityFilePath()};
    MessageBoxCapture boxes_;
    TwainApp app_ = {};
};

TEST_F(Twain2Session, QueriesTellWhatEachListedCapabilityOffersAndAllOfItSucceeds)
{
    const std::vector<TW_UINT16> caps = Items(AskCapability(app_, CAP_SUPPORTEDCAPS, MSG_GET));
    ASSERT_EQ(caps.size(), 19u);
    for (TW_UINT16 cap : caps) {
        const std::string name = CapabilityName(cap);
        SCOPED_TRACE(name);
        const CapabilityReply query = AskCapability(app_, cap, MSG_QUERYSUPPORT);
        EXPECT_EQ(AsOneValue(query).ItemType, TWTY_INT32);
        // Every capability of the file can be read; those with a Set list
        // can be set and reset.
        const bool settable = !CapabilityKey(name.c_str(), "Set").empty();
        ASSERT_EQ(OneValueItem(query), kReadable | (settable ? TWQC_SET | TWQC_RESET : 0));

        EXPECT_EQ(AskCapability(app_, cap, MSG_GET).returnCode, TWRC_SUCCESS);
        const TW_UINT16 oneValueOrArray = cap == CAP_SUPPORTEDCAPS ? TWON_ARRAY : TWON_ONEVALUE;
        EXPECT_EQ(AskCapability(app_, cap, MSG_GETDEFAULT).conType, oneValueOrArray);
        const CapabilityReply current = AskCapability(app_, cap, MSG_GETCURRENT);
        ASSERT_EQ(current.conType, oneValueOrArray);

        // The current value set back is kept.
        const CapabilityReply set = SetCapability(app_, cap, current.conType, current.block);
        const CapabilityReply reset = AskCapability(app_, cap, MSG_RESET);
        if (settable) {
            EXPECT_EQ(set.returnCode, TWRC_SUCCESS);
            EXPECT_EQ(AskCapability(app_, cap, MSG_GETCURRENT).block, current.block);
            EXPECT_EQ(reset.returnCode, TWRC_SUCCESS);
        } else {
            EXPECT_EQ(set.conditionCode, TWCC_CAPBADOPERATION);
            EXPECT_EQ(reset.conditionCode, TWCC_CAPBADOPERATION);
        }
    }
}

TEST_F(Twain2Session, RefusalsCarryTheCodesOfTwain2AndTheirTextsWithoutABox)
{
    for (TW_UINT16 message : {MSG_QUERYSUPPORT, MSG_GET, MSG_RESET}) {
        EXPECT_EQ(Refused(kUnnamedCap, message).conditionCode, TWCC_CAPUNSUPPORTED);
    }
    EXPECT_EQ(SetCapability(app_, kUnnamedCap, TWON_ONEVALUE, OneValueBytes(TWTY_UINT16, 0))
                  .conditionCode,
              TWCC_CAPUNSUPPORTED);
    for (TW_UINT16 message : {MSG_GETFIRST, MSG_GETNEXT}) {
        EXPECT_EQ(Refused(ICAP_XFERMECH, message).conditionCode, TWCC_CAPBADOPERATION);
    }
    // A value that Allowed does not list: no "IsCapAllowed" box.
    EXPECT_EQ(SetCapability(app_, ICAP_XFERMECH, TWON_ONEVALUE, OneValueBytes(TWTY_UINT16, 3))
                  .conditionCode,
              TWCC_BADVALUE);

    EnableUntilAlbumReady();
    EXPECT_EQ(Refused(0, MSG_RESETALL).conditionCode, TWCC_CAPSEQERROR);
    EXPECT_FALSE(EnableSource(app_, true));
    EXPECT_EQ(ConditionCode(app_), TWCC_SEQERROR);
    // A box that answers the user's own action stays: UpLoad with nothing
    // selected, pressed again should the button's guard pass over a press.
    for (int press = 0; press < 100 && boxes_.Boxes().empty(); ++press) {
        PumpApplication(app_, 50);
        SendMessageA(GetDlgItem(AlbumWindow(), IDC_UPLOAD), BM_CLICK, 0, 0);
    }
    ASSERT_EQ(boxes_.Boxes().size(), 1u);
    EXPECT_EQ(boxes_.Boxes()[0].text, "No select image to upload!");
    boxes_.Clear();
    EXPECT_TRUE(DisableSource(app_, true));

    EXPECT_EQ(StatusText(app_, TWCC_CAPUNSUPPORTED), "Capability not supported by the source.");
    EXPECT_EQ(StatusText(app_, TWCC_CAPBADOPERATION), "Operation not supported by the capability.");
    EXPECT_EQ(StatusText(app_, TWCC_CAPSEQERROR),
              "Capability operation is out of expected sequence.");
    EXPECT_EQ(StatusText(app_, TWCC_SEQERROR), "DG DAT MSG is out of expected sequence.");
    EXPECT_EQ(StatusText(app_, 200), "Unknown Error value in condition code.");
}

TEST_F(Twain2Session, ResetAllResetsEveryCapabilityOfTheFileInStateFourOnly)
{
    ASSERT_EQ(
        SetCapability(app_, ICAP_XFERMECH, TWON_ONEVALUE, OneValueBytes(TWTY_UINT16, TWSX_MEMORY))
            .returnCode,
        TWRC_SUCCESS);
    ASSERT_EQ(
        SetCapability(app_, CAP_XFERCOUNT, TWON_ONEVALUE, OneValueBytes(TWTY_INT16, 3)).returnCode,
        TWRC_SUCCESS);
    WriteCapabilityKey("ICAP_XFERMECH", "Allowed", "TWSX_MEMORY");

    EXPECT_EQ(AskCapability(app_, 0, MSG_RESETALL).returnCode, TWRC_SUCCESS);
    EXPECT_EQ(ConditionCode(app_), TWCC_SUCCESS);
    EXPECT_EQ(CapabilityKey("ICAP_XFERMECH", "Current"), "TWSX_NATIVE");
    EXPECT_EQ(CapabilityKey("ICAP_XFERMECH", "Allowed"), "TWSX_NATIVE,TWSX_FILE,TWSX_MEMORY");
    EXPECT_EQ(OneValueItem(AskCapability(app_, CAP_XFERCOUNT, MSG_GETCURRENT)), 0xFFFFFFFFu);
    // Only capabilities are reset: the file's other sections stay as they are.
    EXPECT_EQ(CapabilityKey("ADF", "Current"), "<missing>");
    EXPECT_EQ(CapabilityKey("Setup Memory Transfer", "Allowed"), "<missing>");

    EnableUntilAlbumReady();
    ASSERT_EQ(
        SetCapability(app_, CAP_XFERCOUNT, TWON_ONEVALUE, OneValueBytes(TWTY_INT16, 3)).returnCode,
        TWRC_SUCCESS);
    EXPECT_EQ(Refused(0, MSG_RESETALL).conditionCode, TWCC_CAPSEQERROR);
    EXPECT_EQ(OneValueItem(AskCapability(app_, CAP_XFERCOUNT, MSG_GETCURRENT)), 3u);
    EXPECT_TRUE(DisableSource(app_, true));
}

// Applications probe a source as they open it; then the user uploads the
// three stills, which arrive as the four capabilities of every image source
// describe them. Refusals on the way, of the memory transfer too, show no
// box.
TEST_F(Twain2Session, AProbedSessionWithItsRefusalsTakesThePicturesTheCapabilitiesDescribe)
{
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    for (TW_UINT16 cap : Items(AskCapability(app_, CAP_SUPPORTEDCAPS, MSG_GET))) {
        EXPECT_EQ(AskCapability(app_, cap, MSG_QUERYSUPPORT).returnCode, TWRC_SUCCESS) << cap;
        EXPECT_EQ(AskCapability(app_, cap, MSG_GET).returnCode, TWRC_SUCCESS) << cap;
    }
    EXPECT_EQ(OneValueItem(AskCapability(app_, ICAP_PIXELFLAVOR, MSG_GET)), TWPF_CHOCOLATE);
    EXPECT_EQ(OneValueItem(AskCapability(app_, ICAP_PLANARCHUNKY, MSG_GET)), TWPC_CHUNKY);
    EXPECT_EQ(OneValueItem(AskCapability(app_, ICAP_BITORDER, MSG_GET)), TWBO_MSBFIRST);
    EXPECT_EQ(OneValueItem(AskCapability(app_, CAP_DEVICEONLINE, MSG_GET)), 1u);
    Refused(kUnnamedCap, MSG_QUERYSUPPORT);
    Refused(ICAP_PIXELFLAVOR, MSG_RESET);

    // Buffers down to 512 bytes are accepted: one of them holds no row.
    WriteCapabilityKey("Setup Memory Transfer", "Min", "512");
    EnableUntilAlbumReady();
    AlbumUser user = {};
    for (const DWORD start = GetTickCount();
         !PressUpLoadWhenReady(user) && GetTickCount() - start < kAlbumTimeout;) {
        PumpApplication(app_, 50);
    }
    ASSERT_TRUE(user.pressed);
    ASSERT_EQ(NextNotification(app_), MSG_XFERREADY);

    TW_IMAGEINFO info = {};
    ASSERT_EQ(CallSource(app_, DG_IMAGE, DAT_IMAGEINFO, MSG_GET, &info), TWRC_SUCCESS);
    EXPECT_EQ(info.Planar, FALSE);
    EXPECT_EQ(info.PixelType, TWPT_RGB);
    EXPECT_EQ(info.BitsPerPixel, 24);
    std::vector<unsigned char> buffer(512);
    TW_IMAGEMEMXFER strip = {};
    strip.Memory = {TWMF_APPOWNS | TWMF_POINTER, 512, buffer.data()};
    EXPECT_EQ(CallSource(app_, DG_IMAGE, DAT_IMAGEMEMXFER, MSG_GET, &strip), TWRC_FAILURE);
    // The 1001st call of a memory transfer gives it up.
    for (int call = 2; call <= 1000; ++call) {
        ASSERT_EQ(CallSource(app_, DG_IMAGE, DAT_IMAGEMEMXFER, MSG_SET, &strip), TWRC_FAILURE);
    }
    EXPECT_EQ(CallSource(app_, DG_IMAGE, DAT_IMAGEMEMXFER, MSG_GET, &strip), TWRC_XFERDONE);

    // The pictures are chocolate and chunky, 24 bits to a pixel: pixel for
    // pixel a decode of the camera's stills.
    TransferOptions transfers;
    transfers.outputFolder = EmptyFolder("twain2_session");
    EXPECT_EQ(TransferPictures(app_, transfers), 3);
    ExpectStillsSaved(transfers.outputFolder, SourceDirectory() + "Camera");
    EXPECT_TRUE(DisableSource(app_, true));
    EXPECT_TRUE(CloseOpenSource(app_));
    CoUninitialize();
}

TEST_F(Twain2Session, TheDeviceIsOnlineWhileTheCameraAnswers)
{
    EXPECT_EQ(OneValueItem(AskCapability(app_, CAP_DEVICEONLINE, MSG_GETCURRENT)), 1u);
    {
        const std::string settings = SourceDirectory() + "DSCLINK.INI";
        SavedFile installed(settings);
        WritePrivateProfileStringA("Fail", "GetFDBCount", "always", settings.c_str());
        EXPECT_EQ(OneValueItem(AskCapability(app_, CAP_DEVICEONLINE, MSG_GETCURRENT)), 0u);
        EXPECT_EQ(OneValueItem(AskCapability(app_, CAP_DEVICEONLINE, MSG_GETDEFAULT)), 1u);
    }
    EXPECT_EQ(OneValueItem(AskCapability(app_, CAP_DEVICEONLINE, MSG_GET)), 1u);
}

// Loaded straight, with no Source Manager to give entry points, the source
// answers as a TWAIN 1.x source: boxes and the codes of TWAIN 1.x, and no
// MSG_RESETALL or DAT_STATUSUTF8. It lists the capabilities every image
// source has too.
TEST(SessionWithoutEntryPoints, KeepsItsMessageBoxesAndCodes)
{
    SavedFile capabilities(CapabilityFilePath());
    ASSERT_TRUE(CopyFileA(BuildFolderFile("shipped\\Tz600a.src").c_str(),
                          CapabilityFilePath().c_str(), FALSE));
    SourceModule source;
    TW_IDENTITY identity = {};
    ASSERT_EQ(source.Call(DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, &identity), TWRC_SUCCESS);
    MessageBoxCapture boxes;

    EXPECT_EQ(Items(AskCapability(source, CAP_SUPPORTEDCAPS, MSG_GET)).size(), 19u);
    EXPECT_EQ(AsOneValue(AskCapability(source, ICAP_PIXELFLAVOR, MSG_GET)).Item, TWPF_CHOCOLATE);
    EXPECT_EQ(AskCapability(source, kUnnamedCap, MSG_GET).conditionCode, TWCC_BADCAP);
    EXPECT_EQ(AskCapability(source, ICAP_PIXELFLAVOR, MSG_RESET).conditionCode, TWCC_BADPROTOCOL);
    EXPECT_EQ(SetCapability(source, ICAP_PIXELFLAVOR, TWON_ONEVALUE, OneValueBytes(TWTY_UINT16, 0))
                  .conditionCode,
              TWCC_BADVALUE);
    EXPECT_TRUE(boxes.Boxes().empty());

    for (TW_UINT16 message : {MSG_QUERYSUPPORT, MSG_RESETALL}) {
        EXPECT_EQ(AskCapability(source, ICAP_XFERMECH, message).conditionCode, TWCC_BADPROTOCOL);
    }
    EXPECT_EQ(SetCapability(source, ICAP_XFERMECH, TWON_ONEVALUE, OneValueBytes(TWTY_UINT16, 3))
                  .conditionCode,
              TWCC_BADVALUE);
    TW_STATUSUTF8 status = {{TWCC_SEQERROR, 0}, 0, nullptr};
    EXPECT_EQ(source.Call(DG_CONTROL, DAT_STATUSUTF8, MSG_GET, &status), TWRC_FAILURE);
    EXPECT_EQ(source.ConditionCode(), TWCC_BADPROTOCOL);
    EXPECT_EQ(status.UTF8string, nullptr);

    const char refused[] = "General failure in response to DAT_CAPS.  Bad protocol error.";
    std::vector<std::string> texts;
    for (const CapturedBox& box : boxes.Boxes()) {
        texts.push_back(box.text);
    }
    EXPECT_EQ(texts, (std::vector<std::string>{refused, refused, "IsCapAllowed"}));
    EXPECT_EQ(source.Call(DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, &identity), TWRC_SUCCESS);
}

}  // namespace
