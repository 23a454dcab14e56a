// The pictures acquire saves from the camera's default storage.
#pragma once

#include <string>

// An empty folder of that name in the temporary folder.
std::string EmptyFolder(const std::string& name);

// Expects picture_001.bmp to picture_003.bmp in the folder to hold exactly
// the pixels of a decode of the stills in the storage folder given
// (DSC_0001.JPG, DSC_0002.JPG and DSC_0004.JPG), as 24-bit BMP files, and no
// transfer file to be left in the source's folder. COM must be initialised
// on the thread.
void ExpectStillsSaved(const std::string& folder, const std::string& storage);
