// The text appended to a refusal for each TWAIN condition code.
#pragma once

#include "twain.h"

const char* ConditionText(TW_UINT16 conditionCode);
