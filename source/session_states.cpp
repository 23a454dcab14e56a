#include "session_states.h"

namespace {

// Stands for every MSG of the row's DAT.
const TW_UINT16 kAnyMsg = 0xFFFF;

// One bit for each of the states 3 to 6.
const unsigned kState3 = 1u << 3;
const unsigned kState4 = 1u << 4;
const unsigned kState5 = 1u << 5;
const unsigned kState6 = 1u << 6;
const unsigned kAnyState = kState3 | kState4 | kState5 | kState6;

struct StateRow {
    TW_UINT16 dat;
    TW_UINT16 msg;
    unsigned states;
};

const StateRow kStateTable[] = {
    {DAT_IDENTITY, MSG_GET, kAnyState},
    {DAT_IDENTITY, MSG_OPENDS, kState3},
    {DAT_IDENTITY, MSG_CLOSEDS, kState4 | kState5 | kState6},
    {DAT_USERINTERFACE, MSG_ENABLEDS, kState4},
    {DAT_USERINTERFACE, MSG_DISABLEDS, kState5 | kState6},
    {DAT_STATUS, kAnyMsg, kAnyState},
    {DAT_CAPABILITY, kAnyMsg, kAnyState},
    {DAT_PENDINGXFERS, MSG_GET, kState4 | kState5 | kState6},
    {DAT_PENDINGXFERS, MSG_ENDXFER, kAnyState},
    {DAT_PENDINGXFERS, MSG_RESET, kState6},
    {DAT_SETUPMEMXFER, kAnyMsg, kState4 | kState5 | kState6},
    {DAT_SETUPFILEXFER, kAnyMsg, kState4 | kState5 | kState6},
    {DAT_XFERGROUP, kAnyMsg, kState4 | kState5 | kState6},
    {DAT_PALETTE8, kAnyMsg, kState4 | kState5 | kState6},
    {DAT_IMAGEINFO, kAnyMsg, kState6},
    {DAT_IMAGENATIVEXFER, kAnyMsg, kState6},
};

}  // namespace

bool AcceptedInState(TW_UINT16 DAT, TW_UINT16 MSG, int state)
{
    if (state == 7) {
        state = 6;
    }
    if (state < 3 || state > 6) {
        return false;
    }
    for (const StateRow& row : kStateTable) {
        if (row.dat == DAT && (row.msg == MSG || row.msg == kAnyMsg)) {
            return (row.states & (1u << state)) != 0;
        }
    }
    return true;
}
