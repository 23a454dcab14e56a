// Messages between the bridge and the host over a pair of anonymous pipes.
// An anonymous pipe cannot be read with a time-out, so whoever writes a
// message also sets the reader's wake event: the bridge waits on that event
// and on the host's process, and reads only the bytes the pipe holds, so that
// no read of it waits without a deadline. Each read takes in all the bytes
// the pipe holds, up to a bound, which makes one read of a whole message.
#pragma once

#include <windows.h>

#include <vector>

#include "bridge/bridge_messages.h"

// Writes the whole message, then sets `wake` when there is one. False when
// the pipe is broken.
bool WriteMessage(HANDLE pipe, HANDLE wake, const std::vector<unsigned char>& message);

// How the bridge waits for the host's next bytes: for `wake` or the end of
// `writer`, the host's process, at most `silenceLimit` milliseconds after
// the last bytes came.
struct ReadDeadline {
    HANDLE wake;
    HANDLE writer;
    DWORD silenceLimit;
};

// The reading end of a pipe with the bytes read from it that belong to the
// messages still to be handed out.
struct MessageReader {
    HANDLE pipe;
    std::vector<unsigned char> bytes;
};

// Reads one message whose header is sound; with a deadline, false once the
// writer has been silent for longer than its limit. False too when the pipe
// breaks or the header is refused.
bool ReadMessage(MessageReader& reader, const ReadDeadline* deadline, MessageHeader& header,
                 std::vector<unsigned char>& body);
