#include "notifications.h"

#include <windows.h>

#include "source_context.h"
#include "transfers.h"

namespace {

// Calls the Source Manager's DSM_Entry with a DAT_NULL message from the
// source to the application. A missing manager leaves the message unsent.
void SendToApplication(TW_UINT16 message)
{
    HMODULE manager = LoadLibraryA("TWAIN_32.DLL");
    if (manager == nullptr) {
        return;
    }
    DSMENTRYPROC dsmEntry = reinterpret_cast<DSMENTRYPROC>(
        reinterpret_cast<void*>(GetProcAddress(manager, "DSM_Entry")));
    if (dsmEntry != nullptr) {
        dsmEntry(&g_source.dsIdentity, &g_source.appIdentity, DG_CONTROL, DAT_NULL, message,
                 nullptr);
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
