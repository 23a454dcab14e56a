#include "bridge/message_pipe.h"

#include <algorithm>

namespace {

// What one read takes in beyond the rest of the message it completes.
const size_t kReadChunk = 64 * 1024;

// Waits until the pipe holds bytes, for the wake event or the writer's end,
// as long as the writer has not been silent for its limit since
// `lastHeard`; how many bytes it holds, 0 when it broke or stayed silent.
DWORD AwaitBytes(HANDLE pipe, const ReadDeadline& deadline, DWORD lastHeard)
{
    for (;;) {
        DWORD available = 0;
        if (!PeekNamedPipe(pipe, nullptr, 0, nullptr, &available, nullptr)) {
            return 0;
        }
        if (available > 0) {
            return available;
        }
        const DWORD silent = GetTickCount() - lastHeard;
        if (silent >= deadline.silenceLimit) {
            return 0;
        }
        // A writer that ended may have left bytes in the pipe: the next peek
        // finds them, then the pipe broken.
        const HANDLE events[] = {deadline.wake, deadline.writer};
        WaitForMultipleObjects(2, events, FALSE, deadline.silenceLimit - silent);
    }
}

// Takes in at most `most` more bytes: as many as the pipe holds, waiting
// for them without a deadline or within one.
bool TakeIn(MessageReader& reader, const ReadDeadline* deadline, size_t most, DWORD& lastHeard)
{
    DWORD wanted = static_cast<DWORD>(most);
    if (deadline != nullptr) {
        const DWORD available = AwaitBytes(reader.pipe, *deadline, lastHeard);
        if (available == 0) {
            return false;
        }
        wanted = std::min(wanted, available);
    }
    const size_t had = reader.bytes.size();
    reader.bytes.resize(had + wanted);
    DWORD read = 0;
    const bool took =
        ReadFile(reader.pipe, reader.bytes.data() + had, wanted, &read, nullptr) && read > 0;
    reader.bytes.resize(had + (took ? read : 0));
    lastHeard = GetTickCount();
    return took;
}

}  // namespace

bool WriteMessage(HANDLE pipe, HANDLE wake, const std::vector<unsigned char>& message)
{
    const unsigned char* bytes = message.data();
    size_t size = message.size();
    while (size > 0) {
        DWORD written = 0;
        if (!WriteFile(pipe, bytes, static_cast<DWORD>(size), &written, nullptr)) {
            return false;
        }
        bytes += written;
        size -= written;
    }
    return wake == nullptr || SetEvent(wake);
}

bool ReadMessage(MessageReader& reader, const ReadDeadline* deadline, MessageHeader& header,
                 std::vector<unsigned char>& body)
{
    DWORD lastHeard = GetTickCount();
    while (reader.bytes.size() < kMessageHeaderSize) {
        if (!TakeIn(reader, deadline, kReadChunk, lastHeard)) {
            return false;
        }
    }
    if (!ParseHeader(reader.bytes.data(), header)) {
        return false;
    }
    while (reader.bytes.size() < header.size) {
        const size_t rest = header.size - reader.bytes.size();
        if (!TakeIn(reader, deadline, std::max(rest, kReadChunk), lastHeard)) {
            return false;
        }
    }
    body.assign(reader.bytes.begin() + kMessageHeaderSize, reader.bytes.begin() + header.size);
    reader.bytes.erase(reader.bytes.begin(), reader.bytes.begin() + header.size);
    return true;
}
