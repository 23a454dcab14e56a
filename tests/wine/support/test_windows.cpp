#include "test_windows.h"

#include <string>

#include "tools/acquire/event_loop.h"

namespace {

const char kTestWindowClass[] = "TestApplicationWindow";

struct AlbumSearch {
    HMODULE module;
    std::vector<HWND> windows;
};

BOOL CALLBACK CollectAlbumWindow(HWND window, LPARAM lParam)
{
    AlbumSearch* search = reinterpret_cast<AlbumSearch*>(lParam);
    char className[32] = "";
    GetClassNameA(window, className, sizeof className);
    HMODULE owner = reinterpret_cast<HMODULE>(GetWindowLongPtrA(window, GWLP_HINSTANCE));
    if (std::string(className) == "#32770" && owner == search->module) {
        search->windows.push_back(window);
    }
    return TRUE;
}

}  // namespace

TestWindow::TestWindow()
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kTestWindowClass;
    RegisterClassA(&windowClass);
    window_ = CreateWindowA(kTestWindowClass, "test application", WS_OVERLAPPEDWINDOW, 0, 0, 200,
                            100, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

TestWindow::~TestWindow()
{
    DestroyWindow(window_);
}

std::vector<HWND> AlbumWindowsOf(HMODULE module)
{
    AlbumSearch search = {module, {}};
    EnumThreadWindows(GetCurrentThreadId(), CollectAlbumWindow, reinterpret_cast<LPARAM>(&search));
    return search.windows;
}

void PumpMessages(DWORD milliseconds)
{
    DWORD start = GetTickCount();
    while (GetTickCount() - start < milliseconds) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

TW_UINT16 NextNotification(TwainApp& app)
{
    DWORD start = GetTickCount();
    while (GetTickCount() - start < 1000) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TW_UINT16 notification = PassEvent(app, message);
            if (notification != MSG_NULL) {
                return notification;
            }
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return MSG_NULL;
}
