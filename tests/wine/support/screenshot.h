// Pictures of windows as the screen shows them, written as PNG files for
// people to look at.
#pragma once

#include <windows.h>

#include <string>

// Copies the window's rectangle, frame included, from the screen and writes
// it to the PNG file. The window must be on top and painted.
bool SaveWindowPicture(HWND window, const std::string& path);

// A file beside the build's bin folder, where the test programs live.
std::string BuildFolderFile(const std::string& name);
