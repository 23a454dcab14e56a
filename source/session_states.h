// The TWAIN states in which the source accepts each triplet.
#pragma once

#include "twain.h"

// True if the triplet may be served in the given state (3 to 7). State 7 is
// never entered; it is accepted wherever 6 is. Triplets without a row are
// accepted in every state; their handlers decide alone.
bool AcceptedInState(TW_UINT16 DAT, TW_UINT16 MSG, int state);
