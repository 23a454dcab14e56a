// File database records as the album reads them.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "album/fdb_record.h"

namespace {

struct Record {
    unsigned char bytes[kFdbRecordSize] = {};
};

Record MakeRecord(const char* nameAndExtension, uint32_t size = 0)
{
    Record record;
    memcpy(record.bytes, nameAndExtension, 11);
    record.bytes[28] = static_cast<unsigned char>(size);
    record.bytes[29] = static_cast<unsigned char>(size >> 8);
    record.bytes[30] = static_cast<unsigned char>(size >> 16);
    record.bytes[31] = static_cast<unsigned char>(size >> 24);
    return record;
}

std::string Label(const Record& record)
{
    char label[kFdbLabelLength + 1];
    return MakeFdbLabel(record.bytes, label, sizeof label) ? label
                                                           : "(refused:" + std::string(label) + ")";
}

}  // namespace

TEST(FdbRecord, LabelIsTheEightThreeNameWithTheNamePaddingKept)
{
    EXPECT_EQ(Label(MakeRecord("DSC_0001JPG")), "DSC_0001.JPG");
    EXPECT_EQ(Label(MakeRecord("CLIP    AVI")), "CLIP    .AVI");
    EXPECT_EQ(Label(MakeRecord("snap    jpg")), "snap    .jpg");
    Record escaped = MakeRecord("\x05"
                                "ABC    WAV");
    EXPECT_EQ(Label(escaped), "\xE5"
                              "ABC    .WAV");
}

TEST(FdbRecord, UnusableRecordsGiveNoLabel)
{
    for (unsigned char first : {0x00, 0x2E, 0xE5}) {
        Record record = MakeRecord("XDSC0001JPG");
        record.bytes[0] = first;
        EXPECT_FALSE(FdbRecordUsable(record.bytes)) << int(first);
        EXPECT_EQ(Label(record), "(refused:)") << int(first);
    }
    EXPECT_TRUE(FdbRecordUsable(MakeRecord("\x05"
                                           "ABC    WAV")
                                    .bytes));
}

TEST(FdbRecord, LabelNeedsRoomForTwelveCharactersAndTheTerminator)
{
    const Record record = MakeRecord("DSC_0001JPG");
    char label[kFdbLabelLength + 1];
    memset(label, 'x', sizeof label);
    EXPECT_FALSE(MakeFdbLabel(record.bytes, label, kFdbLabelLength));
    EXPECT_EQ(label[0], '\0');
    EXPECT_EQ(label[1], 'x');
    EXPECT_FALSE(MakeFdbLabel(record.bytes, label, 0));
    EXPECT_EQ(label[1], 'x');
    char roomy[80];
    ASSERT_TRUE(MakeFdbLabel(record.bytes, roomy, sizeof roomy));
    EXPECT_STREQ(roomy, "DSC_0001.JPG");
}

TEST(FdbRecord, ExtensionAsStoredOrInEitherCase)
{
    const Record capitals = MakeRecord("DSC_0001JPG");
    const Record small = MakeRecord("DSC_0001jpg");
    const Record mixed = MakeRecord("DSC_0001Avi");
    EXPECT_TRUE(FdbExtensionIs(capitals.bytes, "JPG"));
    EXPECT_FALSE(FdbExtensionIs(small.bytes, "JPG"));
    EXPECT_TRUE(FdbExtensionIsAnyCase(small.bytes, "JPG"));
    EXPECT_TRUE(FdbExtensionIsAnyCase(mixed.bytes, "AVI"));
    EXPECT_FALSE(FdbExtensionIsAnyCase(mixed.bytes, "WAV"));
    EXPECT_FALSE(FdbExtensionIsAnyCase(MakeRecord("DSC_0001JPE").bytes, "JPG"));
}

TEST(FdbRecord, SizeIsUnsignedLittleEndian)
{
    EXPECT_EQ(FdbObjectSize(MakeRecord("A       JPG", 51200).bytes), 51200u);
    EXPECT_EQ(FdbObjectSize(MakeRecord("A       JPG", 0xFEDCBA98u).bytes), 0xFEDCBA98u);
}

TEST(FdbRecord, ContextBufferHoldsTheRecordsAndSlack)
{
    EXPECT_EQ(FdbContextSize(0), 1024u);
    EXPECT_EQ(FdbContextSize(5), 5 * 32 + 1024u);
    EXPECT_EQ(FdbContextSize(kFdbMaxRecords), kFdbMaxRecords * 32 + 1024u);
    EXPECT_EQ(FdbContextSize(kFdbMaxRecords + 1), 0u);
    EXPECT_EQ(FdbContextSize(0xFFFFFFFFul), 0u);
}
