// The values that the image information and image description triplets
// answer, formed without the platform.
#pragma once

#include <cstddef>

#include "source/dib_format.h"
#include "source/twain.h"

// TW_IMAGEINFO from a transfer file's info header. Compression is set to
// TWCP_NONE for an uncompressed file and otherwise left as it was.
void FillImageInfo(const DibInfoHeader& header, TW_IMAGEINFO& info);

// The fixed layout the source reports.
void FillImageLayout(TW_IMAGELAYOUT& layout);

// The fixed CIE colour description the source reports. TW_CIECOLOR
// declares one entry of Samples, so only Samples[0] is written; every other
// field not listed keeps what the application passed.
void FillCieColor(TW_CIECOLOR& color);

// TW_PALETTE8 from a packed DIB of `size` bytes: NumColors is its biClrUsed,
// and the entries are its colour table in red, green, blue order. Only
// entries that the block holds and TW_PALETTE8 has room for are copied; a
// block with more colours than that, or too short for its header, gives
// false and leaves the palette untouched.
bool FillPalette8(const unsigned char* dib, size_t size, TW_PALETTE8& palette);

// Entries of a gray or RGB response that the source records.
const int kResponseEntries = 16;

// Key "Response[i]" and value "{c1,c2,c3}" of one response entry.
void FormatResponseEntry(int index, const TW_ELEMENT8& element, char* key, size_t keySize,
                         char* value, size_t valueSize);
