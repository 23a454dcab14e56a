// A push button of a dialog, taken over so that it can be told to discard
// left-button presses while its window is busy and to accept them again a
// set time after the work has ended.
#pragma once

#include <windows.h>

class GuardedButton {
public:
    GuardedButton() = default;
    ~GuardedButton();
    GuardedButton(const GuardedButton&) = delete;
    GuardedButton& operator=(const GuardedButton&) = delete;

    // Takes over the control with that id in the parent window. 0 for a null
    // parent (nothing changes), otherwise 1, whether or not the parent has
    // the control.
    int AttachControl(int controlId, HWND parent);

    // A nonzero delay starts (or restarts) timer 1, whose first tick makes
    // the button accept presses again; the accept argument is then unused.
    // A zero delay sets acceptPresses to the accept argument at once.
    void SetAccept(int accept, UINT delay);

    // The button taken over, or null.
    HWND Window() const { return window_; }
    int AcceptsPresses() const { return acceptPresses; }

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                      UINT_PTR id, DWORD_PTR object);
    void Detach();

    // Nonzero: left-button presses reach the button; zero: they are discarded.
    int acceptPresses = 1;
    HWND window_ = nullptr;
};
