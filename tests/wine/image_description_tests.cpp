// Image description triplets through DS_Entry: the fixed layout, the palette
// of the current transfer file, the response curves recorded in the
// capability file, CIE colour and JPEG compression.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "support/bmp_files.h"
#include "support/linked_source.h"
#include "support/message_boxes.h"
#include "support/prefix_files.h"

namespace {

class ImageDescriptionTest : public testing::Test {
protected:
    void ExpectOneBox(const std::string& text)
    {
        ASSERT_EQ(boxes_.Boxes().size(), 1u) << "expected: " << text;
        EXPECT_EQ(boxes_.Boxes()[0].text, text);
        EXPECT_EQ(boxes_.Boxes()[0].caption, "Zc600a Source Error");
        boxes_.Clear();
    }

    std::string CapabilityValue(const char* section, const char* key)
    {
        char value[64] = "";
        GetPrivateProfileStringA(section, key, "", value, sizeof value,
                                 CapabilityFilePath().c_str());
        return value;
    }

    SavedFile capabilities_{CapabilityFilePath()};
    MessageBoxCapture boxes_;
    TransferFiles files_;
    LinkedSource source_;
};

TEST_F(ImageDescriptionTest, LayoutIsFixedWhateverIsSet)
{
    TW_IMAGELAYOUT layout = {};
    layout.Frame.Right.Whole = 600;
    EXPECT_EQ(source_.Call(DG_IMAGE, DAT_IMAGELAYOUT, MSG_SET, &layout), TWRC_SUCCESS);
    EXPECT_EQ(source_.Call(DG_IMAGE, DAT_IMAGELAYOUT, MSG_RESET, &layout), TWRC_SUCCESS);
    for (TW_UINT16 msg : {MSG_GET, MSG_GETCURRENT, MSG_GETDEFAULT}) {
        layout = {};
        ASSERT_EQ(source_.Call(DG_IMAGE, DAT_IMAGELAYOUT, msg, &layout), TWRC_SUCCESS);
        EXPECT_EQ(layout.Frame.Right.Whole, 22);
        EXPECT_EQ(layout.Frame.Right.Frac, 33);
        EXPECT_EQ(layout.PageNumber, 88u);
    }
    EXPECT_TRUE(boxes_.Boxes().empty());
    EXPECT_EQ(source_.Call(DG_IMAGE, DAT_IMAGELAYOUT, MSG_GETNEXT, &layout), TWRC_FAILURE);
    ExpectOneBox("General failure in response to DAT_IMAGEINFO.  Bad protocol error.");
    EXPECT_EQ(source_.ConditionCode(), TWCC_BADPROTOCOL);
}

TEST_F(ImageDescriptionTest, PaletteComesFromTheCurrentTransferFile)
{
    const Bytes eightBit = MakeBmp(16, 4, 8, 9);
    files_.Put(9001, eightBit);
    files_.Put(9002, MakeBmp(16, 4, 24));
    source_.QueuePictures({9001, 9002, 9003});
    TW_PALETTE8 palette = {};
    ASSERT_EQ(source_.Call(DG_IMAGE, DAT_PALETTE8, MSG_GET, &palette), TWRC_SUCCESS);
    EXPECT_EQ(palette.NumColors, 256);
    EXPECT_EQ(palette.PaletteType, TWPA_RGB);
    const unsigned char* table = eightBit.data() + 14 + 40;
    for (int i = 0; i < 256; ++i) {
        ASSERT_EQ(palette.Colors[i].Index, i);
        ASSERT_EQ(palette.Colors[i].Channel1, table[i * 4 + 2]);
        ASSERT_EQ(palette.Colors[i].Channel2, table[i * 4 + 1]);
        ASSERT_EQ(palette.Colors[i].Channel3, table[i * 4]);
    }

    // MSG_GETDEFAULT succeeds and fills nothing.
    TW_PALETTE8 untouched;
    memset(&untouched, 0x66, sizeof untouched);
    const TW_PALETTE8 before = untouched;
    for (TW_UINT16 msg : {MSG_GETDEFAULT, MSG_SET, MSG_RESET}) {
        EXPECT_EQ(source_.Call(DG_IMAGE, DAT_PALETTE8, msg, &untouched), TWRC_SUCCESS);
    }
    EXPECT_EQ(memcmp(&untouched, &before, sizeof before), 0);
    EXPECT_TRUE(boxes_.Boxes().empty());

    TW_PENDINGXFERS pending = {};
    source_.Call(DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, &pending);
    ASSERT_EQ(source_.Call(DG_IMAGE, DAT_PALETTE8, MSG_GET, &palette), TWRC_SUCCESS);
    EXPECT_EQ(palette.NumColors, 0);

    // The third picture's file is missing.
    source_.Call(DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, &pending);
    EXPECT_EQ(source_.Call(DG_IMAGE, DAT_PALETTE8, MSG_GET, &palette), TWRC_FAILURE);
    ExpectOneBox("General failure in response to DAT_PALETTE8.  An operation error just occurred.");
    EXPECT_EQ(source_.ConditionCode(), TWCC_OPERATIONERROR);
    for (TW_UINT16 msg : {MSG_GETCURRENT, MSG_GETFIRST, MSG_GETNEXT}) {
        EXPECT_EQ(source_.Call(DG_IMAGE, DAT_PALETTE8, msg, &palette), TWRC_FAILURE);
        ExpectOneBox("General failure in response to DAT_PALETTE8.  Bad protocol error.");
    }
    TW_IDENTITY identity = {};
    source_.Call(DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, &identity);
    EXPECT_EQ(source_.Call(DG_IMAGE, DAT_PALETTE8, MSG_GETDEFAULT, &palette), TWRC_FAILURE);
    ExpectOneBox("General failure in response to DAT_PALETTE8.  DG DAT MSG is out of expected "
                 "sequence.");
}

TEST_F(ImageDescriptionTest, PaletteOfAFileWithMoreThan256ColoursIsRefused)
{
    Bytes file = MakeBmp(16, 4, 8);
    const DWORD colors = 300;
    memcpy(file.data() + 14 + offsetof(BITMAPINFOHEADER, biClrUsed), &colors, sizeof colors);
    files_.Put(9001, file);
    source_.QueuePictures({9001});
    TW_PALETTE8 palette;
    memset(&palette, 0x66, sizeof palette);
    EXPECT_EQ(source_.Call(DG_IMAGE, DAT_PALETTE8, MSG_GET, &palette), TWRC_FAILURE);
    ExpectOneBox("General failure in response to DAT_PALETTE8.  An operation error just occurred.");
    EXPECT_EQ(palette.NumColors, 0x6666);
}

TEST_F(ImageDescriptionTest, ResponsesAreRecordedInTheCapabilityFile)
{
    TW_ELEMENT8 response[16];
    for (int i = 0; i < 16; ++i) {
        response[i] = {static_cast<TW_UINT8>(200 + i), static_cast<TW_UINT8>(i * 16),
                       static_cast<TW_UINT8>(i), static_cast<TW_UINT8>(255 - i)};
    }
    response[3] = {0, 255, 0, 17};
    TW_ELEMENT8 copy[16];
    memcpy(copy, response, sizeof copy);
    // Every MSG records, MSG_RESET as MSG_SET does, in any state.
    EXPECT_EQ(source_.Call(DG_IMAGE, DAT_GRAYRESPONSE, MSG_RESET, response), TWRC_SUCCESS);
    EXPECT_EQ(CapabilityValue("GrayResponse", "Response[3]"), "{255,0,17}");
    EXPECT_EQ(CapabilityValue("GrayResponse", "Response[0]"), "{0,0,255}");
    EXPECT_EQ(CapabilityValue("GrayResponse", "Response[15]"), "{240,15,240}");
    EXPECT_EQ(CapabilityValue("GrayResponse", "Response[16]"), "");

    response[3] = {0, 1, 2, 3};
    TW_IDENTITY identity = {};
    source_.Call(DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, &identity);
    EXPECT_EQ(source_.Call(DG_IMAGE, DAT_RGBRESPONSE, MSG_SET, response), TWRC_SUCCESS);
    EXPECT_EQ(CapabilityValue("RGBResponse", "Response[3]"), "{1,2,3}");
    EXPECT_EQ(CapabilityValue("GrayResponse", "Response[3]"), "{255,0,17}");
    response[3] = copy[3];
    EXPECT_EQ(memcmp(response, copy, sizeof copy), 0);
    EXPECT_TRUE(boxes_.Boxes().empty());
}

TEST_F(ImageDescriptionTest, CieColourIsWrittenOnlyWithinTheStructure)
{
    // TW_CIECOLOR holds one sample; what follows it is the application's.
    struct {
        TW_CIECOLOR color;
        unsigned char after[12];
    } data;
    memset(&data, 0x33, sizeof data);
    for (TW_UINT16 msg : {MSG_GET, MSG_SET, MSG_GETNEXT}) {
        EXPECT_EQ(source_.Call(DG_IMAGE, DAT_CIECOLOR, msg, &data.color), TWRC_SUCCESS);
    }
    EXPECT_EQ(data.color.ColorSpace, TWPT_RGB);
    EXPECT_EQ(data.color.DeviceDependent, 1);
    EXPECT_EQ(data.color.WhitePoint.X.Whole, 4);
    EXPECT_EQ(data.color.Samples[0].Whole, 99);
    for (unsigned char byte : data.after) {
        EXPECT_EQ(byte, 0x33);
    }
    EXPECT_TRUE(boxes_.Boxes().empty());
}

TEST_F(ImageDescriptionTest, JpegCompressionSucceedsWithoutTouchingItsStructure)
{
    TW_JPEGCOMPRESSION jpeg;
    memset(&jpeg, 0x44, sizeof jpeg);
    const TW_JPEGCOMPRESSION before = jpeg;
    for (TW_UINT16 msg : {MSG_GET, MSG_SET, MSG_RESET, MSG_GETNEXT}) {
        EXPECT_EQ(source_.Call(DG_IMAGE, DAT_JPEGCOMPRESSION, msg, &jpeg), TWRC_SUCCESS);
    }
    EXPECT_EQ(memcmp(&jpeg, &before, sizeof before), 0);
    EXPECT_TRUE(boxes_.Boxes().empty());
}

}  // namespace
