#include "source/dib_file.h"

#include <cstring>

static_assert(sizeof(BITMAPINFOHEADER) == sizeof(DibInfoHeader), "info header layout");
static_assert(sizeof(BITMAPFILEHEADER) == kDibFileHeaderSize, "file header layout");

namespace {

const DWORD kLargeReadPiece = 32768;

// Bytes from the file's current position to its end, the position unchanged.
bool BytesToEnd(HFILE file, LONG start, uint64_t& remaining)
{
    const LONG end = _llseek(file, 0, FILE_END);
    if (end == HFILE_ERROR || end < start || _llseek(file, start, FILE_BEGIN) != start) {
        return false;
    }
    remaining = static_cast<uint64_t>(end - start);
    return true;
}

// Reads the colour table behind the header in the block; a table cut short
// by the end of the file keeps zeros where it ended.
void ReadColorTable(HFILE file, const DibReadPlan& plan, unsigned char* table)
{
    if (plan.colorCount == 0) {
        return;
    }
    _lread(file, table, plan.colorCount * plan.fileEntrySize);
    if (plan.fileEntrySize == 3) {
        WidenCoreColorTable(table, plan.colorCount);
    }
}

// Grows the header block for the pixel bits and reads them in behind the
// colour table. Frees the block and gives null when it cannot grow.
HGLOBAL ReadDibBits(HFILE file, HGLOBAL block)
{
    BITMAPINFOHEADER header;
    if (!GetDibInfo(block, &header)) {
        GlobalFree(block);
        return nullptr;
    }
    const DWORD bitsAt = header.biSize + DibPaletteSize(&header);
    HGLOBAL grown =
        GlobalReAlloc(block, bitsAt + header.biSizeImage, GMEM_MOVEABLE | GMEM_ZEROINIT);
    if (grown == nullptr) {
        GlobalFree(block);
        return nullptr;
    }
    unsigned char* bytes = static_cast<unsigned char*>(GlobalLock(grown));
    if (bytes == nullptr) {
        GlobalFree(grown);
        return nullptr;
    }
    // A file that ends early leaves the rest of the bits zero.
    ReadLarge(file, bytes + bitsAt, header.biSizeImage);
    GlobalUnlock(grown);
    return grown;
}

}  // namespace

DWORD ReadLarge(HFILE file, void* buffer, DWORD size)
{
    unsigned char* place = static_cast<unsigned char*>(buffer);
    DWORD remaining = size;
    while (remaining > kLargeReadPiece) {
        if (_lread(file, place, kLargeReadPiece) != kLargeReadPiece) {
            return 0;
        }
        place += kLargeReadPiece;
        remaining -= kLargeReadPiece;
    }
    return _lread(file, place, remaining) == remaining ? size : 0;
}

HGLOBAL ReadDibHeader(HFILE file)
{
    if (file == HFILE_ERROR) {
        return nullptr;
    }
    const LONG start = _llseek(file, 0, FILE_CURRENT);
    uint64_t fileSize = 0;
    if (start == HFILE_ERROR || !BytesToEnd(file, start, fileSize)) {
        return nullptr;
    }
    unsigned char leading[kDibLeadingBytes];
    const UINT count = _lread(file, leading, sizeof leading);
    DibReadPlan plan;
    if (count == static_cast<UINT>(HFILE_ERROR) || !PlanDibRead(leading, count, fileSize, plan)) {
        return nullptr;
    }
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT,
                                kDibInfoHeaderSize + plan.colorCount * sizeof(RGBQUAD));
    if (block == nullptr) {
        return nullptr;
    }
    unsigned char* bytes = static_cast<unsigned char*>(GlobalLock(block));
    if (bytes == nullptr) {
        GlobalFree(block);
        return nullptr;
    }
    memcpy(bytes, &plan.header, sizeof plan.header);
    _llseek(file, start + static_cast<LONG>(plan.colorTableAt), FILE_BEGIN);
    ReadColorTable(file, plan, bytes + kDibInfoHeaderSize);
    if (plan.bitsOffset != 0) {
        _llseek(file, start + static_cast<LONG>(plan.bitsOffset), FILE_BEGIN);
    }
    GlobalUnlock(block);
    return block;
}

BOOL GetDibInfo(HGLOBAL block, BITMAPINFOHEADER* header)
{
    if (block == nullptr || GlobalSize(block) < sizeof *header) {
        return FALSE;
    }
    const void* bytes = GlobalLock(block);
    if (bytes == nullptr) {
        return FALSE;
    }
    DibInfoHeader info;
    memcpy(&info, bytes, sizeof info);
    GlobalUnlock(block);
    FillDerivedValues(info);
    memcpy(header, &info, sizeof info);
    return TRUE;
}

HGLOBAL ReadDibFile(const char* path)
{
    OFSTRUCT openInfo = {};
    const HFILE file = OpenFile(path, &openInfo, OF_READ);
    if (file == HFILE_ERROR) {
        return nullptr;
    }
    HGLOBAL block = ReadDibHeader(file);
    if (block != nullptr) {
        block = ReadDibBits(file, block);
    }
    _lclose(file);
    return block;
}
