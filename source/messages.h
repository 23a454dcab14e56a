// How the source shows refusals to the user, and its discarded trace texts.
#pragma once

#include <windows.h>

#include "twain.h"

// 999 shows messages in plain message boxes; any other value is a time-out in
// milliseconds after which a timed message box closes itself.
const int MessageTimeout = 999;

// Whether a refused triplet is shown to the user in a message box: in every
// session but a TWAIN 2 one, whose application reads the condition's text
// through DAT_STATUSUTF8 instead.
bool RefusalsShowBoxes();

// Shows the handler's text followed directly by the condition's text in a
// modal message box owned by the application's window; shows nothing and
// gives 0 when refusals show no boxes. The caller sets conditionCode itself.
int ReportError(const char* text, TW_UINT16 conditionCode);

// A handler's refusal: sets conditionCode, reports it with the handler's
// text, and gives TWRC_FAILURE.
TW_UINT16 Refuse(TW_UINT16 conditionCode, const char* text);

// A message box of type MB_OK, plain or timed as MessageTimeout says.
int ShowSourceMessage(HWND owner, const char* text, const char* caption);

// A plain message box of the given type, whatever MessageTimeout says,
// counted by MessageBoxUp like every other box of the source.
int ShowPlainMessageBox(HWND owner, const char* text, const char* caption, UINT type);

// A message box that a timer with the given identifier ends after timeout
// milliseconds (0: never). Returns the box's result, the timer identifier
// when the timer ended it, or -1 if its data block could not be allocated.
int TimedMessageBox(HINSTANCE instance, HWND owner, const char* text, const char* caption,
                    UINT type, UINT timerId, UINT timeout);

// True while one of the source's message boxes is on screen; the source is
// then inside a triplet and must stay loaded until the box is gone.
bool MessageBoxUp();

// Trace points on the event and memory-transfer paths; the texts go nowhere.
void Trace(const char* text);
