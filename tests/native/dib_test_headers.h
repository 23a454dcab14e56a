// Leading bytes of BMP files for the header tests and the fuzz seeds.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

#include "source/dib_format.h"

inline void PutWord(std::vector<unsigned char>& bytes, uint16_t value)
{
    bytes.push_back(static_cast<unsigned char>(value));
    bytes.push_back(static_cast<unsigned char>(value >> 8));
}

inline void PutDword(std::vector<unsigned char>& bytes, uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8) {
        bytes.push_back(static_cast<unsigned char>(value >> shift));
    }
}

inline void PutFileHeader(std::vector<unsigned char>& bytes, uint32_t fileSize, uint32_t bitsOffset)
{
    PutWord(bytes, kDibFileType);
    PutDword(bytes, fileSize);
    PutDword(bytes, 0);
    PutDword(bytes, bitsOffset);
}

inline DibInfoHeader InfoHeader(int32_t width, int32_t height, uint16_t bitCount)
{
    DibInfoHeader header = {};
    header.biSize = kDibInfoHeaderSize;
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = bitCount;
    return header;
}

inline void PutInfoHeader(std::vector<unsigned char>& bytes, const DibInfoHeader& header)
{
    const unsigned char* raw = reinterpret_cast<const unsigned char*>(&header);
    bytes.insert(bytes.end(), raw, raw + sizeof header);
}

inline void PutCoreHeader(std::vector<unsigned char>& bytes, uint16_t width, uint16_t height,
                          uint16_t bitCount)
{
    PutDword(bytes, kDibCoreHeaderSize);
    PutWord(bytes, width);
    PutWord(bytes, height);
    PutWord(bytes, 1);
    PutWord(bytes, bitCount);
}

// A file's leading bytes with a file header whose bits follow the headers.
inline std::vector<unsigned char> FileWithHeader(const DibInfoHeader& header, uint32_t paletteBytes)
{
    std::vector<unsigned char> bytes;
    PutFileHeader(bytes, 0, kDibFileHeaderSize + kDibInfoHeaderSize + paletteBytes);
    PutInfoHeader(bytes, header);
    return bytes;
}
