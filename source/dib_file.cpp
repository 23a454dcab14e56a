#include "source/dib_file.h"

#include <cstring>

#include "source/manager_memory.h"

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

// Copies the header block into the front of the picture's block.
bool CopyHeaderBlock(HGLOBAL header, unsigned char* picture, DWORD pictureSize)
{
    const void* bytes = GlobalLock(header);
    if (bytes == nullptr) {
        return false;
    }
    const SIZE_T size = GlobalSize(header);
    memcpy(picture, bytes, size < pictureSize ? size : pictureSize);
    GlobalUnlock(header);
    return true;
}

// Moves the header block into a block of the application's memory that
// holds the pixel bits too, and reads them in behind the colour table.
// Frees the header block; null when the memory is short.
TW_HANDLE ReadDibBits(HFILE file, HGLOBAL header)
{
    BITMAPINFOHEADER info;
    TW_HANDLE picture = nullptr;
    if (GetDibInfo(header, &info)) {
        const DWORD bitsAt = info.biSize + DibPaletteSize(&info);
        const DWORD size = bitsAt + info.biSizeImage;
        picture = AllocateAppMemory(size);
        unsigned char* bytes =
            picture != nullptr ? static_cast<unsigned char*>(LockAppMemory(picture)) : nullptr;
        if (bytes != nullptr && CopyHeaderBlock(header, bytes, size)) {
            // A file that ends early leaves the rest of the bits zero.
            ReadLarge(file, bytes + bitsAt, info.biSizeImage);
            UnlockAppMemory(picture);
        } else if (picture != nullptr) {
            if (bytes != nullptr) {
                UnlockAppMemory(picture);
            }
            FreeAppMemory(picture);
            picture = nullptr;
        }
    }
    GlobalFree(header);
    return picture;
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

TW_HANDLE ReadDibFile(const char* path)
{
    OFSTRUCT openInfo = {};
    const HFILE file = OpenFile(path, &openInfo, OF_READ);
    if (file == HFILE_ERROR) {
        return nullptr;
    }
    HGLOBAL header = ReadDibHeader(file);
    TW_HANDLE picture = header != nullptr ? ReadDibBits(file, header) : nullptr;
    _lclose(file);
    return picture;
}
