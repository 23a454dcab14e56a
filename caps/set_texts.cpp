#include "caps/set_texts.h"

#include "caps/value_text.h"
#include "source/text.h"

namespace {

// Room for the text of one number item ("%ld" or "%.6f").
const size_t kNumberTextSize = 32;

}  // namespace

bool EnumerationSetText(const SetRequest& request, const char* capabilityName, NumberNaming naming,
                        char* text, size_t size)
{
    CopyText(text, size, "");
    size_t itemSize = ItemSize(request.itemType);
    for (TW_UINT32 i = 0; i < request.numItems; ++i) {
        TW_UINT32 number = LoadItem(request.items + i * itemSize, request.itemType);
        char item[kNameLength + 1];
        if (request.itemType == TWTY_FIX32) {
            FormatItem(item, sizeof item, request.itemType, number);
        } else {
            naming(static_cast<TW_INT32>(number), capabilityName, item, sizeof item);
        }
        if ((i > 0 && !AppendText(text, size, ",")) || !AppendText(text, size, item)) {
            return false;
        }
    }
    return true;
}

bool ArraySetText(const SetRequest& request, char* text, size_t size)
{
    CopyText(text, size, "");
    if (!AppendText(text, size, "[")) {
        return false;
    }
    size_t itemSize = ItemSize(request.itemType);
    for (TW_UINT32 i = 0; i < request.numItems; ++i) {
        char item[kNumberTextSize];
        FormatItem(item, sizeof item, request.itemType,
                   LoadItem(request.items + i * itemSize, request.itemType));
        if ((i > 0 && !AppendText(text, size, ",")) || !AppendText(text, size, item)) {
            return false;
        }
    }
    return AppendText(text, size, "]");
}

void RangeSetTexts(const SetRequest& request, char* allowed, size_t allowedSize, char* current,
                   size_t currentSize, char* defaultText, size_t defaultSize)
{
    RangeValues range = {request.minValue, request.maxValue, request.stepSize};
    FormatRange(allowed, allowedSize, request.itemType, range);
    FormatItem(current, currentSize, request.itemType, request.currentValue);
    FormatItem(defaultText, defaultSize, request.itemType, request.defaultValue);
}
