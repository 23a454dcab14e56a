#include "source_module.h"

#include "prefix_files.h"

SourceModule::SourceModule()
    : application(), module_(LoadLibraryExA(InstalledSourcePath().c_str(), nullptr,
                                            LOAD_WITH_ALTERED_SEARCH_PATH)),
      entry_(nullptr)
{
    if (module_ != nullptr) {
        entry_ = reinterpret_cast<DSENTRYPROC>(
            reinterpret_cast<void*>(GetProcAddress(module_, "DS_Entry")));
    }
}

SourceModule::~SourceModule()
{
    if (module_ != nullptr) {
        FreeLibrary(module_);
    }
}

TW_UINT16 SourceModule::Call(TW_UINT32 DG, TW_UINT16 DAT, TW_UINT16 MSG, TW_MEMREF pData)
{
    return CallFrom(&application, DG, DAT, MSG, pData);
}

TW_UINT16 SourceModule::CallFrom(TW_IDENTITY* origin, TW_UINT32 DG, TW_UINT16 DAT, TW_UINT16 MSG,
                                 TW_MEMREF pData)
{
    return entry_(origin, DG, DAT, MSG, pData);
}

TW_UINT16 SourceModule::ConditionCode()
{
    TW_STATUS status = {0xEEEE, 0xEEEE};
    Call(DG_CONTROL, DAT_STATUS, MSG_GET, &status);
    return status.ConditionCode;
}
