// The files acquire saves pictures in: BMP as the source delivers them, or
// PNG, JPEG or TIFF through the Windows Imaging Component.
#pragma once

#include <windows.h>

#include <string>

enum class PictureFormat { Bmp, Png, Jpeg, Tiff };

// "bmp", "png", "jpeg" or "tiff"; false for any other name.
bool ParsePictureFormat(const char* name, PictureFormat& format);
// The file name extension of the format: "bmp", "png", "jpg" or "tif".
const char* PictureExtension(PictureFormat format);

// Writes a packed DIB as a picture file of the format. A failed save leaves
// no file.
bool SavePicture(const std::string& path, const void* dib, DWORD dibSize, PictureFormat format);

// Writes the picture of a BMP file as a picture file of the format at
// another path. A failed save leaves no file there.
bool ConvertBmpFile(const std::string& bmpPath, const std::string& path, PictureFormat format);
