// A list view of a dialog, taken over so that it records its vertical
// scroll range and position and tells its parent when the position changed.
#pragma once

#include <windows.h>

// Sent to the list's parent, with wParam 0 and lParam 0, when a WM_VSCROLL
// finds the vertical scroll position changed since the last one.
const UINT WM_LISTSCROLLED = WM_USER + 101;

class ScrollReportList {
public:
    ScrollReportList() = default;
    ~ScrollReportList();
    ScrollReportList(const ScrollReportList&) = delete;
    ScrollReportList& operator=(const ScrollReportList&) = delete;

    // Records the parent as the window to tell, then takes over the control
    // with that id as GuardedButton::AttachControl does.
    int AttachControl(int controlId, HWND parent);

    // The position, the upper and the lower end of the range as last read.
    void GetScrollState(int* position, int* maximum, int* minimum) const;

    // The list taken over, or null.
    HWND Window() const { return window_; }

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                      UINT_PTR id, DWORD_PTR object);
    void ReadScrollPosition();
    void Detach();

    int scrollMax = 0;
    int scrollMin = 0;
    int scrollPos = 0;
    HWND notifyWindow = nullptr;
    HWND window_ = nullptr;
};
