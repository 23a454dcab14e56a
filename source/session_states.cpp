#include "session_states.h"

namespace {

// Stands for every MSG of the row's DAT.
const TW_UINT16 kAnyMsg = 0xFFFF;

// One bit for each of the states the source is in.
const unsigned kState3 = 1u << kStateManagerOpen;
const unsigned kState4 = 1u << kStateSourceOpen;
const unsigned kState5 = 1u << kStateSourceEnabled;
const unsigned kState6 = 1u << kStateTransferReady;
const unsigned kAnyState = kState3 | kState4 | kState5 | kState6;

struct StateRow {
    TW_UINT16 dat;
    TW_UINT16 msg;
    unsigned states;
};

const StateRow kStateTable[] = {
    {DAT_IDENTITY, MSG_GET, kAnyState},
    {DAT_IDENTITY, MSG_OPENDS, kState3},
    {DAT_ENTRYPOINT, MSG_SET, kState3},
    {DAT_IDENTITY, MSG_CLOSEDS, kState4 | kState5 | kState6},
    {DAT_USERINTERFACE, MSG_ENABLEDS, kState4},
    {DAT_USERINTERFACE, MSG_DISABLEDS, kState5 | kState6},
    {DAT_STATUS, kAnyMsg, kAnyState},
    {DAT_CAPABILITY, MSG_RESETALL, kState4},
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
    if (state == kStateTransferring) {
        state = kStateTransferReady;
    }
    if (state < kStateManagerOpen || state > kStateTransferReady) {
        return false;
    }
    for (const StateRow& row : kStateTable) {
        if (row.dat == DAT && (row.msg == MSG || row.msg == kAnyMsg)) {
            return (row.states & (1u << state)) != 0;
        }
    }
    return true;
}
