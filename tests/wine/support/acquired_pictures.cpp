#include "acquired_pictures.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>

#include "bmp_files.h"
#include "picture_decode.h"
#include "prefix_files.h"

namespace {

// A BMP file's info header and pixel rows, as the file's header places them.
struct SavedPicture {
    BITMAPINFOHEADER header = {};
    Bytes rows;
};

bool ReadSavedPicture(const std::string& path, SavedPicture& picture)
{
    const Bytes file = ReadBytes(path);
    BITMAPFILEHEADER fileHeader;
    if (file.size() < sizeof fileHeader + sizeof picture.header) {
        return false;
    }
    memcpy(&fileHeader, file.data(), sizeof fileHeader);
    memcpy(&picture.header, file.data() + sizeof fileHeader, sizeof picture.header);
    if (fileHeader.bfType != 0x4D42 || fileHeader.bfOffBits > file.size()) {
        return false;
    }
    picture.rows.assign(file.begin() + fileHeader.bfOffBits, file.end());
    return true;
}

}  // namespace

std::string EmptyFolder(const std::string& name)
{
    const std::string folder = TemporaryPath(name);
    RemoveFolder(folder);
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

void ExpectStillsSaved(const std::string& folder, const std::string& storage)
{
    const char* const stills[] = {"DSC_0001.JPG", "DSC_0002.JPG", "DSC_0004.JPG"};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(stills[i]);
        Decoded decoded;
        ASSERT_TRUE(DecodePictureFile(storage + "\\" + stills[i], decoded));
        SavedPicture saved;
        const std::string name = "\\picture_00" + std::to_string(i + 1) + ".bmp";
        ASSERT_TRUE(ReadSavedPicture(folder + name, saved));
        EXPECT_EQ(saved.header.biWidth, static_cast<LONG>(decoded.width));
        EXPECT_EQ(saved.header.biHeight, static_cast<LONG>(decoded.height));
        EXPECT_EQ(saved.header.biBitCount, 24);
        EXPECT_TRUE(saved.rows == BottomUp(decoded));
    }
    for (int number : {1, 2, 4}) {
        char name[32];
        snprintf(name, sizeof name, "TWIMG600_%04d.bmp", number);
        EXPECT_FALSE(FileExists(SourceDirectory() + name)) << name;
    }
}
