// The check of a one-value set against the allowed values of the capability.
#pragma once

#include <cstddef>

#include "caps/value_text.h"

// Decides whether value may be stored, given the capability's Allowed text,
// and forms the text to store. A range admits the values from min to max,
// brought onto the step toward zero; a list or an array admits the values of
// its items, and the matching item's own text is stored. Compared as signed
// 16-bit numbers. An empty Allowed, or "NONE", admits nothing.
bool CheckAllowedText(const char* capabilityName, const char* allowed, TW_INT16 value,
                      SymbolLookup lookup, char* text, size_t size);
