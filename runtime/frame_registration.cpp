// The 32-bit unwinder of libgcc, linked into each of our DLLs, registers the
// module's DWARF frame tables as the module loads, under a lock that it sets
// up then and never tears down. With the posix thread model that takes
// winpthreads' record of the loading thread (an event, a duplicate of the
// thread's handle and a TLS index) and the lock's memory, which each unload
// of the DLL would leave behind. The linker sends the runtime's calls of the
// registration functions here (-Wl,--wrap, runtime/CMakeLists.txt): the
// tables are registered only when the unwinder first looks for a frame,
// which only a thrown exception makes it do, and deregistered at unload
// only if they were.
#include <windows.h>

extern "C" {
void __real___register_frame_info(const void* tables, void* record);
void* __real___deregister_frame_info(const void* tables);
const void* __real__Unwind_Find_FDE(void* address, void* bases);
}

namespace {

const void* g_tables = nullptr;
void* g_record = nullptr;
INIT_ONCE g_registration = INIT_ONCE_STATIC_INIT;

BOOL CALLBACK RegisterTables(PINIT_ONCE, PVOID, PVOID*)
{
    __real___register_frame_info(g_tables, g_record);
    return TRUE;
}

bool TablesRegistered()
{
    BOOL pending = FALSE;
    return InitOnceBeginInitialize(&g_registration, INIT_ONCE_CHECK_ONLY, &pending, nullptr) !=
           FALSE;
}

}  // namespace

// The start-up code's registration as the module loads: the tables and the
// record that the unwinder is to keep them in are noted.
extern "C" void __wrap___register_frame_info(const void* tables, void* record)
{
    g_tables = tables;
    g_record = record;
}

extern "C" void* __wrap___deregister_frame_info(const void* tables)
{
    return TablesRegistered() ? __real___deregister_frame_info(tables) : nullptr;
}

// The unwinder's search for the frame description of a code address.
extern "C" const void* __wrap__Unwind_Find_FDE(void* address, void* bases)
{
    InitOnceExecuteOnce(&g_registration, RegisterTables, nullptr, nullptr);
    return __real__Unwind_Find_FDE(address, bases);
}
