#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "source/image_values.h"

namespace {

DibInfoHeader Header(uint16_t bitCount)
{
    DibInfoHeader header = {};
    header.biSize = kDibInfoHeaderSize;
    header.biWidth = 640;
    header.biHeight = 480;
    header.biPlanes = 1;
    header.biBitCount = bitCount;
    header.biXPelsPerMeter = 0x12B13;  // only the low 16 bits are reported
    header.biYPelsPerMeter = 2835;
    return header;
}

TEST(ImageInfo, TwentyFourBitPicturesAreRgbWithFourEightBitSamplesListed)
{
    TW_IMAGEINFO info;
    memset(&info, 0x55, sizeof info);
    FillImageInfo(Header(24), info);
    EXPECT_EQ(info.XResolution.Whole, 0x2B13);
    EXPECT_EQ(info.XResolution.Frac, 0);
    EXPECT_EQ(info.YResolution.Whole, 2835);
    EXPECT_EQ(info.ImageWidth, 640);
    EXPECT_EQ(info.ImageLength, 480);
    EXPECT_EQ(info.BitsPerPixel, 24);
    EXPECT_EQ(info.Planar, 0);
    EXPECT_EQ(info.SamplesPerPixel, 3);
    const TW_INT16 samples[8] = {8, 8, 8, 8, 0, 0, 0, 0};
    EXPECT_EQ(memcmp(info.BitsPerSample, samples, sizeof samples), 0);
    EXPECT_EQ(info.PixelType, TWPT_RGB);
    EXPECT_EQ(info.Compression, TWCP_NONE);
}

TEST(ImageInfo, TopDownPicturesReportTheirRowCount)
{
    TW_IMAGEINFO info = {};
    DibInfoHeader header = Header(24);
    header.biHeight = -480;
    FillImageInfo(header, info);
    EXPECT_EQ(info.ImageLength, 480);
    header.biHeight = INT32_MIN;
    FillImageInfo(header, info);
    EXPECT_EQ(info.ImageLength, INT32_MAX);
}

TEST(ImageInfo, EightBitPicturesArePaletteAndCompressedOnesKeepTheCallersValue)
{
    TW_IMAGEINFO info;
    memset(&info, 0x55, sizeof info);
    DibInfoHeader header = Header(8);
    header.biCompression = kDibRle8;
    FillImageInfo(header, info);
    EXPECT_EQ(info.SamplesPerPixel, 1);
    const TW_INT16 samples[8] = {8, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(memcmp(info.BitsPerSample, samples, sizeof samples), 0);
    EXPECT_EQ(info.PixelType, TWPT_PALETTE);
    EXPECT_EQ(info.Compression, 0x5555);
}

TEST(ImageLayout, IsFixed)
{
    TW_IMAGELAYOUT layout = {};
    FillImageLayout(layout);
    for (const TW_FIX32& edge :
         {layout.Frame.Left, layout.Frame.Top, layout.Frame.Right, layout.Frame.Bottom}) {
        EXPECT_EQ(edge.Whole, 22);
        EXPECT_EQ(edge.Frac, 33);
    }
    EXPECT_EQ(layout.DocumentNumber, 4u);
    EXPECT_EQ(layout.PageNumber, 88u);
    EXPECT_EQ(layout.FrameNumber, 1u);
}

std::vector<unsigned char> Dib(uint32_t colors, uint32_t tableEntries)
{
    DibInfoHeader header = Header(8);
    header.biClrUsed = colors;
    std::vector<unsigned char> dib(sizeof header + tableEntries * 4);
    memcpy(dib.data(), &header, sizeof header);
    for (uint32_t i = 0; i < tableEntries; ++i) {
        unsigned char* quad = dib.data() + sizeof header + i * 4;
        quad[0] = static_cast<unsigned char>(i);        // blue
        quad[1] = static_cast<unsigned char>(i + 1);    // green
        quad[2] = static_cast<unsigned char>(255 - i);  // red
    }
    return dib;
}

TEST(Palette8, EntriesComeInTableOrderAsRedGreenBlue)
{
    const std::vector<unsigned char> dib = Dib(256, 256);
    TW_PALETTE8 palette = {};
    ASSERT_TRUE(FillPalette8(dib.data(), dib.size(), palette));
    EXPECT_EQ(palette.NumColors, 256);
    EXPECT_EQ(palette.PaletteType, TWPA_RGB);
    for (int i = 0; i < 256; ++i) {
        EXPECT_EQ(palette.Colors[i].Index, i);
        EXPECT_EQ(palette.Colors[i].Channel1, 255 - i);
        EXPECT_EQ(palette.Colors[i].Channel2, (i + 1) & 0xFF);
        EXPECT_EQ(palette.Colors[i].Channel3, i);
    }
}

TEST(Palette8, TooManyColoursOrAShortBlockLeaveThePaletteUntouched)
{
    TW_PALETTE8 palette;
    memset(&palette, 0x77, sizeof palette);
    const TW_PALETTE8 before = palette;
    const std::vector<unsigned char> tooMany = Dib(257, 257);
    EXPECT_FALSE(FillPalette8(tooMany.data(), tooMany.size(), palette));
    const std::vector<unsigned char> cut = Dib(16, 15);
    EXPECT_FALSE(FillPalette8(cut.data(), cut.size(), palette));
    EXPECT_FALSE(FillPalette8(cut.data(), 39, palette));
    EXPECT_EQ(memcmp(&palette, &before, sizeof palette), 0);

    const std::vector<unsigned char> none = Dib(0, 0);
    ASSERT_TRUE(FillPalette8(none.data(), none.size(), palette));
    EXPECT_EQ(palette.NumColors, 0);
}

void ExpectFix32(const TW_FIX32& value, int whole, int frac)
{
    EXPECT_EQ(value.Whole, whole);
    EXPECT_EQ(value.Frac, frac);
}

TEST(CieColor, FixedValuesComeAsNearestFix32)
{
    TW_CIECOLOR color;
    memset(&color, 0x33, sizeof color);
    FillCieColor(color);
    EXPECT_EQ(color.ColorSpace, TWPT_RGB);
    EXPECT_EQ(color.LowEndian, 0);
    EXPECT_EQ(color.DeviceDependent, 1);
    EXPECT_EQ(TW_INT32{color.VersionNumber}, 0);
    ExpectFix32(color.StageABC.Decode[0].StartIn, 0, 6554);
    ExpectFix32(color.StageLMN.Decode[0].StartIn, 1, 6554);
    for (const TW_TRANSFORMSTAGE* stage : {&color.StageABC, &color.StageLMN}) {
        ExpectFix32(stage->Mix[0][0], 0, 0);
        ExpectFix32(stage->Mix[0][2], 0, 13107);
        ExpectFix32(stage->Mix[1][0], 1, 0);
        ExpectFix32(stage->Mix[2][1], 2, 6554);
        // Fields that are not listed keep what the application passed.
        EXPECT_EQ(stage->Decode[0].EndIn.Whole, 0x3333);
        EXPECT_EQ(stage->Decode[1].StartIn.Whole, 0x3333);
    }
    ExpectFix32(color.WhitePoint.X, 4, 26214);
    ExpectFix32(color.WhitePoint.Z, 6, 39322);
    ExpectFix32(color.BlackPoint.X, 1, 6554);
    ExpectFix32(color.WhitePaper.Y, 5, 32768);
    ExpectFix32(color.BlackInk.Z, 6, 39322);
    ExpectFix32(color.Samples[0], 99, 64881);
}

TEST(Responses, EntriesAreWrittenAsUnsignedTriples)
{
    char key[24];
    char value[24];
    FormatResponseEntry(15, TW_ELEMENT8{9, 255, 0, 17}, key, sizeof key, value, sizeof value);
    EXPECT_STREQ(key, "Response[15]");
    EXPECT_STREQ(value, "{255,0,17}");
}

}  // namespace
