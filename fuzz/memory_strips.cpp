// The strips of a memory transfer: each plan stays inside the application's
// buffer and the picture, and a whole transfer, with a buffer length that
// may change from call to call, hands out every row once, top row first, in
// red, green, blue order.
// Input: a 40-byte BITMAPINFOHEADER, four bytes giving a cursor, then the
// lengths of the buffers of successive calls, four bytes each.
#include <algorithm>
#include <cstring>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "source/memory_strips.h"

namespace {

// Whole transfers are followed for pictures up to this size.
const uint64_t kLargestFollowedPicture = 16 * 1024;
// A memory transfer is given up after this many calls.
const size_t kMostCalls = 1000;

uint32_t ReadDword(const uint8_t* bytes)
{
    uint32_t value;
    memcpy(&value, bytes, sizeof value);
    return value;
}

void CheckRowBytes(const DibInfoHeader& header)
{
    const uint32_t stripRow = StripRowBytes(header);
    const uint32_t fileRow = FileRowBytes(header);
    FUZZ_CHECK(stripRow <= fileRow);
    FUZZ_CHECK(fileRow == 0xFFFFFFFFu || (fileRow % 4 == 0 && fileRow - stripRow <= 4));
}

// One plan: whole rows that fit the buffer, as many as fit, right below the
// rows already delivered.
void CheckPlan(const DibInfoHeader& header, uint32_t bytesDone, uint32_t bufferLength, bool planned,
               const StripPlan& plan)
{
    const uint64_t rowBytes = StripRowBytes(header);
    const uint32_t height = static_cast<uint32_t>(header.biHeight);
    FUZZ_CHECK(planned == (rowBytes <= bufferLength));
    if (!planned) {
        return;
    }
    FUZZ_CHECK(plan.rowsDone == std::min<uint64_t>(bytesDone / rowBytes, height));
    FUZZ_CHECK(plan.rows * rowBytes <= bufferLength);
    FUZZ_CHECK(uint64_t{plan.rowsDone} + plan.rows <= height);
    FUZZ_CHECK(uint64_t{plan.firstFileRow} + plan.rows + plan.rowsDone == height);
    FUZZ_CHECK(plan.last == (plan.rowsDone + plan.rows == height));
    FUZZ_CHECK(plan.last || (plan.rows + 1) * rowBytes > bufferLength);
}

// The strip as the transfer reads it from the file and copies it into a
// buffer of the strip's exact size: row k of the strip is the picture's
// row rowsDone + k from the top, its pixels in red, green, blue order.
void CheckStripCopy(const DibInfoHeader& header, const StripPlan& plan,
                    const std::vector<uint8_t>& file)
{
    const size_t rowBytes = StripRowBytes(header);
    const size_t fileRowBytes = FileRowBytes(header);
    const size_t from = plan.firstFileRow * fileRowBytes;
    FUZZ_CHECK(from + plan.rows * fileRowBytes <= file.size());
    const std::vector<uint8_t> fileRows(file.begin() + from,
                                        file.begin() + from + plan.rows * fileRowBytes);
    std::vector<uint8_t> strip(plan.rows * rowBytes);
    CopyStrip(header, plan, fileRows.data(), strip.data());
    const size_t height = static_cast<size_t>(header.biHeight);
    for (size_t k = 0; k < plan.rows; ++k) {
        const uint8_t* fileRow = &file[(height - 1 - plan.rowsDone - k) * fileRowBytes];
        for (size_t i = 0; i < rowBytes; ++i) {
            FUZZ_CHECK(strip[k * rowBytes + i] == fileRow[i - i % 3 + 2 - i % 3]);
        }
    }
}

// A whole transfer, each call with the next buffer length, until the last
// strip or the calls run out; a buffer too small for a row fails the call
// and leaves the cursor where it was.
void CheckTransfer(const DibInfoHeader& header, const std::vector<uint32_t>& lengths)
{
    const size_t fileRowBytes = FileRowBytes(header);
    std::vector<uint8_t> file(fileRowBytes * static_cast<size_t>(header.biHeight));
    for (size_t i = 0; i < file.size(); ++i) {
        file[i] = static_cast<uint8_t>(i * 131 + i / 256);
    }
    const uint64_t rowBytes = StripRowBytes(header);
    uint32_t bytesDone = 0;
    for (size_t call = 0; call < kMostCalls; ++call) {
        const uint32_t length = lengths[call % lengths.size()];
        StripPlan plan;
        const bool planned = PlanStrip(header, bytesDone, length, plan);
        CheckPlan(header, bytesDone, length, planned, plan);
        if (!planned) {
            continue;
        }
        FUZZ_CHECK(plan.rowsDone * rowBytes == bytesDone);
        CheckStripCopy(header, plan, file);
        bytesDone += static_cast<uint32_t>(plan.rows * rowBytes);
        if (plan.last) {
            FUZZ_CHECK(bytesDone == rowBytes * static_cast<uint32_t>(header.biHeight));
            return;
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const size_t lengthsAt = sizeof(DibInfoHeader) + sizeof(uint32_t);
    if (size < lengthsAt + sizeof(uint32_t)) {
        return 0;
    }
    DibInfoHeader header;
    memcpy(&header, data, sizeof header);
    const uint32_t cursor = ReadDword(data + sizeof header);
    std::vector<uint32_t> lengths;
    for (size_t at = lengthsAt; at + sizeof(uint32_t) <= size; at += sizeof(uint32_t)) {
        lengths.push_back(ReadDword(data + at));
    }

    CheckRowBytes(header);
    if (!IsStripPicture(header)) {
        return 0;
    }
    StripPlan plan;
    const bool planned = PlanStrip(header, cursor, lengths[0], plan);
    CheckPlan(header, cursor, lengths[0], planned, plan);
    if (DibDerivedImageSize(header) <= kLargestFollowedPicture) {
        CheckTransfer(header, lengths);
    }
    return 0;
}
