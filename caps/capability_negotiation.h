// DG_CONTROL / DAT_CAPABILITY: answers the application's capability requests
// from the capability file and writes set and reset values back into it. The
// handler itself, HandleCapability, is declared with the other handlers.
#pragma once

#include <cstddef>

#include "source/twain.h"

// The answer to a get, get current, get default, set or reset of the named
// capability: the reply in the application's capability, the condition code
// stored for DAT_STATUS, and the return code.
TW_UINT16 AnswerRequest(TW_CAPABILITY& capability, TW_UINT16 message, const char* name);

// Whether the capability file lets the source carry out one of those five
// messages for the capability: a get whose reply can be built from the
// values as they stand, a set that the Set list admits in some container, a
// reset that Reset allows and whose reply can be built from the values the
// reset writes.
bool OperationOffered(const char* name, TW_UINT16 message);

// The reply container of a get, set or reset, from the capability file's
// operation and value keys. Returns a condition code, 0 on success.
TW_UINT16 BuildReply(TW_CAPABILITY& capability, TW_UINT16 message, const char* name);

// Checks the application's set request and writes its values into the
// capability file. Returns a condition code, 0 when the values are stored.
TW_UINT16 StoreSetRequest(TW_CAPABILITY& capability, const char* name);

// Allowed returns to PowerON and Current to Default, unless the capability
// refuses resets. Returns a condition code.
TW_UINT16 ResetCapability(const char* name);

// Whether a one-value set may store value; text receives what to store.
bool CheckAllowedValue(TW_INT16 value, const char* name, char* text, size_t size);
