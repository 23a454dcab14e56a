// What the C++ runtime linked into each of our DLLs keeps for the module's
// life. Windows takes it back at the process's end, but a DLL that
// FreeLibrary unloads in a running process must give it back itself: its
// DllMain calls FreeModuleRuntime at DLL_PROCESS_DETACH when the reserved
// argument is null.
#pragma once

// Frees libstdc++'s emergency pool, the block kept for exceptions thrown
// when memory runs out. Nothing in the module may throw afterwards.
void FreeModuleRuntime();
