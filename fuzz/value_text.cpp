// The value texts of the capability file as the store reads them: shapes,
// items, numbers, ranges, list positions, the check of a set value against
// Allowed, and the names of numbers in a dictionary section.
// Input: a value text, a zero byte, then the lines of a dictionary section
// ("name=number", each ended by a zero byte).
#include <algorithm>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "caps/allowed_values.h"
#include "caps/value_text.h"
#include "fuzz/fuzz_check.h"

namespace {

// The longest Allowed text that the check of a set value reads.
const size_t kAllowedCheckLength = 511;

// Item types whose items read differently: 16-bit, 32-bit and FIX32.
const TW_UINT16 kItemTypes[] = {TWTY_INT16, TWTY_UINT32, TWTY_FIX32};

// A dictionary that gives every symbol a number.
TW_INT32 SymbolNumber(const char*, const char* symbol)
{
    return static_cast<TW_INT32>(strlen(symbol)) - 3;
}

// The items of a list text, each checked to be a non-empty piece between
// commas, cut to the reader's buffer.
std::vector<std::string> CheckedItems(const char* text)
{
    std::vector<std::string> items;
    char item[8];
    const char* cursor = text;
    for (;;) {
        const char* start = cursor + strspn(cursor, ",");
        if (!NextItem(cursor, item, sizeof item)) {
            FUZZ_CHECK(*start == '\0');
            return items;
        }
        const size_t pieceLength = static_cast<size_t>(cursor - start);
        FUZZ_CHECK(pieceLength > 0 && (*cursor == ',' || *cursor == '\0'));
        FUZZ_CHECK(memchr(start, ',', pieceLength) == nullptr);
        FUZZ_CHECK(strlen(item) == std::min(pieceLength, sizeof item - 1));
        FUZZ_CHECK(strncmp(item, start, strlen(item)) == 0);
        items.emplace_back(start, pieceLength);
    }
}

void CheckListReading(const std::string& text, const std::vector<std::string>& items)
{
    FUZZ_CHECK(CountItems(text.c_str(), SIZE_MAX) == items.size());
    const size_t index = items.empty() ? 0 : ListIndexOf(text.c_str(), items.back().c_str());
    FUZZ_CHECK(index == 0 || index < items.size());
    if (!items.empty()) {
        FUZZ_CHECK(items[index].compare(0, 8, items.back(), 0, 8) == 0);
    }

    char interior[kReplyValueLength + 1];
    ArrayInterior(text.c_str(), interior, sizeof interior);
    const size_t interiorLength = strlen(interior);
    FUZZ_CHECK(interiorLength <= kReplyValueLength);
    FUZZ_CHECK(text.compare(text[0] == '[' ? 1 : 0, interiorLength, interior) == 0);

    std::vector<char> cut(text.begin(), text.end());
    cut.push_back('\0');
    CutToReplyLength(cut.data());
    const size_t cutLength = strlen(cut.data());
    FUZZ_CHECK(cutLength <= kReplyValueLength);
    FUZZ_CHECK(text.compare(0, cutLength, cut.data()) == 0);
    FUZZ_CHECK(text.size() > kReplyValueLength || cutLength == text.size());
    // A list cut short ends where one of its items ended.
    FUZZ_CHECK(cutLength == text.size() || cutLength == kReplyValueLength ||
               text[cutLength] == ',');
}

// An item's number, written as the store writes it, reads back as the same
// number; so does a range.
void CheckNumbers(const std::string& text, TW_UINT16 itemType, size_t itemCount)
{
    const TW_UINT32 number = ItemNumber("CAP", text.c_str(), itemType, SymbolNumber);
    char written[64];
    FormatItem(written, sizeof written, itemType, number);
    FUZZ_CHECK(strlen(written) <= 13);
    FUZZ_CHECK(ItemNumber("CAP", written, itemType, SymbolNumber) == number);

    const RangeValues range = ParseRange(text.c_str(), itemType);
    char rangeText[128];
    FormatRange(rangeText, sizeof rangeText, itemType, range);
    const RangeValues back = ParseRange(rangeText, itemType);
    FUZZ_CHECK(back.minValue == range.minValue && back.maxValue == range.maxValue &&
               back.stepSize == range.stepSize);

    TW_UINT32 numbers[kMaxListItems];
    const size_t count =
        ListItemNumbers("CAP", text.c_str(), itemType, SymbolNumber, numbers, kMaxListItems);
    FUZZ_CHECK(count == std::min(itemCount, kMaxListItems));
}

TW_INT16 ItemValue(const std::string& item)
{
    const TW_INT32 number =
        IsSymbolic(item.c_str()) ? SymbolNumber("CAP", item.c_str()) : ReadInteger(item.c_str());
    return static_cast<TW_INT16>(number);
}

// A range admits its minimum when that is not above its maximum, and stores
// it brought toward zero. A list admits the value of its first item that the
// store could write back, storing that item, and no value that none of its
// items has.
void CheckAllowed(const std::string& text)
{
    const std::string allowed = text.substr(0, kAllowedCheckLength);
    char stored[kNameLength + 1];
    if (ShapeOf(allowed.c_str()) == ValueShape::Range) {
        const RangeValues range = ParseRange(allowed.c_str(), TWTY_INT32);
        const TW_INT16 minimum = static_cast<TW_INT16>(range.minValue);
        const bool admitted =
            CheckAllowedText("CAP", allowed.c_str(), minimum, SymbolNumber, stored, sizeof stored);
        FUZZ_CHECK(admitted == (minimum <= static_cast<TW_INT16>(range.maxValue)));
        if (admitted) {
            const TW_INT32 value = ReadInteger(stored);
            FUZZ_CHECK(minimum >= 0 ? value >= 0 && value <= minimum
                                    : value <= 0 && value >= minimum);
        }
        return;
    }
    if (allowed == "NONE") {
        FUZZ_CHECK(
            !CheckAllowedText("CAP", allowed.c_str(), 0, SymbolNumber, stored, sizeof stored));
        return;
    }
    char interior[kAllowedCheckLength + 1];
    ArrayInterior(allowed.c_str(), interior, sizeof interior);
    std::set<TW_INT16> values;
    for (const std::string& item : CheckedItems(interior)) {
        if (item.size() > kNameLength) {
            continue;
        }
        if (values.empty()) {
            FUZZ_CHECK(CheckAllowedText("CAP", allowed.c_str(), ItemValue(item), SymbolNumber,
                                        stored, sizeof stored));
            FUZZ_CHECK(item == stored);
        }
        values.insert(ItemValue(item));
    }
    TW_INT16 other = INT16_MIN;
    while (values.count(other) != 0) {
        ++other;
    }
    FUZZ_CHECK(
        !CheckAllowedText("CAP", allowed.c_str(), other, SymbolNumber, stored, sizeof stored));
}

bool SectionHasLineStarting(const std::vector<char>& lines, const std::string& start)
{
    for (size_t at = 0; at < lines.size();) {
        const size_t length = strnlen(&lines[at], lines.size() - at);
        if (std::string(&lines[at], length).compare(0, start.size(), start) == 0) {
            return true;
        }
        at += length + 1;
    }
    return false;
}

// The name of the number that the value text reads as, in buffers of two
// sizes.
void CheckNameInSection(const std::string& text, const std::vector<char>& lines)
{
    const TW_INT32 number = ReadInteger(text.c_str());
    char name[kNameLength + 1];
    NameInSection(lines.data(), lines.size(), number, name, sizeof name);
    FUZZ_CHECK(strlen(name) <= kNameLength);
    if (lines.empty()) {
        FUZZ_CHECK(std::to_string(number) == name);
    } else if (name[0] != '\0') {
        FUZZ_CHECK(SectionHasLineStarting(lines, std::string(name) + "="));
    }
    char shortName[5];
    NameInSection(lines.data(), lines.size(), number, shortName, sizeof shortName);
    FUZZ_CHECK(strncmp(shortName, name, sizeof shortName - 1) == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text = LeadingText(data, size);
    // The section's lines, in a block of their exact size.
    const size_t linesAt = std::min(text.size() + 1, size);
    const std::vector<char> lines(data + linesAt, data + size);

    const std::vector<std::string> items = CheckedItems(text.c_str());
    CheckListReading(text, items);
    for (TW_UINT16 itemType : kItemTypes) {
        CheckNumbers(text, itemType, items.size());
    }
    CheckAllowed(text);
    CheckNameInSection(text, lines);
    return 0;
}
