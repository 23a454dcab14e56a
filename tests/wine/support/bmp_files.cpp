#include "bmp_files.h"

#include <cstring>
#include <fstream>
#include <iterator>

#include "linked_source.h"

namespace {

void Append(Bytes& bytes, const void* data, size_t size)
{
    const unsigned char* raw = static_cast<const unsigned char*>(data);
    bytes.insert(bytes.end(), raw, raw + size);
}

DWORD PaddedRowBytes(LONG width, WORD bitCount)
{
    return (bitCount * width + 31) / 32 * 4;
}

}  // namespace

Bytes MakeBmp(LONG width, LONG height, WORD bitCount, unsigned seed)
{
    const DWORD colors = bitCount == 8 ? 256 : 0;
    const LONG rows = height < 0 ? -height : height;
    const DWORD bitsSize = PaddedRowBytes(width, bitCount) * rows;
    const DWORD bitsAt = 14 + 40 + colors * 4;
    BITMAPFILEHEADER fileHeader = {0x4D42, bitsAt + bitsSize, 0, 0, bitsAt};
    BITMAPINFOHEADER header = {sizeof header, width, height, 1, bitCount, BI_RGB,
                               bitsSize,      2835,  3780,   0, 0};
    Bytes bmp;
    Append(bmp, &fileHeader, sizeof fileHeader);
    Append(bmp, &header, sizeof header);
    for (DWORD i = 0; i < colors; ++i) {
        const unsigned char quad[4] = {static_cast<unsigned char>(i),
                                       static_cast<unsigned char>(i * 3 + seed),
                                       static_cast<unsigned char>(255 - i), 0};
        Append(bmp, quad, sizeof quad);
    }
    for (DWORD i = 0; i < bitsSize; ++i) {
        bmp.push_back(static_cast<unsigned char>(i * 7 + seed + i / 251));
    }
    return bmp;
}

Bytes ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::string& path, const Bytes& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

Bytes TakeGlobalBlock(HGLOBAL block)
{
    Bytes bytes;
    if (block == nullptr) {
        return bytes;
    }
    Append(bytes, GlobalLock(block), GlobalSize(block));
    GlobalUnlock(block);
    GlobalFree(block);
    return bytes;
}

Bytes TopDownRgbRows(const Bytes& bmp)
{
    BITMAPFILEHEADER fileHeader;
    BITMAPINFOHEADER header;
    memcpy(&fileHeader, bmp.data(), sizeof fileHeader);
    memcpy(&header, bmp.data() + sizeof fileHeader, sizeof header);
    const DWORD rowBytes = header.biWidth * 3;
    const DWORD stride = PaddedRowBytes(header.biWidth, 24);
    Bytes rows;
    for (LONG top = 0; top < header.biHeight; ++top) {
        const unsigned char* row =
            bmp.data() + fileHeader.bfOffBits + (header.biHeight - 1 - top) * stride;
        for (DWORD i = 0; i < rowBytes; i += 3) {
            const unsigned char rgb[3] = {row[i + 2], row[i + 1], row[i]};
            Append(rows, rgb, sizeof rgb);
        }
    }
    return rows;
}

TransferFiles::~TransferFiles()
{
    for (const std::string& path : paths_) {
        DeleteFileA(path.c_str());
    }
}

std::string TransferFiles::Put(int number, const Bytes& bmp)
{
    const std::string path = TransferFilePath(number);
    WriteBytes(path, bmp);
    Track(path);
    return path;
}

void TransferFiles::Track(const std::string& path)
{
    paths_.push_back(path);
}
