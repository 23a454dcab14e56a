// The TWAIN states in which the source accepts each triplet.
#pragma once

#include "twain.h"

// The TWAIN states, numbered as the standard numbers them. The source itself
// is in states 3 to 6; state 7 is never entered.
enum TwainState {
    kStatePreSession = 1,
    kStateManagerLoaded = 2,
    kStateManagerOpen = 3,
    kStateSourceOpen = 4,
    kStateSourceEnabled = 5,
    kStateTransferReady = 6,
    kStateTransferring = 7,
};

// True if the triplet may be served in the given state (3 to 7). State 7 is
// accepted wherever 6 is. Triplets without a row are
// accepted in every state; their handlers decide alone.
bool AcceptedInState(TW_UINT16 DAT, TW_UINT16 MSG, int state);
