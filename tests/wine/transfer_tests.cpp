// Image transfers through DS_Entry: pictures queued as the album queues them,
// fetched by native, memory and file transfer and compared byte for byte
// with their transfer files, with the refusals the user sees.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "source/transfer_queue.h"
#include "support/bmp_files.h"
#include "support/linked_source.h"
#include "support/message_boxes.h"
#include "support/prefix_files.h"
#include "support/recording_manager.h"

namespace {

const char kCaption[] = "Zc600a Source Error";

class TransferTest : public testing::Test {
protected:
    // The memory-transfer settings of a capability file that lacks them.
    void SetUp() override { SetCapability("Setup Memory Transfer", nullptr, nullptr); }

    void ExpectOneBox(const std::string& text, const std::string& caption = kCaption)
    {
        ASSERT_EQ(boxes_.Boxes().size(), 1u) << "expected: " << text;
        EXPECT_EQ(boxes_.Boxes()[0].text, text);
        EXPECT_EQ(boxes_.Boxes()[0].caption, caption);
        EXPECT_EQ(boxes_.Boxes()[0].owner, nullptr);
        boxes_.Clear();
    }

    void SetCapability(const char* section, const char* key, const char* value)
    {
        WritePrivateProfileStringA(section, key, value, CapabilityFilePath().c_str());
    }

    TW_UINT16 EndTransfer(TW_UINT16& count)
    {
        TW_PENDINGXFERS pending = {0xEEEE, {0}};
        const TW_UINT16 rc = source_.Call(DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, &pending);
        count = pending.Count;
        return rc;
    }

    // One call, with every field but the buffer left as TWON_DONTCARE32, as
    // applications leave them.
    TW_UINT16 MemoryStrip(TW_IMAGEMEMXFER& transfer, Bytes& buffer)
    {
        memset(&transfer, 0xFF, sizeof transfer);
        transfer.Memory.Flags = TWMF_APPOWNS | TWMF_POINTER;
        transfer.Memory.Length = static_cast<TW_UINT32>(buffer.size());
        transfer.Memory.TheMem = buffer.data();
        return source_.Call(DG_IMAGE, DAT_IMAGEMEMXFER, MSG_GET, &transfer);
    }

    // Runs a memory transfer with the given buffer size to its end and
    // returns what it delivered, checking every strip's description.
    Bytes MemoryTransfer(size_t bufferSize, TW_UINT32 width)
    {
        Bytes delivered;
        Bytes buffer(bufferSize);
        TW_IMAGEMEMXFER transfer;
        TW_UINT16 rc;
        while ((rc = MemoryStrip(transfer, buffer)) == TWRC_SUCCESS) {
            EXPECT_EQ(transfer.Columns, width);
            EXPECT_EQ(transfer.BytesPerRow, width * 3);
            EXPECT_EQ(transfer.BytesWritten, transfer.Rows * width * 3);
            EXPECT_EQ(transfer.YOffset, delivered.size() / (width * 3));
            EXPECT_EQ(transfer.Compression, TWCP_NONE);
            delivered.insert(delivered.end(), buffer.begin(),
                             buffer.begin() + transfer.BytesWritten);
        }
        EXPECT_EQ(rc, TWRC_XFERDONE);
        ExpectClosingCall(transfer, width, static_cast<TW_UINT32>(delivered.size() / (width * 3)));
        return delivered;
    }

    // The call that ends a picture carries no rows and describes the picture.
    static void ExpectClosingCall(const TW_IMAGEMEMXFER& transfer, TW_UINT32 width,
                                  TW_UINT32 rowsDelivered)
    {
        EXPECT_EQ(transfer.Rows, 0u);
        EXPECT_EQ(transfer.BytesWritten, 0u);
        EXPECT_EQ(transfer.Columns, width);
        EXPECT_EQ(transfer.BytesPerRow, width * 3);
        EXPECT_EQ(transfer.Compression, TWCP_NONE);
        EXPECT_EQ(transfer.XOffset, 0u);
        EXPECT_EQ(transfer.YOffset, rowsDelivered);
    }

    SavedFile capabilities_{CapabilityFilePath()};
    MessageBoxCapture boxes_;
    TransferFiles files_;
    LinkedSource source_;
};

TEST_F(TransferTest, EachEndOfTransferDeletesItsFileAndCountsDownInStateSix)
{
    const std::string first = files_.Put(9001, MakeBmp(8, 4, 24, 1));
    const std::string second = files_.Put(9002, MakeBmp(8, 4, 24, 2));
    const std::string third = files_.Put(9003, MakeBmp(8, 4, 24, 3));
    source_.QueuePictures({9001, 9002, 9003});
    ASSERT_EQ(source_.State(), kStateTransferReady);

    TW_UINT16 count = 0;
    EXPECT_EQ(EndTransfer(count), TWRC_SUCCESS);
    EXPECT_EQ(count, 2);
    EXPECT_FALSE(FileExists(first));
    EXPECT_TRUE(FileExists(second));
    EXPECT_EQ(std::string(g_transferQueue.currentFile), second);
    EXPECT_EQ(EndTransfer(count), TWRC_SUCCESS);
    EXPECT_EQ(count, 1);
    EXPECT_FALSE(FileExists(second));
    EXPECT_EQ(EndTransfer(count), TWRC_SUCCESS);
    EXPECT_EQ(count, 0);
    EXPECT_FALSE(FileExists(third));
    EXPECT_EQ(source_.State(), kStateTransferReady);
    EXPECT_TRUE(boxes_.Boxes().empty());
}

TEST_F(TransferTest, EndsBeyondTheQueueAnswerZeroAndDeleteNothing)
{
    files_.Put(9001, MakeBmp(8, 4, 24));
    source_.QueuePictures({9001});
    // Files that the numbers behind the queue would name.
    const std::string unqueued = files_.Put(0, MakeBmp(8, 4, 24));
    TW_UINT16 count = 0;
    EXPECT_EQ(EndTransfer(count), TWRC_SUCCESS);
    for (int i = 0; i < 3; ++i) {
        count = 0xEEEE;
        EXPECT_EQ(EndTransfer(count), TWRC_SUCCESS);
        EXPECT_EQ(count, 0);
    }
    EXPECT_TRUE(FileExists(unqueued));
    EXPECT_EQ(g_transferQueue.currentIndex, 1);
    EXPECT_TRUE(boxes_.Boxes().empty());
}

TEST_F(TransferTest, PendingCountComesFromTheCapabilityFileAndResetGoesToStateFive)
{
    files_.Put(9001, MakeBmp(8, 4, 24));
    files_.Put(9002, MakeBmp(8, 4, 24));
    SetCapability("ADF", "PendingImages", "7");
    TW_PENDINGXFERS pending = {};
    EXPECT_EQ(source_.Call(DG_CONTROL, DAT_PENDINGXFERS, MSG_GET, &pending), TWRC_SUCCESS);
    EXPECT_EQ(pending.Count, 7);

    source_.QueuePictures({9001, 9002});
    EXPECT_EQ(source_.Call(DG_CONTROL, DAT_PENDINGXFERS, MSG_GET, &pending), TWRC_SUCCESS);
    EXPECT_EQ(pending.Count, 7);

    pending.Count = 0xEEEE;
    EXPECT_EQ(source_.Call(DG_CONTROL, DAT_PENDINGXFERS, MSG_RESET, &pending), TWRC_SUCCESS);
    EXPECT_EQ(pending.Count, 0);
    EXPECT_EQ(source_.State(), kStateSourceEnabled);
    char value[16] = "";
    GetPrivateProfileStringA("ADF", "PendingImages", "", value, sizeof value,
                             CapabilityFilePath().c_str());
    EXPECT_STREQ(value, "0");
    // The queue and its files stay as they were.
    EXPECT_EQ(g_transferQueue.pendingCount, 2);
    EXPECT_TRUE(FileExists(TransferFilePath(9001)));
    EXPECT_TRUE(boxes_.Boxes().empty());

    EXPECT_EQ(source_.Call(DG_CONTROL, DAT_PENDINGXFERS, MSG_RESET, &pending), TWRC_FAILURE);
    ExpectOneBox("General failure in response to DAT_PENDINGXFER.  DG DAT MSG is out of expected "
                 "sequence.");
    EXPECT_EQ(source_.ConditionCode(), TWCC_SEQERROR);
}

TEST_F(TransferTest, PendingTransfersLookAtTheMessageBeforeTheState)
{
    TW_IDENTITY identity = {};
    ASSERT_EQ(source_.Call(DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, &identity), TWRC_SUCCESS);
    TW_PENDINGXFERS pending = {};
    EXPECT_EQ(source_.Call(DG_CONTROL, DAT_PENDINGXFERS, MSG_SET, &pending), TWRC_FAILURE);
    ExpectOneBox("General failure in response to DAT_PENDINGXFER.  Bad protocol error.");
    EXPECT_EQ(source_.ConditionCode(), TWCC_BADPROTOCOL);
    EXPECT_EQ(source_.Call(DG_CONTROL, DAT_PENDINGXFERS, MSG_GET, &pending), TWRC_FAILURE);
    ExpectOneBox("General failure in response to DAT_PENDINGXFER.  DG DAT MSG is out of expected "
                 "sequence.");
    EXPECT_EQ(source_.ConditionCode(), TWCC_SEQERROR);
    // Ending a transfer is accepted in every state.
    EXPECT_EQ(source_.Call(DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, &pending), TWRC_SUCCESS);
    EXPECT_TRUE(boxes_.Boxes().empty());
}

TEST_F(TransferTest, SetUpTripletsAnswerFromTheCapabilityFileAndTheirRefusals)
{
    TW_SETUPMEMXFER setup = {};
    ASSERT_EQ(source_.Call(DG_CONTROL, DAT_SETUPMEMXFER, MSG_GET, &setup), TWRC_SUCCESS);
    EXPECT_EQ(setup.MinBufSize, 512u);
    EXPECT_EQ(setup.MaxBufSize, 2048u);
    EXPECT_EQ(setup.Preferred, 1024u);
    SetCapability("Setup Memory Transfer", "Max", "8000");
    SetCapability("Setup Memory Transfer", "Preferred", nullptr);
    ASSERT_EQ(source_.Call(DG_CONTROL, DAT_SETUPMEMXFER, MSG_GET, &setup), TWRC_SUCCESS);
    EXPECT_EQ(setup.MaxBufSize, 8000u);
    EXPECT_EQ(setup.Preferred, 1024u);
    EXPECT_EQ(source_.Call(DG_CONTROL, DAT_SETUPMEMXFER, MSG_SET, &setup), TWRC_FAILURE);
    ExpectOneBox("General failure in response to DAT_SETUPMEMXFER, not supported.  Bad protocol "
                 "error.");

    TW_UINT32 group = 0;
    EXPECT_EQ(source_.Call(DG_CONTROL, DAT_XFERGROUP, MSG_SET, &group), TWRC_SUCCESS);
    for (TW_UINT16 msg : {MSG_GET, MSG_GETCURRENT, MSG_GETDEFAULT, MSG_RESET}) {
        group = 0;
        EXPECT_EQ(source_.Call(DG_CONTROL, DAT_XFERGROUP, msg, &group), TWRC_SUCCESS);
        EXPECT_EQ(group, DG_IMAGE);
    }
    EXPECT_EQ(source_.Call(DG_CONTROL, DAT_XFERGROUP, MSG_GETNEXT, &group), TWRC_FAILURE);
    ExpectOneBox("General failure in response to DAT_XFERGROUP, not supported.  Bad protocol "
                 "error.");

    TW_IDENTITY identity = {};
    ASSERT_EQ(source_.Call(DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, &identity), TWRC_SUCCESS);
    EXPECT_EQ(source_.Call(DG_CONTROL, DAT_SETUPMEMXFER, MSG_GET, &setup), TWRC_FAILURE);
    ExpectOneBox("General failure in response to DAT_SETUPMEMXFER, not supported.  DG DAT MSG is "
                 "out of expected sequence.");
    EXPECT_EQ(source_.Call(DG_CONTROL, DAT_XFERGROUP, MSG_GET, &group), TWRC_FAILURE);
    ExpectOneBox("General failure in response to DAT_XFERGROUP, not supported.  DG DAT MSG is out "
                 "of expected sequence.");
    TW_SETUPFILEXFER file = {};
    EXPECT_EQ(source_.Call(DG_CONTROL, DAT_SETUPFILEXFER, MSG_GET, &file), TWRC_FAILURE);
    ExpectOneBox("General failure in response to DAT_SETUPFILEXFER, not supported.  DG DAT MSG "
                 "is out of expected sequence.");
}

TEST_F(TransferTest, ImageInformationComesFromTheTransferFileHeaders)
{
    files_.Put(9001, MakeBmp(640, 480, 24));
    files_.Put(9002, MakeBmp(33, 20, 8));
    source_.QueuePictures({9001, 9002});
    TW_IMAGEINFO info = {};
    ASSERT_EQ(source_.Call(DG_IMAGE, DAT_IMAGEINFO, MSG_GET, &info), TWRC_SUCCESS);
    EXPECT_EQ(info.ImageWidth, 640);
    EXPECT_EQ(info.ImageLength, 480);
    EXPECT_EQ(info.XResolution.Whole, 2835);
    EXPECT_EQ(info.YResolution.Whole, 3780);
    EXPECT_EQ(info.BitsPerPixel, 24);
    EXPECT_EQ(info.SamplesPerPixel, 3);
    EXPECT_EQ(info.BitsPerSample[0], 8);
    EXPECT_EQ(info.BitsPerSample[2], 8);
    EXPECT_EQ(info.PixelType, TWPT_RGB);
    EXPECT_EQ(info.Compression, TWCP_NONE);

    TW_UINT16 count;
    EndTransfer(count);
    info = {};
    ASSERT_EQ(source_.Call(DG_IMAGE, DAT_IMAGEINFO, MSG_GET, &info), TWRC_SUCCESS);
    EXPECT_EQ(info.ImageWidth, 33);
    EXPECT_EQ(info.BitsPerPixel, 8);
    EXPECT_EQ(info.SamplesPerPixel, 1);
    EXPECT_EQ(info.BitsPerSample[0], 8);
    EXPECT_EQ(info.BitsPerSample[1], 0);
    EXPECT_EQ(info.PixelType, TWPT_PALETTE);
    EXPECT_TRUE(boxes_.Boxes().empty());
}

TEST_F(TransferTest, ImageInformationRefusalsNameTheFileProblem)
{
    const Bytes good = MakeBmp(16, 16, 24);
    Bytes wrongType = good;
    wrongType[0] = 'X';
    Bytes coreHeader = good;
    coreHeader[14] = 12;
    files_.Put(9001, Bytes(good.begin(), good.begin() + 10));
    files_.Put(9002, wrongType);
    files_.Put(9003, Bytes(good.begin(), good.begin() + 40));
    files_.Put(9004, coreHeader);
    source_.QueuePictures({9001, 9002, 9003, 9004, 9005});
    const struct {
        const char* text;
        TW_UINT16 condition;
    } expected[] = {
        {"General failure in transfer reading file header.  Bummer error.", TWCC_BUMMER},
        {"General failure in transfer file is wrong type.  Bad value error.", TWCC_BADVALUE},
        {"General failure in transfer reading file info header.  Bummer error.", TWCC_BUMMER},
        {"General failure in transfer bad info header info.  Bad value error.", TWCC_BADVALUE},
        {"General failure in transfer file open.  An operation error just occurred.",
         TWCC_OPERATIONERROR},
    };
    for (const auto& refusal : expected) {
        TW_IMAGEINFO info = {};
        EXPECT_EQ(source_.Call(DG_IMAGE, DAT_IMAGEINFO, MSG_GET, &info), TWRC_FAILURE);
        ExpectOneBox(refusal.text);
        EXPECT_EQ(source_.ConditionCode(), refusal.condition);
        TW_UINT16 count;
        EndTransfer(count);
    }
    TW_IMAGEINFO info = {};
    EXPECT_EQ(source_.Call(DG_IMAGE, DAT_IMAGEINFO, MSG_SET, &info), TWRC_FAILURE);
    ExpectOneBox("General failure in transfer.  Bad protocol error.");
    TW_PENDINGXFERS pending = {};
    source_.Call(DG_CONTROL, DAT_PENDINGXFERS, MSG_RESET, &pending);
    EXPECT_EQ(source_.Call(DG_IMAGE, DAT_IMAGEINFO, MSG_GET, &info), TWRC_FAILURE);
    ExpectOneBox("General failure in transfer.  DG DAT MSG is out of expected sequence.");
}

TEST_F(TransferTest, NativeTransferHandsOverTheFileAsAPackedDib)
{
    const Bytes picture = MakeBmp(640, 480, 24);
    const Bytes palette = MakeBmp(31, 7, 8);
    files_.Put(9001, picture);
    files_.Put(9002, palette);
    source_.QueuePictures({9001, 9002});
    for (const Bytes* file : {&picture, &palette}) {
        // Every byte of the pointer-sized handle is written: one left over
        // from before would make it no block at all.
        TW_HANDLE handle;
        memset(&handle, 0x55, sizeof handle);
        ASSERT_EQ(source_.Call(DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, &handle), TWRC_XFERDONE);
        ASSERT_NE(GlobalSize(handle), 0u);
        const Bytes dib = TakeGlobalBlock(handle);
        // The packed DIB is the file without its 14-byte file header, the
        // colour count filled in.
        Bytes expected(file->begin() + 14, file->end());
        const DWORD colors = file == &palette ? 256 : 0;
        memcpy(expected.data() + offsetof(BITMAPINFOHEADER, biClrUsed), &colors, sizeof colors);
        EXPECT_TRUE(dib == expected);
        EXPECT_EQ(source_.State(), kStateTransferReady);
        TW_UINT16 count;
        EndTransfer(count);
    }
    EXPECT_TRUE(boxes_.Boxes().empty());
}

// Given a TWAIN 2 manager's entry points before the open, the source sends
// its notifications through that manager's DSM_Entry and hands over pictures
// and containers in its memory, until the close.
TEST_F(TransferTest, ManagerEntryPointsCarryNotificationsAndHandedOverMemory)
{
    TW_IDENTITY identity = {};
    source_.Call(DG_CONTROL, DAT_IDENTITY, MSG_GET, &identity);
    ASSERT_EQ(source_.Call(DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, &identity), TWRC_SUCCESS);
    RecordedManagerCalls() = {};
    TW_ENTRYPOINT given = RecordingEntryPoints();
    ASSERT_EQ(source_.Call(DG_CONTROL, DAT_ENTRYPOINT, MSG_SET, &given), TWRC_SUCCESS);
    ASSERT_EQ(source_.Call(DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, &identity), TWRC_SUCCESS);

    const Bytes picture = MakeBmp(33, 7, 24);
    files_.Put(9001, picture);
    source_.QueuePictures({9001});
    TW_HANDLE handle = nullptr;
    ASSERT_EQ(source_.Call(DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, &handle), TWRC_XFERDONE);
    EXPECT_TRUE(TakeGlobalBlock(handle) == Bytes(picture.begin() + 14, picture.end()));
    TW_CAPABILITY capability = {ICAP_XFERMECH, TWON_DONTCARE16, nullptr};
    ASSERT_EQ(source_.Call(DG_CONTROL, DAT_CAPABILITY, MSG_GET, &capability), TWRC_SUCCESS);
    const Bytes container = TakeGlobalBlock(capability.hContainer);
    ASSERT_GE(container.size(), sizeof(TW_ENUMERATION));
    EXPECT_EQ(reinterpret_cast<const TW_ENUMERATION*>(container.data())->NumItems, 3u);
    // Nothing of the manager's filling is left in the block.
    EXPECT_EQ(std::count(container.begin(), container.end(), 0xA5), 0);

    const ManagerCalls& calls = RecordedManagerCalls();
    EXPECT_EQ(calls.notifications, std::vector<TW_UINT16>{MSG_XFERREADY});
    EXPECT_EQ(calls.allocations, 2);
    EXPECT_EQ(calls.frees, 0);
    EXPECT_EQ(calls.locks, calls.unlocks);

    // The close ends the entry points: the next session is TWAIN 1.x again.
    TW_PENDINGXFERS pending = {};
    source_.Call(DG_CONTROL, DAT_PENDINGXFERS, MSG_RESET, &pending);
    ASSERT_EQ(source_.Call(DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, &identity), TWRC_SUCCESS);
    ASSERT_EQ(source_.Call(DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, &identity), TWRC_SUCCESS);
    source_.QueuePictures({9001});
    ASSERT_EQ(source_.Call(DG_CONTROL, DAT_CAPABILITY, MSG_GET, &capability), TWRC_SUCCESS);
    GlobalFree(capability.hContainer);
    EXPECT_EQ(calls.notifications.size(), 1u);
    EXPECT_EQ(calls.allocations, 2);
}

TEST_F(TransferTest, NativeTransferOfAMissingFileFailsWithoutAHandle)
{
    source_.QueuePictures({9001});
    TW_HANDLE handle;
    memset(&handle, 0xEE, sizeof handle);
    EXPECT_EQ(source_.Call(DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, &handle), TWRC_FAILURE);
    EXPECT_EQ(handle, nullptr);
    ExpectOneBox("General failure in response to DAT_IMAGENATIVEXFER.  An operation error just "
                 "occurred.");
    EXPECT_EQ(source_.ConditionCode(), TWCC_OPERATIONERROR);
    EXPECT_EQ(source_.Call(DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_SET, &handle), TWRC_FAILURE);
    ExpectOneBox("General failure in response to DAT_IMAGENATIVEXFER.  Bad protocol error.");
    TW_PENDINGXFERS pending = {};
    source_.Call(DG_CONTROL, DAT_PENDINGXFERS, MSG_RESET, &pending);
    EXPECT_EQ(source_.Call(DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, &handle), TWRC_FAILURE);
    ExpectOneBox("General failure in response to DAT_IMAGENATIVEXFER.  DG DAT MSG is out of "
                 "expected sequence.");
}

TEST_F(TransferTest, MemoryTransferOf640x480ComesAsOneRowStripsTopRowFirstInRgb)
{
    const Bytes picture = MakeBmp(640, 480, 24);
    files_.Put(9001, picture);
    source_.QueuePictures({9001});
    Bytes buffer(2048);
    Bytes delivered;
    TW_IMAGEMEMXFER transfer;
    for (int strip = 0; strip < 480; ++strip) {
        ASSERT_EQ(MemoryStrip(transfer, buffer), TWRC_SUCCESS) << "strip " << strip;
        ASSERT_EQ(transfer.Rows, 1u);
        ASSERT_EQ(transfer.YOffset, static_cast<TW_UINT32>(strip));
        ASSERT_EQ(transfer.BytesWritten, 1920u);
        EXPECT_EQ(transfer.XOffset, 0u);
        delivered.insert(delivered.end(), buffer.begin(), buffer.begin() + 1920);
    }
    EXPECT_EQ(MemoryStrip(transfer, buffer), TWRC_XFERDONE);
    ExpectClosingCall(transfer, 640, 480);
    EXPECT_TRUE(delivered == TopDownRgbRows(picture));
    EXPECT_TRUE(boxes_.Boxes().empty());
}

TEST_F(TransferTest, MemoryTransferFillsLargerBuffersWithWholeRows)
{
    const Bytes picture = MakeBmp(301, 199, 24);
    files_.Put(9001, picture);
    files_.Put(9002, picture);
    source_.QueuePictures({9001, 9002});
    SetCapability("Setup Memory Transfer", "Max", "20000");
    EXPECT_TRUE(MemoryTransfer(20000, 301) == TopDownRgbRows(picture));
    TW_UINT16 count;
    EndTransfer(count);

    // A buffer given as a global memory handle is locked and filled.
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 2000);
    TW_IMAGEMEMXFER transfer = {};
    transfer.Memory.Flags = TWMF_APPOWNS | TWMF_HANDLE;
    transfer.Memory.Length = 2000;
    transfer.Memory.TheMem = block;
    ASSERT_EQ(source_.Call(DG_IMAGE, DAT_IMAGEMEMXFER, MSG_GET, &transfer), TWRC_SUCCESS);
    EXPECT_EQ(transfer.Rows, 2u);
    const Bytes strip = TakeGlobalBlock(block);
    const Bytes expected = TopDownRgbRows(picture);
    EXPECT_TRUE(Bytes(strip.begin(), strip.begin() + 1806) ==
                Bytes(expected.begin(), expected.begin() + 1806));
    EXPECT_TRUE(boxes_.Boxes().empty());
}

TEST_F(TransferTest, A1280WidePictureIsRefusedAtTheDefaultLimits)
{
    files_.Put(9001, MakeBmp(1280, 960, 24));
    source_.QueuePictures({9001});
    Bytes large(4096);
    TW_IMAGEMEMXFER transfer;
    EXPECT_EQ(MemoryStrip(transfer, large), TWRC_FAILURE);
    EXPECT_TRUE(boxes_.Boxes().empty());
    EXPECT_EQ(source_.ConditionCode(), TWCC_SUCCESS);
    Bytes small(511);
    EXPECT_EQ(MemoryStrip(transfer, small), TWRC_FAILURE);
    EXPECT_TRUE(boxes_.Boxes().empty());

    Bytes within(2048);
    EXPECT_EQ(MemoryStrip(transfer, within), TWRC_FAILURE);
    ASSERT_EQ(boxes_.Boxes().size(), 1u);
    EXPECT_EQ(boxes_.Boxes()[0].text, "Buffer is too small for strip transfers");
    EXPECT_EQ(boxes_.Boxes()[0].owner, nullptr);
    EXPECT_EQ(source_.ConditionCode(), TWCC_SUCCESS);
}

TEST_F(TransferTest, MemoryTransferIsGivenUpAtThe1001stCall)
{
    // 300 bytes a row: one row in each 512-byte strip, 1010 strips needed.
    files_.Put(9001, MakeBmp(100, 1010, 24));
    source_.QueuePictures({9001});
    Bytes buffer(512);
    TW_IMAGEMEMXFER transfer;
    // Refused calls count as well.
    EXPECT_EQ(source_.Call(DG_IMAGE, DAT_IMAGEMEMXFER, MSG_SET, &transfer), TWRC_FAILURE);
    ExpectOneBox("General failure in response to DAT_IMAGEINFO.  Bad protocol error.");
    Bytes tooLarge(4000);
    EXPECT_EQ(MemoryStrip(transfer, tooLarge), TWRC_FAILURE);
    for (int call = 3; call <= 1000; ++call) {
        ASSERT_EQ(MemoryStrip(transfer, buffer), TWRC_SUCCESS) << "call " << call;
    }
    EXPECT_EQ(transfer.YOffset, 997u);
    EXPECT_TRUE(boxes_.Boxes().empty());
    EXPECT_EQ(MemoryStrip(transfer, buffer), TWRC_XFERDONE);
    ExpectClosingCall(transfer, 100, 998);
    ExpectOneBox("The source aborts a memory transfer", "Zc600a Source");
    // The next transfer of the picture starts again from its top row.
    EXPECT_EQ(MemoryStrip(transfer, buffer), TWRC_SUCCESS);
    EXPECT_EQ(transfer.YOffset, 0u);
}

TEST_F(TransferTest, AbandonedMemoryTransfersLeaveTheNextOneAtTheTopRow)
{
    const Bytes picture = MakeBmp(640, 48, 24);
    for (int number : {9001, 9002, 9003}) {
        files_.Put(number, picture);
    }
    source_.QueuePictures({9001, 9002, 9003});
    Bytes buffer(2048);
    TW_IMAGEMEMXFER transfer;
    for (int strip = 0; strip < 5; ++strip) {
        MemoryStrip(transfer, buffer);
    }
    ASSERT_EQ(transfer.YOffset, 4u);
    TW_UINT16 count;
    EndTransfer(count);
    EXPECT_FALSE(FileExists(TransferFilePath(9001)));
    EXPECT_TRUE(MemoryTransfer(2048, 640) == TopDownRgbRows(picture));
    EndTransfer(count);

    MemoryStrip(transfer, buffer);
    TW_PENDINGXFERS pending = {};
    ASSERT_EQ(source_.Call(DG_CONTROL, DAT_PENDINGXFERS, MSG_RESET, &pending), TWRC_SUCCESS);
    // The album announces the remaining picture again.
    source_.QueuePictures({9003});
    EXPECT_TRUE(MemoryTransfer(2048, 640) == TopDownRgbRows(picture));

    MemoryStrip(transfer, buffer);
    MemoryStrip(transfer, buffer);
    source_.QueuePictures({9003});
    EXPECT_TRUE(MemoryTransfer(2048, 640) == TopDownRgbRows(picture));
    EXPECT_TRUE(boxes_.Boxes().empty());
}

TEST_F(TransferTest, MemoryTransferTakesItsLimitsFromTheFileAsItIsAtEachCall)
{
    const std::string path = files_.Put(9001, MakeBmp(640, 5, 24));
    source_.QueuePictures({9001});
    // Limits read from a file written long ago are kept while it stays so.
    SetCapability("Setup Memory Transfer", "Max", "2048");
    AgeFile(CapabilityFilePath(), 60);
    Bytes buffer(2048);
    Bytes large(4000);
    TW_IMAGEMEMXFER transfer;
    ASSERT_EQ(MemoryStrip(transfer, buffer), TWRC_SUCCESS);
    // Between calls the transfer file is free for others to take.
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(file, INVALID_HANDLE_VALUE);
    CloseHandle(file);
    EXPECT_EQ(MemoryStrip(transfer, large), TWRC_FAILURE);
    // A file of the same size with another value.
    SetCapability("Setup Memory Transfer", "Max", "4000");
    ASSERT_EQ(MemoryStrip(transfer, large), TWRC_SUCCESS);
    EXPECT_EQ(transfer.Rows, 2u);
    EXPECT_EQ(transfer.YOffset, 1u);
    SetCapability("Setup Memory Transfer", "Min", "2049");
    EXPECT_EQ(MemoryStrip(transfer, buffer), TWRC_FAILURE);
    ASSERT_EQ(MemoryStrip(transfer, large), TWRC_SUCCESS);
    EXPECT_EQ(transfer.YOffset, 3u);
    EXPECT_TRUE(boxes_.Boxes().empty());
}

TEST_F(TransferTest, MemoryTransferRefusesPicturesItCannotCut)
{
    files_.Put(9001, MakeBmp(64, 8, 8));
    files_.Put(9002, MakeBmp(64, -8, 24));
    source_.QueuePictures({9001, 9002, 9003});
    Bytes buffer(2048, 0xEE);
    TW_IMAGEMEMXFER transfer;
    TW_UINT16 count;
    for (int picture = 0; picture < 2; ++picture) {
        EXPECT_EQ(MemoryStrip(transfer, buffer), TWRC_FAILURE);
        ExpectOneBox("General failure in response to DAT_IMAGEMEMXFER.  Bad value error.");
        EXPECT_EQ(source_.ConditionCode(), TWCC_BADVALUE);
        EndTransfer(count);
    }
    EXPECT_EQ(MemoryStrip(transfer, buffer), TWRC_FAILURE);
    ExpectOneBox("General failure in response to DAT_IMAGEMEMXFER.  An operation error just "
                 "occurred.");
    EXPECT_EQ(source_.ConditionCode(), TWCC_OPERATIONERROR);
    EXPECT_TRUE(buffer == Bytes(2048, 0xEE));
}

TEST_F(TransferTest, FileTransferCopiesTheTransferFileToTheNamedFile)
{
    const Bytes picture = MakeBmp(640, 480, 24);
    files_.Put(9001, picture);
    files_.Put(9002, MakeBmp(8, 8, 8));
    source_.QueuePictures({9001, 9002});
    const std::string destination = WindowsDirectory() + "\\transfer_tests_out.bmp";
    files_.Track(destination);
    DeleteFileA(destination.c_str());

    // Without a destination there is nothing to write to.
    EXPECT_EQ(source_.Call(DG_IMAGE, DAT_IMAGEFILEXFER, MSG_GET, nullptr), TWRC_FAILURE);
    ExpectOneBox("General failure in response to DAT_IMAGEFILEXFER.  DG DAT MSG is out of "
                 "expected sequence.");
    EXPECT_FALSE(FileExists(destination));

    TW_SETUPFILEXFER setup = {};
    snprintf(setup.FileName, sizeof setup.FileName, "%s", destination.c_str());
    setup.Format = TWFF_TIFF;
    ASSERT_EQ(source_.Call(DG_CONTROL, DAT_SETUPFILEXFER, MSG_SET, &setup), TWRC_SUCCESS);
    EXPECT_TRUE(FileExists(destination));
    EXPECT_TRUE(ReadBytes(destination).empty());
    ASSERT_EQ(source_.Call(DG_IMAGE, DAT_IMAGEFILEXFER, MSG_GET, nullptr), TWRC_XFERDONE);
    EXPECT_TRUE(ReadBytes(destination) == picture);

    // An existing file is kept until the next transfer replaces it.
    TW_UINT16 count;
    EndTransfer(count);
    ASSERT_EQ(source_.Call(DG_CONTROL, DAT_SETUPFILEXFER, MSG_SET, &setup), TWRC_SUCCESS);
    EXPECT_TRUE(ReadBytes(destination) == picture);
    ASSERT_EQ(source_.Call(DG_IMAGE, DAT_IMAGEFILEXFER, MSG_GET, nullptr), TWRC_XFERDONE);
    EXPECT_TRUE(ReadBytes(destination) == MakeBmp(8, 8, 8));
    EXPECT_TRUE(boxes_.Boxes().empty());

    EXPECT_EQ(source_.Call(DG_IMAGE, DAT_IMAGEFILEXFER, MSG_SET, nullptr), TWRC_FAILURE);
    ExpectOneBox("General failure in response to DAT_IMAGEINFO.  Bad protocol error.");
    EndTransfer(count);
    EXPECT_EQ(source_.Call(DG_IMAGE, DAT_IMAGEFILEXFER, MSG_GET, nullptr), TWRC_FAILURE);
    ExpectOneBox("General failure in response to DAT_IMAGEFILEXFER.  An operation error just "
                 "occurred.");
}

TEST_F(TransferTest, FileSetUpRefusesANameThatCannotBeCreated)
{
    TW_SETUPFILEXFER setup = {};
    snprintf(setup.FileName, sizeof setup.FileName, "%s\\no such folder\\out.bmp",
             WindowsDirectory().c_str());
    EXPECT_EQ(source_.Call(DG_CONTROL, DAT_SETUPFILEXFER, MSG_SET, &setup), TWRC_FAILURE);
    ExpectOneBox("Unable to create file <<DAT_SETUPFILEXFER>>Bad value error.");
    EXPECT_EQ(source_.ConditionCode(), TWCC_BADVALUE);
    EXPECT_EQ(source_.Call(DG_CONTROL, DAT_SETUPFILEXFER, MSG_GETFIRST, &setup), TWRC_FAILURE);
    ExpectOneBox("General failure in response to DAT_SETUPFILEXFER, not supported.  Bad protocol "
                 "error.");
}

TEST_F(TransferTest, FileSetUpLeavesTheQueuedPicturesAndRefusesTheirFiles)
{
    const Bytes picture = MakeBmp(8, 8, 24);
    files_.Put(9001, picture);
    const Bytes next = MakeBmp(4, 4, 24);
    const std::string nextFile = files_.Put(9002, next);
    source_.QueuePictures({9001, 9002});
    const std::string prefix = SourceDirectory() + "TWIMG600_";
    TW_SETUPFILEXFER setup;
    memset(&setup, 0x55, sizeof setup);
    ASSERT_EQ(source_.Call(DG_CONTROL, DAT_SETUPFILEXFER, MSG_GET, &setup), TWRC_SUCCESS);
    EXPECT_EQ(std::string(setup.FileName), prefix);
    EXPECT_EQ(setup.Format, TWFF_BMP);
    EXPECT_EQ(setup.VRefNum, 0);
    TW_HANDLE handle = nullptr;
    ASSERT_EQ(source_.Call(DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, &handle), TWRC_XFERDONE);
    GlobalFree(handle);

    // The application's destination is what the gets report, but for the default.
    const std::string destination = WindowsDirectory() + "\\transfer_tests_out.bmp";
    files_.Track(destination);
    snprintf(setup.FileName, sizeof setup.FileName, "%s", destination.c_str());
    ASSERT_EQ(source_.Call(DG_CONTROL, DAT_SETUPFILEXFER, MSG_SET, &setup), TWRC_SUCCESS);
    for (TW_UINT16 msg : {MSG_GET, MSG_GETCURRENT, MSG_GETDEFAULT}) {
        ASSERT_EQ(source_.Call(DG_CONTROL, DAT_SETUPFILEXFER, msg, &setup), TWRC_SUCCESS);
        EXPECT_EQ(std::string(setup.FileName), msg == MSG_GETDEFAULT ? prefix : destination);
    }
    ASSERT_EQ(source_.Call(DG_IMAGE, DAT_IMAGEFILEXFER, MSG_GET, nullptr), TWRC_XFERDONE);
    EXPECT_TRUE(ReadBytes(destination) == picture);

    // A queued picture's file, by any of its names, is no destination.
    for (const std::string& name : {nextFile, SourceDirectory() + "twimg600_9001.BMP"}) {
        snprintf(setup.FileName, sizeof setup.FileName, "%s", name.c_str());
        EXPECT_EQ(source_.Call(DG_CONTROL, DAT_SETUPFILEXFER, MSG_SET, &setup), TWRC_FAILURE);
        ExpectOneBox("The file holds a picture waiting for transfer.  Bad value error.");
    }
    EXPECT_TRUE(ReadBytes(nextFile) == next);
    ASSERT_EQ(source_.Call(DG_CONTROL, DAT_SETUPFILEXFER, MSG_GET, &setup), TWRC_SUCCESS);
    EXPECT_EQ(std::string(setup.FileName), destination);
}

}  // namespace
