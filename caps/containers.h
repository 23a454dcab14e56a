// The four TWAIN containers on plain memory: their sizes, their items, and
// writing them into a block of known size.
#pragma once

#include <cstddef>

#include "caps/item_size.h"
#include "source/twain.h"

// Bytes that a container's header and items take; 0 for a container type
// that is none of the four.
size_t ContainerBytes(TW_UINT16 conType, TW_UINT32 numItems, TW_UINT16 itemType);

// The size of a reply block: enumeration and array blocks keep one spare
// byte behind their items.
size_t ContainerBlockSize(TW_UINT16 conType, TW_UINT32 numItems, TW_UINT16 itemType);

// Frames and strings: item types the store has no text for.
bool HasNoTextForm(TW_UINT16 itemType);

// An item at its place in a list: the number converted to the item type and
// stored at ItemSize bytes; item types without numbers are not written.
void StoreItem(TW_UINT8* at, TW_UINT16 itemType, TW_UINT32 number);

// An item read at ItemSize bytes; signed types are widened with their sign.
TW_UINT32 LoadItem(const TW_UINT8* at, TW_UINT16 itemType);

// Each writer fills block (size bytes) with the container's header and items
// and returns true, or returns false and writes nothing when the container
// does not fit.
bool WriteOneValue(void* block, size_t size, TW_UINT16 itemType, TW_UINT32 item);
bool WriteEnumeration(void* block, size_t size, TW_UINT16 itemType, TW_UINT32 numItems,
                      TW_UINT32 currentIndex, TW_UINT32 defaultIndex, const TW_UINT32* items);
bool WriteArray(void* block, size_t size, TW_UINT16 itemType, TW_UINT32 numItems,
                const TW_UINT32* items);
bool WriteRange(void* block, size_t size, TW_UINT16 itemType, TW_UINT32 minValue,
                TW_UINT32 maxValue, TW_UINT32 stepSize, TW_UINT32 defaultValue,
                TW_UINT32 currentValue);

// A set request's container as read from the application's block.
struct SetRequest {
    TW_UINT16 conType;
    TW_UINT16 itemType;
    TW_UINT32 item;         // TW_ONEVALUE
    TW_UINT32 numItems;     // TW_ENUMERATION, TW_ARRAY
    const TW_UINT8* items;  // inside the block
    TW_UINT32 minValue;     // TW_RANGE
    TW_UINT32 maxValue;
    TW_UINT32 stepSize;
    TW_UINT32 defaultValue;
    TW_UINT32 currentValue;
};

// Reads the container of type conType from block (size bytes). False when
// the container is none of the four, when the block is smaller than the
// header or than the items the header announces, or when a list's items are
// of a type the store does not read as numbers.
bool ReadSetRequest(const void* block, size_t size, TW_UINT16 conType, SetRequest& request);

// The bytes of the reply that a container of type conType builds from the
// value text (already cut as a reply reads it); 0 when no reply is built.
size_t ReplyBytes(TW_UINT16 conType, TW_UINT16 itemType, const char* valueText);
