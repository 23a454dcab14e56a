// The BMP reader on files the tests write: the forms the reader accepts, the
// files a damaged disk leaves behind, and the transfer file names.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "source/dib_file.h"
#include "source/transfer_names.h"
#include "source/transfer_prefix.h"
#include "support/prefix_files.h"

namespace {

using Bytes = std::vector<unsigned char>;

void Append(Bytes& bytes, const void* data, size_t size)
{
    const unsigned char* raw = static_cast<const unsigned char*>(data);
    bytes.insert(bytes.end(), raw, raw + size);
}

BITMAPINFOHEADER Header(LONG width, LONG height, WORD bitCount)
{
    BITMAPINFOHEADER header = {};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = bitCount;
    header.biXPelsPerMeter = 2835;
    header.biYPelsPerMeter = 2835;
    return header;
}

BITMAPFILEHEADER FileHeader(DWORD bitsOffset)
{
    BITMAPFILEHEADER header = {};
    header.bfType = 0x4D42;
    header.bfOffBits = bitsOffset;
    return header;
}

// Pixel bytes that differ from one position to the next.
Bytes Pattern(size_t size, unsigned seed = 1)
{
    Bytes bytes(size);
    for (size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<unsigned char>(i * 7 + seed + i / 251);
    }
    return bytes;
}

// A whole BMP file: file header, info header, colour table, bits.
Bytes BmpFile(const BITMAPINFOHEADER& header, const Bytes& colors, const Bytes& bits)
{
    Bytes file;
    BITMAPFILEHEADER fileHeader = FileHeader(sizeof fileHeader + header.biSize + colors.size());
    Append(file, &fileHeader, sizeof fileHeader);
    Append(file, &header, sizeof header);
    Append(file, colors.data(), colors.size());
    Append(file, bits.data(), bits.size());
    return file;
}

class ScratchFolder {
public:
    ScratchFolder()
    {
        path_ = TemporaryPath("dib_file_tests");
        CreateDirectoryA(path_.c_str(), nullptr);
    }
    ~ScratchFolder()
    {
        for (const std::string& file : files_) {
            DeleteFileA(file.c_str());
        }
        RemoveDirectoryA(path_.c_str());
    }
    std::string Write(const std::string& name, const Bytes& bytes)
    {
        const std::string file = path_ + "\\" + name;
        WriteTextFile(file, std::string(bytes.begin(), bytes.end()));
        files_.push_back(file);
        return file;
    }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
    std::vector<std::string> files_;
};

// A packed DIB's bytes, and the block freed.
Bytes TakeBlock(HGLOBAL block)
{
    Bytes bytes;
    if (block == nullptr) {
        return bytes;
    }
    const void* data = GlobalLock(block);
    Append(bytes, data, GlobalSize(block));
    GlobalUnlock(block);
    GlobalFree(block);
    return bytes;
}

BITMAPINFOHEADER BlockHeader(const Bytes& block)
{
    BITMAPINFOHEADER header = {};
    if (block.size() >= sizeof header) {
        memcpy(&header, block.data(), sizeof header);
    }
    return header;
}

Bytes Slice(const Bytes& bytes, size_t at, size_t size)
{
    if (at + size > bytes.size()) {
        return {};
    }
    return Bytes(bytes.begin() + at, bytes.begin() + at + size);
}

class DibFileTest : public testing::Test {
protected:
    Bytes Read(const std::string& name, const Bytes& file)
    {
        return TakeBlock(ReadDibFile(scratch_.Write(name, file).c_str()));
    }
    ScratchFolder scratch_;
};

}  // namespace

TEST_F(DibFileTest, CameraFileBecomesHeaderAndBits)
{
    // 301 pixels of 3 bytes are 903 bytes a row, padded to 904.
    const Bytes bits = Pattern(904 * 199);
    const Bytes block = Read("camera.bmp", BmpFile(Header(301, 199, 24), {}, bits));
    ASSERT_EQ(block.size(), 40 + bits.size());
    const BITMAPINFOHEADER header = BlockHeader(block);
    EXPECT_EQ(header.biSize, 40u);
    EXPECT_EQ(header.biWidth, 301);
    EXPECT_EQ(header.biHeight, 199);
    EXPECT_EQ(header.biBitCount, 24);
    EXPECT_EQ(header.biSizeImage, bits.size());
    EXPECT_EQ(header.biClrUsed, 0u);
    EXPECT_EQ(header.biXPelsPerMeter, 2835);
    EXPECT_EQ(Slice(block, 40, bits.size()), bits);
}

TEST_F(DibFileTest, FullSizeStillIsReadWhole)
{
    const Bytes bits = Pattern(3840 * 960, 5);
    BITMAPINFOHEADER header = Header(1280, 960, 24);
    header.biSizeImage = bits.size();
    const Bytes block = Read("full.bmp", BmpFile(header, {}, bits));
    ASSERT_EQ(block.size(), 40 + bits.size());
    EXPECT_TRUE(Slice(block, 40, bits.size()) == bits);
}

TEST_F(DibFileTest, FileWithoutFileHeaderHasBitsBehindTheColorTable)
{
    const Bytes colors = Pattern(16 * 4, 9);
    const Bytes bits = Pattern(8 * 5, 3);
    Bytes file;
    BITMAPINFOHEADER header = Header(13, 5, 4);
    Append(file, &header, sizeof header);
    Append(file, colors.data(), colors.size());
    Append(file, bits.data(), bits.size());

    const Bytes block = Read("headerless.bmp", file);
    ASSERT_EQ(block.size(), 40 + colors.size() + bits.size());
    EXPECT_EQ(BlockHeader(block).biClrUsed, 16u);
    EXPECT_EQ(BlockHeader(block).biSizeImage, bits.size());
    EXPECT_EQ(Slice(block, 40, colors.size()), colors);
    EXPECT_EQ(Slice(block, 40 + colors.size(), bits.size()), bits);
}

TEST_F(DibFileTest, CoreHeaderWithEightBitsIsWidened)
{
    BITMAPCOREHEADER core = {sizeof core, 6, 3, 1, 8};
    Bytes triples;
    for (int i = 0; i < 256; ++i) {
        const unsigned char triple[3] = {static_cast<unsigned char>(i),
                                         static_cast<unsigned char>(255 - i),
                                         static_cast<unsigned char>(i * 3)};
        Append(triples, triple, 3);
    }
    const Bytes bits = Pattern(8 * 3, 11);
    Bytes file;
    BITMAPFILEHEADER fileHeader = FileHeader(14 + 12 + 768);
    Append(file, &fileHeader, sizeof fileHeader);
    Append(file, &core, sizeof core);
    Append(file, triples.data(), triples.size());
    Append(file, bits.data(), bits.size());

    const Bytes block = Read("core.bmp", file);
    ASSERT_EQ(block.size(), 40 + 1024 + bits.size());
    const BITMAPINFOHEADER header = BlockHeader(block);
    EXPECT_EQ(header.biSize, 40u);
    EXPECT_EQ(header.biWidth, 6);
    EXPECT_EQ(header.biHeight, 3);
    EXPECT_EQ(header.biPlanes, 1);
    EXPECT_EQ(header.biBitCount, 8);
    EXPECT_EQ(header.biCompression, 0u);
    EXPECT_EQ(header.biSizeImage, 24u);
    EXPECT_EQ(header.biXPelsPerMeter, 0);
    EXPECT_EQ(header.biClrUsed, 256u);
    EXPECT_EQ(header.biClrImportant, 256u);
    for (int i = 0; i < 256; ++i) {
        const Bytes expected = {static_cast<unsigned char>(i), static_cast<unsigned char>(255 - i),
                                static_cast<unsigned char>(i * 3), 0};
        ASSERT_EQ(Slice(block, 40 + i * 4, 4), expected) << i;
    }
    EXPECT_EQ(Slice(block, 40 + 1024, bits.size()), bits);
}

TEST_F(DibFileTest, ColorTableFollowsTheBitCount)
{
    // 8 bits and no count: 256 entries. 24 bits: none.
    const Bytes colors = Pattern(1024, 2);
    const Bytes bits = Pattern(4 * 2, 4);
    const Bytes eight = Read("eight.bmp", BmpFile(Header(3, 2, 8), colors, bits));
    ASSERT_EQ(eight.size(), 40 + 1024 + bits.size());
    EXPECT_EQ(BlockHeader(eight).biClrUsed, 256u);
    EXPECT_EQ(Slice(eight, 40, 1024), colors);
    EXPECT_EQ(Slice(eight, 40 + 1024, bits.size()), bits);

    BITMAPINFOHEADER counted = Header(3, 2, 8);
    counted.biClrUsed = 5;
    const Bytes five = Read("five.bmp", BmpFile(counted, Slice(colors, 0, 20), bits));
    ASSERT_EQ(five.size(), 40 + 20 + bits.size());
    EXPECT_EQ(Slice(five, 60, bits.size()), bits);

    const Bytes rgb = Read("rgb.bmp", BmpFile(Header(3, 2, 24), {}, Pattern(12 * 2)));
    ASSERT_EQ(rgb.size(), 40 + 24u);
    EXPECT_EQ(BlockHeader(rgb).biClrUsed, 0u);
}

TEST_F(DibFileTest, BitsAreReadFromTheFileHeadersOffset)
{
    const Bytes bits = Pattern(12 * 2, 8);
    Bytes file;
    BITMAPFILEHEADER fileHeader = FileHeader(54 + 10);
    BITMAPINFOHEADER header = Header(3, 2, 24);
    Append(file, &fileHeader, sizeof fileHeader);
    Append(file, &header, sizeof header);
    file.resize(file.size() + 10, 0xAA);
    Append(file, bits.data(), bits.size());
    const Bytes block = Read("gap.bmp", file);
    EXPECT_EQ(Slice(block, 40, bits.size()), bits);
}

TEST_F(DibFileTest, LaterHeaderVersionsAreRefused)
{
    for (DWORD size : {108u, 124u, 64u, 16u}) {
        Bytes file;
        BITMAPFILEHEADER fileHeader = FileHeader(14 + size);
        BITMAPINFOHEADER header = Header(3, 2, 24);
        header.biSize = size;
        Append(file, &fileHeader, sizeof fileHeader);
        Append(file, &header, sizeof header);
        file.resize(14 + size + 24, 0x11);
        EXPECT_EQ(ReadDibFile(scratch_.Write("v" + std::to_string(size) + ".bmp", file).c_str()),
                  nullptr)
            << size;
    }
}

TEST_F(DibFileTest, TruncatedPixelDataLeavesZeros)
{
    const Bytes bits = Pattern(3840 * 960, 6);
    Bytes file = BmpFile(Header(1280, 960, 24), {}, bits);
    file.resize(54 + 100000);
    const Bytes block = Read("truncated.bmp", file);
    ASSERT_EQ(block.size(), 40 + bits.size());
    EXPECT_EQ(Slice(block, 40, 100000), Slice(bits, 0, 100000));
    EXPECT_EQ(Slice(block, 40 + 100000, bits.size() - 100000), Bytes(bits.size() - 100000, 0));

    // Cut in the colour table of a file without file header: the rest of
    // the table and all bits are zero. With a file header, its bits offset
    // lies past the end, and the file is refused.
    Bytes eight;
    BITMAPINFOHEADER header = Header(3, 2, 8);
    Append(eight, &header, sizeof header);
    const Bytes colors = Pattern(100, 1);
    Append(eight, colors.data(), colors.size());
    const Bytes cut = Read("cut.bmp", eight);
    ASSERT_EQ(cut.size(), 40 + 1024 + 8u);
    EXPECT_EQ(Slice(cut, 40, 100), colors);
    EXPECT_EQ(Slice(cut, 140, 1024 - 100 + 8), Bytes(1024 - 100 + 8, 0));
    Bytes withFileHeader = BmpFile(Header(3, 2, 8), Pattern(1024, 1), Pattern(8));
    withFileHeader.resize(54 + 100);
    EXPECT_EQ(ReadDibFile(scratch_.Write("cut2.bmp", withFileHeader).c_str()), nullptr);
}

TEST_F(DibFileTest, DamagedFilesGiveNullOrABoundedBlock)
{
    // Refused outright.
    const struct {
        const char* what;
        LONG width;
        LONG height;
        WORD bitCount;
        DWORD colors;
    } refused[] = {
        {"gigabytes of pixels", 30000, 30000, 24, 0},
        {"widest row", 0x7FFFFFFF, 1, 1, 0},
        {"negative width", -5, 3, 24, 0},
        {"no width", 0, 3, 24, 0},
        {"no height", 5, 0, 24, 0},
        {"seven bits", 5, 3, 7, 0},
        {"no bits", 5, 3, 0, 0},
        {"too many colours", 5, 3, 8, 300},
        {"colours beyond 16 bits", 5, 3, 8, 0x10001},
    };
    for (const auto& row : refused) {
        BITMAPINFOHEADER header = Header(row.width, row.height, row.bitCount);
        header.biClrUsed = row.colors;
        const std::string file = scratch_.Write("damaged.bmp", BmpFile(header, {}, Pattern(64)));
        EXPECT_EQ(ReadDibFile(file.c_str()), nullptr) << row.what;
    }

    // A bits offset past the end of the file.
    Bytes pastEnd = BmpFile(Header(3, 2, 24), {}, Pattern(24));
    pastEnd[10] = 0x00;
    pastEnd[11] = 0x10;
    EXPECT_EQ(ReadDibFile(scratch_.Write("past.bmp", pastEnd).c_str()), nullptr);
    pastEnd[10] = pastEnd[11] = pastEnd[12] = pastEnd[13] = 0xFF;
    EXPECT_EQ(ReadDibFile(scratch_.Write("past2.bmp", pastEnd).c_str()), nullptr);

    // Short and empty files, and no file at all.
    EXPECT_EQ(ReadDibFile(scratch_.Write("short.bmp", Pattern(10)).c_str()), nullptr);
    EXPECT_EQ(ReadDibFile(scratch_.Write("empty.bmp", {}).c_str()), nullptr);
    EXPECT_EQ(ReadDibFile((scratch_.Path() + "\\missing.bmp").c_str()), nullptr);

    // An image size of gigabytes in an uncompressed file: the block holds
    // the picture's rows, no more and no less.
    BITMAPINFOHEADER claims = Header(3, 2, 24);
    claims.biSizeImage = 0xF0000000;
    const Bytes block = Read("claims.bmp", BmpFile(claims, {}, Pattern(24)));
    ASSERT_EQ(block.size(), 40 + 24u);
    EXPECT_EQ(BlockHeader(block).biSizeImage, 24u);
    claims.biSizeImage = 4;
    EXPECT_EQ(Read("claims2.bmp", BmpFile(claims, {}, Pattern(24))).size(), 40 + 24u);

    // A run-length picture claiming more data than the file holds.
    BITMAPINFOHEADER rle = Header(16, 16, 8);
    rle.biCompression = BI_RLE8;
    rle.biSizeImage = 5000;
    EXPECT_EQ(
        ReadDibFile(scratch_.Write("rle.bmp", BmpFile(rle, Pattern(1024), Pattern(200))).c_str()),
        nullptr);
    rle.biSizeImage = 200;
    const Bytes packed = Read("rle2.bmp", BmpFile(rle, Pattern(1024), Pattern(200)));
    ASSERT_EQ(packed.size(), 40 + 1024 + 200u);
    EXPECT_EQ(Slice(packed, 40 + 1024, 200), Pattern(200));
}

TEST_F(DibFileTest, TopDownPicturesKeepTheirRows)
{
    const Bytes bits = Pattern(12 * 4, 12);
    const Bytes block = Read("topdown.bmp", BmpFile(Header(4, -4, 24), {}, bits));
    ASSERT_EQ(block.size(), 40 + bits.size());
    EXPECT_EQ(BlockHeader(block).biHeight, -4);
    EXPECT_EQ(Slice(block, 40, bits.size()), bits);
}

TEST_F(DibFileTest, BlockIsMoveableGlobalMemory)
{
    const std::string file =
        scratch_.Write("moveable.bmp", BmpFile(Header(3, 2, 24), {}, Pattern(24)));
    HGLOBAL block = ReadDibFile(file.c_str());
    ASSERT_NE(block, nullptr);
    void* bytes = GlobalLock(block);
    EXPECT_NE(bytes, static_cast<void*>(block));
    EXPECT_EQ(GlobalHandle(bytes), block);
    GlobalUnlock(block);
    EXPECT_EQ(GlobalFree(block), nullptr);
}

TEST_F(DibFileTest, HeaderReadStopsAtTheBits)
{
    // Some bytes before the picture: offsets count from its file header.
    Bytes file = Pattern(7, 99);
    const Bytes colors = Pattern(8, 3);
    const Bytes picture = BmpFile(Header(8, 2, 1), colors, Pattern(8, 4));
    Append(file, picture.data(), picture.size());
    const std::string path = scratch_.Write("embedded.bmp", file);

    OFSTRUCT info = {};
    HFILE handle = OpenFile(path.c_str(), &info, OF_READ);
    ASSERT_NE(handle, HFILE_ERROR);
    _llseek(handle, 7, FILE_BEGIN);
    HGLOBAL header = ReadDibHeader(handle);
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(GlobalSize(header), 40 + 8u);
    unsigned char next[8] = {};
    EXPECT_EQ(_lread(handle, next, sizeof next), sizeof next);
    EXPECT_EQ(Bytes(next, next + 8), Pattern(8, 4));

    // GetDibInfo fills in what the block leaves 0 and leaves the block alone.
    BITMAPINFOHEADER* stored = static_cast<BITMAPINFOHEADER*>(GlobalLock(header));
    stored->biSizeImage = 0;
    stored->biClrUsed = 0;
    GlobalUnlock(header);
    BITMAPINFOHEADER copy = {};
    EXPECT_TRUE(GetDibInfo(header, &copy));
    EXPECT_EQ(copy.biSizeImage, 8u);
    EXPECT_EQ(copy.biClrUsed, 2u);
    stored = static_cast<BITMAPINFOHEADER*>(GlobalLock(header));
    EXPECT_EQ(stored->biSizeImage, 0u);
    EXPECT_EQ(stored->biClrUsed, 0u);
    GlobalUnlock(header);
    GlobalFree(header);
    EXPECT_FALSE(GetDibInfo(nullptr, &copy));
    EXPECT_EQ(ReadDibHeader(HFILE_ERROR), nullptr);
    _lclose(handle);
}

TEST_F(DibFileTest, ReadLargeReadsExactlyOrNothing)
{
    const Bytes content = Pattern(32768 * 3 + 5, 21);
    const std::string path = scratch_.Write("large.bin", content);
    OFSTRUCT info = {};
    HFILE handle = OpenFile(path.c_str(), &info, OF_READ);
    ASSERT_NE(handle, HFILE_ERROR);
    Bytes buffer(content.size() + 10);
    EXPECT_EQ(ReadLarge(handle, buffer.data(), content.size()), content.size());
    EXPECT_EQ(Slice(buffer, 0, content.size()), content);
    _llseek(handle, 0, FILE_BEGIN);
    EXPECT_EQ(ReadLarge(handle, buffer.data(), content.size() + 1), 0u);
    _llseek(handle, 0, FILE_BEGIN);
    EXPECT_EQ(ReadLarge(handle, buffer.data(), 32768), 32768u);
    EXPECT_EQ(ReadLarge(handle, buffer.data(), 0), 0u);
    _lclose(handle);
}

TEST(TransferFileNames, NamesLieInTheSourceDirectory)
{
    char prefix[kTransferNameSize];
    ASSERT_TRUE(MakeTransferPrefix(prefix, sizeof prefix));
    EXPECT_EQ(std::string(prefix), SourceDirectory() + "TWIMG600_");

    char name[kTransferNameSize];
    ASSERT_TRUE(FormTransferFileName(name, sizeof name, prefix, 7));
    EXPECT_EQ(std::string(name), SourceDirectory() + "TWIMG600_0007.bmp");
    ASSERT_TRUE(FormTransferFileName(name, sizeof name, prefix, 12345));
    EXPECT_EQ(std::string(name), SourceDirectory() + "TWIMG600_12345.bmp");

    // A file written under the name is read back through it.
    const Bytes bits = Pattern(12 * 2, 30);
    const Bytes file = BmpFile(Header(3, 2, 24), {}, bits);
    WriteTextFile(name, std::string(file.begin(), file.end()));
    const Bytes block = TakeBlock(ReadDibFile(name));
    DeleteFileA(name);
    EXPECT_EQ(Slice(block, 40, bits.size()), bits);
}

TEST(TransferFileNames, LongWindowsDirectoryIsReachedByItsShortName)
{
    const std::string longDirectory = TemporaryPath("A windows directory whose name is long");
    CreateDirectoryA(longDirectory.c_str(), nullptr);
    char prefix[kTransferNameSize];
    const bool made = MakeTransferPrefixFor(longDirectory.c_str(), prefix, sizeof prefix);
    char shortName[MAX_PATH] = "";
    GetShortPathNameA(longDirectory.c_str(), shortName, sizeof shortName);
    RemoveDirectoryA(longDirectory.c_str());
    ASSERT_GT(longDirectory.size() + 26, 71u);
    ASSERT_TRUE(made);
    EXPECT_EQ(std::string(prefix), std::string(shortName) + "\\TWAIN_32\\tz600a\\TWIMG600_");

    // Too long even in short form: no prefix, no cut path.
    const std::string deep = TemporaryPath(std::string(60, 'd'));
    EXPECT_FALSE(MakeTransferPrefixFor(deep.c_str(), prefix, sizeof prefix));
    EXPECT_STREQ(prefix, "");
}
