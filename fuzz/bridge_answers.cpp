// What the camera library bridge reads from its host: a header, then the
// host's welcome, a batch of progress calls or a call's result. Whatever the
// bytes, the reader stays within them and its bounds; what it takes is
// written back byte for byte. Input: the bytes of the pipe.
#include <cstring>
#include <vector>

#include "bridge/bridge_messages.h"
#include "fuzz/fuzz_check.h"

namespace {

void CheckSame(const std::vector<unsigned char>& again, const uint8_t* data, uint32_t size)
{
    FUZZ_CHECK(again.size() == size && memcmp(again.data(), data, size) == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    MessageHeader header;
    if (size < kMessageHeaderSize || !ParseHeader(data, header)) {
        return 0;
    }
    FUZZ_CHECK(header.size >= kMessageHeaderSize);
    FUZZ_CHECK(header.size <= kMessageHeaderSize + 28 + kMaxCallText + kMaxCallData);
    if (header.size > size) {
        return 0;
    }
    const std::vector<unsigned char> body(data + kMessageHeaderSize, data + header.size);
    LibraryState state;
    std::vector<ProgressCall> calls;
    ResultMessage result;
    switch (header.kind) {
    case MessageKind::Welcome:
        if (ParseWelcome(body.data(), body.size(), state)) {
            CheckSame(EncodeWelcome(state), data, header.size);
        }
        break;
    case MessageKind::Progress:
        if (ParseProgress(body.data(), body.size(), calls)) {
            FUZZ_CHECK(calls.size() <= kMaxProgressCalls);
            CheckSame(EncodeProgress(calls), data, header.size);
        }
        break;
    case MessageKind::Result:
        if (ParseResult(body.data(), body.size(), result)) {
            FUZZ_CHECK(result.data.size() <= kMaxCallData);
            CheckSame(EncodeResult(result), data, header.size);
        }
        break;
    default:
        break;
    }
    return 0;
}
