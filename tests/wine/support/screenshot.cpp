#include "screenshot.h"

#include <wincodec.h>

#include <cstring>

namespace {

template <class Interface>
void Release(Interface*& object)
{
    if (object != nullptr) {
        object->Release();
        object = nullptr;
    }
}

std::wstring Wide(const std::string& text)
{
    std::wstring wide(text.size() + 1, L'\0');
    int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &wide[0], wide.size());
    wide.resize(length > 0 ? length - 1 : 0);
    return wide;
}

bool WritePng(HBITMAP bitmap, const std::string& path)
{
    IWICImagingFactory* factory = nullptr;
    IWICBitmap* source = nullptr;
    IWICStream* stream = nullptr;
    IWICBitmapEncoder* encoder = nullptr;
    IWICBitmapFrameEncode* frame = nullptr;
    HRESULT hr = CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_IWICImagingFactory, reinterpret_cast<void**>(&factory));
    if (SUCCEEDED(hr)) {
        hr = factory->CreateBitmapFromHBITMAP(bitmap, nullptr, WICBitmapIgnoreAlpha, &source);
    }
    if (SUCCEEDED(hr)) {
        hr = factory->CreateStream(&stream);
    }
    if (SUCCEEDED(hr)) {
        hr = stream->InitializeFromFilename(Wide(path).c_str(), GENERIC_WRITE);
    }
    if (SUCCEEDED(hr)) {
        hr = factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, &encoder);
    }
    if (SUCCEEDED(hr)) {
        hr = encoder->Initialize(stream, WICBitmapEncoderNoCache);
    }
    if (SUCCEEDED(hr)) {
        hr = encoder->CreateNewFrame(&frame, nullptr);
    }
    if (SUCCEEDED(hr)) {
        hr = frame->Initialize(nullptr);
    }
    if (SUCCEEDED(hr)) {
        hr = frame->WriteSource(source, nullptr);
    }
    if (SUCCEEDED(hr)) {
        hr = frame->Commit();
    }
    if (SUCCEEDED(hr)) {
        hr = encoder->Commit();
    }
    Release(frame);
    Release(encoder);
    Release(stream);
    Release(source);
    Release(factory);
    return SUCCEEDED(hr);
}

}  // namespace

bool SaveWindowPicture(HWND window, const std::string& path)
{
    RECT frame;
    GetWindowRect(window, &frame);
    int width = frame.right - frame.left;
    int height = frame.bottom - frame.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, frame.left, frame.top, SRCCOPY);
    SelectObject(memory, previous);
    HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    bool saved = WritePng(bitmap, path);
    if (SUCCEEDED(com)) {
        CoUninitialize();
    }
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return saved;
}

bool ReadClientPixels(HWND window, ScreenPixels& pixels)
{
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    RECT client;
    GetClientRect(window, &client);
    pixels.width = client.right;
    pixels.height = client.bottom;
    pixels.stride = (pixels.width * 3 + 3) / 4 * 4;
    pixels.rows.assign(static_cast<size_t>(pixels.stride) * pixels.height, 0);
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = pixels.width;
    info.bmiHeader.biHeight = -pixels.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bool read = false;
    if (bitmap != nullptr) {
        HGDIOBJ previous = SelectObject(memory, bitmap);
        read =
            BitBlt(memory, 0, 0, pixels.width, pixels.height, screen, origin.x, origin.y, SRCCOPY);
        GdiFlush();
        memcpy(pixels.rows.data(), bits, pixels.rows.size());
        SelectObject(memory, previous);
        DeleteObject(bitmap);
    }
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return read;
}

int CountPictureOnScreen(const ScreenPixels& pixels, const unsigned char* picture, int width,
                         int height)
{
    const size_t rowBytes = static_cast<size_t>(width) * 3;
    const size_t pictureStride = (rowBytes + 3) / 4 * 4;
    auto matchesAt = [&](int left, int top) {
        for (int y = 0; y < height; ++y) {
            const unsigned char* shown = &pixels.rows[(top + y) * pixels.stride + left * 3];
            const unsigned char* wanted = picture + (height - 1 - y) * pictureStride;
            if (memcmp(shown, wanted, rowBytes) != 0) {
                return false;
            }
        }
        return true;
    };
    int found = 0;
    for (int top = 0; top + height <= pixels.height; ++top) {
        for (int left = 0; left + width <= pixels.width; ++left) {
            found += matchesAt(left, top);
        }
    }
    return found;
}

std::string BuildFolderFile(const std::string& name)
{
    char program[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, program, sizeof program);
    std::string folder(program);
    folder.resize(folder.find_last_of('\\'));
    return folder.substr(0, folder.find_last_of('\\') + 1) + name;
}
