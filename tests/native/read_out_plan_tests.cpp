// Which selected objects a download or a save reads out, and how the
// read-out's progress range is counted.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "album/fdb_record.h"
#include "album/read_out_plan.h"

namespace {

using Indices = std::vector<unsigned long>;

// Records laid out as GetFDBContext hands them out: "NAME    EXT" and a size.
std::vector<unsigned char> MakeRecords(const std::vector<const char*>& names, uint32_t size)
{
    std::vector<unsigned char> records(names.size() * kFdbRecordSize + 1024, 0);
    for (size_t i = 0; i < names.size(); ++i) {
        unsigned char* record = records.data() + i * kFdbRecordSize;
        memcpy(record, names[i], 11);
        memcpy(record + 28, &size, 4);
    }
    return records;
}

}  // namespace

TEST(ReadOutPlan, DownloadListsTheSelectedStillsAndRefusesAnyClip)
{
    const auto records = MakeRecords({"DSC_0001JPG", "DSC_0002jpg", "DSC_0003AVI", "DSC_0004JPG",
                                      "DSC_0005WAV", "NOTES   TXT", "DSC_0007JPG"},
                                     51200);
    Indices stills;
    EXPECT_EQ(PlanDownload(records.data(), 7, {0, 3, 6}, stills), DownloadChoice::Ready);
    EXPECT_EQ(stills, (Indices{0, 3, 6}));
    EXPECT_EQ(ProgressRangeTop(SumObjectSizes(records.data(), {0, 3})), 200u);

    // Stills in either case; sounds and other files passed over silently.
    EXPECT_EQ(PlanDownload(records.data(), 7, {1, 4, 5, 6}, stills), DownloadChoice::Ready);
    EXPECT_EQ(stills, (Indices{1, 6}));

    // A clip anywhere refuses the whole download, stills or not.
    EXPECT_EQ(PlanDownload(records.data(), 7, {0, 2, 3}, stills), DownloadChoice::ClipSelected);
    EXPECT_TRUE(stills.empty());

    EXPECT_EQ(PlanDownload(records.data(), 7, {4, 5}, stills), DownloadChoice::NoStillSelected);
    EXPECT_EQ(PlanDownload(records.data(), 7, {}, stills), DownloadChoice::NoStillSelected);
    // Items beyond the records read have no record to look at.
    EXPECT_EQ(PlanDownload(records.data(), 2, {1, 3, 40}, stills), DownloadChoice::Ready);
    EXPECT_EQ(stills, (Indices{1}));
}

TEST(ReadOutPlan, SaveWritesStillsClipsAndSoundsAndStopsAtAnUnusableRecord)
{
    const auto records = MakeRecords({"DSC_0001JPG", "DSC_0003avi", "DSC_0005WAV", "NOTES   TXT",
                                      "\xE5"
                                      "SC_0009JPG",
                                      "\0"
                                      "SC_0010JPG",
                                      ".       JPG"},
                                     10);
    const SaveChoice expected[] = {SaveChoice::Write,    SaveChoice::Write, SaveChoice::Write,
                                   SaveChoice::PassOver, SaveChoice::Stop,  SaveChoice::Stop,
                                   SaveChoice::Stop};
    for (size_t i = 0; i < 7; ++i) {
        EXPECT_EQ(SaveChoiceFor(records.data() + i * kFdbRecordSize), expected[i]) << i;
    }
}

TEST(ReadOutPlan, ProgressRangeCountsWholeBlocksInSixteenBits)
{
    EXPECT_EQ(ProgressRangeTop(0), 0u);
    EXPECT_EQ(ProgressRangeTop(511), 0u);
    EXPECT_EQ(ProgressRangeTop(102400), 200u);
    EXPECT_EQ(ProgressRangeTop(65536u * 512u + 3u * 512u), 3u);
    const auto records = MakeRecords({"A       JPG", "B       JPG"}, 0xFFFFFFFFu);
    EXPECT_EQ(SumObjectSizes(records.data(), {0, 1}), 0xFFFFFFFEu);
}
