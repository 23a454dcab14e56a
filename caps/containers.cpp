#include "caps/containers.h"

#include <cstdint>
#include <cstring>

#include "caps/value_text.h"

namespace {

const size_t kEnumerationHeader = offsetof(TW_ENUMERATION, ItemList);
const size_t kArrayHeader = offsetof(TW_ARRAY, ItemList);

// Items of a list reply, read from its value text.
size_t ReplyItemCount(TW_UINT16 conType, const char* valueText)
{
    if (conType == TWON_ARRAY) {
        char interior[kReplyValueLength + 1];
        ArrayInterior(valueText, interior, sizeof interior);
        return CountItems(interior, kMaxListItems);
    }
    return CountItems(valueText, kMaxListItems);
}

// Item types the store reads and writes as numbers: the integer types,
// TWTY_BOOL and TWTY_FIX32.
bool HasNumberItems(TW_UINT16 itemType)
{
    return itemType <= TWTY_FIX32;
}

// A list's items one after the other, ItemSize bytes each.
void StoreItems(TW_UINT8* at, TW_UINT16 itemType, TW_UINT32 numItems, const TW_UINT32* items)
{
    for (TW_UINT32 i = 0; i < numItems; ++i) {
        StoreItem(at + i * ItemSize(itemType), itemType, items[i]);
    }
}

}  // namespace

size_t ContainerBytes(TW_UINT16 conType, TW_UINT32 numItems, TW_UINT16 itemType)
{
    switch (conType) {
    case TWON_ONEVALUE:
        return sizeof(TW_ONEVALUE);
    case TWON_ENUMERATION:
        return kEnumerationHeader + static_cast<size_t>(numItems) * ItemSize(itemType);
    case TWON_ARRAY:
        return kArrayHeader + static_cast<size_t>(numItems) * ItemSize(itemType);
    case TWON_RANGE:
        return sizeof(TW_RANGE);
    default:
        return 0;
    }
}

size_t ContainerBlockSize(TW_UINT16 conType, TW_UINT32 numItems, TW_UINT16 itemType)
{
    size_t bytes = ContainerBytes(conType, numItems, itemType);
    if (conType == TWON_ENUMERATION || conType == TWON_ARRAY) {
        ++bytes;
    }
    return bytes;
}

bool HasNoTextForm(TW_UINT16 itemType)
{
    return itemType >= TWTY_FRAME && itemType <= TWTY_STR255;
}

void StoreItem(TW_UINT8* at, TW_UINT16 itemType, TW_UINT32 number)
{
    switch (ItemSize(itemType)) {
    case 1: {
        TW_UINT8 item = static_cast<TW_UINT8>(number);
        memcpy(at, &item, sizeof item);
        break;
    }
    case 2: {
        TW_UINT16 item = static_cast<TW_UINT16>(number);
        if (itemType == TWTY_INT16 || itemType == TWTY_UINT16 || itemType == TWTY_BOOL) {
            memcpy(at, &item, sizeof item);
        }
        break;
    }
    case 4:
        memcpy(at, &number, sizeof number);
        break;
    default:
        break;
    }
}

TW_UINT32 LoadItem(const TW_UINT8* at, TW_UINT16 itemType)
{
    switch (itemType) {
    case TWTY_INT8: {
        TW_INT8 item;
        memcpy(&item, at, sizeof item);
        return static_cast<TW_UINT32>(static_cast<TW_INT32>(item));
    }
    case TWTY_UINT8:
        return *at;
    case TWTY_INT16: {
        TW_INT16 item;
        memcpy(&item, at, sizeof item);
        return static_cast<TW_UINT32>(static_cast<TW_INT32>(item));
    }
    case TWTY_UINT16:
    case TWTY_BOOL: {
        TW_UINT16 item;
        memcpy(&item, at, sizeof item);
        return item;
    }
    case TWTY_INT32:
    case TWTY_UINT32:
    case TWTY_FIX32: {
        TW_UINT32 item;
        memcpy(&item, at, sizeof item);
        return item;
    }
    default:
        return 0;
    }
}

bool WriteOneValue(void* block, size_t size, TW_UINT16 itemType, TW_UINT32 item)
{
    if (size < sizeof(TW_ONEVALUE)) {
        return false;
    }
    TW_ONEVALUE oneValue = {itemType, item};
    memcpy(block, &oneValue, sizeof oneValue);
    return true;
}

bool WriteEnumeration(void* block, size_t size, TW_UINT16 itemType, TW_UINT32 numItems,
                      TW_UINT32 currentIndex, TW_UINT32 defaultIndex, const TW_UINT32* items)
{
    if (size < ContainerBytes(TWON_ENUMERATION, numItems, itemType)) {
        return false;
    }
    TW_ENUMERATION header = {itemType, numItems, currentIndex, defaultIndex, {0}};
    memcpy(block, &header, kEnumerationHeader);
    StoreItems(static_cast<TW_UINT8*>(block) + kEnumerationHeader, itemType, numItems, items);
    return true;
}

bool WriteArray(void* block, size_t size, TW_UINT16 itemType, TW_UINT32 numItems,
                const TW_UINT32* items)
{
    if (size < ContainerBytes(TWON_ARRAY, numItems, itemType)) {
        return false;
    }
    TW_ARRAY header = {itemType, numItems, {0}};
    memcpy(block, &header, kArrayHeader);
    StoreItems(static_cast<TW_UINT8*>(block) + kArrayHeader, itemType, numItems, items);
    return true;
}

bool WriteRange(void* block, size_t size, TW_UINT16 itemType, TW_UINT32 minValue,
                TW_UINT32 maxValue, TW_UINT32 stepSize, TW_UINT32 defaultValue,
                TW_UINT32 currentValue)
{
    if (size < sizeof(TW_RANGE)) {
        return false;
    }
    TW_RANGE range = {itemType, minValue, maxValue, stepSize, defaultValue, currentValue};
    memcpy(block, &range, sizeof range);
    return true;
}

bool ReadSetRequest(const void* block, size_t size, TW_UINT16 conType, SetRequest& request)
{
    request = SetRequest();
    request.conType = conType;
    const TW_UINT8* bytes = static_cast<const TW_UINT8*>(block);
    switch (conType) {
    case TWON_ONEVALUE: {
        if (size < sizeof(TW_ONEVALUE)) {
            return false;
        }
        TW_ONEVALUE oneValue;
        memcpy(&oneValue, bytes, sizeof oneValue);
        request.itemType = oneValue.ItemType;
        request.item = oneValue.Item;
        return true;
    }
    case TWON_ENUMERATION:
    case TWON_ARRAY: {
        size_t header = conType == TWON_ENUMERATION ? kEnumerationHeader : kArrayHeader;
        if (size < header) {
            return false;
        }
        TW_ARRAY common;
        memcpy(&common, bytes, kArrayHeader);
        request.itemType = common.ItemType;
        request.numItems = common.NumItems;
        request.items = bytes + header;
        uint64_t itemBytes = static_cast<uint64_t>(request.numItems) * ItemSize(request.itemType);
        return HasNumberItems(request.itemType) && itemBytes <= size - header;
    }
    case TWON_RANGE: {
        if (size < sizeof(TW_RANGE)) {
            return false;
        }
        TW_RANGE range;
        memcpy(&range, bytes, sizeof range);
        request.itemType = range.ItemType;
        request.minValue = range.MinValue;
        request.maxValue = range.MaxValue;
        request.stepSize = range.StepSize;
        request.defaultValue = range.DefaultValue;
        request.currentValue = range.CurrentValue;
        return true;
    }
    default:
        return false;
    }
}

size_t ReplyBytes(TW_UINT16 conType, TW_UINT16 itemType, const char* valueText)
{
    if (strcmp(valueText, "NONE") == 0 || HasNoTextForm(itemType)) {
        return 0;
    }
    TW_UINT32 numItems = 0;
    if (conType == TWON_ENUMERATION || conType == TWON_ARRAY) {
        numItems = static_cast<TW_UINT32>(ReplyItemCount(conType, valueText));
    }
    return ContainerBytes(conType, numItems, itemType);
}
