// Conversions between numbers and TW_FIX32, and the FIX32 value's text form.
#pragma once

#include <cstddef>

#include "source/twain.h"

// The TW_FIX32 nearest to the number: Whole is the largest integer not above
// it and Frac the rest in 65536ths, rounded, a Frac of 65536 carrying into
// Whole. Numbers outside what a TW_FIX32 holds give its smallest or largest
// value; a NaN gives 0.
TW_FIX32 NumberToFix32(double number);

// Whole + Frac / 65536.
double Fix32ToNumber(TW_FIX32 value);

// A TW_FIX32 travelling as one 32-bit value: Whole in the low half, Frac in
// the high half.
TW_UINT32 Fix32ToUint32(TW_FIX32 value);
TW_FIX32 Uint32ToFix32(TW_UINT32 value);

// The text "%.6f" of the value; FormatFix32 needs at most 14 characters.
void FormatFix32(char* text, size_t size, TW_FIX32 value);
