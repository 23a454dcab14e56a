// The installed data source, loaded straight into the test process so that
// tests can call its entry points without a Source Manager in between.
#pragma once

#include <windows.h>

#include <string>

#include "source/twain.h"

class SourceModule {
public:
    SourceModule();
    ~SourceModule();
    SourceModule(const SourceModule&) = delete;
    SourceModule& operator=(const SourceModule&) = delete;

    bool Loaded() const { return module_ != nullptr && entry_ != nullptr; }
    HMODULE Module() const { return module_; }

    // A triplet from the given application (a zero Id by default).
    TW_UINT16 Call(TW_UINT32 DG, TW_UINT16 DAT, TW_UINT16 MSG, TW_MEMREF pData);
    TW_UINT16 CallFrom(TW_IDENTITY* origin, TW_UINT32 DG, TW_UINT16 DAT, TW_UINT16 MSG,
                       TW_MEMREF pData);

    // DAT_STATUS / MSG_GET, which also clears the source's condition code.
    TW_UINT16 ConditionCode();

    TW_IDENTITY application;

private:
    HMODULE module_;
    DSENTRYPROC entry_;
};
