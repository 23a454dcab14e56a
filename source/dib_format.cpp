#include "source/dib_format.h"

#include <cstring>

namespace {

uint16_t ReadWord(const unsigned char* bytes)
{
    return static_cast<uint16_t>(bytes[0] | bytes[1] << 8);
}

uint32_t ReadDword(const unsigned char* bytes)
{
    return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
           static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

uint16_t Saturate16(uint64_t value)
{
    return value > 0xFFFF ? 0xFFFF : static_cast<uint16_t>(value);
}

uint32_t HeaderSize(const void* header)
{
    uint32_t size;
    memcpy(&size, header, sizeof size);
    return size;
}

uint16_t ColorsForBitCount(uint16_t bitCount)
{
    switch (bitCount) {
    case 1:
        return 2;
    case 4:
        return 16;
    case 8:
        return 256;
    default:
        return 0;
    }
}

bool IsKnownBitCount(uint16_t bitCount)
{
    switch (bitCount) {
    case 1:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32:
        return true;
    default:
        return false;
    }
}

bool IsRunLength(uint32_t compression)
{
    return compression == kDibRle8 || compression == kDibRle4;
}

DibInfoHeader WidenCoreHeader(const DibCoreHeader& core, uint16_t colorCount)
{
    DibInfoHeader header = {};
    header.biSize = kDibInfoHeaderSize;
    header.biWidth = core.bcWidth;
    header.biHeight = core.bcHeight;
    header.biPlanes = core.bcPlanes;
    header.biBitCount = core.bcBitCount;
    header.biClrUsed = colorCount;
    header.biClrImportant = colorCount;
    return header;
}

// The checks on a header that its pixel size does not come into.
bool HeaderIsUsable(const DibInfoHeader& header)
{
    return IsKnownBitCount(header.biBitCount) &&
           (header.biCompression == kDibUncompressed || IsRunLength(header.biCompression)) &&
           header.biWidth > 0 && header.biHeight != 0 && header.biClrUsed <= kDibMaxColors;
}

// Sets biSizeImage to the bytes the block will hold for the pixels, or
// refuses. bitsAvailable is what the file holds from the start of the bits.
bool SettleImageSize(DibInfoHeader& header, uint64_t bitsAvailable)
{
    const uint64_t derived = DibDerivedImageSize(header);
    if (derived > kDibMaxBitsSize) {
        return false;
    }
    if (!IsRunLength(header.biCompression)) {
        header.biSizeImage = static_cast<uint32_t>(derived);
        return true;
    }
    if (header.biSizeImage == 0) {
        header.biSizeImage = static_cast<uint32_t>(derived);
    }
    return header.biSizeImage <= bitsAvailable && header.biSizeImage <= kDibMaxBitsSize;
}

}  // namespace

uint16_t DibColorCount(const void* header)
{
    if (HeaderSize(header) == kDibCoreHeaderSize) {
        DibCoreHeader core;
        memcpy(&core, header, sizeof core);
        return ColorsForBitCount(core.bcBitCount);
    }
    DibInfoHeader info;
    memcpy(&info, header, sizeof info);
    if (info.biClrUsed != 0) {
        return Saturate16(info.biClrUsed);
    }
    return ColorsForBitCount(info.biBitCount);
}

uint16_t DibPaletteSize(const void* header)
{
    const uint64_t entrySize = HeaderSize(header) == kDibCoreHeaderSize ? 3 : 4;
    return Saturate16(DibColorCount(header) * entrySize);
}

uint64_t DibDerivedImageSize(const DibInfoHeader& header)
{
    const uint64_t width = header.biWidth < 0 ? 0 - static_cast<int64_t>(header.biWidth)
                                              : static_cast<int64_t>(header.biWidth);
    const uint64_t rows = header.biHeight < 0 ? 0 - static_cast<int64_t>(header.biHeight)
                                              : static_cast<int64_t>(header.biHeight);
    const uint64_t rowBytes = (header.biBitCount * width + 31) / 32 * 4;
    // Bit counts far beyond 32 can take the product past 64 bits.
    if (rows != 0 && rowBytes > UINT64_MAX / rows) {
        return UINT64_MAX;
    }
    return rowBytes * rows;
}

void FillDerivedValues(DibInfoHeader& header)
{
    if (header.biSize == kDibCoreHeaderSize) {
        return;
    }
    if (header.biSizeImage == 0) {
        const uint64_t derived = DibDerivedImageSize(header);
        header.biSizeImage = derived > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<uint32_t>(derived);
    }
    if (header.biClrUsed == 0) {
        header.biClrUsed = DibColorCount(&header);
    }
}

uint64_t DibBitsStart(const DibReadPlan& plan)
{
    if (plan.bitsOffset != 0) {
        return plan.bitsOffset;
    }
    return plan.colorTableAt + uint64_t{plan.colorCount} * plan.fileEntrySize;
}

bool PlanDibRead(const unsigned char* bytes, size_t count, uint64_t fileSize, DibReadPlan& plan)
{
    plan = {};
    uint32_t infoAt = 0;
    if (count >= kDibFileHeaderSize && ReadWord(bytes) == kDibFileType) {
        infoAt = kDibFileHeaderSize;
        plan.bitsOffset = ReadDword(bytes + kDibFileBitsOffsetAt);
    }
    if (count < infoAt + sizeof(uint32_t)) {
        return false;
    }
    const uint32_t headerSize = ReadDword(bytes + infoAt);
    if (headerSize != kDibCoreHeaderSize && headerSize != kDibInfoHeaderSize) {
        return false;
    }
    if (count < infoAt + headerSize) {
        return false;
    }
    // The colour count comes from the header as the file has it.
    plan.colorCount = DibColorCount(bytes + infoAt);
    if (headerSize == kDibCoreHeaderSize) {
        DibCoreHeader core;
        memcpy(&core, bytes + infoAt, sizeof core);
        plan.header = WidenCoreHeader(core, plan.colorCount);
        plan.fileEntrySize = 3;
    } else {
        memcpy(&plan.header, bytes + infoAt, sizeof plan.header);
        plan.fileEntrySize = 4;
    }
    plan.colorTableAt = infoAt + headerSize;
    if (!HeaderIsUsable(plan.header)) {
        return false;
    }
    if (plan.bitsOffset > fileSize) {
        return false;
    }
    const uint64_t bitsStart = DibBitsStart(plan);
    const uint64_t bitsAvailable = bitsStart < fileSize ? fileSize - bitsStart : 0;
    if (!SettleImageSize(plan.header, bitsAvailable)) {
        return false;
    }
    if (plan.header.biClrUsed == 0) {
        plan.header.biClrUsed = plan.colorCount;
    }
    return true;
}

void WidenCoreColorTable(unsigned char* table, uint16_t count)
{
    for (int i = count - 1; i >= 0; --i) {
        const unsigned char blue = table[i * 3];
        const unsigned char green = table[i * 3 + 1];
        const unsigned char red = table[i * 3 + 2];
        table[i * 4] = blue;
        table[i * 4 + 1] = green;
        table[i * 4 + 2] = red;
        table[i * 4 + 3] = 0;
    }
}
