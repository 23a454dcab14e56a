#include "notifications.h"

#include <windows.h>

#include "manager_memory.h"
#include "source_context.h"
#include "transfers.h"

namespace {

void CallManager(DSMENTRYPROC dsmEntry, TW_UINT16 message)
{
    dsmEntry(&g_source.dsIdentity, &g_source.appIdentity, DG_CONTROL, DAT_NULL, message, nullptr);
}

// Calls the Source Manager's DSM_Entry with a DAT_NULL message from the
// source to the application: the one a TWAIN 2 manager gave, else the one
// of TWAIN_32.DLL. A missing manager leaves the message unsent.
void SendToApplication(TW_UINT16 message)
{
    if (ManagerEntry() != nullptr) {
        CallManager(ManagerEntry(), message);
        return;
    }
    HMODULE manager = LoadLibraryA("TWAIN_32.DLL");
    if (manager == nullptr) {
        return;
    }
    DSMENTRYPROC dsmEntry = reinterpret_cast<DSMENTRYPROC>(
        reinterpret_cast<void*>(GetProcAddress(manager, "DSM_Entry")));
    if (dsmEntry != nullptr) {
        CallManager(dsmEntry, message);
    }
    FreeLibrary(manager);
}

}  // namespace

void NotifyTransferReady()
{
    g_source.state = kStateTransferReady;
    ResetMemXferCursor();
    SendToApplication(MSG_XFERREADY);
}

void NotifyCloseRequest()
{
    SendToApplication(MSG_CLOSEDSREQ);
}
