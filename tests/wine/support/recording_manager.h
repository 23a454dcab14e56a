// The entry points a TWAIN 2 Source Manager gives a source, for tests: memory
// functions over global memory that count their calls, and a DSM_Entry that
// records the notifications the source sends.
#pragma once

#include <vector>

#include "source/twain.h"

struct ManagerCalls {
    int allocations;
    int frees;
    int locks;
    int unlocks;
    std::vector<TW_UINT16> notifications;
};

// Whole entry points of the recording manager.
TW_ENTRYPOINT RecordingEntryPoints();

// What the recording manager was asked since the last reset.
ManagerCalls& RecordedManagerCalls();
