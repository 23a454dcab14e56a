// Windows that tests make, look for and pump.
#pragma once

#include <windows.h>

#include <vector>

#include "tools/acquire/twain_app.h"

// A hidden top-level window of the test, the application's window that
// owns the source's message boxes.
class TestWindow {
public:
    TestWindow();
    ~TestWindow();
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    HWND Handle() const { return window_; }

private:
    HWND window_;
};

// The album windows that the given module's dialogs made on this thread, in
// no particular order.
std::vector<HWND> AlbumWindowsOf(HMODULE module);

// Dispatches this thread's messages for the given time.
void PumpMessages(DWORD milliseconds);

// Runs the application's loop, every message passing the source, until a
// notification of the source arrives (returned) or a second passes (MSG_NULL).
TW_UINT16 NextNotification(TwainApp& app);
