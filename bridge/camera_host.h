// The bridge's side of DscLinkHost.exe, the 32-bit process that makes the
// camera library's calls for a 64-bit process. The host is started at the
// first call, by its full path in the 32-bit system folder, and serves this
// process alone: it ends when CloseHost closes the link, when this process
// ends (a job object ends it with the process, and the host also waits on
// it), and when it fails a call.
#pragma once

#include <windows.h>

#include "album/dsclink.h"
#include "bridge/bridge_messages.h"

// How long the host may stay silent in a call before it is taken for hung
// and stopped: no call of the camera library that sends no progress takes
// nearly as long. A read-out is never silent for long, since its progress
// calls come in batches at least every 50 ms.
extern DWORD g_hostSilenceLimit;

// Makes the call in the host, starting one when none runs, and passes the
// progress calls of a read-out to `progress` in their order as they come.
// False when no host could be started, or when it ended, fell silent or
// broke the protocol: it is then stopped (the next call starts another,
// which first loads the settings file the library was last given).
bool CallHost(const CallMessage& call, DscProgressProc progress, ResultMessage& result);

// Closes the link to the host, which ends it, and waits for nothing: it is
// called from DllMain.
void CloseHost();
