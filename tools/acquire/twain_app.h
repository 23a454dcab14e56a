// The application side of TWAIN: the Source Manager, our identity, and the
// source that acquire has open.
#pragma once

#include <windows.h>

#include "source/twain.h"

struct TwainApp {
    HMODULE managerModule;
    DSMENTRYPROC dsmEntry;
    HWND window;
    TW_IDENTITY identity;
    TW_IDENTITY source;
    bool managerOpen;
    bool sourceOpen;
};

// Loads the Source Manager (TWAIN_32.DLL; TWAINDSM.DLL in 64-bit) and opens the Source Manager for a hidden window of ours.
bool OpenSourceManager(TwainApp& app);
void CloseSourceManager(TwainApp& app);

// Prints the product names of the installed sources, one a line.
void ListSources(TwainApp& app);

// Opens the source whose product name is given.
bool OpenSourceNamed(TwainApp& app, const char* productName);
// Closes the open source, if any; false if the source refused.
bool CloseOpenSource(TwainApp& app);

// A triplet for the open source.
TW_UINT16 CallSource(TwainApp& app, TW_UINT32 DG, TW_UINT16 DAT, TW_UINT16 MSG, TW_MEMREF pData);

// The condition code of the last failure, from the source (or the manager
// when no source is open).
TW_UINT16 ConditionCode(TwainApp& app);

void PrintIdentity(const TW_IDENTITY& identity);
