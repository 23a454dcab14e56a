// The simulated camera's platform-free parts: its directory entries (read
// back with the album's record functions), the BMP files it writes (read
// back with the source's BMP header arithmetic) and its test scene.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "album/fdb_record.h"
#include "sim/dsclink/bmp_image.h"
#include "sim/dsclink/fat_entry.h"
#include "sim/dsclink/test_scene.h"
#include "source/dib_format.h"

TEST(SimulatedCameraEntries, ShortNamesSplitIntoPaddedFields)
{
    char name[8];
    char extension[3];
    ASSERT_TRUE(SplitShortName("DSC_0001.JPG", name, extension));
    EXPECT_EQ(std::string(name, 8), "DSC_0001");
    EXPECT_EQ(std::string(extension, 3), "JPG");
    ASSERT_TRUE(SplitShortName("a.wav", name, extension));
    EXPECT_EQ(std::string(name, 8), "a       ");
    for (const char* longName :
         {"DSC_00001.JPG", ".JPG", "DSC.JPEG", "DSC", "A.B.JPG", "MY PIC.JPG"}) {
        EXPECT_FALSE(SplitShortName(longName, name, extension)) << longName;
    }
    EXPECT_TRUE(IsCameraObjectName("clip.avi"));
    EXPECT_FALSE(IsCameraObjectName("notes.txt"));
    EXPECT_LT(CompareObjectNames("dsc_0001.jpg", "DSC_0002.JPG"), 0);
    EXPECT_EQ(CompareObjectNames("dsc_0001.jpg", "DSC_0001.JPG"), 0);
}

TEST(SimulatedCameraEntries, EntriesReadBackThroughTheAlbumsRecordFunctions)
{
    char name[8];
    char extension[3];
    ASSERT_TRUE(SplitShortName("DSC_0042.JPG", name, extension));
    unsigned char entry[kFatEntrySize];
    memset(entry, 0xAA, sizeof entry);
    FillFatEntry(entry, name, extension, 0x1234, 0x5678, 7, 0x01020304u);
    char label[kFdbLabelLength + 1];
    ASSERT_TRUE(MakeFdbLabel(entry, label, sizeof label));
    EXPECT_STREQ(label, "DSC_0042.JPG");
    EXPECT_EQ(FdbObjectSize(entry), 0x01020304u);
    EXPECT_EQ(entry[11], 0x20);
    EXPECT_EQ(entry[26], 7);
    EXPECT_TRUE(FatEntryNames(entry, "dsc_0042.jpg"));
    EXPECT_FALSE(FatEntryNames(entry, "DSC_0043.JPG"));

    name[0] = static_cast<char>(0xE5);
    FillFatEntry(entry, name, extension, 0, 0, 2, 1);
    EXPECT_EQ(entry[0], 0x05);
    EXPECT_TRUE(FdbRecordUsable(entry));
}

TEST(SimulatedCameraEntries, DamagePatchesFitInsideTheEntry)
{
    char name[8];
    char extension[3];
    ASSERT_TRUE(SplitShortName("DSC_0001.JPG", name, extension));
    unsigned char entry[kFatEntrySize];
    FillFatEntry(entry, name, extension, 0, 0, 2, 100);
    ASSERT_TRUE(PatchFatEntry(entry, "0:E5"));
    EXPECT_FALSE(FdbRecordUsable(entry));
    ASSERT_TRUE(PatchFatEntry(entry, "8:6a7067"));
    EXPECT_TRUE(FdbExtensionIsAnyCase(entry, "JPG"));
    EXPECT_FALSE(FdbExtensionIs(entry, "JPG"));
    const std::vector<unsigned char> before(entry, entry + kFatEntrySize);
    for (const char* bad : {"31:0102", "x:00", "0:0", "0:GG", "-1:00", "0:", "0"}) {
        EXPECT_FALSE(PatchFatEntry(entry, bad)) << bad;
    }
    EXPECT_EQ(std::vector<unsigned char>(entry, entry + kFatEntrySize), before);
}

TEST(SimulatedCameraBmp, BottomUpTwentyFourBitRowsPaddedToFourBytes)
{
    const int width = 3;
    const int height = 2;
    std::vector<unsigned char> topDown(width * height * 3);
    for (size_t i = 0; i < topDown.size(); ++i) {
        topDown[i] = static_cast<unsigned char>(i + 1);
    }
    std::vector<unsigned char> file;
    ASSERT_TRUE(MakeBmpFile(topDown.data(), width, height, file));
    EXPECT_EQ(BmpRowSize(width), 12u);
    ASSERT_EQ(file.size(), kBmpHeadersSize + 2 * 12);

    DibReadPlan plan;
    ASSERT_TRUE(PlanDibRead(file.data(), file.size(), file.size(), plan));
    EXPECT_EQ(plan.header.biSize, 40u);
    EXPECT_EQ(plan.header.biWidth, width);
    EXPECT_EQ(plan.header.biHeight, height);
    EXPECT_EQ(plan.header.biBitCount, 24);
    EXPECT_EQ(plan.header.biCompression, kDibUncompressed);
    EXPECT_EQ(plan.header.biSizeImage, 24u);
    EXPECT_EQ(plan.colorCount, 0);
    EXPECT_EQ(plan.bitsOffset, 54u);

    const unsigned char* bits = file.data() + kBmpHeadersSize;
    EXPECT_EQ(std::vector<unsigned char>(bits, bits + 9),
              std::vector<unsigned char>(topDown.begin() + 9, topDown.end()));
    EXPECT_EQ(std::vector<unsigned char>(bits + 9, bits + 12), std::vector<unsigned char>(3, 0));
    EXPECT_EQ(std::vector<unsigned char>(bits + 12, bits + 21),
              std::vector<unsigned char>(topDown.begin(), topDown.begin() + 9));

    EXPECT_FALSE(MakeBmpFile(topDown.data(), 0, 1, file));
    EXPECT_TRUE(file.empty());
}

TEST(SimulatedCameraScene, FrameNumbersChangeOnlyTheNumberBox)
{
    const int width = 640;
    const int height = 480;
    ASSERT_EQ(TestSceneSize(width, height), 640u * 480 * 3);
    std::vector<unsigned char> first(TestSceneSize(width, height));
    std::vector<unsigned char> second(first.size());
    PaintTestScene(first.data(), width, height, 1);
    PaintTestScene(second.data(), width, height, 2);
    size_t lowestChangedRow = height;
    size_t changedBytes = 0;
    for (size_t i = 0; i < first.size(); ++i) {
        if (first[i] != second[i]) {
            ++changedBytes;
            lowestChangedRow = std::min(lowestChangedRow, i / (width * 3));
        }
    }
    EXPECT_GT(changedBytes, 1000u);
    EXPECT_GE(lowestChangedRow, static_cast<size_t>(height * 3 / 4));

    std::vector<unsigned char> tiny(15 * 15 * 3, 0x55);
    EXPECT_EQ(TestSceneSize(15, 15), 0u);
    PaintTestScene(tiny.data(), 15, 15, 1);
    EXPECT_EQ(tiny, std::vector<unsigned char>(15 * 15 * 3, 0x55));
}
