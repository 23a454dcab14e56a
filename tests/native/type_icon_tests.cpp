// The album's type icons: which one an FDB record's extension chooses, in
// capital letters only or in either case, and the pictures' form.
#include <gtest/gtest.h>

#include <cstring>

#include "album/fdb_record.h"
#include "album/type_icons.h"

namespace {

struct Record {
    unsigned char bytes[kFdbRecordSize];
};

Record WithExtension(const char* extension)
{
    Record record = {};
    memcpy(record.bytes, "DSC_0001", 8);
    memcpy(record.bytes + 8, extension, 3);
    return record;
}

TEST(TypeIcons, CapitalExtensionsChooseTheirIcons)
{
    EXPECT_EQ(TypeIconFor(WithExtension("JPG").bytes, false), kJpgIcon);
    EXPECT_EQ(TypeIconFor(WithExtension("AVI").bytes, false), kAviIcon);
    EXPECT_EQ(TypeIconFor(WithExtension("WAV").bytes, false), kWavIcon);
    EXPECT_EQ(TypeIconFor(WithExtension("jpg").bytes, false), nullptr);
    EXPECT_EQ(TypeIconFor(WithExtension("Wav").bytes, false), nullptr);
}

TEST(TypeIcons, EitherCaseChoosesTheSameIconsAndNothingElse)
{
    EXPECT_EQ(TypeIconFor(WithExtension("jpg").bytes, true), kJpgIcon);
    EXPECT_EQ(TypeIconFor(WithExtension("aVi").bytes, true), kAviIcon);
    EXPECT_EQ(TypeIconFor(WithExtension("WAV").bytes, true), kWavIcon);
    for (const char* other : {"TXT", "JP ", "   ", "BMP", "JPE"}) {
        EXPECT_EQ(TypeIconFor(WithExtension(other).bytes, true), nullptr) << other;
        EXPECT_EQ(TypeIconFor(WithExtension(other).bytes, false), nullptr) << other;
    }
}

// Each icon is a page on black: the outer columns are black in every row,
// the page's middle is not.
TEST(TypeIcons, ThreeDifferentPagesOnBlack)
{
    EXPECT_EQ(kTypeIconBytes, 11520u);
    EXPECT_EQ(kTypeIconRowBytes, 180u);
    const unsigned char* icons[] = {kJpgIcon, kAviIcon, kWavIcon};
    for (const unsigned char* icon : icons) {
        for (int row = 0; row < kTypeIconHeight; ++row) {
            const unsigned char* line = icon + row * kTypeIconRowBytes;
            for (int column :
                 {0, 1, 2, kTypeIconWidth - 3, kTypeIconWidth - 2, kTypeIconWidth - 1}) {
                EXPECT_EQ(line[column * 3] | line[column * 3 + 1] | line[column * 3 + 2], 0)
                    << "row " << row << " column " << column;
            }
        }
        const unsigned char* middle =
            icon + (kTypeIconHeight / 2) * kTypeIconRowBytes + (kTypeIconWidth / 2) * 3;
        EXPECT_NE(middle[0] | middle[1] | middle[2], 0);
    }
    EXPECT_NE(memcmp(kJpgIcon, kAviIcon, kTypeIconBytes), 0);
    EXPECT_NE(memcmp(kJpgIcon, kWavIcon, kTypeIconBytes), 0);
    EXPECT_NE(memcmp(kAviIcon, kWavIcon, kTypeIconBytes), 0);
}

}  // namespace
