#include "recording_manager.h"

#include <windows.h>

namespace {

ManagerCalls g_calls;

TW_UINT16 TW_CALLINGSTYLE RecordNotification(pTW_IDENTITY, pTW_IDENTITY, TW_UINT32 DG,
                                             TW_UINT16 DAT, TW_UINT16 MSG, TW_MEMREF)
{
    if (DG == DG_CONTROL && DAT == DAT_NULL) {
        g_calls.notifications.push_back(MSG);
    }
    return TWRC_SUCCESS;
}

TW_HANDLE TW_CALLINGSTYLE CountedAllocate(TW_UINT32 size)
{
    ++g_calls.allocations;
    // Unlike GlobalAlloc's zero-filled blocks, a manager's may hold anything.
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    void* bytes = block != nullptr ? GlobalLock(block) : nullptr;
    if (bytes != nullptr) {
        FillMemory(bytes, size, 0xA5);
        GlobalUnlock(block);
    }
    return block;
}

void TW_CALLINGSTYLE CountedFree(TW_HANDLE block)
{
    ++g_calls.frees;
    GlobalFree(block);
}

TW_MEMREF TW_CALLINGSTYLE CountedLock(TW_HANDLE block)
{
    ++g_calls.locks;
    return GlobalLock(block);
}

void TW_CALLINGSTYLE CountedUnlock(TW_HANDLE block)
{
    ++g_calls.unlocks;
    GlobalUnlock(block);
}

}  // namespace

TW_ENTRYPOINT RecordingEntryPoints()
{
    return {sizeof(TW_ENTRYPOINT), RecordNotification, CountedAllocate,
            CountedFree,           CountedLock,        CountedUnlock};
}

ManagerCalls& RecordedManagerCalls()
{
    return g_calls;
}
