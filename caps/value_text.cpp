#include "caps/value_text.h"

#include <cctype>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "caps/fix32.h"
#include "source/text.h"

namespace {

// ParseRange works on a copy of this many characters.
const size_t kRangeWorkLength = 259;

// The longest item FindListIndex and the list readers look at.
const size_t kItemLength = 255;

// FindListIndex compares at most this many characters.
const size_t kIndexCompareLength = 8;

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The end of the decimal number at the start of text (white space, sign,
// digits, fraction, exponent), and whether it has digits at all.
const char* EndOfDecimalNumber(const char* text, bool& hasDigits)
{
    const char* p = text;
    while (isspace(static_cast<unsigned char>(*p))) {
        ++p;
    }
    if (*p == '+' || *p == '-') {
        ++p;
    }
    hasDigits = false;
    while (IsDigit(*p)) {
        ++p;
        hasDigits = true;
    }
    if (*p == '.') {
        ++p;
        while (IsDigit(*p)) {
            ++p;
            hasDigits = true;
        }
    }
    if (hasDigits && (*p == 'e' || *p == 'E')) {
        const char* exponent = p + 1;
        if (*exponent == '+' || *exponent == '-') {
            ++exponent;
        }
        if (IsDigit(*exponent)) {
            p = exponent;
            while (IsDigit(*p)) {
                ++p;
            }
        }
    }
    return p;
}

TW_INT32 ReadIntegerBetween(const char* begin, const char* end)
{
    char number[64];
    CopyTextPart(number, sizeof number, begin, static_cast<size_t>(end - begin));
    return ReadInteger(number);
}

// A decimal text as an item: a TW_FIX32 in its 32-bit form for FIX32 items,
// an integer otherwise.
TW_UINT32 DecimalItem(const char* text, TW_UINT16 itemType)
{
    if (itemType == TWTY_FIX32) {
        return Fix32ToUint32(NumberToFix32(ReadNumber(text)));
    }
    return static_cast<TW_UINT32>(ReadInteger(text));
}

// One line of a section as the private-profile services read it: from
// start to end (its zero byte, or the end of what was read), with the "="
// in it, or null when it has none.
struct SectionLine {
    const char* start;
    const char* equals;
    const char* end;
};

// Takes the line at cursor and moves cursor past it; false at the end of
// the lines.
bool NextSectionLine(const char*& cursor, const char* end, SectionLine& line)
{
    if (cursor >= end || *cursor == '\0') {
        return false;
    }
    const char* lineEnd = static_cast<const char*>(memchr(cursor, '\0', end - cursor));
    if (lineEnd == nullptr) {
        lineEnd = end;
    }
    line = {cursor, static_cast<const char*>(memchr(cursor, '=', lineEnd - cursor)), lineEnd};
    cursor = lineEnd + 1;
    return true;
}

// Whether the text from begin to end equals text, letters compared without
// regard to case, as the private-profile services compare names.
bool SameName(const char* begin, const char* end, const char* text)
{
    for (; begin < end; ++begin, ++text) {
        if (*text == '\0' || tolower(static_cast<unsigned char>(*begin)) !=
                                 tolower(static_cast<unsigned char>(*text))) {
            return false;
        }
    }
    return *text == '\0';
}

}  // namespace

ValueShape ShapeOf(const char* text)
{
    if (strstr(text, "to") != nullptr) {
        return ValueShape::Range;
    }
    if (strchr(text, '[') != nullptr) {
        return ValueShape::Array;
    }
    if (strchr(text, ',') != nullptr) {
        return ValueShape::List;
    }
    return ValueShape::Single;
}

TW_UINT16 ContainerOfShape(ValueShape shape)
{
    switch (shape) {
    case ValueShape::Range:
        return TWON_RANGE;
    case ValueShape::Array:
        return TWON_ARRAY;
    case ValueShape::List:
        return TWON_ENUMERATION;
    case ValueShape::Single:
        break;
    }
    return TWON_ONEVALUE;
}

bool IsSymbolic(const char* item)
{
    return (item[0] >= 'A' && item[0] <= 'Z') || (item[0] >= 'a' && item[0] <= 'z');
}

TW_INT32 ReadInteger(const char* text)
{
    long long number = strtoll(text, nullptr, 10);
    if (number < INT32_MIN) {
        return INT32_MIN;
    }
    if (number > INT32_MAX) {
        return INT32_MAX;
    }
    return static_cast<TW_INT32>(number);
}

double ReadNumber(const char* text)
{
    bool hasDigits = false;
    const char* end = EndOfDecimalNumber(text, hasDigits);
    if (!hasDigits) {
        return 0.0;
    }
    char* readEnd = nullptr;
    double number = strtod(text, &readEnd);
    // strtod also reads hexadecimal numbers; the decimal reading of "0x..."
    // stops after its zero.
    if (readEnd != end) {
        return 0.0;
    }
    return number;
}

bool NextItem(const char*& cursor, char* item, size_t size)
{
    while (*cursor == ',') {
        ++cursor;
    }
    if (*cursor == '\0') {
        return false;
    }
    const char* end = strchr(cursor, ',');
    if (end == nullptr) {
        end = cursor + strlen(cursor);
    }
    CopyTextPart(item, size, cursor, static_cast<size_t>(end - cursor));
    cursor = end;
    return true;
}

void ArrayInterior(const char* text, char* interior, size_t size)
{
    if (*text == '[') {
        ++text;
    }
    CopyText(interior, size, text);
    size_t length = strlen(interior);
    if (length > 0 && interior[length - 1] == ']') {
        interior[length - 1] = '\0';
    }
}

void CutToReplyLength(char* text)
{
    if (strlen(text) <= kReplyValueLength) {
        return;
    }
    bool cutAtItemEnd = text[kReplyValueLength] == ',' || text[kReplyValueLength] == ']';
    text[kReplyValueLength] = '\0';
    ValueShape shape = ShapeOf(text);
    if (cutAtItemEnd || (shape != ValueShape::List && shape != ValueShape::Array)) {
        return;
    }
    char* lastComma = strrchr(text, ',');
    if (lastComma != nullptr) {
        *lastComma = '\0';
    }
}

TW_UINT32 ItemNumber(const char* capabilityName, const char* item, TW_UINT16 itemType,
                     SymbolLookup lookup)
{
    if (IsSymbolic(item)) {
        return static_cast<TW_UINT32>(lookup(capabilityName, item));
    }
    return DecimalItem(item, itemType);
}

size_t ListItemNumbers(const char* capabilityName, const char* list, TW_UINT16 itemType,
                       SymbolLookup lookup, TW_UINT32* numbers, size_t maxItems)
{
    size_t count = 0;
    char item[kItemLength + 1];
    const char* cursor = list;
    while (count < maxItems && NextItem(cursor, item, sizeof item)) {
        numbers[count++] = ItemNumber(capabilityName, item, itemType, lookup);
    }
    return count;
}

size_t CountItems(const char* list, size_t maxItems)
{
    size_t count = 0;
    char item[2];
    const char* cursor = list;
    while (count < maxItems && NextItem(cursor, item, sizeof item)) {
        ++count;
    }
    return count;
}

RangeValues ParseRange(const char* text, TW_UINT16 itemType)
{
    char work[kRangeWorkLength + 1];
    CopyText(work, text);
    RangeValues range = {0, 0, 0};

    const char* minimum = work;
    while (*minimum == '_') {
        ++minimum;
    }
    range.minValue = DecimalItem(minimum, itemType);

    const char* to = strstr(work, "to_");
    if (to != nullptr) {
        range.maxValue = DecimalItem(to + 3, itemType);
    }
    const char* comma = strchr(work, ',');
    if (comma != nullptr) {
        range.stepSize = DecimalItem(comma + 1, itemType);
    }
    return range;
}

size_t ListIndexOf(const char* allowed, const char* wanted)
{
    char item[kItemLength + 1];
    const char* cursor = allowed;
    for (size_t position = 0; NextItem(cursor, item, sizeof item); ++position) {
        if (strncmp(item, wanted, kIndexCompareLength) == 0) {
            return position;
        }
    }
    return 0;
}

void NameInSection(const char* lines, size_t length, TW_INT32 number, char* name, size_t size)
{
    if (size == 0) {
        return;
    }
    if (length == 0) {
        snprintf(name, size, "%ld", static_cast<long>(number));
        return;
    }
    CopyText(name, size, "");
    const char* cursor = lines;
    SectionLine line;
    while (NextSectionLine(cursor, lines + length, line)) {
        if (line.equals != nullptr) {
            size_t nameLength = static_cast<size_t>(line.equals - line.start);
            if (nameLength <= kNameLength &&
                ReadIntegerBetween(line.equals + 1, line.end) == number) {
                CopyTextPart(name, size, line.start, nameLength);
                return;
            }
        }
    }
}

bool SectionHasValue(const char* lines, size_t length, const char* value)
{
    const char* cursor = lines;
    SectionLine line;
    while (NextSectionLine(cursor, lines + length, line)) {
        if (line.equals != nullptr && SameName(line.equals + 1, line.end, value)) {
            return true;
        }
    }
    return false;
}

void FormatItem(char* text, size_t size, TW_UINT16 itemType, TW_UINT32 item)
{
    if (itemType == TWTY_FIX32) {
        FormatFix32(text, size, Uint32ToFix32(item));
    } else {
        snprintf(text, size, "%ld", static_cast<long>(static_cast<TW_INT32>(item)));
    }
}

void FormatRange(char* text, size_t size, TW_UINT16 itemType, const RangeValues& range)
{
    if (itemType == TWTY_FIX32) {
        snprintf(text, size, "%.6f_to_%.6f,%.6f", Fix32ToNumber(Uint32ToFix32(range.minValue)),
                 Fix32ToNumber(Uint32ToFix32(range.maxValue)),
                 Fix32ToNumber(Uint32ToFix32(range.stepSize)));
    } else {
        snprintf(text, size, "%ld_to_%ld,%ld",
                 static_cast<long>(static_cast<TW_INT32>(range.minValue)),
                 static_cast<long>(static_cast<TW_INT32>(range.maxValue)),
                 static_cast<long>(static_cast<TW_INT32>(range.stepSize)));
    }
}

bool AppendText(char* text, size_t size, const char* piece)
{
    size_t length = strlen(text);
    size_t pieceLength = strlen(piece);
    if (length + pieceLength + 1 > size) {
        return false;
    }
    memcpy(text + length, piece, pieceLength + 1);
    return true;
}
