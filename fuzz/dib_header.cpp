// The header planning that the BMP reader runs on every transfer file: an
// accepted plan describes a block that the reader fills without reading or
// writing outside it, and the derived sizes of any header saturate instead
// of overflowing.
// Input: four bytes (little-endian) telling how many bytes the file holds
// behind the leading bytes, then the file's leading bytes.
#include <algorithm>
#include <cstring>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "source/dib_format.h"

namespace {

uint32_t ReadDword(const uint8_t* bytes)
{
    uint32_t value;
    memcpy(&value, bytes, sizeof value);
    return value;
}

// The image size computed in 128 bits, where nothing overflows.
unsigned __int128 ExactImageSize(const DibInfoHeader& header)
{
    const int64_t width = header.biWidth;
    const int64_t height = header.biHeight;
    const unsigned __int128 columns = static_cast<uint64_t>(width < 0 ? -width : width);
    const unsigned __int128 rows = static_cast<uint64_t>(height < 0 ? -height : height);
    return (header.biBitCount * columns + 31) / 32 * 4 * rows;
}

// Colour counts, palette sizes and derived values of any 40 bytes read as
// a header.
void CheckAnyHeader(const uint8_t* bytes)
{
    const uint64_t entrySize = ReadDword(bytes) == kDibCoreHeaderSize ? 3 : 4;
    FUZZ_CHECK(DibPaletteSize(bytes) ==
               std::min<uint64_t>(DibColorCount(bytes) * entrySize, 0xFFFF));

    DibInfoHeader header;
    memcpy(&header, bytes, sizeof header);
    const unsigned __int128 exact = ExactImageSize(header);
    if (exact <= UINT64_MAX) {
        FUZZ_CHECK(DibDerivedImageSize(header) == exact);
    }
    DibInfoHeader filled = header;
    FillDerivedValues(filled);
    if (header.biSize == kDibCoreHeaderSize) {
        FUZZ_CHECK(memcmp(&filled, &header, sizeof header) == 0);
        return;
    }
    const uint64_t derivedSize = std::min<unsigned __int128>(exact, 0xFFFFFFFFu);
    FUZZ_CHECK(filled.biSizeImage == (header.biSizeImage != 0 ? header.biSizeImage : derivedSize));
    FUZZ_CHECK(filled.biClrUsed ==
               (header.biClrUsed != 0 ? header.biClrUsed : DibColorCount(&header)));
}

// The colour table as the reader reads it into the block, of the block's
// exact size, and widens it there when the file has three-byte entries.
void CheckColorTable(const DibReadPlan& plan)
{
    std::vector<uint8_t> table(plan.colorCount * 4);
    const size_t fileBytes = plan.colorCount * plan.fileEntrySize;
    for (size_t i = 0; i < fileBytes; ++i) {
        table[i] = static_cast<uint8_t>(i * 7);
    }
    if (plan.fileEntrySize == 3) {
        WidenCoreColorTable(table.data(), plan.colorCount);
        for (size_t i = 0; i < table.size(); ++i) {
            const size_t entry = i / 4;
            const size_t channel = i % 4;
            const uint8_t fileByte = static_cast<uint8_t>((entry * 3 + channel) * 7);
            FUZZ_CHECK(table[i] == (channel == 3 ? 0 : fileByte));
        }
    }
}

// What the reader relies on in a plan it follows.
void CheckPlan(size_t count, uint64_t fileSize, const DibReadPlan& plan)
{
    const DibInfoHeader& header = plan.header;
    FUZZ_CHECK(header.biSize == kDibInfoHeaderSize);
    FUZZ_CHECK(plan.fileEntrySize == 3 || plan.fileEntrySize == 4);
    FUZZ_CHECK(plan.colorTableAt <= count);
    FUZZ_CHECK(plan.colorCount <= kDibMaxColors && header.biClrUsed == plan.colorCount);
    FUZZ_CHECK(plan.bitsOffset <= fileSize);
    FUZZ_CHECK(header.biWidth > 0 && header.biHeight != 0);
    FUZZ_CHECK(header.biSizeImage <= kDibMaxBitsSize);
    if (header.biCompression == kDibUncompressed) {
        FUZZ_CHECK(header.biSizeImage == DibDerivedImageSize(header));
    } else {
        const uint64_t bitsStart = DibBitsStart(plan);
        FUZZ_CHECK(bitsStart < fileSize && header.biSizeImage <= fileSize - bitsStart);
    }
    // The block holds the header, the colour table behind it and the bits
    // behind that, as GetDibInfo tells them to the reader of the bits.
    DibInfoHeader told = header;
    FillDerivedValues(told);
    FUZZ_CHECK(memcmp(&told, &header, sizeof header) == 0);
    FUZZ_CHECK(header.biSize + DibPaletteSize(&header) ==
               kDibInfoHeaderSize + plan.colorCount * 4u);
    CheckColorTable(plan);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < sizeof(uint32_t)) {
        return 0;
    }
    // The leading bytes, at most as many as the reader reads, in a buffer of
    // their exact size.
    const size_t count = std::min<size_t>(size - sizeof(uint32_t), kDibLeadingBytes);
    const std::vector<uint8_t> leading(data + sizeof(uint32_t), data + sizeof(uint32_t) + count);
    const uint64_t fileSize = leading.size() + uint64_t{ReadDword(data)};

    for (size_t at : {size_t{0}, size_t{kDibFileHeaderSize}}) {
        if (leading.size() >= at + kDibInfoHeaderSize) {
            CheckAnyHeader(leading.data() + at);
        }
    }
    DibReadPlan plan;
    if (PlanDibRead(leading.data(), leading.size(), fileSize, plan)) {
        CheckPlan(leading.size(), fileSize, plan);
    }
    return 0;
}
