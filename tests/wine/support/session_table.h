// The session triplets, the states that accept them, and what the user sees
// when the source refuses them: one table for every test program that
// drives the source through its states.
#pragma once

#include <windows.h>

#include <vector>

#include "source/twain.h"

struct SessionTriplet {
    const char* name;
    TW_UINT16 DAT;
    TW_UINT16 MSG;
    // The states 3 to 6 that accept the triplet, one bit each (1 << state).
    unsigned acceptedStates;
    TW_UINT16 refusalCode;
    const char* refusalMessage;
};

extern const std::vector<SessionTriplet> kSessionTriplets;

// A source brought into a given state, as a test program reaches it.
class SessionUnderTest {
public:
    virtual ~SessionUnderTest() = default;
    virtual TW_UINT16 Call(TW_UINT16 DAT, TW_UINT16 MSG, TW_MEMREF pData) = 0;
    virtual TW_UINT16 ConditionCode() = 0;
};

// Sends the triplet with well-formed data (the user interface's parent is
// the given window) and checks that the source accepts it, or refuses it
// with its code and exactly its message, as the table says for the state.
void ExpectTripletInState(SessionUnderTest& source, const SessionTriplet& triplet, int state,
                          HWND parent);
