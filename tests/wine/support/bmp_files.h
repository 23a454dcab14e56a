// BMP files for the transfer tests, and the bytes to compare them with.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

using Bytes = std::vector<unsigned char>;

// A whole BMP file with a 14-byte file header and a 40-byte info header.
// Bits differ from one position to the next (a seed varies them from file
// to file); 8-bit files get a full 256-entry colour table. A negative
// height gives a top-down file.
Bytes MakeBmp(LONG width, LONG height, WORD bitCount, unsigned seed = 1);

Bytes ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const Bytes& bytes);

// The bytes of a global block, which is then freed.
Bytes TakeGlobalBlock(HGLOBAL block);

// A BMP file's pixel rows top row first, each row's pixels in red, green,
// blue order without padding: what a memory transfer delivers of a bottom-up
// 24-bit file.
Bytes TopDownRgbRows(const Bytes& bmp);

// Writes transfer files and removes whatever of them is left at the end.
class TransferFiles {
public:
    TransferFiles() = default;
    ~TransferFiles();
    TransferFiles(const TransferFiles&) = delete;
    TransferFiles& operator=(const TransferFiles&) = delete;

    // Writes the file as transfer file `number` and returns its path.
    std::string Put(int number, const Bytes& bmp);
    // Removes the named file at the end as well.
    void Track(const std::string& path);

private:
    std::vector<std::string> paths_;
};
