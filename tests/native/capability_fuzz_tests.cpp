// A seeded random loop over the parsers of the capability store: every
// text a file could hold, and every block an application could pass, is read
// under the sanitizers, and the readers' promises are checked.
#include <gtest/gtest.h>

#include <cstring>
#include <iostream>
#include <random>
#include <string>
#include <vector>

#include "caps/allowed_values.h"
#include "caps/containers.h"
#include "caps/fix32.h"
#include "caps/set_texts.h"
#include "caps/value_text.h"

namespace {

const unsigned kSeed = 20001031;
const int kRounds = 60000;

// Characters that matter to the syntax, and some that do not.
const char kAlphabet[] = "0123456789,,,___to[]-+.eE xTWSX_NAMEto\t=";

TW_INT32 AnyNumber(const char*, const char* symbol)
{
    return static_cast<TW_INT32>(strlen(symbol)) - 3;
}

void AnyName(TW_INT32 number, const char*, char* name, size_t size)
{
    snprintf(name, size, "N%ld", static_cast<long>(number));
}

class Generator {
public:
    Generator() : random_(kSeed) {}

    std::string Text(size_t longest)
    {
        size_t length = random_() % (longest + 1);
        std::string text;
        for (size_t i = 0; i < length; ++i) {
            text += kAlphabet[random_() % (sizeof kAlphabet - 1)];
        }
        return text;
    }

    std::vector<TW_UINT8> Bytes(size_t longest)
    {
        std::vector<TW_UINT8> bytes(random_() % (longest + 1));
        for (TW_UINT8& byte : bytes) {
            byte = static_cast<TW_UINT8>(random_() % 4 == 0 ? 0 : random_());
        }
        return bytes;
    }

    TW_UINT16 Small(TW_UINT16 below) { return static_cast<TW_UINT16>(random_() % below); }

    double Number() { return std::uniform_real_distribution<double>(-40000.0, 40000.0)(random_); }

private:
    std::mt19937 random_;
};

void ReadTextEveryWay(const std::string& text, TW_UINT16 itemType)
{
    const char* value = text.c_str();
    ShapeOf(value);
    ItemNumber("CAP", value, itemType, AnyNumber);
    ParseRange(value, itemType);
    ReadNumber(value);
    ReadInteger(value);

    TW_UINT32 numbers[kMaxListItems];
    size_t count = ListItemNumbers("CAP", value, itemType, AnyNumber, numbers, kMaxListItems);
    ASSERT_LE(count, kMaxListItems);
    ASSERT_EQ(count, CountItems(value, kMaxListItems));

    char interior[kReplyValueLength + 1];
    ArrayInterior(value, interior, sizeof interior);
    ASSERT_LE(strlen(interior), kReplyValueLength);

    size_t items = CountItems(value, 1000);
    size_t index = ListIndexOf(value, "TWSX_NAT");
    ASSERT_TRUE(index == 0 || index < items);

    char text80[kReplyValueLength + 2];
    snprintf(text80, sizeof text80, "%s", value);
    CutToReplyLength(text80);
    ASSERT_LE(strlen(text80), kReplyValueLength);
    ASSERT_EQ(strncmp(text80, value, strlen(text80)), 0);
    ASSERT_EQ(ReplyBytes(TWON_ENUMERATION, TWTY_FRAME, text80), 0u);
    ASSERT_LE(ReplyBytes(TWON_ENUMERATION, itemType, text80),
              14 + kMaxListItems * ItemSize(itemType));

    char stored[kNameLength + 1];
    if (CheckAllowedText("CAP", value, static_cast<TW_INT16>(text.size()), AnyNumber, stored,
                         sizeof stored)) {
        ASSERT_LE(strlen(stored), kNameLength);
    }
}

void ReadSectionLines(const std::vector<TW_UINT8>& bytes)
{
    // Exactly as long as the lines, so that any read past them is caught.
    std::vector<char> lines(bytes.begin(), bytes.end());
    char name[kNameLength + 1];
    NameInSection(lines.data(), lines.size(), static_cast<TW_INT32>(lines.size() % 7), name,
                  sizeof name);
    ASSERT_LE(strlen(name), kNameLength);
}

void ReadRequestBlock(const std::vector<TW_UINT8>& bytes, TW_UINT16 conType)
{
    SetRequest request;
    const void* block = bytes.empty() ? nullptr : bytes.data();
    if (!ReadSetRequest(block, bytes.size(), conType, request)) {
        return;
    }
    char text[kStoredTextLength + 1];
    switch (conType) {
    case TWON_ENUMERATION:
        if (EnumerationSetText(request, "CAP", AnyName, text, sizeof text)) {
            ASSERT_LE(strlen(text), kStoredTextLength);
        }
        break;
    case TWON_ARRAY:
        if (ArraySetText(request, text, sizeof text)) {
            ASSERT_EQ(text[0], '[');
        }
        break;
    case TWON_RANGE: {
        char current[32], defaultText[32];
        RangeSetTexts(request, text, sizeof text, current, sizeof current, defaultText,
                      sizeof defaultText);
        if (request.itemType != TWTY_FIX32) {
            RangeValues back = ParseRange(text, request.itemType);
            ASSERT_EQ(back.minValue, request.minValue) << text;
            ASSERT_EQ(back.maxValue, request.maxValue) << text;
            ASSERT_EQ(back.stepSize, request.stepSize) << text;
        }
        break;
    }
    default:
        break;
    }
}

TEST(CapabilityFuzz, ParsersStayInsideTheirInputsAndKeepTheirPromises)
{
    Generator generate;
    long inputs = 0;
    for (int round = 0; round < kRounds; ++round) {
        TW_UINT16 itemType = generate.Small(14);
        ReadTextEveryWay(generate.Text(round % 10 == 0 ? 600 : 90), itemType);
        ReadSectionLines(generate.Bytes(120));
        ReadRequestBlock(generate.Bytes(48), static_cast<TW_UINT16>(2 + generate.Small(6)));

        TW_FIX32 value = NumberToFix32(generate.Number());
        char text[32];
        FormatFix32(text, sizeof text, value);
        TW_FIX32 back = NumberToFix32(ReadNumber(text));
        ASSERT_EQ(back.Whole, value.Whole) << text;
        ASSERT_EQ(back.Frac, value.Frac) << text;
        inputs += 4;
        if (HasFatalFailure()) {
            return;
        }
    }
    std::cout << "Fuzzed " << inputs << " inputs (seed " << kSeed << ")" << std::endl;
    RecordProperty("inputs", static_cast<int>(inputs));
}

}  // namespace
