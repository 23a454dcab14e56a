#include "source/memory_strips.h"

#include <cstddef>

bool IsStripPicture(const DibInfoHeader& header)
{
    return header.biBitCount == 24 && header.biCompression == kDibUncompressed &&
           header.biWidth > 0 && header.biHeight > 0;
}

namespace {

uint64_t RowBits(const DibInfoHeader& header)
{
    return header.biWidth > 0 ? uint64_t{header.biBitCount} * static_cast<uint64_t>(header.biWidth)
                              : 0;
}

uint32_t Saturate32(uint64_t value)
{
    return value > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<uint32_t>(value);
}

}  // namespace

uint32_t StripRowBytes(const DibInfoHeader& header)
{
    return Saturate32(RowBits(header) / 8);
}

uint32_t FileRowBytes(const DibInfoHeader& header)
{
    return Saturate32((RowBits(header) + 31) / 32 * 4);
}

bool PlanStrip(const DibInfoHeader& header, uint32_t bytesDone, uint32_t bufferLength,
               StripPlan& plan)
{
    plan = {};
    const uint32_t rowBytes = StripRowBytes(header);
    if (rowBytes == 0 || rowBytes > bufferLength) {
        return false;
    }
    const uint32_t height = static_cast<uint32_t>(header.biHeight);
    plan.rowsDone = bytesDone / rowBytes;
    if (plan.rowsDone > height) {
        plan.rowsDone = height;
    }
    const uint32_t rowsLeft = height - plan.rowsDone;
    const uint32_t rowsThatFit = bufferLength / rowBytes;
    plan.rows = rowsThatFit < rowsLeft ? rowsThatFit : rowsLeft;
    plan.firstFileRow = rowsLeft - plan.rows;
    plan.last = plan.rowsDone + plan.rows == height;
    return true;
}

void CopyStrip(const DibInfoHeader& header, const StripPlan& plan, const unsigned char* fileRows,
               unsigned char* strip)
{
    const size_t rowBytes = StripRowBytes(header);
    const size_t fileRowBytes = FileRowBytes(header);
    for (size_t k = 0; k < plan.rows; ++k) {
        // The strip's top row is the highest of its rows in the file.
        const unsigned char* from = fileRows + (plan.rows - 1 - k) * fileRowBytes;
        unsigned char* to = strip + k * rowBytes;
        for (size_t i = 0; i + 2 < rowBytes; i += 3) {
            to[i] = from[i + 2];
            to[i + 1] = from[i + 1];
            to[i + 2] = from[i];
        }
    }
}
