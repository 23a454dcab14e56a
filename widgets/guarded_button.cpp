#include "widgets/guarded_button.h"

#include "widgets/control_subclass.h"

namespace {

const UINT_PTR kUnlockTimer = 1;

bool IsPress(UINT message)
{
    return message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK;
}

}  // namespace

GuardedButton::~GuardedButton()
{
    Detach();
}

int GuardedButton::AttachControl(int controlId, HWND parent)
{
    if (parent == nullptr) {
        return 0;
    }
    Detach();
    window_ = SubclassControl(parent, controlId, Procedure, this);
    return 1;
}

void GuardedButton::SetAccept(int accept, UINT delay)
{
    if (delay == 0) {
        acceptPresses = accept;
    } else if (window_ != nullptr) {
        SetTimer(window_, kUnlockTimer, delay, nullptr);
    }
}

// Lets go of the control; the control keeps working as a plain button.
void GuardedButton::Detach()
{
    ReleaseControlSubclass(window_, Procedure, this);
}

LRESULT CALLBACK GuardedButton::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                          UINT_PTR, DWORD_PTR object)
{
    GuardedButton* button = reinterpret_cast<GuardedButton*>(object);
    if (IsPress(message) && button->acceptPresses == 0) {
        return 0;
    }
    if (message == WM_TIMER && wParam == kUnlockTimer) {
        KillTimer(window, kUnlockTimer);
        button->acceptPresses = 1;
    }
    if (message == WM_NCDESTROY) {
        button->Detach();
    }
    return DefSubclassProc(window, message, wParam, lParam);
}
