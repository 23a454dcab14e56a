// The bytes that one item of a TWAIN container takes, by item type. Shared by
// the source and by the application side (acquire, tests), which build and
// read the same containers.
#pragma once

#include <cstddef>

#include "source/twain.h"

// 1 for 8-bit types, 2 for 16-bit types and TWTY_BOOL, 4 for 32-bit types and
// TWTY_FIX32, 16 for TWTY_FRAME, 2 for anything else.
inline size_t ItemSize(TW_UINT16 itemType)
{
    switch (itemType) {
    case TWTY_INT8:
    case TWTY_UINT8:
        return 1;
    case TWTY_INT32:
    case TWTY_UINT32:
    case TWTY_FIX32:
        return 4;
    case TWTY_FRAME:
        return 16;
    default:
        return 2;
    }
}
