// The one-value set check, the container layouts and the texts a set writes.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "caps/allowed_values.h"
#include "caps/containers.h"
#include "caps/fix32.h"
#include "caps/set_texts.h"

namespace {

TW_INT32 XferMechNumber(const char*, const char* symbol)
{
    if (strcmp(symbol, "TWSX_NATIVE") == 0) {
        return 0;
    }
    if (strcmp(symbol, "TWSX_FILE") == 0) {
        return 1;
    }
    if (strcmp(symbol, "TWSX_MEMORY") == 0 ||
        strcmp(symbol, "A_NAME_OF_EXACTLY_29_LETTERS_") == 0) {
        return 2;
    }
    return kFallbackNumber;
}

void NameXferMech(TW_INT32 number, const char*, char* name, size_t size)
{
    const char* names[] = {"TWSX_NATIVE", "TWSX_FILE", "TWSX_MEMORY"};
    snprintf(name, size, "%s", number >= 0 && number < 3 ? names[number] : "");
}

void NameLongly(TW_INT32, const char*, char* name, size_t size)
{
    snprintf(name, size, "%s", "ABCDEFGHIJKLMNOPQRSTUVWXYZABC");
}

// The text a set of value stores, or "refused".
std::string Checked(const char* allowed, TW_INT16 value)
{
    char text[30] = "unchanged";
    if (!CheckAllowedText("ICAP_XFERMECH", allowed, value, XferMechNumber, text, sizeof text)) {
        return "refused";
    }
    return text;
}

TEST(AllowedRange, ValuesBetweenMinAndMaxAreSteppedTowardZero)
{
    EXPECT_EQ(Checked("0_to_100,10", 55), "50");
    EXPECT_EQ(Checked("0_to_100,10", 100), "100");
    EXPECT_EQ(Checked("0_to_100,10", 101), "refused");
    EXPECT_EQ(Checked("0_to_100,10", -1), "refused");
    // Stepping counts from zero and is not held against min again.
    EXPECT_EQ(Checked("10_to_100,20", 15), "0");
    EXPECT_EQ(Checked("-10_to_10,5", -7), "-5");
    EXPECT_EQ(Checked("-1_to_32767,1", -1), "-1");
    // A step of 0 keeps the value.
    EXPECT_EQ(Checked("0_to_100,0", 37), "37");
    // Bounds are compared as signed 16-bit numbers.
    EXPECT_EQ(Checked("0_to_65535,1", 5), "refused");
    EXPECT_EQ(Checked("-32768_to_32767,-1", -32768), "-32768");
}

TEST(AllowedList, TheMatchingItemIsStoredAsWritten)
{
    EXPECT_EQ(Checked("TWSX_NATIVE,TWSX_FILE,TWSX_MEMORY", 2), "TWSX_MEMORY");
    EXPECT_EQ(Checked("TWSX_NATIVE,TWSX_FILE,TWSX_MEMORY", 3), "refused");
    EXPECT_EQ(Checked("[1,,2,3]", 3), "3");
    EXPECT_EQ(Checked("TWSX_FILE", 1), "TWSX_FILE");
    EXPECT_EQ(Checked("0,65538", 2), "65538");
    EXPECT_EQ(Checked("UNKNOWN_NAME", 99), "UNKNOWN_NAME");
    EXPECT_EQ(Checked(" TWSX_FILE", 0), " TWSX_FILE");
    EXPECT_EQ(Checked("", 0), "refused");
    EXPECT_EQ(Checked("NONE", 99), "refused");
    // Items longer than a name are never stored.
    EXPECT_EQ(Checked("A_NAME_OF_EXACTLY_29_LETTERS_", 2), "A_NAME_OF_EXACTLY_29_LETTERS_");
    EXPECT_EQ(Checked("A_NAME_OF_EXACTLY_29_LETTERS_X,TWSX_MEMORY", 2), "TWSX_MEMORY");
    EXPECT_EQ(Checked("000000000000000000000000000002", 2), "refused");
}

TEST(ContainerLayout, SizesFollowTheItemType)
{
    EXPECT_EQ(ItemSize(TWTY_INT8), 1u);
    EXPECT_EQ(ItemSize(TWTY_UINT8), 1u);
    EXPECT_EQ(ItemSize(TWTY_INT16), 2u);
    EXPECT_EQ(ItemSize(TWTY_UINT16), 2u);
    EXPECT_EQ(ItemSize(TWTY_BOOL), 2u);
    EXPECT_EQ(ItemSize(TWTY_INT32), 4u);
    EXPECT_EQ(ItemSize(TWTY_UINT32), 4u);
    EXPECT_EQ(ItemSize(TWTY_FIX32), 4u);
    EXPECT_EQ(ItemSize(TWTY_FRAME), 16u);
    EXPECT_EQ(ItemSize(TWTY_STR32), 2u);
    EXPECT_EQ(ItemSize(99), 2u);

    EXPECT_EQ(ContainerBlockSize(TWON_ONEVALUE, 0, TWTY_UINT32), 6u);
    EXPECT_EQ(ContainerBlockSize(TWON_ENUMERATION, 3, TWTY_UINT16), 21u);
    EXPECT_EQ(ContainerBlockSize(TWON_ARRAY, 3, TWTY_UINT32), 19u);
    EXPECT_EQ(ContainerBlockSize(TWON_RANGE, 0, TWTY_FIX32), 22u);
    EXPECT_EQ(ContainerBytes(TWON_ENUMERATION, 3, TWTY_UINT16), 20u);
    EXPECT_EQ(ContainerBytes(99, 3, TWTY_UINT16), 0u);
}

TEST(ContainerLayout, ItemsAreConvertedToTheirTypeAndReadBackWithSign)
{
    TW_UINT8 bytes[16];
    memset(bytes, 0xEE, sizeof bytes);
    StoreItem(bytes, TWTY_INT8, static_cast<TW_UINT32>(-2));
    EXPECT_EQ(bytes[0], 0xFE);
    EXPECT_EQ(bytes[1], 0xEE);
    EXPECT_EQ(static_cast<TW_INT32>(LoadItem(bytes, TWTY_INT8)), -2);
    EXPECT_EQ(LoadItem(bytes, TWTY_UINT8), 0xFEu);

    StoreItem(bytes, TWTY_INT16, 0x12345678);
    EXPECT_EQ(LoadItem(bytes, TWTY_UINT16), 0x5678u);
    StoreItem(bytes, TWTY_INT16, static_cast<TW_UINT32>(-300));
    EXPECT_EQ(static_cast<TW_INT32>(LoadItem(bytes, TWTY_INT16)), -300);
    EXPECT_EQ(bytes[2], 0xEE);

    memset(bytes, 0xEE, sizeof bytes);
    StoreItem(bytes, TWTY_FRAME, 7);
    StoreItem(bytes, 99, 7);
    EXPECT_EQ(bytes[0], 0xEE);
    EXPECT_EQ(LoadItem(bytes, TWTY_FRAME), 0u);
}

TEST(ContainerLayout, WritersFillExactlyTheirBytesOrNothing)
{
    TW_UINT32 items[3] = {0, 1, 2};
    std::vector<TW_UINT8> block(20, 0xEE);
    ASSERT_FALSE(WriteEnumeration(block.data(), 19, TWTY_UINT16, 3, 1, 0, items));
    EXPECT_EQ(block, std::vector<TW_UINT8>(20, 0xEE));
    ASSERT_TRUE(WriteEnumeration(block.data(), 20, TWTY_UINT16, 3, 1, 0, items));
    // The packed header's fields, copied out as the application reads them.
    TW_UINT16 itemType;
    TW_UINT32 counts[3];
    memcpy(&itemType, block.data(), sizeof itemType);
    memcpy(counts, block.data() + 2, sizeof counts);
    EXPECT_EQ(itemType, TWTY_UINT16);
    EXPECT_EQ(counts[0], 3u);
    EXPECT_EQ(counts[1], 1u);
    EXPECT_EQ(counts[2], 0u);
    EXPECT_EQ(block[18], 2);
    EXPECT_EQ(block[19], 0);

    std::vector<TW_UINT8> range(22, 0);
    EXPECT_FALSE(WriteRange(range.data(), 21, TWTY_INT32, 1, 2, 3, 4, 5));
    ASSERT_TRUE(WriteRange(range.data(), 22, TWTY_INT32, 1, 2, 3, 4, 5));
    TW_UINT32 values[5];
    memcpy(values, range.data() + 2, sizeof values);
    EXPECT_EQ(values[3], 4u);
    EXPECT_EQ(values[4], 5u);

    std::vector<TW_UINT8> oneValue(6, 0);
    EXPECT_FALSE(WriteOneValue(oneValue.data(), 5, TWTY_UINT16, 9));
    std::vector<TW_UINT8> array(6, 0);
    EXPECT_FALSE(WriteArray(array.data(), 6, TWTY_UINT8, 1, items));
    EXPECT_TRUE(WriteArray(array.data(), 6, TWTY_UINT8, 0, items));
}

std::vector<TW_UINT8> ListBlock(size_t header, TW_UINT16 itemType, TW_UINT32 numItems,
                                const std::vector<TW_UINT32>& items)
{
    std::vector<TW_UINT8> block(header + items.size() * ItemSize(itemType), 0);
    memcpy(block.data(), &itemType, 2);
    memcpy(block.data() + 2, &numItems, 4);
    for (size_t i = 0; i < items.size(); ++i) {
        StoreItem(block.data() + header + i * ItemSize(itemType), itemType, items[i]);
    }
    return block;
}

TEST(SetRequestBlock, HeadersAndItemsMustLieInsideTheBlock)
{
    SetRequest request;
    std::vector<TW_UINT8> enumeration = ListBlock(14, TWTY_UINT16, 3, {0, 1, 2});
    ASSERT_TRUE(ReadSetRequest(enumeration.data(), enumeration.size(), TWON_ENUMERATION, request));
    EXPECT_EQ(request.numItems, 3u);
    EXPECT_EQ(LoadItem(request.items + 4, TWTY_UINT16), 2u);
    EXPECT_FALSE(
        ReadSetRequest(enumeration.data(), enumeration.size() - 1, TWON_ENUMERATION, request));
    EXPECT_FALSE(ReadSetRequest(enumeration.data(), 13, TWON_ENUMERATION, request));

    std::vector<TW_UINT8> huge = ListBlock(6, TWTY_UINT32, 0xFFFFFFFF, {1, 2});
    EXPECT_FALSE(ReadSetRequest(huge.data(), huge.size(), TWON_ARRAY, request));
    std::vector<TW_UINT8> frames = ListBlock(6, TWTY_FRAME, 1, {0});
    EXPECT_FALSE(ReadSetRequest(frames.data(), frames.size(), TWON_ARRAY, request));
    std::vector<TW_UINT8> empty = ListBlock(6, TWTY_UINT16, 0, {});
    EXPECT_TRUE(ReadSetRequest(empty.data(), empty.size(), TWON_ARRAY, request));

    TW_ONEVALUE oneValue = {TWTY_INT16, 0xFFFF};
    EXPECT_TRUE(ReadSetRequest(&oneValue, sizeof oneValue, TWON_ONEVALUE, request));
    EXPECT_EQ(request.item, 0xFFFFu);
    EXPECT_FALSE(ReadSetRequest(&oneValue, sizeof oneValue - 1, TWON_ONEVALUE, request));
    EXPECT_FALSE(ReadSetRequest(&oneValue, sizeof oneValue, 7, request));

    TW_RANGE range = {TWTY_INT32, 1, 2, 3, 4, 5};
    EXPECT_TRUE(ReadSetRequest(&range, sizeof range, TWON_RANGE, request));
    EXPECT_EQ(request.currentValue, 5u);
    EXPECT_FALSE(ReadSetRequest(&range, sizeof range - 1, TWON_RANGE, request));
}

TEST(SetRequestBlock, ReplySizeFollowsTheValueText)
{
    EXPECT_EQ(ReplyBytes(TWON_ONEVALUE, TWTY_UINT16, "TWSX_FILE"), 6u);
    EXPECT_EQ(ReplyBytes(TWON_ENUMERATION, TWTY_UINT16, "A,,B,C"), 20u);
    EXPECT_EQ(ReplyBytes(TWON_ARRAY, TWTY_UINT32, "[1,2]"), 14u);
    EXPECT_EQ(ReplyBytes(TWON_RANGE, TWTY_FIX32, "1_to_2,1"), 22u);
    EXPECT_EQ(ReplyBytes(TWON_ONEVALUE, TWTY_UINT16, "NONE"), 0u);
    EXPECT_EQ(ReplyBytes(0, TWTY_UINT16, "1"), 0u);
    EXPECT_EQ(ReplyBytes(TWON_ONEVALUE, TWTY_FRAME, "1"), 0u);
}

std::string EnumerationText(TW_UINT16 itemType, const std::vector<TW_UINT32>& items,
                            void (*naming)(TW_INT32, const char*, char*, size_t) = NameXferMech)
{
    std::vector<TW_UINT8> block =
        ListBlock(14, itemType, static_cast<TW_UINT32>(items.size()), items);
    SetRequest request;
    EXPECT_TRUE(ReadSetRequest(block.data(), block.size(), TWON_ENUMERATION, request));
    char text[260];
    if (!EnumerationSetText(request, "ICAP_XFERMECH", naming, text, sizeof text)) {
        return "refused";
    }
    return text;
}

std::string ArrayText(TW_UINT16 itemType, const std::vector<TW_UINT32>& items)
{
    std::vector<TW_UINT8> block =
        ListBlock(6, itemType, static_cast<TW_UINT32>(items.size()), items);
    SetRequest request;
    EXPECT_TRUE(ReadSetRequest(block.data(), block.size(), TWON_ARRAY, request));
    char text[260];
    if (!ArraySetText(request, text, sizeof text)) {
        return "refused";
    }
    return text;
}

TEST(SetTexts, EnumerationsWriteNamesJoinedByCommas)
{
    EXPECT_EQ(EnumerationText(TWTY_UINT16, {0, 2}), "TWSX_NATIVE,TWSX_MEMORY");
    EXPECT_EQ(EnumerationText(TWTY_UINT16, {0, 7, 1}), "TWSX_NATIVE,,TWSX_FILE");
    EXPECT_EQ(EnumerationText(TWTY_UINT16, {1, 7}), "TWSX_FILE,");
    EXPECT_EQ(EnumerationText(TWTY_UINT16, {}), "");
    EXPECT_EQ(EnumerationText(TWTY_FIX32, {Fix32ToUint32({72, 0}), Fix32ToUint32({-2, 32768})}),
              "72.000000,-1.500000");
    // Eight names of 29 characters fit in 259 characters; nine do not.
    EXPECT_EQ(EnumerationText(TWTY_UINT16, std::vector<TW_UINT32>(8, 0), NameLongly).size(), 239u);
    EXPECT_EQ(EnumerationText(TWTY_UINT16, std::vector<TW_UINT32>(9, 0), NameLongly), "refused");
}

TEST(SetTexts, ArraysAndRangesWriteNumbers)
{
    EXPECT_EQ(ArrayText(TWTY_INT16, {1, static_cast<TW_UINT32>(-2), 3}), "[1,-2,3]");
    EXPECT_EQ(ArrayText(TWTY_UINT16, {}), "[]");
    EXPECT_EQ(ArrayText(TWTY_FIX32, {Fix32ToUint32({0, 6554})}), "[0.100006]");
    EXPECT_EQ(ArrayText(TWTY_INT32, std::vector<TW_UINT32>(30, 0x80000000u)), "refused");

    TW_RANGE range = {TWTY_INT32, static_cast<TW_UINT32>(-10), 10, 5, 0, 5};
    SetRequest request;
    ASSERT_TRUE(ReadSetRequest(&range, sizeof range, TWON_RANGE, request));
    char allowed[260], current[32], defaultText[32];
    RangeSetTexts(request, allowed, sizeof allowed, current, sizeof current, defaultText,
                  sizeof defaultText);
    EXPECT_STREQ(allowed, "-10_to_10,5");
    EXPECT_STREQ(current, "5");
    EXPECT_STREQ(defaultText, "0");

    TW_RANGE fix = {TWTY_FIX32,
                    Fix32ToUint32({0, 32768}),
                    Fix32ToUint32({2, 0}),
                    Fix32ToUint32({0, 16384}),
                    Fix32ToUint32({1, 0}),
                    Fix32ToUint32({1, 32768})};
    ASSERT_TRUE(ReadSetRequest(&fix, sizeof fix, TWON_RANGE, request));
    RangeSetTexts(request, allowed, sizeof allowed, current, sizeof current, defaultText,
                  sizeof defaultText);
    EXPECT_STREQ(allowed, "0.500000_to_2.000000,0.250000");
    EXPECT_STREQ(current, "1.500000");
    EXPECT_STREQ(defaultText, "1.000000");
}

}  // namespace
