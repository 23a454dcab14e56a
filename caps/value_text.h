// The syntax of the value texts in the capability file: shapes, items,
// numbers, ranges, list positions and names. Nothing here touches a file;
// symbolic items are looked up through the function the caller passes.
#pragma once

#include <cstddef>

#include "source/twain.h"

// The number every dictionary lookup of a missing name yields.
const TW_INT32 kFallbackNumber = 99;

// The longest value text that a reply is built from: as far as the search
// for the current and default values reads Allowed.
const size_t kReplyValueLength = 255;

// The most items a reply's list can carry: one-character items joined by
// "," within kReplyValueLength characters.
const size_t kMaxListItems = (kReplyValueLength + 1) / 2;

// The longest name the store handles, and the longest text it writes.
const size_t kNameLength = 29;
const size_t kStoredTextLength = 259;

enum class ValueShape { Range, Array, List, Single };

// The first test that holds decides: "to" anywhere, then "[", then ",".
ValueShape ShapeOf(const char* text);

// The container that answers a value of the shape.
TW_UINT16 ContainerOfShape(ValueShape shape);

// A symbolic item starts with a letter A-Z or a-z.
bool IsSymbolic(const char* item);

// Optional white space and sign, then decimal digits; reading stops at the
// first other character, and a text without digits is 0. Numbers beyond 32
// bits give the nearest 32-bit number.
TW_INT32 ReadInteger(const char* text);

// The same with a fraction and an exponent allowed.
double ReadNumber(const char* text);

// Copies the next non-empty item at cursor into item, cut to fit, and moves
// cursor past it. Items are separated by ","; empty items are skipped.
// Returns false when no item is left.
bool NextItem(const char*& cursor, char* item, size_t size);

// An array text without its brackets: a leading "[" and a trailing "]" are
// left out when present.
void ArrayInterior(const char* text, char* interior, size_t size);

// Cuts a value text read for a reply to kReplyValueLength characters. When a
// list or an array is cut inside an item, that partial item is dropped too.
// The buffer holds the text as read with room for at least one more
// character than a reply takes, so that a longer value shows.
void CutToReplyLength(char* text);

// The number of a symbolic item in the capability's dictionary section,
// kFallbackNumber when it has none.
typedef TW_INT32 (*SymbolLookup)(const char* capabilityName, const char* symbol);

// An item as a number: a symbolic item through the dictionary; for FIX32
// items a decimal number as a TW_FIX32 in its 32-bit form; otherwise a
// decimal integer.
TW_UINT32 ItemNumber(const char* capabilityName, const char* item, TW_UINT16 itemType,
                     SymbolLookup lookup);

// The non-empty items of a list text (an array's without its brackets) as
// numbers, at most maxItems of them; returns how many.
size_t ListItemNumbers(const char* capabilityName, const char* list, TW_UINT16 itemType,
                       SymbolLookup lookup, TW_UINT32* numbers, size_t maxItems);

// The number of non-empty items in a list text, counting at most maxItems.
size_t CountItems(const char* list, size_t maxItems);

struct RangeValues {
    TW_UINT32 minValue;
    TW_UINT32 maxValue;
    TW_UINT32 stepSize;
};

// A range text "min_to_max,step": min up to the first "_" (leading "_"
// skipped), max after the first "to_" up to a "," or the end, step after the
// first ",". Pieces are decimal numbers as TW_FIX32 for FIX32 items, decimal
// integers otherwise; a missing piece is 0.
RangeValues ParseRange(const char* text, TW_UINT16 itemType);

// The position among the non-empty items of allowed of the first item that
// matches wanted on at most their first eight characters; 0 when none does.
size_t ListIndexOf(const char* allowed, const char* wanted);

// The name of a number in a dictionary section's lines ("name=number", each
// ended by a zero byte, within length bytes). An empty section gives the
// number itself; a number without a line gives an empty name. Lines without
// "=" and names longer than kNameLength are not names.
void NameInSection(const char* lines, size_t length, TW_INT32 number, char* name, size_t size);

// Whether one of a section's lines ("key=value", laid out as above) has the
// value, compared without regard to case: whether the dictionary's "CAP
// NUMBERS" names a capability.
bool SectionHasValue(const char* lines, size_t length, const char* value);

// The text of one item as the store writes it: "%.6f" for FIX32 items,
// "%ld" otherwise.
void FormatItem(char* text, size_t size, TW_UINT16 itemType, TW_UINT32 item);

// "%ld_to_%ld,%ld", or "%.6f_to_%.6f,%.6f" for FIX32 items.
void FormatRange(char* text, size_t size, TW_UINT16 itemType, const RangeValues& range);

// Appends piece to text. Returns false, leaving the text as it was, when the
// result would not fit.
bool AppendText(char* text, size_t size, const char* piece);
