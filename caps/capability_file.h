// The capability file (Tz600a.src) and its dictionary (Tz600a.ini) in the
// Windows directory, read and written through the private-profile services.
// Nothing is cached: every operation reads what it needs from the files.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "source/twain.h"

// Forms the capability file's path into the source context.
void MakeCapabilityFilePath();

// At load: ICAP_XFERMECH's allowed values return to their power-on text.
void RestoreXferMechAllowed();

// A key of the capability file, at most size - 1 characters of it, or
// defaultText when the file, section or key is missing.
void ReadCapabilityText(const char* section, const char* key, const char* defaultText, char* text,
                        size_t size);
void WriteCapabilityText(const char* section, const char* key, const char* text);

// A key of the capability file read as an unsigned integer, or fallback.
TW_UINT32 ReadCapabilityNumber(const char* section, const char* key, TW_UINT32 fallback);

// A key of the dictionary file, read as text or as an integer; a missing
// name gives the fallback number 99.
void ReadDictionaryText(const char* section, const char* key, const char* defaultText, char* text,
                        size_t size);
TW_INT32 DictionaryNumber(const char* section, const char* name);

// The name that the dictionary's "CAP NUMBERS" gives the capability number,
// at most kCapabilityNameLength characters of it; "NONE" when it gives none.
const size_t kCapabilityNameLength = 79;
void ReadCapabilityName(TW_UINT16 cap, char* name, size_t size);

// The capabilities of the capability file: its sections that "CAP NUMBERS"
// names, in file order.
std::vector<std::string> CapabilitySectionNames();

// An item text as a number: a symbolic item through the capability's
// dictionary section, a FIX32 item as a decimal number in TW_FIX32 form,
// anything else as a decimal integer.
TW_UINT32 ParseItem(const char* capabilityName, const char* item, TW_UINT16 itemType);

// The position in Allowed of the capability's "current" or "default" value.
size_t FindListIndex(const char* which, const char* capabilityName);

// The name of a number in the capability's dictionary section, at most 29
// characters: the number itself when the section is missing or empty, an
// empty text when the section has no name for it.
void NumberToName(TW_INT32 number, const char* capabilityName, char* name, size_t size);
