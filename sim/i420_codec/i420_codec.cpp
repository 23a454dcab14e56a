// The stand-in of the platform's I420 video decompressor (on Windows the
// system's IYUV codec decodes I420). Wine lacks one, so without it no filter
// of Wine's graph turns the capture pin's I420 frames into RGB. A Video for
// Windows driver: it decompresses I420 into bottom-up or top-down RGB of 24
// or 32 bits, the frame size unchanged.
#include <windows.h>

#include <vfw.h>

namespace {

constexpr DWORD kFourccI420 = mmioFOURCC('I', '4', '2', '0');
constexpr DWORD kDriverId = 1;

bool IsI420(const BITMAPINFOHEADER* in)
{
    return in && in->biCompression == kFourccI420 && in->biBitCount == 12 && in->biWidth > 0 &&
           in->biHeight > 0 && in->biWidth % 2 == 0 && in->biHeight % 2 == 0;
}

bool IsRgbFor(const BITMAPINFOHEADER* in, const BITMAPINFOHEADER* out)
{
    return out->biCompression == BI_RGB && (out->biBitCount == 24 || out->biBitCount == 32) &&
           out->biWidth == in->biWidth &&
           (out->biHeight == in->biHeight || out->biHeight == -in->biHeight);
}

LRESULT QueryDecompress(const BITMAPINFOHEADER* in, const BITMAPINFOHEADER* out)
{
    if (!IsI420(in) || (out && !IsRgbFor(in, out)))
        return ICERR_BADFORMAT;
    return ICERR_OK;
}

// The default output: bottom-up RGB24 of the same size.
LRESULT OutputFormat(const BITMAPINFOHEADER* in, BITMAPINFOHEADER* out)
{
    if (!out)
        return sizeof(BITMAPINFOHEADER);
    if (!IsI420(in))
        return ICERR_BADFORMAT;
    *out = *in;
    out->biSize = sizeof(BITMAPINFOHEADER);
    out->biBitCount = 24;
    out->biCompression = BI_RGB;
    out->biSizeImage = ((in->biWidth * 3 + 3) & ~3) * in->biHeight;
    return ICERR_OK;
}

BYTE Clamp(int value)
{
    return static_cast<BYTE>(value < 0 ? 0 : value > 255 ? 255 : value);
}

LRESULT Decompress(const ICDECOMPRESS* request)
{
    const BITMAPINFOHEADER* in = request->lpbiInput;
    const BITMAPINFOHEADER* out = request->lpbiOutput;
    if (QueryDecompress(in, out) != ICERR_OK)
        return ICERR_BADFORMAT;
    LONG width = in->biWidth;
    LONG height = in->biHeight;
    const BYTE* luma = static_cast<const BYTE*>(request->lpInput);
    const BYTE* u = luma + width * height;
    const BYTE* v = u + (width / 2) * (height / 2);
    int pixelBytes = out->biBitCount / 8;
    LONG stride = (width * pixelBytes + 3) & ~3;
    BYTE* bits = static_cast<BYTE*>(request->lpOutput);
    for (LONG y = 0; y < height; ++y) {
        BYTE* row = bits + (out->biHeight > 0 ? height - 1 - y : y) * stride;
        for (LONG x = 0; x < width; ++x) {
            int c = 298 * (luma[y * width + x] - 16);
            int d = u[(y / 2) * (width / 2) + x / 2] - 128;
            int e = v[(y / 2) * (width / 2) + x / 2] - 128;
            BYTE* pixel = row + x * pixelBytes;
            pixel[0] = Clamp((c + 516 * d + 128) >> 8);
            pixel[1] = Clamp((c - 100 * d - 208 * e + 128) >> 8);
            pixel[2] = Clamp((c + 409 * e + 128) >> 8);
            if (pixelBytes == 4)
                pixel[3] = 0;
        }
    }
    return ICERR_OK;
}

LRESULT Describe(ICINFO* info, DWORD size)
{
    if (!info || size < sizeof(ICINFO))
        return 0;
    ZeroMemory(info, sizeof *info);
    info->dwSize = sizeof(ICINFO);
    info->fccType = ICTYPE_VIDEO;
    info->fccHandler = kFourccI420;
    info->dwVersion = 1;
    info->dwVersionICM = ICVERSION;
    lstrcpynW(info->szName, L"I420", sizeof info->szName / sizeof info->szName[0]);
    lstrcpynW(info->szDescription, L"I420 decompressor",
              sizeof info->szDescription / sizeof info->szDescription[0]);
    return sizeof(ICINFO);
}

LRESULT Open(ICOPEN* open)
{
    if (open && open->fccType != ICTYPE_VIDEO)
        return 0;
    if (open)
        open->dwError = ICERR_OK;
    return kDriverId;
}

}  // namespace

extern "C" LRESULT WINAPI DriverProc(DWORD_PTR, HDRVR driver, UINT message, LPARAM first,
                                     LPARAM second)
{
    switch (message) {
    case DRV_LOAD:
    case DRV_FREE:
    case DRV_ENABLE:
    case DRV_DISABLE:
    case DRV_CLOSE:
        return 1;
    case DRV_OPEN:
        return Open(reinterpret_cast<ICOPEN*>(second));
    case ICM_GETINFO:
        return Describe(reinterpret_cast<ICINFO*>(first), static_cast<DWORD>(second));
    case ICM_DECOMPRESS_QUERY:
        return QueryDecompress(reinterpret_cast<const BITMAPINFOHEADER*>(first),
                               reinterpret_cast<const BITMAPINFOHEADER*>(second));
    case ICM_DECOMPRESS_BEGIN:
        // Only the input is checked here: Wine 8's AVI decompressor passes
        // its input format as the output. Each ICM_DECOMPRESS carries the
        // output format, and that one is checked.
        return QueryDecompress(reinterpret_cast<const BITMAPINFOHEADER*>(first), nullptr);
    case ICM_DECOMPRESS_GET_FORMAT:
        return OutputFormat(reinterpret_cast<const BITMAPINFOHEADER*>(first),
                            reinterpret_cast<BITMAPINFOHEADER*>(second));
    case ICM_DECOMPRESS:
        return Decompress(reinterpret_cast<const ICDECOMPRESS*>(first));
    case ICM_DECOMPRESS_END:
        return ICERR_OK;
    default:
        if (message < DRV_USER)
            return DefDriverProc(0, driver, message, first, second);
        return ICERR_UNSUPPORTED;
    }
}
