// Image transfers: the pieces that other parts of the source call.
#pragma once

#include <vector>

#include "source/twain.h"

// Copies a file byte for byte, creating or emptying the destination. 1 on
// success, 0 if either file could not be opened or a block could not be
// written whole.
int CopyFileRaw(const char* source, const char* destination);

// The memory-transfer buffer settings of the capability file, read afresh at
// every call.
enum MemXferSetting { kMinBufSize, kMaxBufSize, kPreferredBufSize };
TW_UINT32 ReadMemXferSetting(MemXferSetting setting);

// Brings the memory transfer back to the first row of a picture and lets go
// of the picture it holds: called when a transfer ends or is abandoned, when
// a new queue is announced, and when the source is disabled or closed.
void ResetMemXferCursor();

// Deletes the transfer files of the pictures not yet ended, but for those
// of the numbers kept: called when a new queue is about to replace the old
// one, with the new queue's numbers, so that no file is left behind that
// nothing would ever transfer or delete.
void DeleteWaitingFilesExcept(const std::vector<int>& keptNumbers);
