// The data source's code linked into the test program: DS_Entry called
// directly, and the transfer queue filled as the album window fills it, so
// that tests reach the transfers before the album exists.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "source/session_states.h"
#include "source/twain.h"

// Opens the linked source (state 4) on construction and closes it again
// when the test ends; the transfer queue is emptied both times.
class LinkedSource {
public:
    LinkedSource();
    ~LinkedSource();
    LinkedSource(const LinkedSource&) = delete;
    LinkedSource& operator=(const LinkedSource&) = delete;

    TW_UINT16 Call(TW_UINT32 DG, TW_UINT16 DAT, TW_UINT16 MSG, TW_MEMREF pData);
    // DAT_STATUS / MSG_GET, which also clears the condition code.
    TW_UINT16 ConditionCode();
    TwainState State() const;

    // Queues the transfer files of the given numbers, as the album does after
    // a read-out, and announces them (state 6).
    void QueuePictures(const std::vector<int>& numbers);

    TW_IDENTITY application;
};

// A Source Manager entry for application code under test: every triplet
// goes to the linked source, whatever its destination.
TW_UINT16 TW_CALLINGSTYLE LinkedManagerEntry(pTW_IDENTITY pOrigin, pTW_IDENTITY pDest, TW_UINT32 DG,
                                             TW_UINT16 DAT, TW_UINT16 MSG, TW_MEMREF pData);

// The name of transfer file `number` in the source's directory.
std::string TransferFilePath(int number);
