#include "sim/dsclink/wic_codec.h"

#include <wincodec.h>
#include <windows.h>

namespace {

// Grayscale JPEGs do not convert straight to 24-bit BGR under every WIC, so
// every picture is converted to 32-bit BGR and the fourth byte dropped.
const WICPixelFormatGUID& kDecodedFormat = GUID_WICPixelFormat32bppBGR;

// Far above the camera's largest still, and what a 32-bit process can
// decode without running out of address space.
const unsigned long long kMaxPixels = 4096ull * 4096;

IWICImagingFactory* CreateFactory()
{
    IWICImagingFactory* factory = nullptr;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IWICImagingFactory, reinterpret_cast<void**>(&factory)))) {
        return nullptr;
    }
    return factory;
}

bool CopyConverted(IWICFormatConverter* converter, Picture& picture)
{
    UINT width = 0;
    UINT height = 0;
    if (FAILED(converter->GetSize(&width, &height)) || width == 0 || height == 0 ||
        static_cast<unsigned long long>(width) * height > kMaxPixels) {
        return false;
    }
    const UINT stride = width * 4;
    std::vector<unsigned char> bgra(static_cast<size_t>(stride) * height);
    if (FAILED(
            converter->CopyPixels(nullptr, stride, static_cast<UINT>(bgra.size()), bgra.data()))) {
        return false;
    }
    picture.width = static_cast<int>(width);
    picture.height = static_cast<int>(height);
    picture.bgr.resize(static_cast<size_t>(width) * height * 3);
    for (size_t pixel = 0; pixel < static_cast<size_t>(width) * height; ++pixel) {
        picture.bgr[pixel * 3] = bgra[pixel * 4];
        picture.bgr[pixel * 3 + 1] = bgra[pixel * 4 + 1];
        picture.bgr[pixel * 3 + 2] = bgra[pixel * 4 + 2];
    }
    return true;
}

bool ConvertFrame(IWICImagingFactory* factory, IWICBitmapFrameDecode* frame, Picture& picture)
{
    IWICFormatConverter* converter = nullptr;
    if (FAILED(factory->CreateFormatConverter(&converter))) {
        return false;
    }
    const bool converted =
        SUCCEEDED(converter->Initialize(frame, kDecodedFormat, WICBitmapDitherTypeNone, nullptr,
                                        0.0, WICBitmapPaletteTypeCustom)) &&
        CopyConverted(converter, picture);
    converter->Release();
    return converted;
}

bool DecodeStream(IWICImagingFactory* factory, IWICStream* stream, Picture& picture)
{
    IWICBitmapDecoder* decoder = nullptr;
    if (FAILED(factory->CreateDecoderFromStream(stream, &GUID_VendorMicrosoft,
                                                WICDecodeMetadataCacheOnDemand, &decoder))) {
        return false;
    }
    GUID container = {};
    IWICBitmapFrameDecode* frame = nullptr;
    bool decoded = false;
    if (SUCCEEDED(decoder->GetContainerFormat(&container)) &&
        IsEqualGUID(container, GUID_ContainerFormatJpeg) &&
        SUCCEEDED(decoder->GetFrame(0, &frame))) {
        decoded = ConvertFrame(factory, frame, picture);
        frame->Release();
    }
    decoder->Release();
    return decoded;
}

bool WriteFrame(IWICBitmapEncoder* encoder, const Picture& picture)
{
    IWICBitmapFrameEncode* frame = nullptr;
    IPropertyBag2* options = nullptr;
    if (FAILED(encoder->CreateNewFrame(&frame, &options))) {
        return false;
    }
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    const UINT stride = static_cast<UINT>(picture.width) * 3;
    const bool written = SUCCEEDED(frame->Initialize(options)) &&
                         SUCCEEDED(frame->SetSize(static_cast<UINT>(picture.width),
                                                  static_cast<UINT>(picture.height))) &&
                         SUCCEEDED(frame->SetPixelFormat(&format)) &&
                         IsEqualGUID(format, GUID_WICPixelFormat24bppBGR) &&
                         SUCCEEDED(frame->WritePixels(static_cast<UINT>(picture.height), stride,
                                                      static_cast<UINT>(picture.bgr.size()),
                                                      const_cast<BYTE*>(picture.bgr.data()))) &&
                         SUCCEEDED(frame->Commit());
    if (options != nullptr) {
        options->Release();
    }
    frame->Release();
    return written;
}

bool EncodeToStream(IWICImagingFactory* factory, IWICStream* stream, const Picture& picture)
{
    IWICBitmapEncoder* encoder = nullptr;
    if (FAILED(factory->CreateEncoder(GUID_ContainerFormatJpeg, nullptr, &encoder))) {
        return false;
    }
    const bool encoded = SUCCEEDED(encoder->Initialize(stream, WICBitmapEncoderNoCache)) &&
                         WriteFrame(encoder, picture) && SUCCEEDED(encoder->Commit());
    encoder->Release();
    return encoded;
}

bool WidePath(const std::string& path, std::wstring& wide)
{
    const int length = MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, nullptr, 0);
    if (length <= 0) {
        return false;
    }
    wide.assign(static_cast<size_t>(length), L'\0');
    return MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, &wide[0], length) == length;
}

}  // namespace

bool DecodeJpeg(const std::vector<unsigned char>& bytes, Picture& picture)
{
    if (bytes.empty()) {
        return false;
    }
    IWICImagingFactory* factory = CreateFactory();
    if (factory == nullptr) {
        return false;
    }
    IWICStream* stream = nullptr;
    bool decoded = false;
    if (SUCCEEDED(factory->CreateStream(&stream))) {
        decoded = SUCCEEDED(stream->InitializeFromMemory(const_cast<BYTE*>(bytes.data()),
                                                         static_cast<DWORD>(bytes.size()))) &&
                  DecodeStream(factory, stream, picture);
        stream->Release();
    }
    factory->Release();
    return decoded;
}

bool EncodeJpeg(const Picture& picture, const std::string& path)
{
    std::wstring widePath;
    if (picture.width < 1 || picture.height < 1 ||
        picture.bgr.size() != static_cast<size_t>(picture.width) * picture.height * 3 ||
        !WidePath(path, widePath)) {
        return false;
    }
    IWICImagingFactory* factory = CreateFactory();
    if (factory == nullptr) {
        return false;
    }
    IWICStream* stream = nullptr;
    bool encoded = false;
    if (SUCCEEDED(factory->CreateStream(&stream))) {
        encoded = SUCCEEDED(stream->InitializeFromFilename(widePath.c_str(), GENERIC_WRITE)) &&
                  EncodeToStream(factory, stream, picture);
        stream->Release();
    }
    factory->Release();
    if (!encoded) {
        DeleteFileA(path.c_str());
    }
    return encoded;
}
