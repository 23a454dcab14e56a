// Image transfers: the pieces that other parts of the source call.
#pragma once

// Copies a file byte for byte, creating or emptying the destination. 1 on
// success, 0 if either file could not be opened or a block could not be
// written whole.
int CopyFileRaw(const char* source, const char* destination);

// The memory-transfer buffer settings of the capability file, read afresh at
// every call.
enum MemXferSetting { kMinBufSize, kMaxBufSize, kPreferredBufSize };
TW_UINT32 ReadMemXferSetting(MemXferSetting setting);

// Brings the memory transfer back to the first row of a picture: called when
// a transfer ends or is abandoned, when a new queue is announced, and when the
// source is disabled or closed.
void ResetMemXferCursor();
