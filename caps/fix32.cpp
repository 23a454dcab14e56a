#include "caps/fix32.h"

#include <cmath>
#include <cstdio>

namespace {

const double kFracScale = 65536.0;
const TW_FIX32 kSmallestFix32 = {-32768, 0};
const TW_FIX32 kLargestFix32 = {32767, 65535};

}  // namespace

TW_FIX32 NumberToFix32(double number)
{
    if (std::isnan(number)) {
        return TW_FIX32{0, 0};
    }
    if (number < -32768.0) {
        return kSmallestFix32;
    }
    if (number >= 32768.0) {
        return kLargestFix32;
    }
    // Counted in 65536ths the number is exact, and so is its distance to the
    // count below it; a half rounds up.
    const double scaled = number * kFracScale;
    double units = std::floor(scaled);
    if (scaled - units >= 0.5) {
        units += 1.0;
    }
    const double whole = std::floor(units / kFracScale);
    if (whole > 32767.0) {
        return kLargestFix32;
    }
    return TW_FIX32{static_cast<TW_INT16>(whole),
                    static_cast<TW_UINT16>(units - whole * kFracScale)};
}

double Fix32ToNumber(TW_FIX32 value)
{
    return value.Whole + value.Frac / kFracScale;
}

TW_UINT32 Fix32ToUint32(TW_FIX32 value)
{
    return static_cast<TW_UINT16>(value.Whole) | static_cast<TW_UINT32>(value.Frac) << 16;
}

TW_FIX32 Uint32ToFix32(TW_UINT32 value)
{
    return TW_FIX32{static_cast<TW_INT16>(value & 0xFFFF), static_cast<TW_UINT16>(value >> 16)};
}

void FormatFix32(char* text, size_t size, TW_FIX32 value)
{
    snprintf(text, size, "%.6f", Fix32ToNumber(value));
}
