#include "sim/dsclink/bmp_image.h"

#include <cstring>

namespace {

void PutWord(unsigned char* at, uint16_t value)
{
    at[0] = static_cast<unsigned char>(value);
    at[1] = static_cast<unsigned char>(value >> 8);
}

void PutLong(unsigned char* at, uint32_t value)
{
    PutWord(at, static_cast<uint16_t>(value));
    PutWord(at + 2, static_cast<uint16_t>(value >> 16));
}

void PutHeaders(unsigned char* file, int width, int height, uint32_t bitsSize)
{
    file[0] = 'B';
    file[1] = 'M';
    PutLong(file + 2, static_cast<uint32_t>(kBmpHeadersSize + bitsSize));
    PutLong(file + 10, static_cast<uint32_t>(kBmpHeadersSize));
    unsigned char* info = file + 14;
    PutLong(info, 40);
    PutLong(info + 4, static_cast<uint32_t>(width));
    PutLong(info + 8, static_cast<uint32_t>(height));
    PutWord(info + 12, 1);
    PutWord(info + 14, 24);
    PutLong(info + 20, bitsSize);
    PutLong(info + 24, static_cast<uint32_t>(kBmpPelsPerMeter));
    PutLong(info + 28, static_cast<uint32_t>(kBmpPelsPerMeter));
}

}  // namespace

size_t BmpRowSize(int width)
{
    return (static_cast<size_t>(width) * 3 + 3) / 4 * 4;
}

bool MakeBmpFile(const unsigned char* topDownBgr, int width, int height,
                 std::vector<unsigned char>& file)
{
    file.clear();
    if (width < 1 || height < 1) {
        return false;
    }
    const uint64_t bitsSize =
        static_cast<uint64_t>(BmpRowSize(width)) * static_cast<uint64_t>(height);
    if (bitsSize + kBmpHeadersSize > UINT32_MAX) {
        return false;
    }
    file.assign(kBmpHeadersSize + bitsSize, 0);
    PutHeaders(file.data(), width, height, static_cast<uint32_t>(bitsSize));
    const size_t sourceRow = static_cast<size_t>(width) * 3;
    for (int row = 0; row < height; ++row) {
        const unsigned char* source =
            topDownBgr + static_cast<size_t>(height - 1 - row) * sourceRow;
        memcpy(file.data() + kBmpHeadersSize + static_cast<size_t>(row) * BmpRowSize(width), source,
               sourceRow);
    }
    return true;
}
