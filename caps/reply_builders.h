// The four reply containers of DAT_CAPABILITY, built into the block that
// the application receives.
#pragma once

#include "source/twain.h"

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
