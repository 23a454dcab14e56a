// Mutation fuzzing of the header planning that the BMP reader runs on every
// file, under the sanitizers: every accepted plan must describe a block that
// the reader can fill without reading or writing outside its buffers.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <memory>
#include <random>

#include "dib_test_headers.h"
#include "source/dib_format.h"

namespace {

// Leading bytes of the files the reader meets: what the camera library
// writes, and the other forms the reader accepts.
std::vector<std::vector<unsigned char>> SeedCorpus()
{
    std::vector<std::vector<unsigned char>> seeds;
    seeds.push_back(FileWithHeader(InfoHeader(1280, 960, 24), 0));
    seeds.push_back(FileWithHeader(InfoHeader(301, 199, 24), 0));
    seeds.push_back(FileWithHeader(InfoHeader(16, 16, 8), 1024));
    seeds.push_back(FileWithHeader(InfoHeader(17, 3, 1), 8));
    seeds.push_back(FileWithHeader(InfoHeader(5, -7, 32), 0));
    seeds.push_back(FileWithHeader(InfoHeader(33, 9, 16), 0));
    DibInfoHeader rle = InfoHeader(64, 64, 4);
    rle.biCompression = kDibRle4;
    rle.biSizeImage = 700;
    rle.biClrUsed = 16;
    seeds.push_back(FileWithHeader(rle, 64));
    std::vector<unsigned char> headerless;
    PutInfoHeader(headerless, InfoHeader(640, 480, 24));
    seeds.push_back(headerless);
    std::vector<unsigned char> core;
    PutFileHeader(core, 0, 14 + 12 + 768);
    PutCoreHeader(core, 301, 199, 8);
    core.resize(kDibLeadingBytes, 0x7F);
    seeds.push_back(core);
    return seeds;
}

// The values that most often sit on a boundary of the header arithmetic.
const uint32_t kInterestingValues[] = {
    0,      1,       2,          3,          4,          8,          12,        14,  16,     24,
    32,     40,      54,         108,        124,        255,        256,       257, 0x7FFF, 0x8000,
    0xFFFF, 0x10000, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF, 0xFFFFFFFE, 0x4000000, 4096};

void Mutate(std::vector<unsigned char>& bytes, std::mt19937& random)
{
    const int mutations = 1 + random() % 4;
    for (int m = 0; m < mutations && !bytes.empty(); ++m) {
        const size_t at = random() % bytes.size();
        switch (random() % 4) {
        case 0:
            bytes[at] ^= static_cast<unsigned char>(1 << (random() % 8));
            break;
        case 1:
            bytes[at] = static_cast<unsigned char>(random());
            break;
        case 2: {
            const uint32_t value = kInterestingValues[random() % std::size(kInterestingValues)];
            for (size_t k = 0; k < 4 && at + k < bytes.size(); ++k) {
                bytes[at + k] = static_cast<unsigned char>(value >> (8 * k));
            }
            break;
        }
        default:
            bytes.resize(random() % (kDibLeadingBytes + 1), 0);
            break;
        }
    }
}

uint64_t RandomFileSize(std::mt19937& random)
{
    switch (random() % 3) {
    case 0:
        return random() % 4096;
    case 1:
        return random() % (8u << 20);
    default:
        return (uint64_t{random()} << 16) ^ random();
    }
}

// What the reader relies on in a plan it follows.
void CheckPlan(const std::vector<unsigned char>& bytes, uint64_t fileSize, const DibReadPlan& plan)
{
    const DibInfoHeader& header = plan.header;
    ASSERT_EQ(header.biSize, kDibInfoHeaderSize);
    ASSERT_LE(plan.colorCount, kDibMaxColors);
    ASSERT_EQ(header.biClrUsed, plan.colorCount);
    ASSERT_TRUE(plan.fileEntrySize == 3 || plan.fileEntrySize == 4);
    ASSERT_LE(plan.colorTableAt, bytes.size());
    ASSERT_LE(plan.bitsOffset, fileSize);
    ASSERT_GT(header.biWidth, 0);
    ASSERT_NE(header.biHeight, 0);
    ASSERT_LE(header.biSizeImage, kDibMaxBitsSize);
    if (header.biCompression == kDibUncompressed) {
        ASSERT_EQ(header.biSizeImage, DibDerivedImageSize(header));
    }
    ASSERT_EQ(DibPaletteSize(&header), plan.colorCount * 4);

    // The colour table as the reader fills it, in a buffer of its exact size.
    std::vector<unsigned char> table(plan.colorCount * 4);
    for (size_t i = 0; i < plan.colorCount * plan.fileEntrySize; ++i) {
        table[i] = static_cast<unsigned char>(i);
    }
    if (plan.fileEntrySize == 3) {
        WidenCoreColorTable(table.data(), plan.colorCount);
    }
}

}  // namespace

TEST(DibHeaderFuzz, AcceptedPlansDescribeBlocksTheReaderCanFill)
{
    const std::vector<std::vector<unsigned char>> seeds = SeedCorpus();
    for (const auto& seed : seeds) {
        DibReadPlan plan;
        ASSERT_TRUE(PlanDibRead(seed.data(), seed.size(), 8u << 20, plan));
        CheckPlan(seed, 8u << 20, plan);
    }

    std::mt19937 random(20240611);
    const long kInputs = 1000000;
    long accepted = 0;
    for (long input = 0; input < kInputs; ++input) {
        std::vector<unsigned char> bytes = seeds[random() % seeds.size()];
        Mutate(bytes, random);
        const uint64_t fileSize = RandomFileSize(random);
        // The bytes handed over are copied into a buffer of their exact size,
        // so that the sanitizer sees any read beyond them.
        std::unique_ptr<unsigned char[]> exact(new unsigned char[bytes.size()]);
        std::copy(bytes.begin(), bytes.end(), exact.get());
        DibReadPlan plan;
        if (PlanDibRead(exact.get(), bytes.size(), fileSize, plan)) {
            ++accepted;
            CheckPlan(bytes, fileSize, plan);
            if (HasFatalFailure()) {
                return;
            }
        }
        if (bytes.size() >= kDibInfoHeaderSize) {
            DibColorCount(exact.get());
            DibPaletteSize(exact.get());
        }
    }
    printf("DIB header fuzz: %ld inputs, %ld accepted\n", kInputs, accepted);
    RecordProperty("inputs", static_cast<int>(kInputs));
    RecordProperty("accepted", static_cast<int>(accepted));
}
