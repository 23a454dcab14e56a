// The texts that a set request writes into the capability file.
#pragma once

#include <cstddef>

#include "caps/containers.h"

// The name of a number in the capability's dictionary section (NumberToName).
typedef void (*NumberNaming)(TW_INT32 number, const char* capabilityName, char* name, size_t size);

// Allowed for an enumeration set: the items' names joined by ","; FIX32
// items as their "%.6f" texts. False when the text would be longer than the
// buffer holds.
bool EnumerationSetText(const SetRequest& request, const char* capabilityName, NumberNaming naming,
                        char* text, size_t size);

// Allowed for an array set: "[", the items' "%ld" (FIX32: "%.6f") texts
// joined by ",", "]". False when the text would not fit.
bool ArraySetText(const SetRequest& request, char* text, size_t size);

// Allowed, Current and Default for a range set.
void RangeSetTexts(const SetRequest& request, char* allowed, size_t allowedSize, char* current,
                   size_t currentSize, char* defaultText, size_t defaultSize);
