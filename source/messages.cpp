#include "messages.h"

#include <windows.h>

#include <cstdio>

#include "condition_text.h"
#include "source_context.h"

namespace {

const char kErrorCaption[] = "Zc600a Source Error";

}  // namespace

int ReportError(const char* text, TW_UINT16 conditionCode)
{
    char message[180];
    snprintf(message, sizeof message, "%s%s", text, ConditionText(conditionCode));
    return MessageBoxA(g_source.appWindow, message, kErrorCaption, MB_OK);
}

void Trace(const char*)
{
}
