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

// Loads the Source Manager (TWAIN_32.DLL; TWAINDSM.DLL in 64-bit) and opens
// it for a hidden window of ours, as a TWAIN 2 application.
bool OpenSourceManager(TwainApp& app);
// The same with the named Source Manager library.
bool OpenSourceManagerLibrary(TwainApp& app, const char* library);
void CloseSourceManager(TwainApp& app);

// Prints the product names of the installed sources, one a line.
void ListSources(TwainApp& app);

// Opens the source whose product name is given.
bool OpenSourceNamed(TwainApp& app, const char* productName);
// Closes the open source, if any; false if the source refused.
bool CloseOpenSource(TwainApp& app);

// A TWAIN 2 session: the Source Manager is a TWAIN 2 one (it marked our
// identity with DF_DSM2 at its open) and the open source takes its entry
// points (DF_DS2).
bool InTwain2Session(const TwainApp& app);

// A triplet for the open source.
TW_UINT16 CallSource(TwainApp& app, TW_UINT32 DG, TW_UINT16 DAT, TW_UINT16 MSG, TW_MEMREF pData);

// The condition code of the last failure, from the source (or the manager
// when no source is open).
TW_UINT16 ConditionCode(TwainApp& app);

void PrintIdentity(const TW_IDENTITY& identity);
