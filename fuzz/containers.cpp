// The application's containers as a set request hands them to the source,
// with any block size, NumItems and item type: the request read from the
// block, the texts it stores, the reply read back from those texts, the
// containers written into blocks of the application's size, and list
// replies of any item type.
// Input: a byte choosing the container type (TWON_ARRAY, TWON_ENUMERATION,
// TWON_ONEVALUE, TWON_RANGE, or one that is none of them), then the block.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "caps/containers.h"
#include "caps/set_texts.h"
#include "caps/value_text.h"
#include "fuzz/fuzz_check.h"

namespace {

// The four container types from TWON_ARRAY on, and one more.
const uint8_t kContainerChoices = 5;

// A dictionary section that names every number "N" and the number.
void NumberName(TW_INT32 number, const char*, char* name, size_t size)
{
    snprintf(name, size, "N%ld", static_cast<long>(number));
}

TW_INT32 NameNumber(const char*, const char* name)
{
    return name[0] == 'N' ? ReadInteger(name + 1) : kFallbackNumber;
}

std::vector<TW_UINT32> LoadedItems(const SetRequest& request)
{
    std::vector<TW_UINT32> items(request.numItems);
    for (size_t i = 0; i < items.size(); ++i) {
        items[i] = LoadItem(request.items + i * ItemSize(request.itemType), request.itemType);
    }
    return items;
}

// Writing the container read from the block into a block of the same size
// gives the bytes it was read from and touches nothing behind them; into a
// block one byte too small it writes nothing.
template <typename Write>
void CheckWrite(const std::vector<uint8_t>& block, size_t bytes, Write write)
{
    const uint8_t kUntouched = 0xA5;
    FUZZ_CHECK(bytes <= block.size());
    std::vector<uint8_t> same(block.size(), kUntouched);
    FUZZ_CHECK(write(same.data(), same.size()));
    FUZZ_CHECK(memcmp(same.data(), block.data(), bytes) == 0);
    FUZZ_CHECK(std::all_of(same.begin() + bytes, same.end(),
                           [&](uint8_t byte) { return byte == kUntouched; }));
    std::vector<uint8_t> small(bytes - 1, kUntouched);
    FUZZ_CHECK(!write(small.data(), small.size()));
    FUZZ_CHECK(
        std::all_of(small.begin(), small.end(), [&](uint8_t byte) { return byte == kUntouched; }));
}

std::vector<TW_UINT32> ListNumbers(const char* list, TW_UINT16 itemType)
{
    std::vector<TW_UINT32> numbers(kStoredTextLength);
    numbers.resize(
        ListItemNumbers("CAP", list, itemType, NameNumber, numbers.data(), numbers.size()));
    return numbers;
}

// The Allowed text of a list set reads back as the request's items, and the
// reply that MSG_SET reads from it, cut to a reply's length, as the first
// of them, in a container of the size ReplyBytes announces.
void CheckListText(TW_UINT16 conType, const char* text, TW_UINT16 itemType,
                   const std::vector<TW_UINT32>& items)
{
    char list[kStoredTextLength + 1];
    if (conType == TWON_ARRAY) {
        const size_t length = strlen(text);
        FUZZ_CHECK(length >= 2 && text[0] == '[' && text[length - 1] == ']');
        ArrayInterior(text, list, sizeof list);
    } else {
        snprintf(list, sizeof list, "%s", text);
    }
    FUZZ_CHECK(ListNumbers(list, itemType) == items);

    char reply[kStoredTextLength + 1];
    snprintf(reply, sizeof reply, "%s", text);
    CutToReplyLength(reply);
    if (conType == TWON_ARRAY) {
        ArrayInterior(reply, list, sizeof list);
    } else {
        snprintf(list, sizeof list, "%s", reply);
    }
    const std::vector<TW_UINT32> replied = ListNumbers(list, itemType);
    FUZZ_CHECK(replied.size() <= kMaxListItems && replied.size() <= items.size());
    FUZZ_CHECK(std::equal(replied.begin(), replied.end(), items.begin()));
    FUZZ_CHECK(ReplyBytes(conType, itemType, reply) ==
               ContainerBytes(conType, static_cast<TW_UINT32>(replied.size()), itemType));
    // No reply is built in a container of no known type, nor of frames.
    FUZZ_CHECK(ReplyBytes(0, itemType, reply) == 0 && ReplyBytes(conType, TWTY_FRAME, reply) == 0);
}

void CheckEnumeration(const std::vector<uint8_t>& block, const SetRequest& request)
{
    const std::vector<TW_UINT32> items = LoadedItems(request);
    TW_ENUMERATION header;
    memcpy(&header, block.data(), offsetof(TW_ENUMERATION, ItemList));
    CheckWrite(block, ContainerBytes(TWON_ENUMERATION, request.numItems, request.itemType),
               [&](void* to, size_t size) {
                   return WriteEnumeration(to, size, request.itemType, request.numItems,
                                           header.CurrentIndex, header.DefaultIndex, items.data());
               });
    char text[kStoredTextLength + 1];
    if (EnumerationSetText(request, "CAP", NumberName, text, sizeof text)) {
        CheckListText(TWON_ENUMERATION, text, request.itemType, items);
    }
}

void CheckArray(const std::vector<uint8_t>& block, const SetRequest& request)
{
    const std::vector<TW_UINT32> items = LoadedItems(request);
    CheckWrite(block, ContainerBytes(TWON_ARRAY, request.numItems, request.itemType),
               [&](void* to, size_t size) {
                   return WriteArray(to, size, request.itemType, request.numItems, items.data());
               });
    char text[kStoredTextLength + 1];
    if (ArraySetText(request, text, sizeof text)) {
        CheckListText(TWON_ARRAY, text, request.itemType, items);
    }
}

void CheckOneValue(const std::vector<uint8_t>& block, const SetRequest& request)
{
    CheckWrite(block, ContainerBytes(TWON_ONEVALUE, 0, request.itemType),
               [&](void* to, size_t size) {
                   return WriteOneValue(to, size, request.itemType, request.item);
               });
    if (request.itemType == TWTY_FIX32) {
        char text[kStoredTextLength + 1];
        FormatItem(text, sizeof text, TWTY_FIX32, request.item);
        FUZZ_CHECK(ItemNumber("CAP", text, TWTY_FIX32, NameNumber) == request.item);
    }
}

// Allowed, Current and Default of a range set read back as the range.
void CheckRange(const std::vector<uint8_t>& block, const SetRequest& request)
{
    CheckWrite(block, ContainerBytes(TWON_RANGE, 0, request.itemType), [&](void* to, size_t size) {
        return WriteRange(to, size, request.itemType, request.minValue, request.maxValue,
                          request.stepSize, request.defaultValue, request.currentValue);
    });
    char allowed[kStoredTextLength + 1];
    char current[32];
    char defaultText[32];
    RangeSetTexts(request, allowed, sizeof allowed, current, sizeof current, defaultText,
                  sizeof defaultText);
    const RangeValues range = ParseRange(allowed, request.itemType);
    FUZZ_CHECK(range.minValue == request.minValue && range.maxValue == request.maxValue &&
               range.stepSize == request.stepSize);
    FUZZ_CHECK(ItemNumber("CAP", current, request.itemType, NameNumber) == request.currentValue);
    FUZZ_CHECK(ItemNumber("CAP", defaultText, request.itemType, NameNumber) ==
               request.defaultValue);
}

// A list reply as MSG_GET builds it, of the item type the block starts
// with, whatever that is, and of the numbers behind it: in a zeroed block of
// ContainerBlockSize bytes, each item stored as its number's low bytes, or
// left zero for a type without numbers.
void CheckListReply(const std::vector<uint8_t>& block)
{
    TW_UINT16 itemType;
    if (block.size() < sizeof itemType) {
        return;
    }
    memcpy(&itemType, block.data(), sizeof itemType);
    std::vector<TW_UINT32> numbers(
        std::min((block.size() - sizeof itemType) / sizeof(TW_UINT32), kMaxListItems));
    for (size_t i = 0; i < numbers.size(); ++i) {
        memcpy(&numbers[i], &block[sizeof itemType + i * sizeof(TW_UINT32)], sizeof(TW_UINT32));
    }
    const TW_UINT32 count = static_cast<TW_UINT32>(numbers.size());

    std::vector<uint8_t> reply(ContainerBlockSize(TWON_ARRAY, count, itemType));
    FUZZ_CHECK(WriteArray(reply.data(), reply.size(), itemType, count, numbers.data()));
    const size_t itemSize = ItemSize(itemType);
    const uint8_t* item = reply.data() + offsetof(TW_ARRAY, ItemList);
    for (TW_UINT32 i = 0; i < count; ++i, item += itemSize) {
        if (itemType <= TWTY_FIX32) {
            FUZZ_CHECK(memcmp(item, &numbers[i], itemSize) == 0);
        } else {
            FUZZ_CHECK(std::all_of(item, item + itemSize, [](uint8_t byte) { return byte == 0; }));
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0) {
        return 0;
    }
    const TW_UINT16 conType = static_cast<TW_UINT16>(TWON_ARRAY + data[0] % kContainerChoices);
    // The application's block, of its exact size.
    const std::vector<uint8_t> block(data + 1, data + size);
    CheckListReply(block);
    SetRequest request;
    const bool read = ReadSetRequest(block.data(), block.size(), conType, request);
    FUZZ_CHECK(request.conType == conType);
    FUZZ_CHECK(!read || conType <= TWON_RANGE);
    if (!read) {
        return 0;
    }
    FUZZ_CHECK(ContainerBytes(conType, request.numItems, request.itemType) <= block.size());
    switch (conType) {
    case TWON_ENUMERATION:
        CheckEnumeration(block, request);
        break;
    case TWON_ARRAY:
        CheckArray(block, request);
        break;
    case TWON_ONEVALUE:
        CheckOneValue(block, request);
        break;
    default:
        CheckRange(block, request);
        break;
    }
    return 0;
}
