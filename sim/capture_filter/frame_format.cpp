#include "sim/capture_filter/frame_format.h"

#include "sim/capture_filter/capture_filter.h"

namespace {

constexpr REFERENCE_TIME kDefaultInterval = 333333;
constexpr DWORD kFourccI420 = 0x30323449;

struct Rgb {
    int r, g, b;
};

// Eight colour bars scroll to the left by four pixels a frame; a white square
// runs down the picture and back.
Rgb PatternAt(const FrameFormat& format, LONG x, LONG y, unsigned frame)
{
    static const Rgb bars[8] = {{255, 255, 255}, {255, 255, 0}, {0, 255, 255}, {0, 255, 0},
                                {255, 0, 255},   {255, 0, 0},   {0, 0, 255},   {16, 16, 16}};
    LONG side = format.height / 6;
    LONG travel = format.height - side;
    LONG step = static_cast<LONG>(frame * 3 % (2 * travel));
    LONG top = step < travel ? step : 2 * travel - step;
    LONG left = (format.width - side) / 2;
    if (x >= left && x < left + side && y >= top && y < top + side)
        return {255, 255, 255};
    LONG shifted = (x + static_cast<LONG>(frame * 4)) % format.width;
    return bars[shifted * 8 / format.width];
}

BYTE Clamp(int value)
{
    return static_cast<BYTE>(value < 0 ? 0 : value > 255 ? 255 : value);
}

BYTE Luma(Rgb c)
{
    return Clamp(((66 * c.r + 129 * c.g + 25 * c.b + 128) >> 8) + 16);
}

BYTE ChromaU(Rgb c)
{
    return Clamp(((-38 * c.r - 74 * c.g + 112 * c.b + 128) >> 8) + 128);
}

BYTE ChromaV(Rgb c)
{
    return Clamp(((112 * c.r - 94 * c.g - 18 * c.b + 128) >> 8) + 128);
}

void PaintI420(const FrameFormat& f, unsigned frame, BYTE* bits)
{
    BYTE* lumaPlane = bits;
    BYTE* uPlane = bits + f.width * f.height;
    BYTE* vPlane = uPlane + (f.width / 2) * (f.height / 2);
    for (LONG y = 0; y < f.height; ++y)
        for (LONG x = 0; x < f.width; ++x) {
            Rgb c = PatternAt(f, x, y, frame);
            lumaPlane[y * f.width + x] = Luma(c);
            if (x % 2 == 0 && y % 2 == 0) {
                uPlane[(y / 2) * (f.width / 2) + x / 2] = ChromaU(c);
                vPlane[(y / 2) * (f.width / 2) + x / 2] = ChromaV(c);
            }
        }
}

void PaintRgb24(const FrameFormat& f, unsigned frame, BYTE* bits)
{
    LONG stride = (f.width * 3 + 3) & ~3;
    for (LONG y = 0; y < f.height; ++y) {
        BYTE* row = bits + (f.height - 1 - y) * stride;
        for (LONG x = 0; x < f.width; ++x) {
            Rgb c = PatternAt(f, x, y, frame);
            row[3 * x] = static_cast<BYTE>(c.b);
            row[3 * x + 1] = static_cast<BYTE>(c.g);
            row[3 * x + 2] = static_cast<BYTE>(c.r);
        }
    }
}

}  // namespace

FrameFormat FormatAt(int index)
{
    bool large = index % 2 == 0;
    return {large ? 320 : 160, large ? 240 : 120, index < 2, kDefaultInterval};
}

DWORD FrameBytes(const FrameFormat& format)
{
    if (format.i420)
        return static_cast<DWORD>(format.width * format.height * 3 / 2);
    return static_cast<DWORD>(((format.width * 3 + 3) & ~3) * format.height);
}

void FillMediaType(const FrameFormat& format, AM_MEDIA_TYPE* type)
{
    auto* info = static_cast<VIDEOINFOHEADER*>(CoTaskMemAlloc(sizeof(VIDEOINFOHEADER)));
    ZeroMemory(type, sizeof *type);
    if (!info)
        return;
    ZeroMemory(info, sizeof *info);
    DWORD bytes = FrameBytes(format);
    info->AvgTimePerFrame = format.interval;
    info->dwBitRate = static_cast<DWORD>(bytes * 8ull * 10000000 / format.interval);
    info->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info->bmiHeader.biWidth = format.width;
    info->bmiHeader.biHeight = format.height;
    info->bmiHeader.biPlanes = 1;
    info->bmiHeader.biBitCount = format.i420 ? 12 : 24;
    info->bmiHeader.biCompression = format.i420 ? kFourccI420 : BI_RGB;
    info->bmiHeader.biSizeImage = bytes;
    type->majortype = MEDIATYPE_Video;
    type->subtype = format.i420 ? MEDIASUBTYPE_I420_Zx600 : MEDIASUBTYPE_RGB24;
    type->bFixedSizeSamples = TRUE;
    type->lSampleSize = bytes;
    type->formattype = FORMAT_VideoInfo;
    type->cbFormat = sizeof(VIDEOINFOHEADER);
    type->pbFormat = reinterpret_cast<BYTE*>(info);
}

AM_MEDIA_TYPE* NewMediaType(const FrameFormat& format)
{
    auto* type = static_cast<AM_MEDIA_TYPE*>(CoTaskMemAlloc(sizeof(AM_MEDIA_TYPE)));
    if (!type)
        return nullptr;
    FillMediaType(format, type);
    if (!type->pbFormat) {
        CoTaskMemFree(type);
        return nullptr;
    }
    return type;
}

void ClearMediaType(AM_MEDIA_TYPE* type)
{
    CoTaskMemFree(type->pbFormat);
    type->pbFormat = nullptr;
    type->cbFormat = 0;
    if (type->pUnk) {
        type->pUnk->Release();
        type->pUnk = nullptr;
    }
}

void FreeMediaType(AM_MEDIA_TYPE* type)
{
    if (!type)
        return;
    ClearMediaType(type);
    CoTaskMemFree(type);
}

HRESULT CopyMediaType(const AM_MEDIA_TYPE* from, AM_MEDIA_TYPE* to)
{
    *to = *from;
    to->pbFormat = nullptr;
    if (from->cbFormat) {
        to->pbFormat = static_cast<BYTE*>(CoTaskMemAlloc(from->cbFormat));
        if (!to->pbFormat) {
            to->cbFormat = 0;
            to->pUnk = nullptr;
            return E_OUTOFMEMORY;
        }
        CopyMemory(to->pbFormat, from->pbFormat, from->cbFormat);
    }
    if (to->pUnk)
        to->pUnk->AddRef();
    return S_OK;
}

bool ReadMediaType(const AM_MEDIA_TYPE* type, FrameFormat* format)
{
    if (!type || type->majortype != MEDIATYPE_Video || type->formattype != FORMAT_VideoInfo ||
        type->cbFormat < sizeof(VIDEOINFOHEADER) || !type->pbFormat)
        return false;
    const auto* info = reinterpret_cast<const VIDEOINFOHEADER*>(type->pbFormat);
    const BITMAPINFOHEADER& bitmap = info->bmiHeader;
    bool i420 = type->subtype == MEDIASUBTYPE_I420_Zx600;
    if (i420 ? bitmap.biCompression != kFourccI420 || bitmap.biBitCount != 12
             : type->subtype != MEDIASUBTYPE_RGB24 || bitmap.biCompression != BI_RGB ||
                   bitmap.biBitCount != 24)
        return false;
    for (int i = 0; i < kFormatCount; ++i) {
        FrameFormat offered = FormatAt(i);
        if (offered.i420 == i420 && offered.width == bitmap.biWidth &&
            offered.height == bitmap.biHeight) {
            offered.interval = info->AvgTimePerFrame > 0 ? info->AvgTimePerFrame : kDefaultInterval;
            *format = offered;
            return true;
        }
    }
    return false;
}

void PaintFrame(const FrameFormat& format, unsigned frame, BYTE* bits)
{
    if (format.i420)
        PaintI420(format, frame, bits);
    else
        PaintRgb24(format, frame, bits);
}
