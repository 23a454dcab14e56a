// The library's two exported entry points: DllMain prepares the identity and
// settings at load and gives back the runtime's memory at unload; DS_Entry
// receives every triplet from the Source Manager.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "caps/capability_file.h"
#include "dispatch.h"
#include "messages.h"
#include "runtime/module_runtime.h"
#include "source_context.h"
#include "text.h"

SourceContext g_source = {};

namespace {

const char kDefaultProductName[] = "Camera";
const char kCompanyKey[] = "Software\\Ardenza ZC600A";

// String table entries loaded into the identity.
const UINT kManufacturerString = 0;
const UINT kProductFamilyString = 1;
const UINT kVersionInfoString = 3;

// A TW_STR32 carries at most 32 characters of text.
const size_t kIdentityTextLength = 32;

void ReadProductName()
{
    HKEY key;
    bool found = false;
    if (RegOpenKeyA(HKEY_LOCAL_MACHINE, g_source.productKeyName, &key) == ERROR_SUCCESS) {
        DWORD type = 0;
        DWORD size = sizeof g_source.productName;
        LONG result = RegQueryValueExA(key, "ProductName", nullptr, &type,
                                       reinterpret_cast<BYTE*>(g_source.productName), &size);
        found = result == ERROR_SUCCESS && (type == REG_SZ || type == REG_EXPAND_SZ);
        RegCloseKey(key);
    }
    if (found) {
        g_source.productName[sizeof g_source.productName - 1] = '\0';
    } else {
        CopyText(g_source.productName, kDefaultProductName);
    }
}

void LoadIdentityString(UINT id, TW_STR32 field)
{
    LoadStringA(g_source.instance, id, field, sizeof(TW_STR32));
}

void FillSourceIdentity()
{
    TW_IDENTITY& identity = g_source.dsIdentity;
    identity.Id = 0;
    identity.Version.MajorNum = 1;
    identity.Version.MinorNum = 0;
    identity.Version.Language = TWLG_ENGLISH_USA;
    identity.Version.Country = TWCY_USA;
    LoadIdentityString(kVersionInfoString, identity.Version.Info);
    identity.ProtocolMajor = 1;
    identity.ProtocolMinor = 8;
    identity.SupportedGroups = DG_CONTROL | DG_IMAGE | DF_DS2;
    LoadIdentityString(kManufacturerString, identity.Manufacturer);
    LoadIdentityString(kProductFamilyString, identity.ProductFamily);
    memset(identity.ProductName, 0, sizeof identity.ProductName);
    CopyText(identity.ProductName, kIdentityTextLength + 1, g_source.productName);
}

TW_UINT16 ProcessEvent(TW_MEMREF pData)
{
    TW_EVENT* event = static_cast<TW_EVENT*>(pData);
    Trace("Process event message at source\r\n");
    if (g_source.albumWindow != nullptr && event != nullptr && event->pEvent != nullptr &&
        IsDialogMessageA(g_source.albumWindow, static_cast<MSG*>(event->pEvent))) {
        Trace("Process event Message directed to data source dialog\r\n");
        event->TWMessage = MSG_NULL;
        return TWRC_DSEVENT;
    }
    Trace("Process event not ds event\r\n");
    return TWRC_NOTDSEVENT;
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    if (instance == nullptr) {
        return FALSE;
    }
    GiveBackRuntimeAtUnload(reason, reserved);
    if (reason != DLL_PROCESS_ATTACH) {
        return TRUE;
    }
    g_source.instance = instance;
    g_source.state = kStateManagerOpen;
    g_source.appIdentity.Id = 0;
    snprintf(g_source.productKeyName, sizeof g_source.productKeyName, "%s\\UCAM", kCompanyKey);
    snprintf(g_source.controlKeyName, sizeof g_source.controlKeyName, "%s\\CONTROL", kCompanyKey);
    ReadProductName();
    CopyText(g_source.baseName, "Tz600a");
    RestoreXferMechAllowed();
    FillSourceIdentity();
    return TRUE;
}

extern "C" TW_UINT16 WINAPI DS_Entry(pTW_IDENTITY pOrigin, TW_UINT32 DG, TW_UINT16 DAT,
                                     TW_UINT16 MSG, TW_MEMREF pData)
{
    // Only the application that opened the source is served.
    if (g_source.appIdentity.Id != 0 &&
        (pOrigin == nullptr || pOrigin->Id != g_source.appIdentity.Id)) {
        return TWRC_FAILURE;
    }
    if (MSG == MSG_PROCESSEVENT) {
        return ProcessEvent(pData);
    }
    if (DG != DG_CONTROL && DAT != DAT_STATUS) {
        g_source.conditionCode = TWCC_SUCCESS;
    }
    const TripletArgs args = {pOrigin, DG, DAT, MSG, pData};
    const DispatchEntry* table = nullptr;
    if (DG == DG_CONTROL) {
        table = ControlDispatch;
    } else if (DG == DG_IMAGE) {
        table = ImageDispatch;
    }
    TripletHandler handler = table != nullptr ? FindHandler(table, DAT) : nullptr;
    if (handler == nullptr) {
        g_source.conditionCode = TWCC_BADPROTOCOL;
        return TWRC_FAILURE;
    }
    return handler(args);
}
