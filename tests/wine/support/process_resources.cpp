#include "process_resources.h"

#include <psapi.h>

namespace {

// GDI handles carry their table index in the low 16 bits; a handle value
// of the index alone finds the object.
const UINT_PTR kGdiHandleLimit = 0x10000;
// USER handles: even values from 0x20 below 0xFFF0 in the low 16 bits.
const UINT_PTR kFirstUserHandle = 0x20;
const UINT_PTR kUserHandleLimit = 0xFFF0;
// Kernel handles are multiples of 4.
const UINT_PTR kKernelHandleLimit = 0x10000;

bool IsOurWindow(HWND window)
{
    DWORD process = 0;
    return IsWindow(window) && GetWindowThreadProcessId(window, &process) &&
           process == GetCurrentProcessId();
}

}  // namespace

long CountGdiObjects()
{
    const DWORD reported = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (reported != 0) {
        return static_cast<long>(reported);
    }
    long found = 0;
    for (UINT_PTR value = 1; value < kGdiHandleLimit; ++value) {
        found += GetObjectType(reinterpret_cast<HGDIOBJ>(value)) != 0;
    }
    return found;
}

long CountUserObjects()
{
    const DWORD reported = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    if (reported != 0) {
        return static_cast<long>(reported);
    }
    long found = 0;
    for (UINT_PTR value = kFirstUserHandle; value < kUserHandleLimit; value += 2) {
        found +=
            IsOurWindow(reinterpret_cast<HWND>(value)) || IsMenu(reinterpret_cast<HMENU>(value));
    }
    return found;
}

long CountKernelHandles()
{
    DWORD reported = 0;
    if (GetProcessHandleCount(GetCurrentProcess(), &reported) && reported != 0) {
        return static_cast<long>(reported);
    }
    long found = 0;
    for (UINT_PTR value = 4; value < kKernelHandleLimit; value += 4) {
        DWORD flags = 0;
        found += GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags) != 0;
    }
    return found;
}

SIZE_T CountPrivateBytes()
{
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof counters;
    if (GetProcessMemoryInfo(GetCurrentProcess(),
                             reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                             sizeof counters) &&
        counters.PrivateUsage != 0) {
        return counters.PrivateUsage;
    }
    SIZE_T committed = 0;
    MEMORY_BASIC_INFORMATION region;
    for (const char* address = nullptr;
         VirtualQuery(address, &region, sizeof region) == sizeof region;
         address = static_cast<const char*>(region.BaseAddress) + region.RegionSize) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) {
            committed += region.RegionSize;
        }
    }
    return committed;
}

ProcessResources MeasureProcessResources()
{
    return {CountGdiObjects(), CountUserObjects(), CountKernelHandles(), CountPrivateBytes()};
}
