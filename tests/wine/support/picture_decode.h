// An independent decode of picture files with the Windows Imaging Component:
// the camera's JPEGs, to compare read-outs and transferred pictures with, and
// the pictures acquire saves.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The rows of a decoded picture as a BMP file stores them: top-down here,
// 24-bit, each padded to a multiple of 4 bytes.
struct Decoded {
    UINT width = 0;
    UINT height = 0;
    UINT stride = 0;
    std::vector<unsigned char> rows;
};

// Decodes a JPEG, BMP, PNG or TIFF file with WIC in its native pixel format
// (24-bit BGR for colour, 8-bit gray for grayscale) and widens gray to BGR.
// COM must be initialised on the thread.
bool DecodePictureFile(const std::string& path, Decoded& decoded);

// The rows of a decode in BMP order: bottom-up.
std::vector<unsigned char> BottomUp(const Decoded& decoded);
