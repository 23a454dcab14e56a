// Taking the pictures that the open source has ready: image information,
// the transfer by the chosen mechanism, a picture file in the output folder,
// and the end of each transfer until none is left.
#pragma once

#include <string>

#include "picture_files.h"
#include "twain_app.h"

enum class TransferMechanism { Native, Memory, File };

struct TransferOptions {
    TransferMechanism mechanism = TransferMechanism::Native;
    // Where the pictures are saved, as picture_001.bmp, picture_002.bmp, ...
    // (.png, .jpg or .tif for the other formats).
    std::string outputFolder = "acquired";
    PictureFormat format = PictureFormat::Bmp;
    // The number of the next picture's file; counts on over several rounds.
    int nextNumber = 1;
    // The memory-transfer buffer in bytes; 0 takes the size the source
    // prefers, as imaging applications do.
    unsigned long bufferSize = 0;
};

// "native", "memory" or "file"; false for any other name.
bool ParseMechanism(const char* name, TransferMechanism& mechanism);
const char* MechanismName(TransferMechanism mechanism);

// Fetches and saves every picture that the source has ready, printing one
// line for each, and ends each transfer until the source counts none left.
// Returns the number of pictures saved.
int TransferPictures(TwainApp& app, TransferOptions& options);
