#include "picture_transfers.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "source/text.h"

namespace {

using Bytes = std::vector<unsigned char>;

double Now()
{
    LARGE_INTEGER frequency;
    LARGE_INTEGER counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / frequency.QuadPart;
}

DWORD PaddedRowBytes(LONG width, WORD bitCount)
{
    return (static_cast<DWORD>(bitCount) * width + 31) / 32 * 4;
}

bool FetchNative(TwainApp& app, const std::string& path, PictureFormat format)
{
    TW_HANDLE block = nullptr;
    if (CallSource(app, DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, &block) != TWRC_XFERDONE ||
        block == nullptr) {
        return false;
    }
    const void* dib = GlobalLock(block);
    const bool saved = dib != nullptr && SavePicture(path, dib, GlobalSize(block), format);
    if (dib != nullptr) {
        GlobalUnlock(block);
    }
    GlobalFree(block);
    return saved;
}

// The buffer size asked for, else the one the source prefers; a source
// that does not care gets its largest.
DWORD ChooseBufferSize(const TW_SETUPMEMXFER& setup, unsigned long asked)
{
    if (asked != 0) {
        return asked;
    }
    return setup.Preferred != TWON_DONTCARE32 ? setup.Preferred : setup.MaxBufSize;
}

// Puts a strip of top-down red, green, blue rows into the bottom-up blue,
// green, red rows of the picture. False when the strip does not describe
// rows of the picture.
bool PlaceStrip(const TW_IMAGEMEMXFER& strip, const unsigned char* buffer, DWORD bufferSize,
                const TW_IMAGEINFO& info, Bytes& bits)
{
    const DWORD rowBytes = info.ImageWidth * 3;
    const DWORD stride = PaddedRowBytes(info.ImageWidth, 24);
    const DWORD height = info.ImageLength;
    if (strip.Columns != static_cast<TW_UINT32>(info.ImageWidth) || strip.BytesPerRow < rowBytes ||
        strip.YOffset > height || strip.Rows > height - strip.YOffset ||
        static_cast<uint64_t>(strip.Rows) * strip.BytesPerRow > bufferSize) {
        return false;
    }
    for (DWORD k = 0; k < strip.Rows; ++k) {
        const unsigned char* from = buffer + k * strip.BytesPerRow;
        unsigned char* to = bits.data() + (height - 1 - strip.YOffset - k) * stride;
        for (DWORD i = 0; i < rowBytes; i += 3) {
            to[i] = from[i + 2];
            to[i + 1] = from[i + 1];
            to[i + 2] = from[i];
        }
    }
    return true;
}

// The packed DIB of a bottom-up 24-bit picture with the given bits.
Bytes MakeDib(const TW_IMAGEINFO& info, const Bytes& bits)
{
    BITMAPINFOHEADER header = {};
    header.biSize = sizeof header;
    header.biWidth = info.ImageWidth;
    header.biHeight = info.ImageLength;
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    header.biSizeImage = static_cast<DWORD>(bits.size());
    header.biXPelsPerMeter = static_cast<TW_UINT16>(info.XResolution.Whole);
    header.biYPelsPerMeter = static_cast<TW_UINT16>(info.YResolution.Whole);
    Bytes dib(sizeof header);
    memcpy(dib.data(), &header, sizeof header);
    dib.insert(dib.end(), bits.begin(), bits.end());
    return dib;
}

bool FetchMemory(TwainApp& app, const TW_IMAGEINFO& info, const TransferOptions& options,
                 const std::string& path)
{
    if (info.BitsPerPixel != 24 || info.ImageWidth <= 0 || info.ImageLength <= 0) {
        printf("  memory transfers are taken of 24-bit pictures only\n");
        return false;
    }
    TW_SETUPMEMXFER setup = {};
    if (CallSource(app, DG_CONTROL, DAT_SETUPMEMXFER, MSG_GET, &setup) != TWRC_SUCCESS) {
        return false;
    }
    Bytes buffer(ChooseBufferSize(setup, options.bufferSize));
    Bytes bits(static_cast<size_t>(PaddedRowBytes(info.ImageWidth, 24)) * info.ImageLength);
    // Each call brings at least one row; one more ends the picture.
    for (TW_INT32 call = 0; call <= info.ImageLength; ++call) {
        TW_IMAGEMEMXFER strip = {};
        strip.Memory.Flags = TWMF_APPOWNS | TWMF_POINTER;
        strip.Memory.Length = static_cast<TW_UINT32>(buffer.size());
        strip.Memory.TheMem = buffer.data();
        const TW_UINT16 rc = CallSource(app, DG_IMAGE, DAT_IMAGEMEMXFER, MSG_GET, &strip);
        if (rc != TWRC_SUCCESS && rc != TWRC_XFERDONE) {
            return false;
        }
        // A source may hand the last rows over with TWRC_XFERDONE.
        if (strip.Rows != 0 && !PlaceStrip(strip, buffer.data(), buffer.size(), info, bits)) {
            return false;
        }
        if (rc == TWRC_XFERDONE) {
            const Bytes dib = MakeDib(info, bits);
            return SavePicture(path, dib.data(), static_cast<DWORD>(dib.size()), options.format);
        }
    }
    return false;
}

// The source writes the BMP file at the path given.
bool TransferFile(TwainApp& app, const std::string& path)
{
    TW_SETUPFILEXFER setup = {};
    char fullPath[MAX_PATH];
    const DWORD length = GetFullPathNameA(path.c_str(), sizeof fullPath, fullPath, nullptr);
    CopyText(setup.FileName, length != 0 && length < sizeof fullPath ? fullPath : path.c_str());
    setup.Format = TWFF_BMP;
    return CallSource(app, DG_CONTROL, DAT_SETUPFILEXFER, MSG_SET, &setup) == TWRC_SUCCESS &&
           CallSource(app, DG_IMAGE, DAT_IMAGEFILEXFER, MSG_GET, nullptr) == TWRC_XFERDONE;
}

// A BMP file is transferred as it is; another format is converted from a
// BMP file transferred into the output folder first.
bool FetchFile(TwainApp& app, const TransferOptions& options, const std::string& path)
{
    if (options.format == PictureFormat::Bmp) {
        return TransferFile(app, path);
    }
    char transferPath[MAX_PATH];
    if (GetTempFileNameA(options.outputFolder.c_str(), "acq", 0, transferPath) == 0) {
        return false;
    }
    const bool saved =
        TransferFile(app, transferPath) && ConvertBmpFile(transferPath, path, options.format);
    DeleteFileA(transferPath);
    return saved;
}

bool FetchPicture(TwainApp& app, const TransferOptions& options, const TW_IMAGEINFO& info,
                  const std::string& path)
{
    switch (options.mechanism) {
    case TransferMechanism::Native:
        return FetchNative(app, path, options.format);
    case TransferMechanism::Memory:
        return FetchMemory(app, info, options, path);
    case TransferMechanism::File:
        return FetchFile(app, options, path);
    }
    return false;
}

std::string PicturePath(const TransferOptions& options)
{
    char name[32];
    snprintf(name, sizeof name, "picture_%03d.%s", options.nextNumber,
             PictureExtension(options.format));
    return options.outputFolder + "\\" + name;
}

// Fetches and saves the current picture; prints its line.
bool TakePicture(TwainApp& app, TransferOptions& options)
{
    TW_IMAGEINFO info = {};
    if (CallSource(app, DG_IMAGE, DAT_IMAGEINFO, MSG_GET, &info) != TWRC_SUCCESS) {
        printf("Picture %d: no image information (condition code %u)\n", options.nextNumber,
               ConditionCode(app));
        ++options.nextNumber;
        return false;
    }
    const std::string path = PicturePath(options);
    const double start = Now();
    const bool saved = FetchPicture(app, options, info, path);
    const double elapsed = Now() - start;
    printf("Picture %d: %ld x %ld, %d bits, %s transfer, %.1f ms, ", options.nextNumber,
           static_cast<long>(info.ImageWidth), static_cast<long>(info.ImageLength),
           info.BitsPerPixel, MechanismName(options.mechanism), elapsed * 1e3);
    if (saved) {
        printf("saved as %s\n", path.c_str());
    } else {
        printf("failed (condition code %u)\n", ConditionCode(app));
    }
    ++options.nextNumber;
    return saved;
}

}  // namespace

bool ParseMechanism(const char* name, TransferMechanism& mechanism)
{
    const struct {
        const char* name;
        TransferMechanism mechanism;
    } kNames[] = {{"native", TransferMechanism::Native},
                  {"memory", TransferMechanism::Memory},
                  {"file", TransferMechanism::File}};
    for (const auto& entry : kNames) {
        if (strcmp(name, entry.name) == 0) {
            mechanism = entry.mechanism;
            return true;
        }
    }
    return false;
}

const char* MechanismName(TransferMechanism mechanism)
{
    switch (mechanism) {
    case TransferMechanism::Native:
        return "native";
    case TransferMechanism::Memory:
        return "memory";
    case TransferMechanism::File:
        return "file";
    }
    return "";
}

int TransferPictures(TwainApp& app, TransferOptions& options)
{
    CreateDirectoryA(options.outputFolder.c_str(), nullptr);
    int saved = 0;
    TW_PENDINGXFERS pending = {};
    do {
        if (TakePicture(app, options)) {
            ++saved;
        }
        pending = {};
        if (CallSource(app, DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, &pending) != TWRC_SUCCESS) {
            printf("The source refused to end the transfer (condition code %u)\n",
                   ConditionCode(app));
            break;
        }
    } while (pending.Count != 0);
    return saved;
}
