#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "source/transfer_queue.h"

namespace {

const char kPrefix[] = "C:\\WINDOWS\\TWAIN_32\\tz600a\\TWIMG600_";

TransferQueue QueueOf(std::initializer_list<int> numbers)
{
    TransferQueue queue = {};
    for (int number : numbers) {
        queue.fileNumbers[queue.pendingCount++] = number;
    }
    snprintf(queue.filePrefix, sizeof queue.filePrefix, "%s", kPrefix);
    snprintf(queue.currentFile, sizeof queue.currentFile, "%s%04d.bmp", kPrefix,
             queue.fileNumbers[0]);
    return queue;
}

std::string Name(int number)
{
    char name[kTransferNameSize];
    snprintf(name, sizeof name, "%s%04d.bmp", kPrefix, number);
    return name;
}

TEST(TransferQueue, WaitingFilesAreThoseNotYetEndedCurrentFirst)
{
    TransferQueue queue = QueueOf({3, 17, 250});
    using Names = std::vector<std::string>;
    EXPECT_EQ(WaitingTransferFiles(queue), (Names{Name(3), Name(17), Name(250)}));
    char finished[kTransferNameSize];
    EndCurrentTransfer(queue, finished, sizeof finished);
    EXPECT_EQ(WaitingTransferFiles(queue), (Names{Name(17), Name(250)}));
    EndCurrentTransfer(queue, finished, sizeof finished);
    EndCurrentTransfer(queue, finished, sizeof finished);
    EXPECT_TRUE(WaitingTransferFiles(queue).empty());
}

TEST(TransferQueue, EachEndNamesTheFinishedFileAndMovesToTheNext)
{
    TransferQueue queue = QueueOf({3, 17, 250});
    char finished[kTransferNameSize];

    EXPECT_EQ(EndCurrentTransfer(queue, finished, sizeof finished), 2);
    EXPECT_EQ(finished, Name(3));
    EXPECT_EQ(queue.currentFile, Name(17));
    EXPECT_EQ(queue.currentIndex, 1);

    EXPECT_EQ(EndCurrentTransfer(queue, finished, sizeof finished), 1);
    EXPECT_EQ(finished, Name(17));
    EXPECT_EQ(queue.currentFile, Name(250));

    EXPECT_EQ(EndCurrentTransfer(queue, finished, sizeof finished), 0);
    EXPECT_EQ(finished, Name(250));
    // No entry behind the last picture is taken for a file.
    EXPECT_STREQ(queue.currentFile, "");
}

TEST(TransferQueue, EndsBeyondTheQueueNameNothingAndStayAtZero)
{
    TransferQueue queue = QueueOf({5});
    char finished[kTransferNameSize];
    EXPECT_EQ(EndCurrentTransfer(queue, finished, sizeof finished), 0);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(EndCurrentTransfer(queue, finished, sizeof finished), 0);
        EXPECT_STREQ(finished, "");
        EXPECT_EQ(queue.pendingCount, 0);
        EXPECT_EQ(queue.currentIndex, 1);
    }
    queue.pendingCount = -4;
    EXPECT_EQ(EndCurrentTransfer(queue, finished, sizeof finished), 0);
    EXPECT_EQ(queue.pendingCount, 0);
}

TEST(TransferQueue, ACountLargerThanTheNumberTableNeverReadsPastIt)
{
    TransferQueue queue = QueueOf({1});
    queue.pendingCount = kTransferQueueSize + 10;
    queue.currentIndex = kTransferQueueSize - 2;
    char finished[kTransferNameSize];
    EndCurrentTransfer(queue, finished, sizeof finished);
    EXPECT_EQ(queue.currentFile, Name(0));
    EndCurrentTransfer(queue, finished, sizeof finished);
    EXPECT_STREQ(queue.currentFile, "");
    EndCurrentTransfer(queue, finished, sizeof finished);
    EXPECT_STREQ(finished, "");
    EXPECT_STREQ(queue.currentFile, "");
}

}  // namespace
