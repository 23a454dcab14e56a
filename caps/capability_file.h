// The capability file (Tz600a.src) and its dictionary (Tz600a.ini) in the
// Windows directory, read and written through the private-profile services.
#pragma once

#include "source/twain.h"

// Forms the capability file's path into the source context.
void MakeCapabilityFilePath();

// At load: ICAP_XFERMECH's allowed values return to their power-on text.
void RestoreXferMechAllowed();
