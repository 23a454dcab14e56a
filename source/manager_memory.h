// The TWAIN 2 Source Manager's entry points and the memory the source hands
// to the application. While the source holds a manager's entry points, its
// notifications go through that manager's DSM_Entry and the memory it hands
// over (capability containers, native transfer pictures) comes from the
// manager's memory functions; otherwise from moveable global memory.
#pragma once

#include "twain.h"

// Keeps the entry points of a DAT_ENTRYPOINT / MSG_SET. False, and back to
// the TWAIN 1.x manager, when the structure is missing, too small or names
// a null function.
bool KeepManagerEntryPoints(const TW_ENTRYPOINT* entryPoints);

// Back to the TWAIN 1.x manager: TWAIN_32.DLL and global memory.
void ForgetManagerEntryPoints();

// The kept manager's DSM_Entry; null without entry points.
DSMENTRYPROC ManagerEntry();

// A TWAIN 2 session: the source holds the entry points that a TWAIN 2
// Source Manager gave it before the open, until the close. Refusals then
// show no message box, and capabilities answer as TWAIN 2 has them answer.
bool Twain2Session();

// A zero-filled block for the application, which owns it; null when the
// memory is short.
TW_HANDLE AllocateAppMemory(TW_UINT32 size);
void FreeAppMemory(TW_HANDLE block);
void* LockAppMemory(TW_HANDLE block);
void UnlockAppMemory(TW_HANDLE block);
