// Bounded copies into the fixed character buffers the source keeps.
#pragma once

#include <cstddef>
#include <cstring>

// Copies at most size - 1 characters of source and always terminates.
inline void CopyText(char* destination, size_t size, const char* source)
{
    if (size == 0) {
        return;
    }
    size_t length = strnlen(source, size - 1);
    memcpy(destination, source, length);
    destination[length] = '\0';
}

template <size_t N>
inline void CopyText(char (&destination)[N], const char* source)
{
    CopyText(destination, N, source);
}
