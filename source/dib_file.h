// The BMP reader: transfer files read into packed device-independent bitmaps
// in global memory, or header by header.
#pragma once

#include <windows.h>

#include "source/dib_format.h"
#include "source/twain.h"

// Reads a BMP file into one block of the application's memory
// (AllocateAppMemory): a 40-byte BITMAPINFOHEADER, biClrUsed RGBQUADs and
// biSizeImage bytes of pixels. A file that ends early still gives a whole
// block, with zero bits where it ended. Null when the file cannot be opened
// or its headers are refused. The caller owns the block.
TW_HANDLE ReadDibFile(const char* path);

// Reads the headers at the file's current position into a moveable global
// block holding the 40-byte info header and the colour table, and leaves
// the file at the pixel bits. Null on failure.
HGLOBAL ReadDibHeader(HFILE file);

// Copies the block's info header, with biSizeImage and biClrUsed derived
// where the block has 0.
BOOL GetDibInfo(HGLOBAL block, BITMAPINFOHEADER* header);

// Reads exactly `size` bytes in pieces of at most 32768; `size` on success,
// 0 when the file ends early or a read fails.
DWORD ReadLarge(HFILE file, void* buffer, DWORD size);
