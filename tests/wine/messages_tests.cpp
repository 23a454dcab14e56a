// The timed message box, linked straight from the source's code with its
// dialog templates: the source itself always shows plain message boxes.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "source/messages.h"
#include "support/message_boxes.h"

namespace {

const char kCaption[] = "Timed box test";

// Notes the caption of each message box that becomes active, and leaves it
// on screen for the timer to end.
std::vector<std::string> g_activated;

LRESULT CALLBACK RecordActivation(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_ACTIVATE) {
        char caption[64] = "";
        GetWindowTextA(reinterpret_cast<HWND>(wParam), caption, sizeof caption);
        g_activated.push_back(caption);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST(TimedMessageBox, TheTimerEndsTheBoxWithItsIdentifier)
{
    g_activated.clear();
    HHOOK hook = SetWindowsHookExA(WH_CBT, RecordActivation, nullptr, GetCurrentThreadId());
    int result = TimedMessageBox(GetModuleHandleA(nullptr), nullptr, "Ends by itself", kCaption,
                                 MB_OK, 42, 300);
    UnhookWindowsHookEx(hook);
    EXPECT_EQ(result, 42);
    EXPECT_EQ(std::count(g_activated.begin(), g_activated.end(), kCaption), 1);
}

TEST(TimedMessageBox, WithoutTimeOutTheUserEndsIt)
{
    MessageBoxCapture boxes;
    HWND owner = CreateWindowA("STATIC", "owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    int result = TimedMessageBox(GetModuleHandleA(nullptr), owner, "Waits for the user", kCaption,
                                 MB_OK, 42, 0);
    EXPECT_EQ(result, IDOK);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].caption, kCaption);
    EXPECT_EQ(boxes.Boxes()[0].text, "Waits for the user");
    // The box hangs on the hidden carrier dialog, gone once the call returns.
    HWND carrier = boxes.Boxes()[0].owner;
    EXPECT_NE(carrier, nullptr);
    EXPECT_FALSE(IsWindow(carrier));
    DestroyWindow(owner);
}

TEST(TimedMessageBox, TwoInARowEachEndByTheirOwnTimer)
{
    EXPECT_EQ(TimedMessageBox(GetModuleHandleA(nullptr), nullptr, "first", kCaption, MB_OK, 7, 200),
              7);
    EXPECT_EQ(TimedMessageBox(GetModuleHandleA(nullptr), nullptr, "second", kCaption, MB_OK, 9, 200),
              9);
}

}  // namespace
