// DAT_CAPABILITY through the real data source, on capability and dictionary
// files that each test writes: replies of every container and value shape,
// sets and their checks, resets, and bad requests.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "support/capability_requests.h"
#include "support/message_boxes.h"
#include "support/prefix_files.h"
#include "support/source_module.h"

namespace {

const TW_UINT16 kCustomCap = 0x8001;   // looked up as "32769"
const TW_UINT16 kUnnamedCap = 0x1234;  // not in CAP NUMBERS

const char kDictionary[] =
    "[CAP NUMBERS]\n"
    "1=CAP_XFERCOUNT\n"
    "259=ICAP_XFERMECH\n"
    "4101=CAP_SUPPORTEDCAPS\n"
    "4103=CAP_AUTOFEED\n"
    "4376=ICAP_XRESOLUTION\n"
    "32769=CUSTOM_SETTING\n"
    "\n"
    "[ConType]\n"
    "TWON_ARRAY=3\nTWON_ENUMERATION=4\nTWON_ONEVALUE=5\nTWON_RANGE=6\nTWON_ODD=9\n"
    "\n"
    "[ItemType]\n"
    "TWTY_INT8=0\nTWTY_INT16=1\nTWTY_INT32=2\nTWTY_UINT8=3\nTWTY_UINT16=4\nTWTY_UINT32=5\n"
    "TWTY_BOOL=6\nTWTY_FIX32=7\nTWTY_FRAME=8\n"
    "\n"
    "[ICAP_XFERMECH]\n"
    "TWSX_NATIVE=0\nTWSX_FILE=1\nTWSX_MEMORY=2\n"
    "\n"
    "[CAP_AUTOFEED]\n"
    "FALSE=0\nTRUE=1\n";

const char kXferMech[] = "[ICAP_XFERMECH]\n"
                         "Type=TWTY_UINT16\n"
                         "Get=TWON_ENUMERATION\n"
                         "GetCurrent=TWON_ONEVALUE\n"
                         "GetDefault=TWON_ONEVALUE\n"
                         "Set=TWON_ONEVALUE\n"
                         "Reset=TWON_ONEVALUE\n"
                         "Current=TWSX_NATIVE\n"
                         "Default=TWSX_NATIVE\n"
                         "Allowed=TWSX_NATIVE,TWSX_FILE,TWSX_MEMORY\n"
                         "PowerON=TWSX_NATIVE,TWSX_FILE,TWSX_MEMORY\n";

// A section of the custom capability 0x8001 with the given lines.
std::string Custom(const std::string& lines)
{
    return "[CUSTOM_SETTING]\n" + lines;
}

// The capability file with the example ICAP_XFERMECH section and more.
std::string WithXferMech(const std::string& more = "")
{
    return std::string(kXferMech) + "\n" + more;
}

class Negotiation : public ::testing::Test {
protected:
    // The files of an earlier Use are put back before the new ones are
    // written, so that the test ends with the files it found.
    void Use(const std::string& capabilities)
    {
        files_.reset();
        files_.reset(new CapabilityFiles(kDictionary, capabilities));
    }

    SourceModule source_;
    std::unique_ptr<CapabilityFiles> files_;
};

TEST_F(Negotiation, ExampleXferMechAnswersEachGetWithItsContainer)
{
    Use(WithXferMech());
    ASSERT_TRUE(source_.Loaded());

    CapabilityReply get = AskCapability(source_, ICAP_XFERMECH, MSG_GET);
    EXPECT_EQ(get.returnCode, TWRC_SUCCESS);
    EXPECT_EQ(get.conditionCode, TWCC_SUCCESS);
    ASSERT_EQ(get.conType, TWON_ENUMERATION);
    EXPECT_EQ(get.blockSize, 15u + 3 * 2);
    ListReply list = AsList(get);
    EXPECT_EQ(list.itemType, TWTY_UINT16);
    EXPECT_EQ(list.items, (std::vector<TW_UINT32>{0, 1, 2}));
    EXPECT_EQ(list.currentIndex, 0u);
    EXPECT_EQ(list.defaultIndex, 0u);

    for (TW_UINT16 message : {MSG_GETCURRENT, MSG_GETDEFAULT}) {
        CapabilityReply one = AskCapability(source_, ICAP_XFERMECH, message);
        EXPECT_EQ(one.returnCode, TWRC_SUCCESS);
        ASSERT_EQ(one.conType, TWON_ONEVALUE);
        EXPECT_EQ(one.blockSize, 6u);
        EXPECT_EQ(AsOneValue(one).ItemType, TWTY_UINT16);
        EXPECT_EQ(AsOneValue(one).Item, 0u);
    }
}

TEST_F(Negotiation, ListIndicesFollowCurrentAndDefaultOnEightCharacters)
{
    Use("[ICAP_XFERMECH]\nType=TWTY_UINT16\nGet=TWON_ENUMERATION\n"
        "Allowed=TWSX_NATIVE,,TWSX_FILE,TWSX_MEMORY\n"
        "current=TWSX_MEMORYX\nDEFAULT=TWSX_FILE\n");
    ListReply list = AsList(AskCapability(source_, ICAP_XFERMECH, MSG_GET));
    EXPECT_EQ(list.items, (std::vector<TW_UINT32>{0, 1, 2}));
    EXPECT_EQ(list.currentIndex, 2u);
    EXPECT_EQ(list.defaultIndex, 1u);

    // A shorter text is compared whole; no match gives the first position.
    Use("[ICAP_XFERMECH]\nType=TWTY_UINT16\nGet=TWON_ENUMERATION\n"
        "Allowed=TWSX_NATIVE,TWSX_FILE\nCurrent=TWSX\n");
    EXPECT_EQ(AsList(AskCapability(source_, ICAP_XFERMECH, MSG_GET)).currentIndex, 0u);
}

TEST_F(Negotiation, ValueShapesAndItemTypesMakeTheirContainers)
{
    Use(Custom("Type=TWTY_INT8\nGet=TWON_ARRAY\nGetCurrent=TWON_ONEVALUE\n"
               "GetDefault=TWON_ONEVALUE,TWON_RANGE\n"
               "Allowed=[1,,-2,1.5,NAME, NAME]\nCurrent=-7\nDefault=-10_to_10,5\n"));
    CapabilityReply array = AskCapability(source_, kCustomCap, MSG_GET);
    ASSERT_EQ(array.conType, TWON_ARRAY);
    EXPECT_EQ(array.blockSize, 7u + 5 * 1);
    ListReply items = AsList(array);
    EXPECT_EQ(items.itemType, TWTY_INT8);
    // A symbolic item missing from the dictionary is 99; a blank before a
    // name reads as 0; 1.5 as 1.
    EXPECT_EQ(items.items, (std::vector<TW_UINT32>{1, 0xFE, 1, 99, 0}));

    TW_ONEVALUE current = AsOneValue(AskCapability(source_, kCustomCap, MSG_GETCURRENT));
    EXPECT_EQ(current.ItemType, TWTY_INT8);
    EXPECT_EQ(current.Item, 0xFFFFFFF9u);

    // Several containers named: the value's shape decides.
    CapabilityReply range = AskCapability(source_, kCustomCap, MSG_GETDEFAULT);
    ASSERT_EQ(range.conType, TWON_RANGE);
    EXPECT_EQ(range.blockSize, 22u);
    TW_RANGE bounds = AsRange(range);
    EXPECT_EQ(static_cast<TW_INT32>(bounds.MinValue), -10);
    EXPECT_EQ(bounds.MaxValue, 10u);
    EXPECT_EQ(bounds.StepSize, 5u);
    // The range's current value is Current; its default, Default as one item.
    EXPECT_EQ(static_cast<TW_INT32>(bounds.CurrentValue), -7);
    EXPECT_EQ(static_cast<TW_INT32>(bounds.DefaultValue), -10);
}

TEST_F(Negotiation, Fix32ValuesTravelAsWholeAndFrac)
{
    Use("[ICAP_XRESOLUTION]\nType=TWTY_FIX32\nGet=TWON_RANGE\nGetCurrent=TWON_ONEVALUE\n"
        "GetDefault=TWON_ONEVALUE\n"
        "Allowed=0.500000_to_2.000000,0.250000\nCurrent=0.1\nDefault=-1.5\n");
    TW_RANGE range = AsRange(AskCapability(source_, ICAP_XRESOLUTION, MSG_GET));
    EXPECT_EQ(range.ItemType, TWTY_FIX32);
    EXPECT_EQ(range.MinValue, 32768u << 16);
    EXPECT_EQ(range.MaxValue, 2u);
    EXPECT_EQ(range.StepSize, 16384u << 16);
    EXPECT_EQ(range.CurrentValue, 6554u << 16);

    EXPECT_EQ(AsOneValue(AskCapability(source_, ICAP_XRESOLUTION, MSG_GETCURRENT)).Item,
              6554u << 16);
    // Whole -2 in the low half, Frac 32768 in the high half.
    EXPECT_EQ(AsOneValue(AskCapability(source_, ICAP_XRESOLUTION, MSG_GETDEFAULT)).Item,
              0x8000FFFEu);
}

TEST_F(Negotiation, GetOfOneValueAnswersCurrentAndUnsignedNumbersFindTheirName)
{
    Use(Custom("Type=TWTY_UINT32\nGet=TWON_ONEVALUE\nCurrent=70000\nAllowed=1,2\n"));
    CapabilityReply get = AskCapability(source_, kCustomCap, MSG_GET);
    ASSERT_EQ(get.returnCode, TWRC_SUCCESS);
    EXPECT_EQ(get.conType, TWON_ONEVALUE);
    EXPECT_EQ(AsOneValue(get).Item, 70000u);
}

TEST_F(Negotiation, DictionaryFallbackAndMissingValuesRefuseWithBadCap)
{
    // An item type the dictionary lacks is 99: items two bytes wide, none
    // written.
    Use(Custom("Type=TWTY_OTHER\nGet=TWON_ENUMERATION\nGetCurrent=TWON_ONEVALUE\n"
               "Allowed=5,6\nCurrent=NONE\n"));
    CapabilityReply list = AskCapability(source_, kCustomCap, MSG_GET);
    ASSERT_EQ(list.returnCode, TWRC_SUCCESS);
    EXPECT_EQ(list.blockSize, 15u + 2 * 2);
    EXPECT_EQ(AsList(list).itemType, 99);
    EXPECT_EQ(AsList(list).numItems, 2u);
    EXPECT_EQ(AsList(list).items, (std::vector<TW_UINT32>{0, 0}));

    // "NONE", written so or missing, is no value.
    for (TW_UINT16 message : {MSG_GETCURRENT, MSG_GETDEFAULT}) {
        CapabilityReply none = AskCapability(source_, kCustomCap, message);
        EXPECT_EQ(none.returnCode, TWRC_FAILURE);
        EXPECT_EQ(none.conditionCode, TWCC_BADCAP);
        EXPECT_FALSE(none.hasContainer);
    }

    // An operation key naming no known container builds nothing.
    Use(Custom("Type=TWTY_UINT16\nGet=TWON_ODD\nGetCurrent=TWON_NOSUCH\nCurrent=1\nAllowed=1\n"));
    for (TW_UINT16 message : {MSG_GET, MSG_GETCURRENT}) {
        CapabilityReply odd = AskCapability(source_, kCustomCap, message);
        EXPECT_EQ(odd.returnCode, TWRC_FAILURE);
        EXPECT_EQ(odd.conditionCode, TWCC_BADCAP);
        EXPECT_FALSE(odd.hasContainer);
    }
}

TEST_F(Negotiation, LongListsAreAnsweredAsFarAsTheReplyTextReaches)
{
    // Twelve items: all are answered.
    Use(Custom("Type=TWTY_UINT8\nGet=TWON_ENUMERATION\n"
               "Allowed=1,2,3,4,5,6,7,8,9,10,11,12\nCurrent=12\n"));
    ListReply twelve = AsList(AskCapability(source_, kCustomCap, MSG_GET));
    ASSERT_EQ(twelve.numItems, 12u);
    EXPECT_EQ(twelve.items.back(), 12u);
    EXPECT_EQ(twelve.currentIndex, 11u);

    // A value past 255 characters is cut there, without the cut item.
    std::string allowed;
    for (int i = 100; i < 200; ++i) {
        allowed += (allowed.empty() ? "" : ",") + std::to_string(i);
    }
    Use(Custom("Type=TWTY_UINT16\nGet=TWON_ARRAY\nAllowed=[" + allowed + "]\n"));
    ListReply cut = AsList(AskCapability(source_, kCustomCap, MSG_GET));
    // "[100,...,163" is 256 characters: 255 hold "[100" to "162" and a "16".
    ASSERT_EQ(cut.numItems, 63u);
    EXPECT_EQ(cut.items.front(), 100u);
    EXPECT_EQ(cut.items.back(), 162u);
}

TEST_F(Negotiation, UnnamedCapabilitiesFailWithBadCapAndTouchNoFile)
{
    Use(WithXferMech());
    std::string before = ReadTextFile(CapabilityFilePath());
    for (TW_UINT16 message : {MSG_GET, MSG_GETCURRENT, MSG_GETDEFAULT, MSG_RESET}) {
        CapabilityReply reply = AskCapability(source_, kUnnamedCap, message);
        EXPECT_EQ(reply.returnCode, TWRC_FAILURE) << message;
        EXPECT_EQ(reply.conditionCode, TWCC_BADCAP) << message;
        EXPECT_FALSE(reply.hasContainer);
    }
    CapabilityReply set =
        SetCapability(source_, kUnnamedCap, TWON_ONEVALUE, OneValueBytes(TWTY_UINT16, 1));
    EXPECT_EQ(set.returnCode, TWRC_FAILURE);
    EXPECT_EQ(set.conditionCode, TWCC_BADCAP);
    EXPECT_EQ(ReadTextFile(CapabilityFilePath()), before);
}

TEST_F(Negotiation, OtherMessagesFailWithBadProtocolAndTheErrorBox)
{
    Use(WithXferMech());
    MessageBoxCapture boxes;
    for (TW_UINT16 cap : {ICAP_XFERMECH, kUnnamedCap}) {
        for (TW_UINT16 message : {MSG_QUERYSUPPORT, MSG_GETFIRST, MSG_GETNEXT}) {
            boxes.Clear();
            CapabilityReply reply = AskCapability(source_, cap, message);
            EXPECT_EQ(reply.returnCode, TWRC_FAILURE);
            EXPECT_EQ(reply.conditionCode, TWCC_BADPROTOCOL);
            ASSERT_EQ(boxes.Boxes().size(), 1u);
            EXPECT_EQ(boxes.Boxes()[0].caption, "Zc600a Source Error");
            EXPECT_EQ(boxes.Boxes()[0].text,
                      "General failure in response to DAT_CAPS.  Bad protocol error.");
        }
    }
}

TEST_F(Negotiation, AutofeedGetEndsPendingImagesAlsoWhenItFails)
{
    Use(WithXferMech("[CAP_AUTOFEED]\nType=TWTY_BOOL\nGet=TWON_ONEVALUE\nCurrent=FALSE\n"
                     "GetDefault=TWON_ONEVALUE\n\n[ADF]\nPendingImages=3\n"));
    CapabilityReply get = AskCapability(source_, CAP_AUTOFEED, MSG_GET);
    EXPECT_EQ(get.returnCode, TWRC_SUCCESS);
    EXPECT_EQ(AsOneValue(get).Item, 0u);
    EXPECT_EQ(CapabilityKey("ADF", "PendingImages"), "0");

    WritePrivateProfileStringA("ADF", "PendingImages", "4", CapabilityFilePath().c_str());
    CapabilityReply failed = AskCapability(source_, CAP_AUTOFEED, MSG_GETDEFAULT);
    EXPECT_EQ(failed.returnCode, TWRC_FAILURE);
    EXPECT_EQ(failed.conditionCode, TWCC_BADCAP);
    EXPECT_EQ(CapabilityKey("ADF", "PendingImages"), "0");

    // Other capabilities leave the count alone.
    WritePrivateProfileStringA("ADF", "PendingImages", "4", CapabilityFilePath().c_str());
    AskCapability(source_, ICAP_XFERMECH, MSG_GET);
    EXPECT_EQ(CapabilityKey("ADF", "PendingImages"), "4");
}

TEST_F(Negotiation, OneValueSetOfAListedValueStoresItsName)
{
    Use(WithXferMech());
    MessageBoxCapture boxes;
    CapabilityReply set =
        SetCapability(source_, ICAP_XFERMECH, TWON_ONEVALUE, OneValueBytes(TWTY_UINT16, 2));
    EXPECT_EQ(set.returnCode, TWRC_SUCCESS);
    EXPECT_EQ(set.conditionCode, TWCC_SUCCESS);
    EXPECT_EQ(CapabilityKey("ICAP_XFERMECH", "Current"), "TWSX_MEMORY");
    EXPECT_EQ(set.conType, TWON_ONEVALUE);
    EXPECT_EQ(AsOneValue(set).Item, 2u);
    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_EQ(AsList(AskCapability(source_, ICAP_XFERMECH, MSG_GET)).currentIndex, 2u);

    // An enumeration is not in the Set list: refused before anything is
    // written, and without a box.
    std::string before = ReadTextFile(CapabilityFilePath());
    CapabilityReply refused = SetCapability(source_, ICAP_XFERMECH, TWON_ENUMERATION,
                                            ListBytes(TWON_ENUMERATION, TWTY_UINT16, {0}));
    EXPECT_EQ(refused.returnCode, TWRC_FAILURE);
    EXPECT_EQ(refused.conditionCode, TWCC_BADVALUE);
    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_EQ(ReadTextFile(CapabilityFilePath()), before);

    // A value Allowed does not list gets the "IsCapAllowed" box.
    CapabilityReply unlisted =
        SetCapability(source_, ICAP_XFERMECH, TWON_ONEVALUE, OneValueBytes(TWTY_UINT16, 3));
    EXPECT_EQ(unlisted.returnCode, TWRC_FAILURE);
    EXPECT_EQ(unlisted.conditionCode, TWCC_BADVALUE);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, "IsCapAllowed");
    EXPECT_EQ(boxes.Boxes()[0].owner, nullptr);
    EXPECT_EQ(ReadTextFile(CapabilityFilePath()), before);
}

TEST_F(Negotiation, OneValueSetsOfARangeStepTowardZero)
{
    Use(Custom("Type=TWTY_INT16\nSet=TWON_ONEVALUE\nAllowed=0_to_100,10\nCurrent=0\n"));
    MessageBoxCapture boxes;
    CapabilityReply set =
        SetCapability(source_, kCustomCap, TWON_ONEVALUE, OneValueBytes(TWTY_INT16, 55));
    EXPECT_EQ(set.returnCode, TWRC_SUCCESS);
    EXPECT_EQ(CapabilityKey("CUSTOM_SETTING", "Current"), "50");
    EXPECT_EQ(AsOneValue(set).Item, 50u);

    CapabilityReply above =
        SetCapability(source_, kCustomCap, TWON_ONEVALUE, OneValueBytes(TWTY_INT16, 101));
    EXPECT_EQ(above.returnCode, TWRC_FAILURE);
    EXPECT_EQ(above.conditionCode, TWCC_BADVALUE);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, "IsCapAllowed");
    EXPECT_EQ(CapabilityKey("CUSTOM_SETTING", "Current"), "50");

    // Stepping counts from zero and is not held against min again; only the
    // low 16 bits of the item count.
    Use(Custom("Type=TWTY_INT16\nSet=TWON_ONEVALUE\nAllowed=10_to_100,20\n"));
    SetCapability(source_, kCustomCap, TWON_ONEVALUE, OneValueBytes(TWTY_INT32, 0x10000 + 15));
    EXPECT_EQ(CapabilityKey("CUSTOM_SETTING", "Current"), "0");

    Use(Custom("Type=TWTY_INT16\nSet=TWON_ONEVALUE\nAllowed=-50_to_50,20\n"));
    SetCapability(source_, kCustomCap, TWON_ONEVALUE, OneValueBytes(TWTY_INT16, 0xFFFF - 44));
    EXPECT_EQ(CapabilityKey("CUSTOM_SETTING", "Current"), "-40");

    // A step of 0 keeps the value as it is.
    Use(Custom("Type=TWTY_INT16\nSet=TWON_ONEVALUE\nAllowed=0_to_100,0\n"));
    CapabilityReply unstepped =
        SetCapability(source_, kCustomCap, TWON_ONEVALUE, OneValueBytes(TWTY_INT16, 37));
    EXPECT_EQ(unstepped.returnCode, TWRC_SUCCESS);
    EXPECT_EQ(CapabilityKey("CUSTOM_SETTING", "Current"), "37");
}

TEST_F(Negotiation, Fix32OneValueSetsAreStoredWithoutCheck)
{
    Use("[ICAP_XRESOLUTION]\nType=TWTY_FIX32\nSet=TWON_ONEVALUE\nAllowed=72_to_72,1\n");
    MessageBoxCapture boxes;
    CapabilityReply set = SetCapability(source_, ICAP_XRESOLUTION, TWON_ONEVALUE,
                                        OneValueBytes(TWTY_FIX32, (6554u << 16) | 300));
    EXPECT_EQ(set.returnCode, TWRC_SUCCESS);
    EXPECT_EQ(CapabilityKey("ICAP_XRESOLUTION", "Current"), "300.100006");
    EXPECT_EQ(AsOneValue(set).Item, (6554u << 16) | 300);
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(Negotiation, EnumerationSetsReplaceAllowedWithNames)
{
    Use(WithXferMech().replace(WithXferMech().find("Set=TWON_ONEVALUE"), 17,
                               "Set=TWON_ONEVALUE,TWON_ENUMERATION"));
    CapabilityReply set = SetCapability(source_, ICAP_XFERMECH, TWON_ENUMERATION,
                                        ListBytes(TWON_ENUMERATION, TWTY_UINT16, {2, 7, 0}));
    EXPECT_EQ(set.returnCode, TWRC_SUCCESS);
    EXPECT_EQ(CapabilityKey("ICAP_XFERMECH", "Allowed"), "TWSX_MEMORY,,TWSX_NATIVE");
    EXPECT_EQ(CapabilityKey("ICAP_XFERMECH", "Current"), "TWSX_NATIVE");
    // The reply follows the new Allowed's shape, a list.
    EXPECT_EQ(set.conType, TWON_ENUMERATION);
    EXPECT_EQ(AsList(set).items, (std::vector<TW_UINT32>{2, 0}));
    EXPECT_EQ(AsList(AskCapability(source_, ICAP_XFERMECH, MSG_GET)).items,
              (std::vector<TW_UINT32>{2, 0}));

    // No items give an empty Allowed; the reply then is one value of 0.
    CapabilityReply empty = SetCapability(source_, ICAP_XFERMECH, TWON_ENUMERATION,
                                          ListBytes(TWON_ENUMERATION, TWTY_UINT16, {}));
    EXPECT_EQ(empty.returnCode, TWRC_SUCCESS);
    EXPECT_EQ(CapabilityKey("ICAP_XFERMECH", "Allowed"), "");
    EXPECT_EQ(empty.conType, TWON_ONEVALUE);
    EXPECT_EQ(AsOneValue(empty).Item, 0u);
}

TEST_F(Negotiation, EnumerationItemsWithoutDictionarySectionAreStoredAsNumbers)
{
    Use(Custom("Type=TWTY_INT16\nGet=TWON_ENUMERATION\nSet=TWON_ENUMERATION\n"));
    SetCapability(source_, kCustomCap, TWON_ENUMERATION,
                  ListBytes(TWON_ENUMERATION, TWTY_INT16, {5, 0xFFFE}));
    EXPECT_EQ(CapabilityKey("CUSTOM_SETTING", "Allowed"), "5,-2");
}

TEST_F(Negotiation, ArrayAndRangeSetsWriteTheirTexts)
{
    Use(Custom("Type=TWTY_INT32\nSet=TWON_ARRAY,TWON_RANGE\nCurrent=4\n"));
    CapabilityReply array = SetCapability(source_, kCustomCap, TWON_ARRAY,
                                          ListBytes(TWON_ARRAY, TWTY_INT32, {3, 0xFFFFFFFF, 9}));
    EXPECT_EQ(array.returnCode, TWRC_SUCCESS);
    EXPECT_EQ(CapabilityKey("CUSTOM_SETTING", "Allowed"), "[3,-1,9]");
    EXPECT_EQ(array.conType, TWON_ARRAY);
    EXPECT_EQ(AsList(array).items, (std::vector<TW_UINT32>{3, 0xFFFFFFFF, 9}));

    SetCapability(source_, kCustomCap, TWON_ARRAY, ListBytes(TWON_ARRAY, TWTY_INT32, {}));
    EXPECT_EQ(CapabilityKey("CUSTOM_SETTING", "Allowed"), "[]");

    CapabilityReply range = SetCapability(source_, kCustomCap, TWON_RANGE,
                                          RangeBytes(TWTY_INT32, 0xFFFFFFF6, 10, 5, 0, 5));
    EXPECT_EQ(range.returnCode, TWRC_SUCCESS);
    EXPECT_EQ(CapabilityKey("CUSTOM_SETTING", "Allowed"), "-10_to_10,5");
    EXPECT_EQ(CapabilityKey("CUSTOM_SETTING", "Current"), "5");
    EXPECT_EQ(CapabilityKey("CUSTOM_SETTING", "Default"), "0");
    ASSERT_EQ(range.conType, TWON_RANGE);
    EXPECT_EQ(AsRange(range).StepSize, 5u);
    EXPECT_EQ(AsRange(range).CurrentValue, 5u);

    Use(Custom("Type=TWTY_FIX32\nSet=TWON_RANGE\n"));
    SetCapability(source_, kCustomCap, TWON_RANGE,
                  RangeBytes(TWTY_FIX32, 32768u << 16, 2, 16384u << 16, 1, 6554u << 16));
    EXPECT_EQ(CapabilityKey("CUSTOM_SETTING", "Allowed"), "0.500000_to_2.000000,0.250000");
    EXPECT_EQ(CapabilityKey("CUSTOM_SETTING", "Current"), "0.100006");
    EXPECT_EQ(CapabilityKey("CUSTOM_SETTING", "Default"), "1.000000");
}

TEST_F(Negotiation, ResetRestoresPowerOnAndDefault)
{
    Use(WithXferMech() + Custom("Type=TWTY_UINT16\nReset=TWON_ONEVALUE\nCurrent=9\nAllowed=1,2\n"
                                "PowerON=1,2,3\n"));
    WritePrivateProfileStringA("ICAP_XFERMECH", "Current", "TWSX_FILE",
                               CapabilityFilePath().c_str());
    WritePrivateProfileStringA("ICAP_XFERMECH", "Allowed", "TWSX_FILE",
                               CapabilityFilePath().c_str());
    CapabilityReply reset = AskCapability(source_, ICAP_XFERMECH, MSG_RESET);
    EXPECT_EQ(reset.returnCode, TWRC_SUCCESS);
    EXPECT_EQ(CapabilityKey("ICAP_XFERMECH", "Allowed"), "TWSX_NATIVE,TWSX_FILE,TWSX_MEMORY");
    EXPECT_EQ(CapabilityKey("ICAP_XFERMECH", "Current"), "TWSX_NATIVE");
    ASSERT_EQ(reset.conType, TWON_ONEVALUE);
    EXPECT_EQ(AsOneValue(reset).Item, 0u);

    // Without Default, Current becomes empty, and one value of it reads 0.
    CapabilityReply noDefault = AskCapability(source_, kCustomCap, MSG_RESET);
    EXPECT_EQ(noDefault.returnCode, TWRC_SUCCESS);
    EXPECT_EQ(CapabilityKey("CUSTOM_SETTING", "Current"), "");
    EXPECT_EQ(CapabilityKey("CUSTOM_SETTING", "Allowed"), "1,2,3");
    EXPECT_EQ(AsOneValue(noDefault).Item, 0u);
}

TEST_F(Negotiation, ResetWithAnotherContainerAnswersThePowerOnValues)
{
    Use(Custom("Type=TWTY_UINT16\nReset=TWON_ENUMERATION\nAllowed=1\nPowerON=4,5\n"
               "Default=5\n"));
    CapabilityReply reset = AskCapability(source_, kCustomCap, MSG_RESET);
    ASSERT_EQ(reset.conType, TWON_ENUMERATION);
    EXPECT_EQ(AsList(reset).items, (std::vector<TW_UINT32>{4, 5}));
    EXPECT_EQ(AsList(reset).currentIndex, 1u);
}

TEST_F(Negotiation, ResetsTheCapabilityRefusesWriteNothing)
{
    Use(Custom("Type=TWTY_UINT16\nReset=TWCC_BADPROTOCOL\nCurrent=9\nAllowed=9\n"
               "PowerON=1\nDefault=1\n"));
    std::string before = ReadTextFile(CapabilityFilePath());
    CapabilityReply reset = AskCapability(source_, kCustomCap, MSG_RESET);
    EXPECT_EQ(reset.returnCode, TWRC_FAILURE);
    EXPECT_EQ(reset.conditionCode, TWCC_BADPROTOCOL);
    EXPECT_FALSE(reset.hasContainer);
    EXPECT_EQ(ReadTextFile(CapabilityFilePath()), before);

    // A reset whose reply has no container stands, and the application is
    // told that no container came.
    Use(Custom("Type=TWTY_UINT16\nReset=TWON_ODD\nAllowed=9\nPowerON=1\n"));
    CapabilityReply unanswered = AskCapability(source_, kCustomCap, MSG_RESET);
    EXPECT_EQ(unanswered.returnCode, TWRC_FAILURE);
    EXPECT_EQ(unanswered.conditionCode, TWCC_BADCAP);
    EXPECT_FALSE(unanswered.hasContainer);
    EXPECT_EQ(CapabilityKey("CUSTOM_SETTING", "Allowed"), "1");
}

TEST_F(Negotiation, SetWithoutReplyKeepsTheRequestAndSucceeds)
{
    // The listed name NONE is the fallback number 99: a set of 99 stores it,
    // and the reply of Current "NONE" is no container.
    Use(Custom("Type=TWTY_UINT16\nSet=TWON_ONEVALUE\nAllowed=3,NONE\nCurrent=3\n"));
    std::vector<unsigned char> request = OneValueBytes(TWTY_UINT16, 99);
    CapabilityReply set = SetCapability(source_, kCustomCap, TWON_ONEVALUE, request);
    EXPECT_EQ(set.returnCode, TWRC_SUCCESS);
    EXPECT_EQ(set.conditionCode, TWCC_SUCCESS);
    EXPECT_EQ(CapabilityKey("CUSTOM_SETTING", "Current"), "NONE");
    EXPECT_EQ(set.block, request);
}

TEST_F(Negotiation, BadContainersAreRefusedWithoutTouchingTheFile)
{
    Use(WithXferMech(Custom("Type=TWTY_UINT32\nSet=TWON_ENUMERATION,TWON_ODD\n"
                            "Allowed=1\n")));
    std::string before = ReadTextFile(CapabilityFilePath());
    MessageBoxCapture boxes;
    auto expectRefused = [&](const CapabilityReply& reply, const char* what) {
        EXPECT_EQ(reply.returnCode, TWRC_FAILURE) << what;
        EXPECT_EQ(reply.conditionCode, TWCC_BADVALUE) << what;
        EXPECT_EQ(ReadTextFile(CapabilityFilePath()), before) << what;
    };

    TW_CAPABILITY nullContainer = {ICAP_XFERMECH, TWON_ONEVALUE, nullptr};
    EXPECT_EQ(source_.Call(DG_CONTROL, DAT_CAPABILITY, MSG_SET, &nullContainer), TWRC_FAILURE);
    EXPECT_EQ(source_.ConditionCode(), TWCC_BADVALUE);
    EXPECT_EQ(source_.Call(DG_CONTROL, DAT_CAPABILITY, MSG_GET, nullptr), TWRC_FAILURE);
    EXPECT_EQ(source_.ConditionCode(), TWCC_BADVALUE);

    std::vector<unsigned char> shortOneValue = OneValueBytes(TWTY_UINT16, 2);
    shortOneValue.resize(4);
    expectRefused(SetCapability(source_, ICAP_XFERMECH, TWON_ONEVALUE, shortOneValue),
                  "block smaller than a one value");

    std::vector<unsigned char> shortHeader = ListBytes(TWON_ENUMERATION, TWTY_UINT8, {});
    shortHeader.resize(10);
    expectRefused(SetCapability(source_, kCustomCap, TWON_ENUMERATION, shortHeader),
                  "block smaller than an enumeration header");

    std::vector<unsigned char> tooMany = ListBytes(TWON_ENUMERATION, TWTY_UINT8, {1, 2});
    tooMany[2] = 200;  // NumItems 200, two items in the block
    expectRefused(SetCapability(source_, kCustomCap, TWON_ENUMERATION, tooMany),
                  "NumItems beyond the block");
    tooMany[2] = 0xFF;
    tooMany[3] = tooMany[4] = tooMany[5] = 0xFF;
    expectRefused(SetCapability(source_, kCustomCap, TWON_ENUMERATION, tooMany),
                  "NumItems that overflow");

    // The reply of two UINT32 items needs 22 bytes; the request has 16.
    std::vector<unsigned char> small = ListBytes(TWON_ENUMERATION, TWTY_UINT8, {1, 2});
    CapabilityReply tooSmall = SetCapability(source_, kCustomCap, TWON_ENUMERATION, small);
    expectRefused(tooSmall, "reply larger than the block");
    EXPECT_EQ(tooSmall.block, small);

    expectRefused(SetCapability(source_, kCustomCap, 9, OneValueBytes(TWTY_UINT16, 1)),
                  "a container the Set list names but no container the source knows");
    expectRefused(SetCapability(source_, kCustomCap, TWON_ENUMERATION,
                                ListBytes(TWON_ENUMERATION, TWTY_FRAME, {})),
                  "items without a text form");
    EXPECT_TRUE(boxes.Boxes().empty());
}

}  // namespace
