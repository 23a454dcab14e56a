// The transfer file prefix in the source's directory under the Windows
// directory.
#pragma once

#include <cstddef>

// Forms the prefix from the Windows directory. When the directory's name is
// too long for the name buffers, its short (8.3) form is used; when that is
// too long as well, the prefix is empty and the result false.
bool MakeTransferPrefix(char* prefix, size_t size);

// The same for a given directory, which must exist for its short form to be
// found.
bool MakeTransferPrefixFor(const char* windowsDirectory, char* prefix, size_t size);
