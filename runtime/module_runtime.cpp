#include "runtime/module_runtime.h"

// libstdc++'s release of the memory it keeps until the program ends, for
// leak checkers; none of its headers declares it.
namespace __gnu_cxx {
void __freeres();
}

void GiveBackRuntimeAtUnload(DWORD reason, LPVOID reserved)
{
    if (reason == DLL_PROCESS_DETACH && reserved == nullptr) {
        __gnu_cxx::__freeres();
    }
}
