#include "manager_memory.h"

#include <windows.h>

#include <cstring>

namespace {

// The kept entry points; every pointer null while the source has none.
TW_ENTRYPOINT g_manager = {};

}  // namespace

bool KeepManagerEntryPoints(const TW_ENTRYPOINT* entryPoints)
{
    if (entryPoints == nullptr || entryPoints->Size < sizeof(TW_ENTRYPOINT) ||
        entryPoints->DSM_Entry == nullptr || entryPoints->DSM_MemAllocate == nullptr ||
        entryPoints->DSM_MemFree == nullptr || entryPoints->DSM_MemLock == nullptr ||
        entryPoints->DSM_MemUnlock == nullptr) {
        ForgetManagerEntryPoints();
        return false;
    }
    g_manager = *entryPoints;
    return true;
}

void ForgetManagerEntryPoints()
{
    g_manager = TW_ENTRYPOINT{};
}

DSMENTRYPROC ManagerEntry()
{
    return g_manager.DSM_Entry;
}

bool Twain2Session()
{
    return g_manager.DSM_Entry != nullptr;
}

TW_HANDLE AllocateAppMemory(TW_UINT32 size)
{
    if (g_manager.DSM_MemAllocate == nullptr) {
        return GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    }
    TW_HANDLE block = g_manager.DSM_MemAllocate(size);
    void* bytes = block != nullptr ? g_manager.DSM_MemLock(block) : nullptr;
    if (bytes == nullptr) {
        if (block != nullptr) {
            g_manager.DSM_MemFree(block);
        }
        return nullptr;
    }
    memset(bytes, 0, size);
    g_manager.DSM_MemUnlock(block);
    return block;
}

void FreeAppMemory(TW_HANDLE block)
{
    if (g_manager.DSM_MemFree == nullptr) {
        GlobalFree(block);
    } else {
        g_manager.DSM_MemFree(block);
    }
}

void* LockAppMemory(TW_HANDLE block)
{
    return g_manager.DSM_MemLock == nullptr ? GlobalLock(block) : g_manager.DSM_MemLock(block);
}

void UnlockAppMemory(TW_HANDLE block)
{
    if (g_manager.DSM_MemUnlock == nullptr) {
        GlobalUnlock(block);
    } else {
        g_manager.DSM_MemUnlock(block);
    }
}
