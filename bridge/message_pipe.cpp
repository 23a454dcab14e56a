#include "bridge/message_pipe.h"

namespace {

// Reads `size` bytes, blocking when there is no deadline.
bool ReadBlocking(HANDLE pipe, unsigned char* bytes, size_t size)
{
    while (size > 0) {
        DWORD read = 0;
        if (!ReadFile(pipe, bytes, static_cast<DWORD>(size), &read, nullptr) || read == 0) {
            return false;
        }
        bytes += read;
        size -= read;
    }
    return true;
}

// Reads `size` bytes as they come, taking only what the pipe holds; waits
// for more on the wake event or the writer's end, until the writer has been
// silent for its limit. `lastHeard` is when bytes last came.
bool ReadWithin(HANDLE pipe, const ReadDeadline& deadline, unsigned char* bytes, size_t size,
                DWORD& lastHeard)
{
    while (size > 0) {
        DWORD available = 0;
        if (!PeekNamedPipe(pipe, nullptr, 0, nullptr, &available, nullptr)) {
            return false;
        }
        if (available > 0) {
            const DWORD wanted = available < size ? available : static_cast<DWORD>(size);
            DWORD read = 0;
            if (!ReadFile(pipe, bytes, wanted, &read, nullptr) || read == 0) {
                return false;
            }
            bytes += read;
            size -= read;
            lastHeard = GetTickCount();
            continue;
        }
        const DWORD silent = GetTickCount() - lastHeard;
        if (silent >= deadline.silenceLimit) {
            return false;
        }
        // A writer that ended may have left bytes in the pipe: the next peek
        // reads them, then finds the pipe broken.
        const HANDLE events[] = {deadline.wake, deadline.writer};
        WaitForMultipleObjects(2, events, FALSE, deadline.silenceLimit - silent);
    }
    return true;
}

bool ReadBytes(HANDLE pipe, const ReadDeadline* deadline, unsigned char* bytes, size_t size,
               DWORD& lastHeard)
{
    return deadline == nullptr ? ReadBlocking(pipe, bytes, size)
                               : ReadWithin(pipe, *deadline, bytes, size, lastHeard);
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

bool ReadMessage(HANDLE pipe, const ReadDeadline* deadline, MessageHeader& header,
                 std::vector<unsigned char>& body)
{
    DWORD lastHeard = GetTickCount();
    unsigned char bytes[kMessageHeaderSize];
    if (!ReadBytes(pipe, deadline, bytes, sizeof bytes, lastHeard) || !ParseHeader(bytes, header)) {
        return false;
    }
    body.resize(header.size - kMessageHeaderSize);
    return ReadBytes(pipe, deadline, body.data(), body.size(), lastHeard);
}
