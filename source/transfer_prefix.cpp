#include "source/transfer_prefix.h"

#include <windows.h>

#include "source/transfer_names.h"

bool MakeTransferPrefixFor(const char* windowsDirectory, char* prefix, size_t size)
{
    if (FormatTransferPrefix(prefix, size, windowsDirectory)) {
        return true;
    }
    char shortDirectory[MAX_PATH];
    const DWORD length = GetShortPathNameA(windowsDirectory, shortDirectory, sizeof shortDirectory);
    if (length == 0 || length >= sizeof shortDirectory) {
        return false;
    }
    return FormatTransferPrefix(prefix, size, shortDirectory);
}

bool MakeTransferPrefix(char* prefix, size_t size)
{
    char windowsDirectory[MAX_PATH + 1];
    const UINT length = GetWindowsDirectoryA(windowsDirectory, sizeof windowsDirectory);
    if (length == 0 || length >= sizeof windowsDirectory) {
        if (size != 0) {
            prefix[0] = '\0';
        }
        return false;
    }
    return MakeTransferPrefixFor(windowsDirectory, prefix, size);
}
