// The BMP files the simulated camera writes for decoded stills: a 14-byte
// file header, a 40-byte info header, no colour table, and 24-bit rows
// stored bottom-up, each padded to a multiple of 4 bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

const size_t kBmpHeadersSize = 14 + 40;
// 72 dots per inch.
const int32_t kBmpPelsPerMeter = 2835;

// Bytes of one stored row of a 24-bit picture `width` pixels wide.
size_t BmpRowSize(int width);

// Builds the whole file from top-down rows of width * 3 bytes (blue, green,
// red). False for sizes below 1 or a file beyond 32-bit sizes.
bool MakeBmpFile(const unsigned char* topDownBgr, int width, int height,
                 std::vector<unsigned char>& file);
