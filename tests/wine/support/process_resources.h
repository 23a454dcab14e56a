// What this process holds of the system: GDI and USER objects, kernel
// handles and private bytes. Where the system's own count answers 0, as
// Wine's GetGuiResources and GetProcessHandleCount do, the objects are
// counted by probing every handle value they can have.
#pragma once

#include <windows.h>

struct ProcessResources {
    long gdiObjects;
    // Windows and menus (probing finds no other USER objects).
    long userObjects;
    long kernelHandles;
    SIZE_T privateBytes;
};

long CountGdiObjects();
long CountUserObjects();
long CountKernelHandles();
// Committed private memory: the process's private usage, or the sum of its
// committed private regions.
SIZE_T CountPrivateBytes();

ProcessResources MeasureProcessResources();
