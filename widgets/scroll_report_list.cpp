#include "widgets/scroll_report_list.h"

#include "widgets/control_subclass.h"

ScrollReportList::~ScrollReportList()
{
    Detach();
}

int ScrollReportList::AttachControl(int controlId, HWND parent)
{
    notifyWindow = parent;
    if (parent == nullptr) {
        return 0;
    }
    Detach();
    window_ = SubclassControl(parent, controlId, Procedure, this);
    return 1;
}

void ScrollReportList::GetScrollState(int* position, int* maximum, int* minimum) const
{
    *position = scrollPos;
    *maximum = scrollMax;
    *minimum = scrollMin;
}

// Reads the range and the position as they stand before the list handles
// the scroll message, and reports a position that moved since the last read.
void ScrollReportList::ReadScrollPosition()
{
    GetScrollRange(window_, SB_VERT, &scrollMin, &scrollMax);
    const int position = GetScrollPos(window_, SB_VERT);
    if (position == scrollPos) {
        return;
    }
    scrollPos = position;
    if (notifyWindow != nullptr) {
        SendMessageA(notifyWindow, WM_LISTSCROLLED, 0, 0);
    }
}

void ScrollReportList::Detach()
{
    ReleaseControlSubclass(window_, Procedure, this);
}

LRESULT CALLBACK ScrollReportList::Procedure(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam, UINT_PTR, DWORD_PTR object)
{
    ScrollReportList* list = reinterpret_cast<ScrollReportList*>(object);
    if (message == WM_VSCROLL) {
        list->ReadScrollPosition();
    }
    if (message == WM_NCDESTROY) {
        list->Detach();
    }
    return DefSubclassProc(window, message, wParam, lParam);
}
