#include <gtest/gtest.h>

#include "dib_test_headers.h"
#include "source/dib_format.h"

namespace {

std::vector<unsigned char> CoreHeaderBytes(uint16_t bitCount)
{
    std::vector<unsigned char> bytes;
    PutCoreHeader(bytes, 4, 2, bitCount);
    return bytes;
}

bool Plan(const std::vector<unsigned char>& bytes, uint64_t fileSize, DibReadPlan& plan)
{
    return PlanDibRead(bytes.data(), bytes.size(), fileSize, plan);
}

bool Accepted(const std::vector<unsigned char>& bytes, uint64_t fileSize = 1 << 20)
{
    DibReadPlan plan;
    return Plan(bytes, fileSize, plan);
}

}  // namespace

TEST(DibColorCount, FollowsTheBitCountOrTheColoursUsed)
{
    const struct {
        uint16_t bitCount;
        uint16_t colors;
    } rows[] = {{1, 2}, {4, 16}, {8, 256}, {16, 0}, {24, 0}, {32, 0}};
    for (const auto& row : rows) {
        EXPECT_EQ(DibColorCount(CoreHeaderBytes(row.bitCount).data()), row.colors) << row.bitCount;
        EXPECT_EQ(DibPaletteSize(CoreHeaderBytes(row.bitCount).data()), row.colors * 3);
        DibInfoHeader info = InfoHeader(4, 2, row.bitCount);
        EXPECT_EQ(DibColorCount(&info), row.colors) << row.bitCount;
        EXPECT_EQ(DibPaletteSize(&info), row.colors * 4);
    }

    DibInfoHeader info = InfoHeader(4, 2, 8);
    info.biClrUsed = 17;
    EXPECT_EQ(DibColorCount(&info), 17);
    EXPECT_EQ(DibPaletteSize(&info), 68);
    info.biBitCount = 24;
    EXPECT_EQ(DibColorCount(&info), 17);
}

TEST(DibColorCount, CountsBeyondSixteenBitsSaturate)
{
    DibInfoHeader info = InfoHeader(4, 2, 8);
    info.biClrUsed = 0x10002;
    EXPECT_EQ(DibColorCount(&info), 0xFFFF);
    EXPECT_EQ(DibPaletteSize(&info), 0xFFFF);
    info.biClrUsed = 0x4000;
    EXPECT_EQ(DibPaletteSize(&info), 0xFFFF);
}

TEST(DibDerivedImageSize, RowsAreRoundedToWholeWords)
{
    EXPECT_EQ(DibDerivedImageSize(InfoHeader(1280, 960, 24)), 3686400u);
    EXPECT_EQ(DibDerivedImageSize(InfoHeader(640, 480, 24)), 921600u);
    EXPECT_EQ(DibDerivedImageSize(InfoHeader(301, 199, 24)), 904u * 199);
    EXPECT_EQ(DibDerivedImageSize(InfoHeader(1, 3, 1)), 12u);
    EXPECT_EQ(DibDerivedImageSize(InfoHeader(33, 1, 1)), 8u);
    EXPECT_EQ(DibDerivedImageSize(InfoHeader(3, 1, 4)), 4u);
    EXPECT_EQ(DibDerivedImageSize(InfoHeader(5, 2, 16)), 24u);
    // Top-down pictures have as many rows.
    EXPECT_EQ(DibDerivedImageSize(InfoHeader(301, -199, 24)), 904u * 199);
    // The largest header does not overflow.
    EXPECT_EQ(DibDerivedImageSize(InfoHeader(0x7FFFFFFF, INT32_MIN, 32)),
              uint64_t{0x7FFFFFFF} * 4 * 0x80000000u);
}

TEST(FillDerivedValues, FillsOnlyWhatIsZero)
{
    DibInfoHeader header = InfoHeader(301, 199, 8);
    FillDerivedValues(header);
    EXPECT_EQ(header.biSizeImage, 304u * 199);
    EXPECT_EQ(header.biClrUsed, 256u);

    header.biSizeImage = 5;
    header.biClrUsed = 7;
    FillDerivedValues(header);
    EXPECT_EQ(header.biSizeImage, 5u);
    EXPECT_EQ(header.biClrUsed, 7u);

    DibInfoHeader huge = InfoHeader(0x7FFFFFFF, 0x7FFFFFFF, 32);
    FillDerivedValues(huge);
    EXPECT_EQ(huge.biSizeImage, 0xFFFFFFFFu);
    // A bit count far beyond any picture's takes the size past 64 bits.
    DibInfoHeader beyond = InfoHeader(0x40000000, 0x40000000, 256);
    FillDerivedValues(beyond);
    EXPECT_EQ(beyond.biSizeImage, 0xFFFFFFFFu);

    DibInfoHeader core = {};
    core.biSize = kDibCoreHeaderSize;
    FillDerivedValues(core);
    EXPECT_EQ(core.biSizeImage, 0u);
    EXPECT_EQ(core.biClrUsed, 0u);
}

TEST(PlanDibRead, FileWithFileHeaderReadsBitsFromItsOffset)
{
    std::vector<unsigned char> bytes = FileWithHeader(InfoHeader(1280, 960, 24), 0);
    DibReadPlan plan;
    ASSERT_TRUE(Plan(bytes, 54 + 3686400, plan));
    EXPECT_EQ(plan.header.biSize, 40u);
    EXPECT_EQ(plan.header.biWidth, 1280);
    EXPECT_EQ(plan.header.biHeight, 960);
    EXPECT_EQ(plan.header.biSizeImage, 3686400u);
    EXPECT_EQ(plan.header.biClrUsed, 0u);
    EXPECT_EQ(plan.colorCount, 0);
    EXPECT_EQ(plan.colorTableAt, 54u);
    EXPECT_EQ(plan.bitsOffset, 54u);
}

TEST(PlanDibRead, FileWithoutFileHeaderStartsWithTheInfoHeader)
{
    std::vector<unsigned char> bytes;
    PutInfoHeader(bytes, InfoHeader(16, 16, 8));
    DibReadPlan plan;
    ASSERT_TRUE(Plan(bytes, 40 + 1024 + 256, plan));
    EXPECT_EQ(plan.colorTableAt, 40u);
    EXPECT_EQ(plan.bitsOffset, 0u);
    EXPECT_EQ(plan.colorCount, 256);
    EXPECT_EQ(plan.fileEntrySize, 4u);
    EXPECT_EQ(plan.header.biClrUsed, 256u);
    EXPECT_EQ(plan.header.biSizeImage, 256u);
}

TEST(PlanDibRead, CoreHeaderBecomesAnInfoHeader)
{
    std::vector<unsigned char> bytes;
    PutFileHeader(bytes, 0, 14 + 12 + 768);
    PutCoreHeader(bytes, 301, 199, 8);
    // A core file as short as its header is still read: the reader's first
    // read may take fewer than 54 bytes.
    DibReadPlan plan;
    ASSERT_TRUE(Plan(bytes, 14 + 12 + 768 + 304 * 199, plan));
    EXPECT_EQ(plan.header.biSize, 40u);
    EXPECT_EQ(plan.header.biWidth, 301);
    EXPECT_EQ(plan.header.biHeight, 199);
    EXPECT_EQ(plan.header.biPlanes, 1);
    EXPECT_EQ(plan.header.biBitCount, 8);
    EXPECT_EQ(plan.header.biCompression, 0u);
    EXPECT_EQ(plan.header.biSizeImage, 304u * 199);
    EXPECT_EQ(plan.header.biClrUsed, 256u);
    EXPECT_EQ(plan.header.biClrImportant, 256u);
    EXPECT_EQ(plan.colorCount, 256);
    EXPECT_EQ(plan.fileEntrySize, 3u);
    EXPECT_EQ(plan.colorTableAt, 26u);
    EXPECT_EQ(plan.bitsOffset, 14u + 12 + 768);
}

TEST(PlanDibRead, LaterHeaderVersionsAndShortHeadersAreRefused)
{
    for (uint32_t size : {0u, 16u, 64u, 108u, 124u}) {
        DibInfoHeader header = InfoHeader(8, 8, 24);
        header.biSize = size;
        EXPECT_FALSE(Accepted(FileWithHeader(header, 0))) << size;
    }
    std::vector<unsigned char> bytes = FileWithHeader(InfoHeader(8, 8, 24), 0);
    bytes.resize(14 + 39);
    EXPECT_FALSE(Accepted(bytes));
    bytes.resize(3);
    EXPECT_FALSE(Accepted(bytes));
    EXPECT_FALSE(Accepted({}));
}

TEST(PlanDibRead, DamagedHeadersAreRefused)
{
    for (uint16_t bitCount : {0, 2, 3, 7, 12, 15, 48, 0xFFFF}) {
        EXPECT_FALSE(Accepted(FileWithHeader(InfoHeader(8, 8, bitCount), 0))) << bitCount;
    }
    EXPECT_FALSE(Accepted(FileWithHeader(InfoHeader(0, 8, 24), 0)));
    EXPECT_FALSE(Accepted(FileWithHeader(InfoHeader(-8, 8, 24), 0)));
    EXPECT_FALSE(Accepted(FileWithHeader(InfoHeader(8, 0, 24), 0)));

    DibInfoHeader manyColors = InfoHeader(8, 8, 8);
    manyColors.biClrUsed = 257;
    EXPECT_FALSE(Accepted(FileWithHeader(manyColors, 257 * 4)));
    manyColors.biClrUsed = 0x10002;
    EXPECT_FALSE(Accepted(FileWithHeader(manyColors, 0)));

    DibInfoHeader bitfields = InfoHeader(8, 8, 16);
    bitfields.biCompression = 3;
    EXPECT_FALSE(Accepted(FileWithHeader(bitfields, 0)));
    DibInfoHeader jpeg = InfoHeader(8, 8, 24);
    jpeg.biCompression = 4;
    EXPECT_FALSE(Accepted(FileWithHeader(jpeg, 0)));
}

TEST(PlanDibRead, PixelDataIsBoundedByTheDimensionsAndTheFile)
{
    // 4096 x 4096 at 32 bits is the largest picture taken.
    EXPECT_TRUE(Accepted(FileWithHeader(InfoHeader(4096, 4096, 32), 0), 100));
    EXPECT_TRUE(Accepted(FileWithHeader(InfoHeader(4096, -4096, 32), 0), 100));
    EXPECT_FALSE(Accepted(FileWithHeader(InfoHeader(4096, 4097, 32), 0)));
    EXPECT_FALSE(Accepted(FileWithHeader(InfoHeader(30000, 30000, 24), 0)));
    EXPECT_FALSE(Accepted(FileWithHeader(InfoHeader(0x7FFFFFFF, 1, 1), 0)));
    EXPECT_FALSE(Accepted(FileWithHeader(InfoHeader(0x7FFFFFFF, INT32_MIN, 32), 0)));

    // Whatever an uncompressed file claims, the block holds its rows.
    for (uint32_t claimed : {1u, 3686399u, 3686402u, 0xFFFFFFFFu}) {
        DibInfoHeader header = InfoHeader(1280, 960, 24);
        header.biSizeImage = claimed;
        DibReadPlan plan;
        ASSERT_TRUE(Plan(FileWithHeader(header, 0), 54, plan));
        EXPECT_EQ(plan.header.biSizeImage, 3686400u) << claimed;
    }

    // Compressed data cannot be longer than what the file holds behind the
    // headers.
    DibInfoHeader rle = InfoHeader(64, 64, 8);
    rle.biCompression = 1;
    rle.biSizeImage = 1000;
    const uint32_t bitsAt = 14 + 40 + 1024;
    DibReadPlan plan;
    ASSERT_TRUE(Plan(FileWithHeader(rle, 1024), bitsAt + 1000, plan));
    EXPECT_EQ(plan.header.biSizeImage, 1000u);
    EXPECT_FALSE(Accepted(FileWithHeader(rle, 1024), bitsAt + 999));
    rle.biSizeImage = 0xFFFFFFF0u;
    EXPECT_FALSE(Accepted(FileWithHeader(rle, 1024), 0xFFFFFFFFFull));
}

TEST(PlanDibRead, BitsOffsetMustLieInTheFile)
{
    std::vector<unsigned char> bytes = FileWithHeader(InfoHeader(8, 8, 24), 0);
    EXPECT_TRUE(Accepted(bytes, 54));
    EXPECT_FALSE(Accepted(bytes, 53));
    bytes[10] = bytes[11] = bytes[12] = bytes[13] = 0xFF;
    EXPECT_FALSE(Accepted(bytes, 1 << 20));
}

TEST(WidenCoreColorTable, TriplesBecomeQuadsInOrder)
{
    std::vector<unsigned char> table(256 * 4, 0xEE);
    for (int i = 0; i < 256; ++i) {
        table[i * 3] = static_cast<unsigned char>(i);
        table[i * 3 + 1] = static_cast<unsigned char>(255 - i);
        table[i * 3 + 2] = static_cast<unsigned char>(i ^ 0x5A);
    }
    WidenCoreColorTable(table.data(), 256);
    for (int i = 0; i < 256; ++i) {
        ASSERT_EQ(table[i * 4], i) << i;
        ASSERT_EQ(table[i * 4 + 1], 255 - i) << i;
        ASSERT_EQ(table[i * 4 + 2], i ^ 0x5A) << i;
        ASSERT_EQ(table[i * 4 + 3], 0) << i;
    }
}
