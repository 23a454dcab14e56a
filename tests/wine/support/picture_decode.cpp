#include "picture_decode.h"

#include <wincodec.h>

#include <cstring>

bool DecodePictureFile(const std::string& path, Decoded& decoded)
{
    IWICImagingFactory* factory = nullptr;
    IWICBitmapDecoder* decoder = nullptr;
    IWICBitmapFrameDecode* frame = nullptr;
    std::wstring widePath(path.begin(), path.end());
    bool done = false;
    if (SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_IWICImagingFactory, reinterpret_cast<void**>(&factory))) &&
        SUCCEEDED(factory->CreateDecoderFromFilename(widePath.c_str(), nullptr, GENERIC_READ,
                                                     WICDecodeMetadataCacheOnDemand, &decoder)) &&
        SUCCEEDED(decoder->GetFrame(0, &frame))) {
        WICPixelFormatGUID format;
        frame->GetPixelFormat(&format);
        frame->GetSize(&decoded.width, &decoded.height);
        decoded.stride = (decoded.width * 3 + 3) / 4 * 4;
        decoded.rows.assign(static_cast<size_t>(decoded.stride) * decoded.height, 0);
        if (IsEqualGUID(format, GUID_WICPixelFormat24bppBGR)) {
            done = SUCCEEDED(frame->CopyPixels(nullptr, decoded.stride, decoded.rows.size(),
                                               decoded.rows.data()));
        } else if (IsEqualGUID(format, GUID_WICPixelFormat8bppGray)) {
            const UINT grayStride = (decoded.width + 3) / 4 * 4;
            std::vector<unsigned char> gray(static_cast<size_t>(grayStride) * decoded.height);
            done = SUCCEEDED(frame->CopyPixels(nullptr, grayStride, gray.size(), gray.data()));
            for (UINT y = 0; y < decoded.height; ++y) {
                for (UINT x = 0; x < decoded.width; ++x) {
                    memset(&decoded.rows[y * decoded.stride + x * 3], gray[y * grayStride + x], 3);
                }
            }
        }
    }
    if (frame != nullptr) {
        frame->Release();
    }
    if (decoder != nullptr) {
        decoder->Release();
    }
    if (factory != nullptr) {
        factory->Release();
    }
    return done;
}

std::vector<unsigned char> BottomUp(const Decoded& decoded)
{
    std::vector<unsigned char> rows;
    for (UINT y = decoded.height; y-- > 0;) {
        rows.insert(rows.end(), decoded.rows.begin() + y * decoded.stride,
                    decoded.rows.begin() + (y + 1) * decoded.stride);
    }
    return rows;
}
