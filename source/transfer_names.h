// Names of the transfer files: the BMP files in the source's directory that
// carry pictures from the camera library to the application.
#pragma once

#include <cstddef>

// The buffers that hold the prefix and a transfer file's name.
const size_t kTransferNameSize = 80;
// Room a name needs behind the prefix: four digits and ".bmp".
const size_t kTransferNumberRoom = 8;

// Forms "<windowsDirectory>\TWAIN_32\tz600a\TWIMG600_". A prefix that would
// leave no room in a name buffer for a four-digit number is not made: the
// prefix is then empty and the result false, since a cut prefix would name
// another folder.
bool FormatTransferPrefix(char* prefix, size_t size, const char* windowsDirectory);

// Forms the prefix, the number in at least four digits and ".bmp"; picture 7
// gives ...TWIMG600_0007.bmp. A name that does not fit is left empty and the
// result is false.
bool FormTransferFileName(char* name, size_t size, const char* prefix, int number);
