// What the C++ runtime linked into each of our DLLs keeps for the module's
// life. Windows takes it back at the process's end, but a DLL that
// FreeLibrary unloads in a running process must give it back itself: its
// DllMain passes every call on to GiveBackRuntimeAtUnload.
#pragma once

#include <windows.h>

// At DLL_PROCESS_DETACH by FreeLibrary (a null reserved argument), frees
// libstdc++'s emergency pool, the block kept for exceptions thrown when
// memory runs out; nothing in the module may throw afterwards. Does nothing
// at any other call, the process's end included.
void GiveBackRuntimeAtUnload(DWORD reason, LPVOID reserved);
