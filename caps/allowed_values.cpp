#include "caps/allowed_values.h"

#include <cstdio>
#include <cstring>

#include "source/text.h"

namespace {

// The longest Allowed text the check reads.
const size_t kAllowedLength = 511;

bool CheckListValue(const char* capabilityName, const char* allowed, TW_INT16 value,
                    SymbolLookup lookup, char* text, size_t size)
{
    if (strcmp(allowed, "NONE") == 0) {
        return false;
    }
    char items[kAllowedLength + 1];
    ArrayInterior(allowed, items, sizeof items);
    char item[kAllowedLength + 1];
    const char* cursor = items;
    while (NextItem(cursor, item, sizeof item)) {
        // A longer item is no name the store could write back.
        if (strlen(item) > kNameLength) {
            continue;
        }
        TW_INT32 number = IsSymbolic(item) ? lookup(capabilityName, item) : ReadInteger(item);
        if (static_cast<TW_INT16>(number) == value) {
            CopyText(text, size, item);
            return true;
        }
    }
    return false;
}

// The range part of the check. The step counts from zero, not from min, and
// the stepped value is not held against min again; a step of 0 keeps the
// value as it is.
bool CheckRangeValue(const char* allowed, TW_INT16 value, char* text, size_t size)
{
    RangeValues range = ParseRange(allowed, TWTY_INT32);
    TW_INT16 minimum = static_cast<TW_INT16>(range.minValue);
    TW_INT16 maximum = static_cast<TW_INT16>(range.maxValue);
    TW_INT16 step = static_cast<TW_INT16>(range.stepSize);
    if (value < minimum || value > maximum) {
        return false;
    }
    int stored = value;
    if (step != 0) {
        stored = value / step * step;
    }
    snprintf(text, size, "%d", stored);
    return true;
}

}  // namespace

bool CheckAllowedText(const char* capabilityName, const char* allowed, TW_INT16 value,
                      SymbolLookup lookup, char* text, size_t size)
{
    if (ShapeOf(allowed) == ValueShape::Range) {
        return CheckRangeValue(allowed, value, text, size);
    }
    return CheckListValue(capabilityName, allowed, value, lookup, text, size);
}
