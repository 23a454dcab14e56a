// The preview graph over the registered stand-in capture filter, for real:
// the camera found among the video input devices, its capture pin rendered
// into a child video window of a frame control, run, halted, restarted and
// closed, with every reference to the filter's objects given back.
#include <windows.h>
#define NO_DSHOW_STRSAFE
#include <dshow.h>

#include <gtest/gtest.h>

#include <set>

#include "support/screenshot.h"
#include "support/test_windows.h"
#include "video/preview_graph.h"

namespace {

const int kFrameId = 1054;

// A shown top-level window holding a black-framed static control of the
// album's video panel size, as the album window places it in video mode.
class FrameHost {
public:
    FrameHost()
    {
        host_ = CreateWindowA("STATIC", "video", WS_POPUP | WS_VISIBLE, 20, 20, 400, 330, nullptr,
                              nullptr, nullptr, nullptr);
        frame_ = CreateWindowA("STATIC", "", WS_CHILD | WS_VISIBLE | SS_BLACKFRAME, 20, 20, 357,
                               293, host_, reinterpret_cast<HMENU>(kFrameId), nullptr, nullptr);
        SetWindowPos(host_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        PumpMessages(100);
    }
    ~FrameHost() { DestroyWindow(host_); }

    HWND Host() const { return host_; }
    HWND Frame() const { return frame_; }

private:
    HWND host_;
    HWND frame_;
};

HWND VideoChildOf(HWND frame)
{
    return FindWindowExA(frame, nullptr, nullptr, nullptr);
}

// The number of different colours in the frame's client area.
size_t ColoursShown(HWND frame)
{
    ScreenPixels pixels;
    if (!ReadClientPixels(frame, pixels))
        return 0;
    std::set<unsigned> colours;
    for (int y = 0; y < pixels.height; y += 4)
        for (int x = 0; x < pixels.width; x += 4) {
            const unsigned char* p = &pixels.rows[static_cast<size_t>(y) * pixels.stride + 3 * x];
            colours.insert(p[0] | p[1] << 8 | p[2] << 16);
        }
    return colours.size();
}

std::vector<unsigned char> FramePixels(HWND frame)
{
    ScreenPixels pixels;
    ReadClientPixels(frame, pixels);
    return pixels.rows;
}

using CanUnload = HRESULT(WINAPI*)();

TEST(VideoGraph, PreviewsTheRegisteredCameraAndGivesEverythingBack)
{
    // Kept loaded so that its count of live objects can be asked at the end.
    HMODULE filterModule = LoadLibraryA("zx600cap.ax");
    ASSERT_NE(filterModule, nullptr);
    auto canUnload = reinterpret_cast<CanUnload>(
        reinterpret_cast<void*>(GetProcAddress(filterModule, "DllCanUnloadNow")));
    FrameHost host;

    ASSERT_TRUE(OpenVideo(host.Frame()));
    EXPECT_EQ(StopRunMessage(), RegisterWindowMessageA("STOPRUN"));
    LONG index = 99;
    FindCameraDevice(&index);
    ASSERT_EQ(index, 0) << "the stand-in camera is the only video input device";
    SelectVideoDevice(index);
    PumpMessages(600);

    HWND video = VideoChildOf(host.Frame());
    ASSERT_NE(video, nullptr) << "the renderer's window is a child of the frame";
    EXPECT_TRUE(IsWindowVisible(video));
    RECT client;
    GetClientRect(video, &client);
    EXPECT_EQ(client.right, 357);
    EXPECT_EQ(client.bottom, 293);
    EXPECT_GE(ColoursShown(host.Frame()), 8u) << "the colour bars are shown";
    std::vector<unsigned char> before = FramePixels(host.Frame());
    PumpMessages(300);
    EXPECT_NE(FramePixels(host.Frame()), before) << "the picture moves";
    EXPECT_TRUE(SaveWindowPicture(host.Host(), BuildFolderFile("video_preview.png")));

    EXPECT_TRUE(HaltPreview());
    EXPECT_FALSE(HaltPreview()) << "a halted preview is not halted again";

    RestartPreview(1, host.Host());
    PumpMessages(300);
    video = VideoChildOf(host.Frame());
    ASSERT_NE(video, nullptr);
    before = FramePixels(host.Frame());
    PumpMessages(300);
    EXPECT_NE(FramePixels(host.Frame()), before) << "the restarted preview runs";

    RestartPreview(0, host.Host());
    PumpMessages(100);
    EXPECT_EQ(VideoChildOf(host.Frame()), nullptr) << "the renderer is gone with its window";
    EXPECT_FALSE(HaltPreview());

    EXPECT_TRUE(ShowPreview());
    PumpMessages(300);
    EXPECT_NE(VideoChildOf(host.Frame()), nullptr);

    EXPECT_TRUE(CloseVideo());
    EXPECT_EQ(VideoChildOf(host.Frame()), nullptr);
    EXPECT_EQ(canUnload(), S_OK) << "every filter, pin and enumerator reference is released";
    FreeLibrary(filterModule);
}

using GetClassObject = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);

// {550538E6-4864-4229-8E78-1931E1E82C6C}, the stand-in filter's class.
const CLSID kCaptureFilterClass = {
    0x550538e6, 0x4864, 0x4229, {0x8e, 0x78, 0x19, 0x31, 0xe1, 0xe8, 0x2c, 0x6c}};

TEST(VideoGraph, CaptureFilterEnumeratorsSkipAsCounted)
{
    HMODULE filterModule = LoadLibraryA("zx600cap.ax");
    ASSERT_NE(filterModule, nullptr);
    auto getClassObject = reinterpret_cast<GetClassObject>(
        reinterpret_cast<void*>(GetProcAddress(filterModule, "DllGetClassObject")));
    auto canUnload = reinterpret_cast<CanUnload>(
        reinterpret_cast<void*>(GetProcAddress(filterModule, "DllCanUnloadNow")));
    IClassFactory* factory = nullptr;
    ASSERT_EQ(
        getClassObject(kCaptureFilterClass, IID_IClassFactory, reinterpret_cast<void**>(&factory)),
        S_OK);
    IBaseFilter* filter = nullptr;
    ASSERT_EQ(factory->CreateInstance(nullptr, IID_IBaseFilter, reinterpret_cast<void**>(&filter)),
              S_OK);
    factory->Release();

    IEnumPins* pins = nullptr;
    ASSERT_EQ(filter->EnumPins(&pins), S_OK);
    EXPECT_EQ(pins->Skip(0), S_OK);
    EXPECT_EQ(pins->Skip(2), S_FALSE) << "one pin only";
    EXPECT_EQ(pins->Skip(0), S_OK);
    pins->Reset();
    EXPECT_EQ(pins->Skip(1), S_OK);
    pins->Reset();
    IPin* pin = nullptr;
    ASSERT_EQ(pins->Next(1, &pin, nullptr), S_OK);
    pins->Release();

    IEnumMediaTypes* types = nullptr;
    ASSERT_EQ(pin->EnumMediaTypes(&types), S_OK);
    EXPECT_EQ(types->Skip(2), S_OK) << "both encodings skipped";
    EXPECT_EQ(types->Skip(1), S_FALSE);
    types->Reset();
    EXPECT_EQ(types->Skip(1), S_OK);
    EXPECT_EQ(types->Skip(0xFFFFFFFF), S_FALSE);
    types->Release();
    pin->Release();
    filter->Release();
    EXPECT_EQ(canUnload(), S_OK);
    FreeLibrary(filterModule);
}

}  // namespace
