// How the source shows refusals to the user, and its discarded trace texts.
#pragma once

#include "twain.h"

// Shows the handler's text followed directly by the condition's text in a
// modal message box. The caller sets conditionCode itself.
int ReportError(const char* text, TW_UINT16 conditionCode);

// Trace points on the event and memory-transfer paths; the texts go nowhere.
void Trace(const char* text);
