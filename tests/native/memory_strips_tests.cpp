#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "dib_test_headers.h"
#include "source/memory_strips.h"

namespace {

DibInfoHeader Picture(int32_t width, int32_t height, uint16_t bitCount = 24)
{
    return InfoHeader(width, height, bitCount);
}

TEST(MemoryStrips, OnlyBottomUpUncompressed24BitPicturesAreCut)
{
    EXPECT_TRUE(IsStripPicture(Picture(640, 480)));
    EXPECT_FALSE(IsStripPicture(Picture(640, -480)));
    EXPECT_FALSE(IsStripPicture(Picture(640, 480, 8)));
    EXPECT_FALSE(IsStripPicture(Picture(640, 480, 32)));
    DibInfoHeader compressed = Picture(640, 480);
    compressed.biCompression = kDibRle8;
    EXPECT_FALSE(IsStripPicture(compressed));
}

TEST(MemoryStrips, RowsAreUnpaddedInTheStripAndPaddedInTheFile)
{
    EXPECT_EQ(StripRowBytes(Picture(641, 2)), 1923u);
    EXPECT_EQ(FileRowBytes(Picture(641, 2)), 1924u);
    EXPECT_EQ(StripRowBytes(Picture(0x7FFFFFFF, 1)), 0xFFFFFFFFu);
}

TEST(MemoryStrips, A640WidePictureComesOneRowPerStripIn2048Bytes)
{
    const DibInfoHeader header = Picture(640, 480);
    StripPlan plan;
    ASSERT_TRUE(PlanStrip(header, 0, 2048, plan));
    EXPECT_EQ(plan.rowsDone, 0u);
    EXPECT_EQ(plan.rows, 1u);
    EXPECT_EQ(plan.firstFileRow, 479u);
    EXPECT_FALSE(plan.last);

    ASSERT_TRUE(PlanStrip(header, 479 * 1920, 2048, plan));
    EXPECT_EQ(plan.rowsDone, 479u);
    EXPECT_EQ(plan.firstFileRow, 0u);
    EXPECT_TRUE(plan.last);
}

TEST(MemoryStrips, StripsCarryWholeRowsAndTheLastOneWhatIsLeft)
{
    const DibInfoHeader header = Picture(100, 10);  // 300 bytes a row
    StripPlan plan;
    ASSERT_TRUE(PlanStrip(header, 0, 1000, plan));
    EXPECT_EQ(plan.rows, 3u);
    EXPECT_EQ(plan.firstFileRow, 7u);
    ASSERT_TRUE(PlanStrip(header, 9 * 300, 1000, plan));
    EXPECT_EQ(plan.rowsDone, 9u);
    EXPECT_EQ(plan.rows, 1u);
    EXPECT_TRUE(plan.last);
}

TEST(MemoryStrips, ABufferShorterThanARowIsRefused)
{
    StripPlan plan;
    EXPECT_FALSE(PlanStrip(Picture(1280, 960), 0, 2048, plan));
    EXPECT_TRUE(PlanStrip(Picture(1280, 960), 0, 3840, plan));
}

TEST(MemoryStrips, ACursorBeyondThePictureGivesAnEmptyLastStrip)
{
    StripPlan plan;
    ASSERT_TRUE(PlanStrip(Picture(10, 4), 1000000, 2048, plan));
    EXPECT_EQ(plan.rows, 0u);
    EXPECT_EQ(plan.rowsDone, 4u);
    EXPECT_TRUE(plan.last);
}

TEST(MemoryStrips, CopyTurnsRowsTopFirstAndPixelsIntoRedGreenBlue)
{
    // 3 x 3 picture: 9 bytes a row, 12 in the file. The strip carries the
    // rows 1 and 2 counted from the top: file rows 1 and 0.
    const DibInfoHeader header = Picture(3, 3);
    StripPlan plan;
    ASSERT_TRUE(PlanStrip(header, 9, 18, plan));
    ASSERT_EQ(plan.rows, 2u);
    ASSERT_EQ(plan.firstFileRow, 0u);
    std::vector<unsigned char> fileRows(24);
    for (size_t i = 0; i < fileRows.size(); ++i) {
        fileRows[i] = static_cast<unsigned char>(i);
    }
    std::vector<unsigned char> strip(18 + 1, 0xEE);
    CopyStrip(header, plan, fileRows.data(), strip.data());
    const std::vector<unsigned char> expected = {// File row 1 (bytes 12..20), blue and red swapped.
                                                 14, 13, 12, 17, 16, 15, 20, 19, 18,
                                                 // File row 0.
                                                 2, 1, 0, 5, 4, 3, 8, 7, 6,
                                                 // Untouched.
                                                 0xEE};
    EXPECT_EQ(strip, expected);
}

// Every strip of every picture the planner accepts stays inside the buffer
// and inside the picture's rows, and the strips of a picture, cursor moved
// as the transfer moves it, deliver each row once.
TEST(MemoryStrips, PlannedStripsStayInsideTheirBuffersAndCoverThePictureOnce)
{
    std::mt19937 random(600);
    for (int round = 0; round < 300; ++round) {
        const DibInfoHeader header = Picture(1 + random() % 700, 1 + random() % 40);
        const uint32_t length = 1 + random() % 9000;
        uint32_t bytesDone = 0;
        uint32_t rowsSeen = 0;
        StripPlan plan;
        while (PlanStrip(header, bytesDone, length, plan)) {
            ASSERT_LE(plan.rows * StripRowBytes(header), length);
            ASSERT_EQ(plan.rowsDone, rowsSeen);
            ASSERT_LE(plan.firstFileRow + plan.rows, static_cast<uint32_t>(header.biHeight));
            std::vector<unsigned char> fileRows(plan.rows * FileRowBytes(header));
            std::vector<unsigned char> strip(plan.rows * StripRowBytes(header));
            CopyStrip(header, plan, fileRows.data(), strip.data());
            rowsSeen += plan.rows;
            bytesDone += plan.rows * StripRowBytes(header);
            if (plan.last) {
                break;
            }
        }
        if (StripRowBytes(header) <= length) {
            EXPECT_EQ(rowsSeen, static_cast<uint32_t>(header.biHeight));
        } else {
            EXPECT_EQ(rowsSeen, 0u);
        }
    }
}

}  // namespace
