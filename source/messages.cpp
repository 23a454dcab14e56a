#include "messages.h"

#include <cstdio>

#include "condition_text.h"
#include "manager_memory.h"
#include "source_context.h"

namespace {

const char kErrorCaption[] = "Zc600a Source Error";
const char kTimedBoxTemplate[] = "TimedMsgBoxDummy";
const char kTimedBoxProperty[] = "MSGBOXDATA";
const char kMessageBoxClass[] = "#32770";

// The block that TimedMessageBox hands to its carrier dialog: two texts and
// three values, pointer-sized where Windows makes them so.
struct TimedBoxData {
    const char* text;
    const char* caption;
    UINT type;
    UINT timerId;
    // The time-out, replaced by the identifier of the running timer once it is set.
    UINT_PTR timeoutOrTimer;
};

int g_messageBoxesUp = 0;

int CountedMessageBox(HWND owner, const char* text, const char* caption, UINT type)
{
    ++g_messageBoxesUp;
    int result = MessageBoxA(owner, text, caption, type);
    --g_messageBoxesUp;
    return result;
}

// The application's window, unless it is not (or no longer) a window: a box
// with an invalid owner would not be shown at all.
HWND ErrorBoxOwner()
{
    return IsWindow(g_source.appWindow) ? g_source.appWindow : nullptr;
}

// Starts the block's timer on the carrier and shows the message box it carries.
BOOL StartTimedBox(HWND dialog, HGLOBAL block)
{
    if (!SetPropA(dialog, kTimedBoxProperty, block)) {
        EndDialog(dialog, -1);
        return FALSE;
    }
    ShowWindow(dialog, SW_HIDE);
    TimedBoxData* data = static_cast<TimedBoxData*>(GlobalLock(block));
    if (data->timeoutOrTimer != 0) {
        data->timeoutOrTimer =
            SetTimer(dialog, data->timerId, static_cast<UINT>(data->timeoutOrTimer), nullptr);
    }
    TimedBoxData shown = *data;
    GlobalUnlock(block);
    EndDialog(dialog, CountedMessageBox(dialog, shown.text, shown.caption, shown.type));
    return TRUE;
}

// Ends the message box whose caption the block names with the timer's identifier.
void EndTimedBox(HWND dialog, WPARAM timerId)
{
    HGLOBAL block = GetPropA(dialog, kTimedBoxProperty);
    if (block == nullptr) {
        return;
    }
    TimedBoxData* data = static_cast<TimedBoxData*>(GlobalLock(block));
    HWND box = FindWindowA(kMessageBoxClass, data->caption);
    GlobalUnlock(block);
    if (box != nullptr) {
        EndDialog(box, static_cast<INT_PTR>(timerId));
    }
}

// Stops the timer if one was started; the window timer is known by the
// identifier it was started with.
void StopTimedBox(HWND dialog)
{
    HGLOBAL block = GetPropA(dialog, kTimedBoxProperty);
    if (block == nullptr) {
        return;
    }
    TimedBoxData* data = static_cast<TimedBoxData*>(GlobalLock(block));
    if (data->timeoutOrTimer != 0) {
        KillTimer(dialog, data->timerId);
    }
    GlobalUnlock(block);
    RemovePropA(dialog, kTimedBoxProperty);
}

INT_PTR CALLBACK TimedBoxProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return StartTimedBox(dialog, reinterpret_cast<HGLOBAL>(lParam));
    case WM_TIMER:
        EndTimedBox(dialog, wParam);
        return TRUE;
    case WM_DESTROY:
        StopTimedBox(dialog);
        return FALSE;
    default:
        return FALSE;
    }
}

}  // namespace

int TimedMessageBox(HINSTANCE instance, HWND owner, const char* text, const char* caption,
                    UINT type, UINT timerId, UINT timeout)
{
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(TimedBoxData));
    if (block == nullptr) {
        return -1;
    }
    TimedBoxData* data = static_cast<TimedBoxData*>(GlobalLock(block));
    *data = {text, caption, type, timerId, timeout};
    GlobalUnlock(block);
    int result = static_cast<int>(DialogBoxParamA(instance, kTimedBoxTemplate, owner, TimedBoxProc,
                                                  reinterpret_cast<LPARAM>(block)));
    GlobalFree(block);
    return result;
}

int ShowSourceMessage(HWND owner, const char* text, const char* caption)
{
    if (MessageTimeout == 999) {
        return CountedMessageBox(owner, text, caption, MB_OK);
    }
    return TimedMessageBox(g_source.instance, owner, text, caption, MB_OK, 0, MessageTimeout);
}

int ShowPlainMessageBox(HWND owner, const char* text, const char* caption, UINT type)
{
    return CountedMessageBox(owner, text, caption, type);
}

bool RefusalsShowBoxes()
{
    return !Twain2Session();
}

int ReportError(const char* text, TW_UINT16 conditionCode)
{
    if (!RefusalsShowBoxes()) {
        return 0;
    }
    char message[180];
    snprintf(message, sizeof message, "%s%s", text, ConditionText(conditionCode));
    return ShowSourceMessage(ErrorBoxOwner(), message, kErrorCaption);
}

bool MessageBoxUp()
{
    return g_messageBoxesUp > 0;
}

void Trace(const char*) {}

TW_UINT16 Refuse(TW_UINT16 conditionCode, const char* text)
{
    g_source.conditionCode = conditionCode;
    ReportError(text, conditionCode);
    return TWRC_FAILURE;
}
