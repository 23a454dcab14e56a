// Bounded copies into the fixed character buffers the source keeps.
#pragma once

#include <cstddef>
#include <cstring>

// Copies the first `length` characters of source, at most size - 1 of them,
// and terminates.
inline void CopyTextPart(char* destination, size_t size, const char* source, size_t length)
{
    if (size == 0) {
        return;
    }
    if (length > size - 1) {
        length = size - 1;
    }
    memcpy(destination, source, length);
    destination[length] = '\0';
}

// Copies at most size - 1 characters of source and always terminates.
inline void CopyText(char* destination, size_t size, const char* source)
{
    CopyTextPart(destination, size, source, size == 0 ? 0 : strnlen(source, size - 1));
}

template <size_t N>
inline void CopyText(char (&destination)[N], const char* source)
{
    CopyText(destination, N, source);
}
