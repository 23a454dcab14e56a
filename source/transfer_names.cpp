#include "source/transfer_names.h"

#include <cstdio>

namespace {

// Keeps a formatted text of `length` characters when it fits in `size`
// with `room` characters to spare; empties it otherwise.
bool FitsWhole(char* text, size_t size, int length, size_t room)
{
    if (length < 0 || static_cast<size_t>(length) + room >= size) {
        text[0] = '\0';
        return false;
    }
    return true;
}

}  // namespace

bool FormatTransferPrefix(char* prefix, size_t size, const char* windowsDirectory)
{
    if (size == 0) {
        return false;
    }
    const int length =
        snprintf(prefix, size, "%s\\TWAIN_32\\%s\\%s", windowsDirectory, "tz600a", "TWIMG600_");
    return FitsWhole(prefix, size, length, kTransferNumberRoom);
}

bool FormTransferFileName(char* name, size_t size, const char* prefix, int number)
{
    if (size == 0) {
        return false;
    }
    const int length = snprintf(name, size, "%s%04d%s", prefix, number, ".bmp");
    return FitsWhole(name, size, length, 0);
}
