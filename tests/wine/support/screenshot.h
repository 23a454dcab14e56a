// Pictures of windows as the screen shows them, written as PNG files for
// people to look at.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Copies the window's rectangle, frame included, from the screen and writes
// it to the PNG file. The window must be on top and painted.
bool SaveWindowPicture(HWND window, const std::string& path);

// The pixels the screen shows for a window's client area: rows top-down of
// blue, green, red bytes, each row padded to a multiple of 4 bytes.
struct ScreenPixels {
    int width = 0;
    int height = 0;
    int stride = 0;
    std::vector<unsigned char> rows;
};

// Paints the window and its children now, then reads its client area from
// the screen. The window must be on top.
bool ReadClientPixels(HWND window, ScreenPixels& pixels);

// How many times a 24-bit bottom-up picture appears, pixel for pixel, in
// the pixels read.
int CountPictureOnScreen(const ScreenPixels& pixels, const unsigned char* picture, int width,
                         int height);

// A file beside the build's bin folder, where the test programs live.
std::string BuildFolderFile(const std::string& name);
