// Image transfers: the pieces that other parts of the source call.
#pragma once

// Copies a file byte for byte, creating or emptying the destination. 1 on
// success, 0 if either file could not be opened or a block could not be
// written whole.
int CopyFileRaw(const char* source, const char* destination);

// Brings the memory transfer back to the first row of a picture: called when
// a transfer ends or is abandoned, and when a new queue is announced.
void ResetMemXferCursor();
