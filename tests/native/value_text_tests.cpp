// The value syntax of the capability file and the FIX32 conversion.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "caps/fix32.h"
#include "caps/value_text.h"

namespace {

// A dictionary section for ICAP_XFERMECH, as the lookups see it.
TW_INT32 XferMechNumber(const char* capabilityName, const char* symbol)
{
    if (strcmp(capabilityName, "ICAP_XFERMECH") != 0) {
        return kFallbackNumber;
    }
    const char* names[] = {"TWSX_NATIVE", "TWSX_FILE", "TWSX_MEMORY"};
    for (TW_INT32 i = 0; i < 3; ++i) {
        if (strcmp(symbol, names[i]) == 0) {
            return i;
        }
    }
    return kFallbackNumber;
}

std::string Fix32Text(TW_FIX32 value)
{
    char text[32];
    FormatFix32(text, sizeof text, value);
    return text;
}

std::vector<std::string> Items(const char* text)
{
    std::vector<std::string> items;
    char item[8];
    const char* cursor = text;
    while (NextItem(cursor, item, sizeof item)) {
        items.push_back(item);
    }
    return items;
}

std::string Cut(const std::string& text)
{
    std::vector<char> buffer(text.begin(), text.end());
    buffer.push_back('\0');
    CutToReplyLength(buffer.data());
    return buffer.data();
}

TEST(Fix32, ConvertsToTheNearestValueWithWholeBelowTheNumber)
{
    TW_FIX32 tenth = NumberToFix32(0.1);
    EXPECT_EQ(tenth.Whole, 0);
    EXPECT_EQ(tenth.Frac, 6554);
    EXPECT_EQ(Fix32Text(tenth), "0.100006");

    TW_FIX32 negative = NumberToFix32(-1.5);
    EXPECT_EQ(negative.Whole, -2);
    EXPECT_EQ(negative.Frac, 32768);
    EXPECT_DOUBLE_EQ(Fix32ToNumber(negative), -1.5);

    TW_FIX32 half = NumberToFix32(0.5);
    EXPECT_EQ(half.Whole, 0);
    EXPECT_EQ(half.Frac, 32768);

    // A fraction that rounds to 65536 carries into Whole.
    TW_FIX32 carried = NumberToFix32(2.9999999);
    EXPECT_EQ(carried.Whole, 3);
    EXPECT_EQ(carried.Frac, 0);
    TW_FIX32 negativeCarry = NumberToFix32(-0.0000001);
    EXPECT_EQ(negativeCarry.Whole, 0);
    EXPECT_EQ(negativeCarry.Frac, 0);

    // Just beyond -1.5 / 65536, closer to -2 / 65536 than 1 + number can tell.
    TW_FIX32 beyondHalf = NumberToFix32(-std::ldexp(1.5 + std::ldexp(1.0, -40), -16));
    EXPECT_EQ(beyondHalf.Whole, -1);
    EXPECT_EQ(beyondHalf.Frac, 65534);
}

TEST(Fix32, NumbersOutsideTheTypeSaturate)
{
    for (double number : {40000.0, 32767.99999999, HUGE_VAL}) {
        TW_FIX32 value = NumberToFix32(number);
        EXPECT_EQ(value.Whole, 32767) << number;
        EXPECT_EQ(value.Frac, 65535) << number;
    }
    for (double number : {-32768.5, -1e9, -HUGE_VAL}) {
        TW_FIX32 value = NumberToFix32(number);
        EXPECT_EQ(value.Whole, -32768) << number;
        EXPECT_EQ(value.Frac, 0) << number;
    }
    TW_FIX32 notANumber = NumberToFix32(std::nan(""));
    EXPECT_EQ(notANumber.Whole, 0);
    EXPECT_EQ(notANumber.Frac, 0);
}

TEST(Fix32, TravelsAsWholeInTheLowHalfAndFracInTheHighHalf)
{
    TW_FIX32 value = {-2, 0x8000};
    EXPECT_EQ(Fix32ToUint32(value), 0x8000FFFEu);
    TW_FIX32 back = Uint32ToFix32(0x8000FFFEu);
    EXPECT_EQ(back.Whole, -2);
    EXPECT_EQ(back.Frac, 0x8000);
}

TEST(Fix32, StoredTextReadsBackAsTheSameValue)
{
    for (TW_INT16 whole : {-32768, -1, 0, 1, 72, 32767}) {
        for (TW_UINT32 frac = 0; frac <= 0xFFFF; ++frac) {
            TW_FIX32 value = {whole, static_cast<TW_UINT16>(frac)};
            TW_FIX32 back = NumberToFix32(ReadNumber(Fix32Text(value).c_str()));
            ASSERT_EQ(back.Whole, value.Whole) << Fix32Text(value);
            ASSERT_EQ(back.Frac, value.Frac) << Fix32Text(value);
        }
    }
}

TEST(ValueShape, TestsForToThenBracketThenComma)
{
    EXPECT_EQ(ShapeOf("0_to_100,10"), ValueShape::Range);
    EXPECT_EQ(ShapeOf("[Photo,Auto]"), ValueShape::Range);
    EXPECT_EQ(ShapeOf("TWSX_NATIVE,toast"), ValueShape::Range);
    EXPECT_EQ(ShapeOf("[1,2]"), ValueShape::Array);
    EXPECT_EQ(ShapeOf("1,2"), ValueShape::List);
    EXPECT_EQ(ShapeOf("TO,T_O"), ValueShape::List);
    EXPECT_EQ(ShapeOf("5"), ValueShape::Single);
    EXPECT_EQ(ShapeOf(""), ValueShape::Single);
    EXPECT_EQ(ContainerOfShape(ValueShape::Range), TWON_RANGE);
    EXPECT_EQ(ContainerOfShape(ValueShape::Array), TWON_ARRAY);
    EXPECT_EQ(ContainerOfShape(ValueShape::List), TWON_ENUMERATION);
    EXPECT_EQ(ContainerOfShape(ValueShape::Single), TWON_ONEVALUE);
}

TEST(ValueItems, EmptyItemsAreSkippedAndLongOnesCutToTheBuffer)
{
    EXPECT_EQ(Items("1,,2"), (std::vector<std::string>{"1", "2"}));
    EXPECT_EQ(Items(",,1,"), (std::vector<std::string>{"1"}));
    EXPECT_TRUE(Items(",,,").empty());
    EXPECT_TRUE(Items("").empty());
    EXPECT_EQ(Items("ABCDEFGHIJ,K"), (std::vector<std::string>{"ABCDEFG", "K"}));
    EXPECT_EQ(CountItems("1,,2,3", 40), 3u);
    EXPECT_EQ(CountItems("1,2,3,4", 2), 2u);
}

TEST(ValueItems, IntegersReadAsTheStandardConversionReadsThem)
{
    EXPECT_EQ(ReadInteger("1.5"), 1);
    EXPECT_EQ(ReadInteger(" NAME"), 0);
    EXPECT_EQ(ReadInteger("  -12abc"), -12);
    EXPECT_EQ(ReadInteger("+7"), 7);
    EXPECT_EQ(ReadInteger(""), 0);
    EXPECT_EQ(ReadInteger("0x10"), 0);
    EXPECT_EQ(ReadInteger("99999999999999999999"), INT32_MAX);
    EXPECT_EQ(ReadInteger("-99999999999"), INT32_MIN);

    EXPECT_DOUBLE_EQ(ReadNumber("0.25"), 0.25);
    EXPECT_DOUBLE_EQ(ReadNumber(" -.5x"), -0.5);
    EXPECT_DOUBLE_EQ(ReadNumber("1e2_to"), 100.0);
    EXPECT_DOUBLE_EQ(ReadNumber("1e"), 1.0);
    EXPECT_DOUBLE_EQ(ReadNumber("0x10"), 0.0);
    EXPECT_DOUBLE_EQ(ReadNumber("inf"), 0.0);
    EXPECT_DOUBLE_EQ(ReadNumber("."), 0.0);
}

TEST(ValueItems, ItemsBecomeNumbersBySymbolTypeOrDigits)
{
    EXPECT_EQ(ItemNumber("ICAP_XFERMECH", "TWSX_MEMORY", TWTY_UINT16, XferMechNumber), 2u);
    EXPECT_EQ(ItemNumber("ICAP_XFERMECH", "TWSX_OTHER", TWTY_UINT16, XferMechNumber), 99u);
    EXPECT_EQ(ItemNumber("ICAP_XFERMECH", " TWSX_FILE", TWTY_UINT16, XferMechNumber), 0u);
    EXPECT_EQ(ItemNumber("ICAP_XFERMECH", "1.5", TWTY_UINT16, XferMechNumber), 1u);
    EXPECT_EQ(ItemNumber("ICAP_XFERMECH", "-3", TWTY_INT16, XferMechNumber), 0xFFFFFFFDu);
    EXPECT_EQ(ItemNumber("ICAP_XFERMECH", "0.5", TWTY_FIX32, XferMechNumber), 0x80000000u);
    // A symbolic FIX32 item is still a dictionary number.
    EXPECT_EQ(ItemNumber("ICAP_XFERMECH", "TWSX_FILE", TWTY_FIX32, XferMechNumber), 1u);

    TW_UINT32 numbers[4];
    ASSERT_EQ(ListItemNumbers("ICAP_XFERMECH", "TWSX_FILE,,7,x,9,10", TWTY_UINT16, XferMechNumber,
                              numbers, 4),
              4u);
    EXPECT_EQ(numbers[0], 1u);
    EXPECT_EQ(numbers[1], 7u);
    EXPECT_EQ(numbers[2], 99u);
    EXPECT_EQ(numbers[3], 9u);
}

TEST(ValueRange, PiecesAroundUnderscoreToAndComma)
{
    RangeValues range = ParseRange("-10_to_10,5", TWTY_INT16);
    EXPECT_EQ(static_cast<TW_INT32>(range.minValue), -10);
    EXPECT_EQ(static_cast<TW_INT32>(range.maxValue), 10);
    EXPECT_EQ(static_cast<TW_INT32>(range.stepSize), 5);

    RangeValues fix = ParseRange("0.500000_to_2.000000,0.250000", TWTY_FIX32);
    EXPECT_EQ(fix.minValue, Fix32ToUint32(TW_FIX32{0, 32768}));
    EXPECT_EQ(fix.maxValue, Fix32ToUint32(TW_FIX32{2, 0}));
    EXPECT_EQ(fix.stepSize, Fix32ToUint32(TW_FIX32{0, 16384}));

    RangeValues leading = ParseRange("__3_to_-4,1", TWTY_INT32);
    EXPECT_EQ(static_cast<TW_INT32>(leading.minValue), 3);
    EXPECT_EQ(static_cast<TW_INT32>(leading.maxValue), -4);

    // Symbols are not recognised in a range; missing pieces are 0.
    RangeValues symbolic = ParseRange("LOW_to_HIGH", TWTY_INT32);
    EXPECT_EQ(symbolic.minValue, 0u);
    EXPECT_EQ(symbolic.maxValue, 0u);
    EXPECT_EQ(symbolic.stepSize, 0u);
    EXPECT_EQ(ParseRange("7", TWTY_INT32).minValue, 7u);
}

TEST(ValueRange, WrittenTextsParseBack)
{
    char text[64];
    RangeValues range = {static_cast<TW_UINT32>(-10), 10, 5};
    FormatRange(text, sizeof text, TWTY_INT16, range);
    EXPECT_STREQ(text, "-10_to_10,5");
    RangeValues fix = {Fix32ToUint32({0, 32768}), Fix32ToUint32({2, 0}), Fix32ToUint32({0, 16384})};
    FormatRange(text, sizeof text, TWTY_FIX32, fix);
    EXPECT_STREQ(text, "0.500000_to_2.000000,0.250000");
    RangeValues back = ParseRange(text, TWTY_FIX32);
    EXPECT_EQ(back.minValue, fix.minValue);
    EXPECT_EQ(back.maxValue, fix.maxValue);
    EXPECT_EQ(back.stepSize, fix.stepSize);
}

TEST(ValueListIndex, FirstMatchOnEightCharacters)
{
    const char allowed[] = "TWSX_NATIVE,TWSX_FILE,TWSX_MEMORY";
    EXPECT_EQ(ListIndexOf(allowed, "TWSX_FILE"), 1u);
    EXPECT_EQ(ListIndexOf(allowed, "TWSX_MEMORYX"), 2u);
    // The first eight characters of all three are TWSX_NAT, TWSX_FIL, TWSX_MEM.
    EXPECT_EQ(ListIndexOf(allowed, "TWSX_MEMO"), 2u);
    EXPECT_EQ(ListIndexOf(allowed, "TWSX_OTHER"), 0u);
    EXPECT_EQ(ListIndexOf("", "TWSX_FILE"), 0u);
    // Shorter texts are compared whole; empty items do not count.
    EXPECT_EQ(ListIndexOf("AB,ABC", "ABC"), 1u);
    EXPECT_EQ(ListIndexOf("1,,2", "2"), 1u);
}

TEST(ValueNames, FirstLineWithTheNumberGivesTheName)
{
    const char lines[] = "TWSX_NATIVE=0\0TWSX_FILE=1\0ALSO_FILE=1\0noequals\0NEG=-3\0";
    char name[30];
    NameInSection(lines, sizeof lines - 1, 1, name, sizeof name);
    EXPECT_STREQ(name, "TWSX_FILE");
    NameInSection(lines, sizeof lines - 1, -3, name, sizeof name);
    EXPECT_STREQ(name, "NEG");
    NameInSection(lines, sizeof lines - 1, 5, name, sizeof name);
    EXPECT_STREQ(name, "");
    NameInSection("", 0, 2, name, sizeof name);
    EXPECT_STREQ(name, "2");

    // Names over 29 characters are not names the store writes.
    const char longName[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ1234=4\0SHORT=4\0";
    NameInSection(longName, sizeof longName - 1, 4, name, sizeof name);
    EXPECT_STREQ(name, "SHORT");
    // A section cut off without its terminator is read up to its length.
    const char cut[] = {'A', '=', '1', '2'};
    NameInSection(cut, sizeof cut, 12, name, sizeof name);
    EXPECT_STREQ(name, "A");
}

TEST(ValueNames, CapabilityNumbersNameASectionWhateverItsCase)
{
    const char lines[] = "1=CAP_XFERCOUNT\0noequals\04101=CAP_SUPPORTEDCAPS\0";
    EXPECT_TRUE(SectionHasValue(lines, sizeof lines - 1, "cap_supportedcaps"));
    EXPECT_TRUE(SectionHasValue(lines, sizeof lines - 1, "CAP_XFERCOUNT"));
    EXPECT_FALSE(SectionHasValue(lines, sizeof lines - 1, "CAP_XFER"));
    EXPECT_FALSE(SectionHasValue(lines, sizeof lines - 1, "noequals"));
    EXPECT_FALSE(SectionHasValue(lines, sizeof lines - 1, "ADF"));
    EXPECT_FALSE(SectionHasValue("", 0, "ADF"));
}

TEST(ValueReplyText, LongValuesAreCutWithoutPartialItems)
{
    std::string list;
    for (int i = 100; i < 200; ++i) {
        list += std::to_string(i) + ",";
    }
    // Three-digit items: behind a "[" the 256th character lies inside the
    // item "163", which is dropped with the rest; without it, 255 characters
    // end with "163" whole.
    EXPECT_EQ(Cut("[" + list), "[" + list.substr(0, 251));
    EXPECT_EQ(Cut(list), list.substr(0, 255));

    // Cut just before a comma: the last item is whole and stays.
    std::string atComma = std::string(253, 'A') + ",B,C";
    EXPECT_EQ(Cut(atComma), std::string(253, 'A') + ",B");

    std::string single(300, '7');
    EXPECT_EQ(Cut(single), std::string(255, '7'));
    EXPECT_EQ(Cut("1,2,3"), "1,2,3");
}

TEST(ValueArray, BracketsAreLeftOutWhenPresent)
{
    char interior[16];
    ArrayInterior("[1,2]", interior, sizeof interior);
    EXPECT_STREQ(interior, "1,2");
    ArrayInterior("1,2", interior, sizeof interior);
    EXPECT_STREQ(interior, "1,2");
    ArrayInterior("[]", interior, sizeof interior);
    EXPECT_STREQ(interior, "");
    ArrayInterior("[", interior, sizeof interior);
    EXPECT_STREQ(interior, "");
}

TEST(ValueTexts, ItemsAndAppendsStayInsideTheirBuffers)
{
    char text[16];
    FormatItem(text, sizeof text, TWTY_INT16, static_cast<TW_UINT32>(-5));
    EXPECT_STREQ(text, "-5");
    FormatItem(text, sizeof text, TWTY_FIX32, Fix32ToUint32({72, 0}));
    EXPECT_STREQ(text, "72.000000");

    char joined[8] = "";
    EXPECT_TRUE(AppendText(joined, sizeof joined, "ABC"));
    EXPECT_TRUE(AppendText(joined, sizeof joined, ",DEF"));
    EXPECT_FALSE(AppendText(joined, sizeof joined, "G"));
    EXPECT_STREQ(joined, "ABC,DEF");
}

}  // namespace
