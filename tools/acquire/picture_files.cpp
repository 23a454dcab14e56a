#include "picture_files.h"

#include <wincodec.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

struct FormatEntry {
    const char* name;
    const char* extension;
    PictureFormat format;
    const GUID* container;
};

const FormatEntry kFormats[] = {
    {"bmp", "bmp", PictureFormat::Bmp, &GUID_ContainerFormatBmp},
    {"png", "png", PictureFormat::Png, &GUID_ContainerFormatPng},
    {"jpeg", "jpg", PictureFormat::Jpeg, &GUID_ContainerFormatJpeg},
    {"tiff", "tif", PictureFormat::Tiff, &GUID_ContainerFormatTiff},
};

const FormatEntry& EntryOf(PictureFormat format)
{
    for (const FormatEntry& entry : kFormats) {
        if (entry.format == format) {
            return entry;
        }
    }
    return kFormats[0];
}

DWORD ColorTableBytes(const BITMAPINFOHEADER& header)
{
    if (header.biClrUsed != 0) {
        return header.biClrUsed * sizeof(RGBQUAD);
    }
    return header.biBitCount <= 8 ? (1u << header.biBitCount) * sizeof(RGBQUAD) : 0;
}

// The file header of a BMP file that holds the packed DIB as it is.
bool MakeFileHeader(const void* dib, DWORD dibSize, BITMAPFILEHEADER& fileHeader)
{
    BITMAPINFOHEADER header;
    if (dibSize < sizeof header) {
        return false;
    }
    memcpy(&header, dib, sizeof header);
    fileHeader = {};
    fileHeader.bfType = 0x4D42;
    fileHeader.bfSize = sizeof fileHeader + dibSize;
    fileHeader.bfOffBits = sizeof fileHeader + header.biSize + ColorTableBytes(header);
    return true;
}

bool WriteBmpFile(const std::string& path, const BITMAPFILEHEADER& fileHeader, const void* dib,
                  DWORD dibSize)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    const bool ok = WriteFile(file, &fileHeader, sizeof fileHeader, &written, nullptr) &&
                    written == sizeof fileHeader &&
                    WriteFile(file, dib, dibSize, &written, nullptr) && written == dibSize;
    CloseHandle(file);
    if (!ok) {
        DeleteFileA(path.c_str());
    }
    return ok;
}

std::wstring WidePath(const std::string& path)
{
    const int length = MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, nullptr, 0);
    std::wstring wide(length > 0 ? length : 1, L'\0');
    MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, &wide[0], length);
    return wide;
}

// COM on this thread for as long as the scope lasts; a thread that already
// has it keeps it as it is.
class ComScope {
public:
    ComScope() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComScope()
    {
        if (SUCCEEDED(result_)) {
            CoUninitialize();
        }
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

private:
    HRESULT result_;
};

// One frame of 24-bit blue, green, red pixels from the source picture, with
// the encoder's default options (JPEG at its default quality).
bool WriteFrame(IWICBitmapEncoder* encoder, IWICBitmapSource* picture)
{
    IWICBitmapFrameEncode* frame = nullptr;
    IPropertyBag2* options = nullptr;
    if (FAILED(encoder->CreateNewFrame(&frame, &options))) {
        return false;
    }
    UINT width = 0;
    UINT height = 0;
    WICPixelFormatGUID pixelFormat = GUID_WICPixelFormat24bppBGR;
    const bool written =
        SUCCEEDED(frame->Initialize(options)) && SUCCEEDED(picture->GetSize(&width, &height)) &&
        SUCCEEDED(frame->SetSize(width, height)) &&
        SUCCEEDED(frame->SetPixelFormat(&pixelFormat)) &&
        SUCCEEDED(frame->WriteSource(picture, nullptr)) && SUCCEEDED(frame->Commit());
    if (options != nullptr) {
        options->Release();
    }
    frame->Release();
    return written;
}

// Writes the picture of the decoded BMP file as a file of the format.
bool EncodeFirstFrame(IWICImagingFactory* factory, IWICBitmapDecoder* decoder,
                      const std::string& path, PictureFormat format)
{
    IWICBitmapFrameDecode* picture = nullptr;
    if (FAILED(decoder->GetFrame(0, &picture))) {
        return false;
    }
    IWICStream* stream = nullptr;
    IWICBitmapEncoder* encoder = nullptr;
    bool encoded = false;
    if (SUCCEEDED(factory->CreateStream(&stream))) {
        if (SUCCEEDED(stream->InitializeFromFilename(WidePath(path).c_str(), GENERIC_WRITE)) &&
            SUCCEEDED(factory->CreateEncoder(*EntryOf(format).container, nullptr, &encoder))) {
            encoded = SUCCEEDED(encoder->Initialize(stream, WICBitmapEncoderNoCache)) &&
                      WriteFrame(encoder, picture) && SUCCEEDED(encoder->Commit());
            encoder->Release();
        }
        stream->Release();
    }
    picture->Release();
    if (!encoded) {
        DeleteFileA(path.c_str());
    }
    return encoded;
}

IWICImagingFactory* CreateFactory()
{
    IWICImagingFactory* factory = nullptr;
    CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                     reinterpret_cast<void**>(&factory));
    return factory;
}

// Encodes the BMP file held in memory.
bool EncodeBmpBytes(std::vector<unsigned char>& bmp, const std::string& path, PictureFormat format)
{
    ComScope com;
    IWICImagingFactory* factory = CreateFactory();
    if (factory == nullptr) {
        return false;
    }
    IWICStream* stream = nullptr;
    IWICBitmapDecoder* decoder = nullptr;
    bool encoded = false;
    if (SUCCEEDED(factory->CreateStream(&stream))) {
        if (SUCCEEDED(stream->InitializeFromMemory(bmp.data(), static_cast<DWORD>(bmp.size()))) &&
            SUCCEEDED(factory->CreateDecoderFromStream(stream, nullptr,
                                                       WICDecodeMetadataCacheOnDemand, &decoder))) {
            encoded = EncodeFirstFrame(factory, decoder, path, format);
            decoder->Release();
        }
        stream->Release();
    }
    factory->Release();
    return encoded;
}

}  // namespace

bool ParsePictureFormat(const char* name, PictureFormat& format)
{
    for (const FormatEntry& entry : kFormats) {
        if (strcmp(name, entry.name) == 0) {
            format = entry.format;
            return true;
        }
    }
    return false;
}

const char* PictureExtension(PictureFormat format)
{
    return EntryOf(format).extension;
}

bool SavePicture(const std::string& path, const void* dib, DWORD dibSize, PictureFormat format)
{
    BITMAPFILEHEADER fileHeader;
    if (!MakeFileHeader(dib, dibSize, fileHeader)) {
        return false;
    }
    if (format == PictureFormat::Bmp) {
        return WriteBmpFile(path, fileHeader, dib, dibSize);
    }
    std::vector<unsigned char> bmp(sizeof fileHeader + dibSize);
    memcpy(bmp.data(), &fileHeader, sizeof fileHeader);
    memcpy(bmp.data() + sizeof fileHeader, dib, dibSize);
    return EncodeBmpBytes(bmp, path, format);
}

bool ConvertBmpFile(const std::string& bmpPath, const std::string& path, PictureFormat format)
{
    std::ifstream in(bmpPath, std::ios::binary);
    std::vector<unsigned char> bmp((std::istreambuf_iterator<char>(in)),
                                   std::istreambuf_iterator<char>());
    return !bmp.empty() && EncodeBmpBytes(bmp, path, format);
}
