#include "source/image_values.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "caps/fix32.h"

namespace {

// Every corner of the reported frame: 22 + 33/65536.
const TW_FIX32 kLayoutEdge = {22, 33};

// A top-down picture stores its height negated; the application is given
// the number of rows either way.
TW_INT32 RowCount(int32_t height)
{
    if (height >= 0) {
        return height;
    }
    return height == INT32_MIN ? INT32_MAX : -height;
}

TW_FIX32 PelsPerMeter(int32_t value)
{
    TW_FIX32 resolution;
    resolution.Whole = static_cast<TW_INT16>(value & 0xFFFF);
    resolution.Frac = 0;
    return resolution;
}

}  // namespace

void FillImageInfo(const DibInfoHeader& header, TW_IMAGEINFO& info)
{
    info.XResolution = PelsPerMeter(header.biXPelsPerMeter);
    info.YResolution = PelsPerMeter(header.biYPelsPerMeter);
    info.ImageWidth = header.biWidth;
    info.ImageLength = RowCount(header.biHeight);
    info.BitsPerPixel = static_cast<TW_INT16>(header.biBitCount);
    info.Planar = 0;
    memset(info.BitsPerSample, 0, sizeof info.BitsPerSample);
    if (header.biBitCount >= 24) {
        info.SamplesPerPixel = 3;
        for (int i = 0; i < 4; ++i) {
            info.BitsPerSample[i] = 8;
        }
        info.PixelType = TWPT_RGB;
    } else {
        info.SamplesPerPixel = 1;
        info.BitsPerSample[0] = static_cast<TW_INT16>(header.biBitCount);
        info.PixelType = TWPT_PALETTE;
    }
    if (header.biCompression == kDibUncompressed) {
        info.Compression = TWCP_NONE;
    }
}

void FillImageLayout(TW_IMAGELAYOUT& layout)
{
    layout.Frame.Left = kLayoutEdge;
    layout.Frame.Top = kLayoutEdge;
    layout.Frame.Right = kLayoutEdge;
    layout.Frame.Bottom = kLayoutEdge;
    layout.DocumentNumber = 4;
    layout.PageNumber = 88;
    layout.FrameNumber = 1;
}

namespace {

// The rows of both stages' mix matrices.
const double kCieMix[3][3] = {{0, 0.1, 0.2}, {1.0, 1.1, 1.2}, {2.0, 2.1, 2.2}};

void FillMix(TW_FIX32 (&mix)[3][3])
{
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            mix[row][column] = NumberToFix32(kCieMix[row][column]);
        }
    }
}

TW_CIEPOINT CiePoint(double x, double y, double z)
{
    return TW_CIEPOINT{NumberToFix32(x), NumberToFix32(y), NumberToFix32(z)};
}

}  // namespace

void FillCieColor(TW_CIECOLOR& color)
{
    color.ColorSpace = TWPT_RGB;
    color.LowEndian = 0;
    color.DeviceDependent = 1;
    color.VersionNumber = 0;
    color.StageABC.Decode[0].StartIn = NumberToFix32(0.1);
    FillMix(color.StageABC.Mix);
    color.StageLMN.Decode[0].StartIn = NumberToFix32(1.1);
    FillMix(color.StageLMN.Mix);
    color.WhitePoint = CiePoint(4.4, 5.5, 6.6);
    color.BlackPoint = CiePoint(1.1, 5.5, 6.6);
    color.WhitePaper = CiePoint(1.1, 5.5, 6.6);
    color.BlackInk = CiePoint(1.1, 5.5, 6.6);
    color.Samples[0] = NumberToFix32(99.99);
}

bool FillPalette8(const unsigned char* dib, size_t size, TW_PALETTE8& palette)
{
    DibInfoHeader header;
    if (size < sizeof header) {
        return false;
    }
    memcpy(&header, dib, sizeof header);
    const size_t maxColors = sizeof palette.Colors / sizeof palette.Colors[0];
    if (header.biClrUsed > maxColors || header.biClrUsed > (size - sizeof header) / 4) {
        return false;
    }
    palette.NumColors = static_cast<TW_UINT16>(header.biClrUsed);
    palette.PaletteType = TWPA_RGB;
    const unsigned char* table = dib + sizeof header;
    for (uint32_t i = 0; i < header.biClrUsed; ++i) {
        const unsigned char* quad = table + i * 4;
        palette.Colors[i].Index = static_cast<TW_UINT8>(i);
        palette.Colors[i].Channel1 = quad[2];
        palette.Colors[i].Channel2 = quad[1];
        palette.Colors[i].Channel3 = quad[0];
    }
    return true;
}

void FormatResponseEntry(int index, const TW_ELEMENT8& element, char* key, size_t keySize,
                         char* value, size_t valueSize)
{
    snprintf(key, keySize, "Response[%d]", index);
    snprintf(value, valueSize, "{%u,%u,%u}", element.Channel1, element.Channel2, element.Channel3);
}
