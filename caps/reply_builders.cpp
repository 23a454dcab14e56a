#include "caps/reply_builders.h"

#include <windows.h>

#include "caps/containers.h"
#include "source/manager_memory.h"

namespace {

// Puts a container into the reply block: a new block of the application's
// memory, or for MSG_SET the application's own global block when the
// container fits in it.
template <typename Write>
TW_UINT16 FillContainer(TW_CAPABILITY& capability, TW_UINT16 container, size_t blockSize,
                        TW_UINT16 message, Write write)
{
    if (message == MSG_SET) {
        HGLOBAL block = capability.hContainer;
        void* data = block != nullptr ? GlobalLock(block) : nullptr;
        if (data != nullptr) {
            if (write(data, GlobalSize(block))) {
                capability.ConType = container;
            }
            GlobalUnlock(block);
        }
        return TWCC_SUCCESS;
    }
    TW_HANDLE block = AllocateAppMemory(static_cast<TW_UINT32>(blockSize));
    capability.hContainer = block;
    if (block == nullptr) {
        return TWCC_LOWMEMORY;
    }
    capability.ConType = container;
    void* data = LockAppMemory(block);
    if (data != nullptr) {
        write(data, blockSize);
        UnlockAppMemory(block);
    }
    return TWCC_SUCCESS;
}

}  // namespace

TW_UINT16 BuildOneValue(TW_CAPABILITY& capability, TW_UINT16 itemType, TW_UINT32 item,
                        TW_UINT16 message)
{
    return FillContainer(
        capability, TWON_ONEVALUE, ContainerBlockSize(TWON_ONEVALUE, 0, itemType), message,
        [&](void* block, size_t size) { return WriteOneValue(block, size, itemType, item); });
}

TW_UINT16 BuildEnumeration(TW_CAPABILITY& capability, TW_UINT16 itemType, TW_UINT32 numItems,
                           TW_UINT32 currentIndex, TW_UINT32 defaultIndex, const TW_UINT32* items,
                           TW_UINT16 message)
{
    return FillContainer(capability, TWON_ENUMERATION,
                         ContainerBlockSize(TWON_ENUMERATION, numItems, itemType), message,
                         [&](void* block, size_t size) {
                             return WriteEnumeration(block, size, itemType, numItems, currentIndex,
                                                     defaultIndex, items);
                         });
}

TW_UINT16 BuildArray(TW_CAPABILITY& capability, TW_UINT16 itemType, TW_UINT32 numItems,
                     const TW_UINT32* items, TW_UINT16 message)
{
    return FillContainer(capability, TWON_ARRAY, ContainerBlockSize(TWON_ARRAY, numItems, itemType),
                         message, [&](void* block, size_t size) {
                             return WriteArray(block, size, itemType, numItems, items);
                         });
}

TW_UINT16 BuildRange(TW_CAPABILITY& capability, TW_UINT16 itemType, TW_UINT32 minValue,
                     TW_UINT32 maxValue, TW_UINT32 stepSize, TW_UINT32 defaultValue,
                     TW_UINT32 currentValue, TW_UINT16 message)
{
    return FillContainer(capability, TWON_RANGE, ContainerBlockSize(TWON_RANGE, 0, itemType),
                         message, [&](void* block, size_t size) {
                             return WriteRange(block, size, itemType, minValue, maxValue, stepSize,
                                               defaultValue, currentValue);
                         });
}
