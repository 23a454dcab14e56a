#include "message_boxes.h"

namespace {

// The static control that holds a message box's text.
const int kMessageTextId = 0xFFFF;

std::vector<CapturedBox> g_boxes;

std::string WindowText(HWND window)
{
    char text[1024] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

bool IsMessageBox(HWND window)
{
    char className[32] = "";
    GetClassNameA(window, className, sizeof className);
    return lstrcmpA(className, "#32770") == 0 && GetDlgItem(window, kMessageTextId) != nullptr;
}

LRESULT CALLBACK CaptureHook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_ACTIVATE) {
        HWND window = reinterpret_cast<HWND>(wParam);
        if (IsMessageBox(window)) {
            g_boxes.push_back({WindowText(window), WindowText(GetDlgItem(window, kMessageTextId)),
                               GetWindow(window, GW_OWNER)});
            WORD button = LOWORD(SendMessageA(window, DM_GETDEFID, 0, 0));
            PostMessageA(window, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

MessageBoxCapture::MessageBoxCapture()
    : hook_(SetWindowsHookExA(WH_CBT, CaptureHook, nullptr, GetCurrentThreadId()))
{
    g_boxes.clear();
}

MessageBoxCapture::~MessageBoxCapture()
{
    UnhookWindowsHookEx(hook_);
}

const std::vector<CapturedBox>& MessageBoxCapture::Boxes() const
{
    return g_boxes;
}

void MessageBoxCapture::Clear()
{
    g_boxes.clear();
}
