#include "twain_app.h"

#include <cstdio>

#include "source/text.h"

namespace {

const char kWindowClass[] = "AcquireTwainWindow";
// 64-bit applications reach sources through the TWAIN 2 Source Manager;
// 32-bit ones through TWAIN_32.DLL.
const char* const kManagerLibrary = sizeof(void*) == 8 ? "TWAINDSM.DLL" : "TWAIN_32.DLL";

HWND CreateHiddenWindow()
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kWindowClass;
    RegisterClassA(&windowClass);
    return CreateWindowA(kWindowClass, "acquire", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                         nullptr, GetModuleHandleA(nullptr), nullptr);
}

void FillOwnIdentity(TW_IDENTITY& identity)
{
    identity = {};
    identity.Version.MajorNum = 1;
    identity.Version.Language = TWLG_ENGLISH_USA;
    identity.Version.Country = TWCY_USA;
    CopyText(identity.Version.Info, "1.0");
    identity.ProtocolMajor = 2;
    identity.ProtocolMinor = 4;
    // A TWAIN 1.x Source Manager passes over DF_APP2.
    identity.SupportedGroups = DG_CONTROL | DG_IMAGE | DF_APP2;
    CopyText(identity.Manufacturer, "Ardenza");
    CopyText(identity.ProductFamily, "Tools");
    CopyText(identity.ProductName, "acquire");
}

TW_UINT16 CallManager(TwainApp& app, TW_UINT16 DAT, TW_UINT16 MSG, TW_MEMREF pData)
{
    return app.dsmEntry(&app.identity, nullptr, DG_CONTROL, DAT, MSG, pData);
}

}  // namespace

bool OpenSourceManager(TwainApp& app)
{
    return OpenSourceManagerLibrary(app, kManagerLibrary);
}

bool OpenSourceManagerLibrary(TwainApp& app, const char* library)
{
    app = {};
    app.managerModule = LoadLibraryA(library);
    if (app.managerModule == nullptr) {
        fprintf(stderr, "acquire: cannot load %s\n", library);
        return false;
    }
    app.dsmEntry = reinterpret_cast<DSMENTRYPROC>(
        reinterpret_cast<void*>(GetProcAddress(app.managerModule, "DSM_Entry")));
    if (app.dsmEntry == nullptr) {
        fprintf(stderr, "acquire: %s has no DSM_Entry\n", library);
        FreeLibrary(app.managerModule);
        app.managerModule = nullptr;
        return false;
    }
    app.window = CreateHiddenWindow();
    FillOwnIdentity(app.identity);
    if (CallManager(app, DAT_PARENT, MSG_OPENDSM, &app.window) != TWRC_SUCCESS) {
        fprintf(stderr, "acquire: the Source Manager refused to open\n");
        CloseSourceManager(app);
        return false;
    }
    app.managerOpen = true;
    return true;
}

void CloseSourceManager(TwainApp& app)
{
    CloseOpenSource(app);
    if (app.managerOpen) {
        CallManager(app, DAT_PARENT, MSG_CLOSEDSM, &app.window);
        app.managerOpen = false;
    }
    if (app.window != nullptr) {
        DestroyWindow(app.window);
        app.window = nullptr;
    }
    if (app.managerModule != nullptr) {
        FreeLibrary(app.managerModule);
        app.managerModule = nullptr;
    }
}

void ListSources(TwainApp& app)
{
    TW_IDENTITY identity = {};
    TW_UINT16 rc = CallManager(app, DAT_IDENTITY, MSG_GETFIRST, &identity);
    while (rc == TWRC_SUCCESS) {
        printf("Installed source: %s\n", identity.ProductName);
        rc = CallManager(app, DAT_IDENTITY, MSG_GETNEXT, &identity);
    }
}

bool OpenSourceNamed(TwainApp& app, const char* productName)
{
    app.source = {};
    CopyText(app.source.ProductName, productName);
    if (CallManager(app, DAT_IDENTITY, MSG_OPENDS, &app.source) != TWRC_SUCCESS) {
        fprintf(stderr, "acquire: cannot open the source \"%s\" (condition code %u)\n", productName,
                ConditionCode(app));
        return false;
    }
    app.sourceOpen = true;
    return true;
}

bool CloseOpenSource(TwainApp& app)
{
    if (!app.sourceOpen) {
        return true;
    }
    app.sourceOpen = false;
    return CallManager(app, DAT_IDENTITY, MSG_CLOSEDS, &app.source) == TWRC_SUCCESS;
}

bool InTwain2Session(const TwainApp& app)
{
    return app.sourceOpen && (app.identity.SupportedGroups & DF_DSM2) != 0 &&
           (app.source.SupportedGroups & DF_DS2) != 0;
}

TW_UINT16 CallSource(TwainApp& app, TW_UINT32 DG, TW_UINT16 DAT, TW_UINT16 MSG, TW_MEMREF pData)
{
    return app.dsmEntry(&app.identity, &app.source, DG, DAT, MSG, pData);
}

TW_UINT16 ConditionCode(TwainApp& app)
{
    TW_STATUS status = {};
    TW_IDENTITY* destination = app.sourceOpen ? &app.source : nullptr;
    app.dsmEntry(&app.identity, destination, DG_CONTROL, DAT_STATUS, MSG_GET, &status);
    return status.ConditionCode;
}

void PrintIdentity(const TW_IDENTITY& identity)
{
    printf("Source identity\n");
    printf("  Id:               %lu\n", static_cast<unsigned long>(identity.Id));
    printf("  Product name:     %s\n", identity.ProductName);
    printf("  Product family:   %s\n", identity.ProductFamily);
    printf("  Manufacturer:     %s\n", identity.Manufacturer);
    printf("  Version:          %u.%u (%s), language %u, country %u\n", identity.Version.MajorNum,
           identity.Version.MinorNum, identity.Version.Info, identity.Version.Language,
           identity.Version.Country);
    printf("  Protocol:         %u.%u\n", identity.ProtocolMajor, identity.ProtocolMinor);
    printf("  Supported groups: 0x%lx\n", static_cast<unsigned long>(identity.SupportedGroups));
}
