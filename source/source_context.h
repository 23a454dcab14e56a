// The source's process-wide record: identities, TWAIN state, condition code,
// windows and the names and paths formed at load.
#pragma once

#include <windows.h>

#include "session_states.h"
#include "twain.h"

struct SourceContext {
    TW_IDENTITY dsIdentity;
    TW_IDENTITY appIdentity;
    HINSTANCE instance;
    TwainState state;
    // conditionCode and the zero word after it are what DAT_STATUS returns.
    TW_UINT16 conditionCode;
    TW_UINT16 conditionReserved;
    HWND albumWindow;
    HWND appWindow;
    char productName[80];
    char baseName[80];
    char capabilityFilePath[MAX_PATH];
    char productKeyName[80];
    char controlKeyName[80];
};

extern SourceContext g_source;
