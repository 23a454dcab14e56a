#include "source/transfer_queue.h"

#include <cstring>

#include "source/text.h"

TransferQueue g_transferQueue = {};

int EndCurrentTransfer(TransferQueue& queue, char* finished, size_t size)
{
    if (queue.pendingCount <= 0) {
        queue.pendingCount = 0;
        CopyText(finished, size, "");
        return 0;
    }
    CopyText(finished, size, queue.currentFile);
    --queue.pendingCount;
    ++queue.currentIndex;
    memset(queue.currentFile, 0, sizeof queue.currentFile);
    if (queue.pendingCount > 0 && queue.currentIndex >= 0 &&
        queue.currentIndex < kTransferQueueSize) {
        FormTransferFileName(queue.currentFile, sizeof queue.currentFile, queue.filePrefix,
                             queue.fileNumbers[queue.currentIndex]);
    }
    return queue.pendingCount;
}

std::vector<std::string> WaitingTransferFiles(const TransferQueue& queue)
{
    std::vector<std::string> files;
    if (queue.pendingCount <= 0 || queue.currentFile[0] == '\0') {
        return files;
    }
    files.push_back(queue.currentFile);
    for (int i = 1; i < queue.pendingCount; ++i) {
        const int index = queue.currentIndex + i;
        char name[kTransferNameSize];
        if (index >= 0 && index < kTransferQueueSize &&
            FormTransferFileName(name, sizeof name, queue.filePrefix, queue.fileNumbers[index])) {
            files.push_back(name);
        }
    }
    return files;
}
