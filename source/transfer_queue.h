// The pictures waiting for transfer: filled by the album window before it
// announces them, advanced by MSG_ENDXFER.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "source/transfer_names.h"

// Entries of fileNumbers; the album queues at most 1000 pictures.
const int kTransferQueueSize = 1256;

struct TransferQueue {
    // Pictures not yet ended.
    int pendingCount;
    // Numbers of the transfer files in transfer order, first picture at 0.
    int fileNumbers[kTransferQueueSize];
    // Index in fileNumbers of the picture being transferred.
    int currentIndex;
    // Name of the current transfer file; empty when no picture is left.
    char currentFile[kTransferNameSize];
    // The transfer file prefix, set by the album when its window opens.
    char filePrefix[kTransferNameSize];
    // The application's file for file transfers; empty until it names one.
    char transferDestination[256];
};

extern TransferQueue g_transferQueue;

// Ends the current picture. When a picture was pending, its file name is
// copied into `finished` (for deletion) and the queue moves to the next
// picture, whose file becomes the current one; once no picture is left the
// current file name is empty. With nothing pending, `finished` is empty and
// the queue stays as it is, so that no index runs past fileNumbers and no
// file outside the queue is named. Returns the pictures left, at least 0.
int EndCurrentTransfer(TransferQueue& queue, char* finished, size_t size);

// The transfer files of the pictures not yet ended, the current one first.
std::vector<std::string> WaitingTransferFiles(const TransferQueue& queue);
