// acquire's picture transfers against the linked source, with the queue
// filled from the simulated camera's read-out as the album fills it: every
// saved picture must equal its transfer file byte for byte, whichever the
// transfer mechanism.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "album/camera_library.h"
#include "source/transfer_queue.h"
#include "support/bmp_files.h"
#include "support/linked_source.h"
#include "support/message_boxes.h"
#include "support/prefix_files.h"
#include "tools/acquire/picture_transfers.h"

namespace {

class AcquireTransferTest : public testing::Test {
protected:
    void SetUp() override
    {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        output_ = TemporaryPath("acquire_transfer_tests");
        ASSERT_TRUE(LoadCameraSettings());
        app_ = {};
        app_.dsmEntry = LinkedManagerEntry;
        app_.identity = source_.application;
    }

    void TearDown() override
    {
        for (int number = 1; number <= 9; ++number) {
            char name[32];
            snprintf(name, sizeof name, "\\picture_%03d.bmp", number);
            DeleteFileA((output_ + name).c_str());
        }
        RemoveDirectoryA(output_.c_str());
        CoUninitialize();
    }

    // Reads every still out of the camera into transfer files, as the album
    // does, and queues them. Returns the files' contents in queue order.
    std::vector<Bytes> ReadOutAndQueue()
    {
        unsigned long count = 0;
        std::vector<unsigned char> records;
        EXPECT_EQ(GetFDBCount(&count), 0);
        EXPECT_TRUE(ReadFdbContext(count, records));
        std::vector<char> prefix(g_transferQueue.filePrefix,
                                 g_transferQueue.filePrefix + sizeof g_transferQueue.filePrefix);
        std::vector<int> numbers;
        std::vector<Bytes> pictures;
        for (unsigned long index = 0; index < count; ++index) {
            std::vector<unsigned char> copy = records;
            if (Upload_DOSFAT_Object(static_cast<int>(index), copy.data(), prefix.data(),
                                     kUploadAsBitmap, kUploadFlag, nullptr) != 0) {
                continue;  // not a still
            }
            const int number = static_cast<int>(index + 1);
            files_.Track(TransferFilePath(number));
            numbers.push_back(number);
            pictures.push_back(ReadBytes(TransferFilePath(number)));
        }
        source_.QueuePictures(numbers);
        return pictures;
    }

    int Transfer(TransferMechanism mechanism, unsigned long bufferSize = 0)
    {
        TransferOptions options;
        options.mechanism = mechanism;
        options.bufferSize = bufferSize;
        options.outputFolder = output_;
        return TransferPictures(app_, options);
    }

    std::string Saved(int number)
    {
        char name[32];
        snprintf(name, sizeof name, "\\picture_%03d.bmp", number);
        return output_ + name;
    }

    void ExpectSavedAsTransferred(TransferMechanism mechanism)
    {
        const std::vector<Bytes> pictures = ReadOutAndQueue();
        ASSERT_EQ(pictures.size(), 3u);
        EXPECT_EQ(Transfer(mechanism), 3);
        for (size_t i = 0; i < pictures.size(); ++i) {
            EXPECT_TRUE(ReadBytes(Saved(static_cast<int>(i + 1))) == pictures[i]) << i;
        }
        EXPECT_EQ(g_transferQueue.pendingCount, 0);
        for (int number : {1, 2, 4}) {
            EXPECT_FALSE(FileExists(TransferFilePath(number))) << number;
        }
        EXPECT_TRUE(boxes_.Boxes().empty());
    }

    SavedFile capabilities_{CapabilityFilePath()};
    MessageBoxCapture boxes_;
    TransferFiles files_;
    LinkedSource source_;
    TwainApp app_;
    std::string output_;
};

TEST_F(AcquireTransferTest, NativeTransfersSaveTheCameraStills)
{
    ExpectSavedAsTransferred(TransferMechanism::Native);
}

TEST_F(AcquireTransferTest, FileTransfersSaveTheCameraStills)
{
    ExpectSavedAsTransferred(TransferMechanism::File);
}

TEST_F(AcquireTransferTest, MemoryTransfersWithThePreferredBufferAssembleTheCameraStills)
{
    ExpectSavedAsTransferred(TransferMechanism::Memory);
}

// A capability file without buffer settings allows 2048 bytes at most: a
// buffer of that size holds no row of the 1280-pixel still.
TEST_F(AcquireTransferTest, MemoryTransfersWithAChosenBufferSkipPicturesWhoseRowsDoNotFit)
{
    WritePrivateProfileStringA("Setup Memory Transfer", nullptr, nullptr,
                               CapabilityFilePath().c_str());
    const std::vector<Bytes> pictures = ReadOutAndQueue();
    ASSERT_EQ(pictures.size(), 3u);
    EXPECT_EQ(Transfer(TransferMechanism::Memory, 2048), 2);
    ASSERT_EQ(boxes_.Boxes().size(), 1u);
    EXPECT_EQ(boxes_.Boxes()[0].text, "Buffer is too small for strip transfers");
    EXPECT_TRUE(ReadBytes(Saved(1)) == pictures[0]);
    EXPECT_FALSE(FileExists(Saved(2)));
    EXPECT_TRUE(ReadBytes(Saved(3)) == pictures[2]);
    EXPECT_EQ(g_transferQueue.pendingCount, 0);
}

}  // namespace
