// The preview graph over the registered stand-in capture filter, for real:
// the camera found among the video input devices, its capture pin rendered
// into a child video window of a frame control, run, halted, restarted and
// closed, with every reference to the filter's objects given back.
#include <windows.h>

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
        host_ = CreateWindowA("STATIC", "video", WS_POPUP | WS_VISIBLE, 20, 20, 400, 330, nullptr, nullptr,
                              nullptr, nullptr);
        frame_ = CreateWindowA("STATIC", "", WS_CHILD | WS_VISIBLE | SS_BLACKFRAME, 20, 20, 357, 293, host_,
                               reinterpret_cast<HMENU>(kFrameId), nullptr, nullptr);
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
    auto canUnload = reinterpret_cast<CanUnload>(GetProcAddress(filterModule, "DllCanUnloadNow"));
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

}  // namespace
