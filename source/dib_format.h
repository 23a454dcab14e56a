// The arithmetic of device-independent bitmap headers, kept apart from the
// platform so that it is tested and fuzzed on the host. The structures have
// the layout of the platform's BITMAPINFOHEADER and BITMAPCOREHEADER.
#pragma once

#include <cstddef>
#include <cstdint>

struct DibInfoHeader {
    uint32_t biSize;
    int32_t biWidth;
    int32_t biHeight;
    uint16_t biPlanes;
    uint16_t biBitCount;
    uint32_t biCompression;
    uint32_t biSizeImage;
    int32_t biXPelsPerMeter;
    int32_t biYPelsPerMeter;
    uint32_t biClrUsed;
    uint32_t biClrImportant;
};
static_assert(sizeof(DibInfoHeader) == 40, "BITMAPINFOHEADER layout");

struct DibCoreHeader {
    uint32_t bcSize;
    uint16_t bcWidth;
    uint16_t bcHeight;
    uint16_t bcPlanes;
    uint16_t bcBitCount;
};
static_assert(sizeof(DibCoreHeader) == 12, "BITMAPCOREHEADER layout");

const uint32_t kDibInfoHeaderSize = 40;
const uint32_t kDibCoreHeaderSize = 12;
const uint32_t kDibFileHeaderSize = 14;
// The file header's type "BM", and where its bits offset lies.
const uint16_t kDibFileType = 0x4D42;
const uint32_t kDibFileBitsOffsetAt = 10;
// The file header and the larger info header: all that a file's first read needs.
const uint32_t kDibLeadingBytes = kDibFileHeaderSize + kDibInfoHeaderSize;

// No colour table has more entries than an 8-bit picture has colours.
const uint32_t kDibMaxColors = 256;
// The largest pixel data the reader allocates: 64 MiB holds a 4096 x 4096
// picture at 32 bits, far above the camera's largest still, and is a block a
// 32-bit process can spare.
const uint64_t kDibMaxBitsSize = 64ull * 1024 * 1024;

// Compression values that the reader passes on.
const uint32_t kDibUncompressed = 0;
const uint32_t kDibRle8 = 1;
const uint32_t kDibRle4 = 2;

// Entries of the colour table of a BITMAPINFOHEADER or BITMAPCOREHEADER (the
// size field at its start tells which): biClrUsed when set, else 2, 16 or
// 256 for 1, 4 or 8 bits, else 0. Counts beyond 16 bits give 0xFFFF.
uint16_t DibColorCount(const void* header);

// Bytes of that colour table: 3 per entry after a core header, else 4.
// Sizes beyond 16 bits give 0xFFFF.
uint16_t DibPaletteSize(const void* header);

// The row length rounded up to whole 32-bit words, times the number of rows
// (top-down pictures count their rows too). A size beyond 64 bits gives
// UINT64_MAX.
uint64_t DibDerivedImageSize(const DibInfoHeader& header);

// Fills biSizeImage and biClrUsed where they are 0 (a core header is left
// alone). A size beyond 32 bits gives 0xFFFFFFFF.
void FillDerivedValues(DibInfoHeader& header);

// How a BMP file is to be read, as learned from its first bytes.
struct DibReadPlan {
    // The 40-byte header of the packed DIB, with the derived values set.
    DibInfoHeader header;
    // Colour table entries, where they start (from the first byte read) and
    // their size in the file: 3 after a core header, else 4.
    uint16_t colorCount;
    uint32_t colorTableAt;
    uint32_t fileEntrySize;
    // Where the pixel bits start, counted from the first byte read; 0 means
    // right behind the colour table.
    uint32_t bitsOffset;
};

// Where the pixel bits start, counted from the first byte read.
uint64_t DibBitsStart(const DibReadPlan& plan);

// Reads the leading bytes of a BMP file (at most kDibLeadingBytes of them,
// fewer when the file is shorter) and decides how to read the rest.
// fileSize counts the bytes from the first one read to the end of the file.
// Refuses headers the packed DIB cannot carry and files that a damaged disk
// leaves behind: unknown header sizes, bit counts other than 1, 4, 8, 16,
// 24 and 32, compressions other than none and run-length, widths below 1,
// a height of 0, more than 256 colours, pixel data above kDibMaxBitsSize,
// compressed data longer than the file, and a bits offset past the end.
// Uncompressed pictures get the image size their rows need, whatever the
// file says, so that the block always holds every row.
bool PlanDibRead(const unsigned char* bytes, size_t count, uint64_t fileSize, DibReadPlan& plan);

// Widens a colour table of `count` RGBTRIPLEs at the start of `table`, in
// place, to `count` RGBQUADs. `table` has room for count * 4 bytes.
void WidenCoreColorTable(unsigned char* table, uint16_t count);
