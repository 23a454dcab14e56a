// What the fuzz targets of the bridge's message readers share: the input
// read as the bytes of a pipe, a header and the body it announces.
#pragma once

#include <vector>

#include "bridge/bridge_messages.h"
#include "fuzz/fuzz_check.h"

// The first message of the input: a header that its reader takes, within the
// bounds of every kind, and the body behind it; false when the input holds
// no such header or too few bytes for the body.
inline bool FirstMessage(const uint8_t* data, size_t size, MessageHeader& header,
                         std::vector<unsigned char>& body)
{
    if (size < kMessageHeaderSize || !ParseHeader(data, header)) {
        return false;
    }
    FUZZ_CHECK(header.size >= kMessageHeaderSize);
    FUZZ_CHECK(header.size <= kMessageHeaderSize + 28 + kMaxCallText + kMaxCallData);
    if (header.size > size) {
        return false;
    }
    body.assign(data + kMessageHeaderSize, data + header.size);
    return true;
}
