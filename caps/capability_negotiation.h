// DG_CONTROL / DAT_CAPABILITY: answers the application's capability requests
// from the capability file and writes set and reset values back into it. The
// handler itself, HandleCapability, is declared with the other handlers.
#pragma once

#include <cstddef>

#include "source/twain.h"

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

// The builders allocate a new movable block for the reply, except for
// MSG_SET, whose reply goes into the application's own block when it fits.
// They return 0, or TWCC_LOWMEMORY when no block can be allocated.
TW_UINT16 BuildOneValue(TW_CAPABILITY& capability, TW_UINT16 itemType, TW_UINT32 item,
                        TW_UINT16 message);
TW_UINT16 BuildEnumeration(TW_CAPABILITY& capability, TW_UINT16 itemType, TW_UINT32 numItems,
                           TW_UINT32 currentIndex, TW_UINT32 defaultIndex, const TW_UINT32* items,
                           TW_UINT16 message);
TW_UINT16 BuildArray(TW_CAPABILITY& capability, TW_UINT16 itemType, TW_UINT32 numItems,
                     const TW_UINT32* items, TW_UINT16 message);
TW_UINT16 BuildRange(TW_CAPABILITY& capability, TW_UINT16 itemType, TW_UINT32 minValue,
                     TW_UINT32 maxValue, TW_UINT32 stepSize, TW_UINT32 defaultValue,
                     TW_UINT32 currentValue, TW_UINT16 message);
