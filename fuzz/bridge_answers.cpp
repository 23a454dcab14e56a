// What the camera library bridge reads from its host: a header, then the
// host's welcome, a batch of progress calls or a call's result. Whatever the
// bytes, the reader stays within them and its bounds; what it takes is
// written back byte for byte. Input: the bytes of the pipe.
#include <cstring>
#include <vector>

#include "fuzz/bridge_message.h"

namespace {

void CheckSame(const std::vector<unsigned char>& again, const uint8_t* data, uint32_t size)
{
    FUZZ_CHECK(again.size() == size && memcmp(again.data(), data, size) == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    MessageHeader header;
    std::vector<unsigned char> body;
    if (!FirstMessage(data, size, header, body)) {
        return 0;
    }
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
