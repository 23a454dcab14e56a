// JPEG decoding and encoding through the Windows Imaging Component. The
// calling thread must have COM initialised (see ComScope in dsclink.cpp).
#pragma once

#include <string>
#include <vector>

struct Picture {
    int width = 0;
    int height = 0;
    // Top-down rows of width * 3 bytes: blue, green, red.
    std::vector<unsigned char> bgr;
};

// Decodes a JPEG (colour or grayscale) held in memory.
bool DecodeJpeg(const std::vector<unsigned char>& bytes, Picture& picture);

// Writes a picture as a baseline JPEG file; a failed write leaves no file.
bool EncodeJpeg(const Picture& picture, const std::string& path);
