// Session triplets: identity, open and close, the album window's enable and
// disable, and the condition code report.
#include <windows.h>

#include <commctrl.h>

#include <cstring>
#include <vector>

#include "album/album_window.h"
#include "condition_text.h"
#include "handlers.h"
#include "manager_memory.h"
#include "messages.h"
#include "source_context.h"
#include "transfers.h"

namespace {

const char kOpenFailure[] = "General failure in response to MSG_OPENDS.  ";
const char kCloseFailure[] = "General failure in response to MSG_CLOSEDS.  ";
const char kIdentityFailure[] = "General failure in response to DAT_IDENTITY.  ";
const char kEnableFailure[] = "General failure in response to MSG_ENABLEDS.  ";
const char kDisableFailure[] = "General failure in response to MSG_DISABLEDS.  ";
const char kUserInterfaceFailure[] = "General failure in response to DAT_USERINTERFACE.  ";
const char kStatusFailure[] = "General failure in response to DAT_STATUS.  ";
const char kEntryPointFailure[] = "General failure in response to DAT_ENTRYPOINT.  ";
const char kStatusUtf8Failure[] = "General failure in response to DAT_STATUSUTF8.  ";

// Album windows of earlier enables that a later MSG_ENABLEDS replaced without
// destroying them; MSG_CLOSEDS destroys them with the current one.
std::vector<HWND> g_replacedAlbumWindows;

TW_UINT16 OpenSource(const TripletArgs& args)
{
    OFSTRUCT info;
    OpenFile("c:\\tz600a.log", &info, OF_DELETE);
    if (!Accepted(args)) {
        return Refuse(TWCC_SEQERROR, kOpenFailure);
    }
    if (args.pOrigin == nullptr || args.pData == nullptr) {
        return Refuse(TWCC_BADVALUE, kOpenFailure);
    }
    g_source.appIdentity = *args.pOrigin;
    g_source.dsIdentity = *static_cast<const TW_IDENTITY*>(args.pData);
    g_source.state = kStateSourceOpen;
    return TWRC_SUCCESS;
}

void DestroyAlbumWindows()
{
    for (HWND window : g_replacedAlbumWindows) {
        DestroyWindow(window);
    }
    g_replacedAlbumWindows.clear();
    if (g_source.albumWindow != nullptr) {
        DestroyWindow(g_source.albumWindow);
        g_source.albumWindow = nullptr;
    }
}

TW_UINT16 CloseSource(const TripletArgs& args)
{
    // A close from inside one of our message boxes would let the Source
    // Manager unload the library while the box still returns into it.
    if (!Accepted(args) || MessageBoxUp()) {
        return Refuse(TWCC_SEQERROR, kCloseFailure);
    }
    g_source.appIdentity.Id = 0;
    ForgetManagerEntryPoints();
    DestroyAlbumWindows();
    ResetMemXferCursor();
    g_source.state = kStateManagerOpen;
    return TWRC_SUCCESS;
}

HWND CreateAlbumWindow()
{
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    return CreateDialogParamA(g_source.instance, "TW_SOURCE_DIALOG", nullptr, AlbumWindowProc, 0);
}

TW_UINT16 EnableSource(const TripletArgs& args)
{
    if (!Accepted(args)) {
        return Refuse(TWCC_SEQERROR, kEnableFailure);
    }
    const TW_USERINTERFACE* ui = static_cast<const TW_USERINTERFACE*>(args.pData);
    if (ui == nullptr) {
        return Refuse(TWCC_BADVALUE, kEnableFailure);
    }
    g_source.appWindow = static_cast<HWND>(ui->hParent);
    HWND album = CreateAlbumWindow();
    if (album == nullptr) {
        return Refuse(TWCC_LOWMEMORY, kEnableFailure);
    }
    // The window of an earlier enable stays as the disable left it.
    if (g_source.albumWindow != nullptr) {
        g_replacedAlbumWindows.push_back(g_source.albumWindow);
    }
    g_source.albumWindow = album;
    if (ui->ShowUI) {
        ShowWindow(g_source.albumWindow, SW_SHOW);
    }
    g_source.state = kStateSourceEnabled;
    return TWRC_SUCCESS;
}

TW_UINT16 DisableSource(const TripletArgs& args)
{
    if (!Accepted(args)) {
        return Refuse(TWCC_SEQERROR, kDisableFailure);
    }
    const TW_USERINTERFACE* ui = static_cast<const TW_USERINTERFACE*>(args.pData);
    if (ui == nullptr) {
        return Refuse(TWCC_BADVALUE, kDisableFailure);
    }
    if (!ui->ShowUI) {
        ShowWindow(g_source.albumWindow, SW_HIDE);
    }
    ResetMemXferCursor();
    g_source.state = kStateSourceOpen;
    return TWRC_SUCCESS;
}

}  // namespace

TW_UINT16 IdentityHandler(const TripletArgs& args)
{
    switch (args.MSG) {
    case MSG_GET:
        if (args.pData == nullptr) {
            return Refuse(TWCC_BADVALUE, kIdentityFailure);
        }
        *static_cast<TW_IDENTITY*>(args.pData) = g_source.dsIdentity;
        return TWRC_SUCCESS;
    case MSG_OPENDS:
        return OpenSource(args);
    case MSG_CLOSEDS:
        return CloseSource(args);
    default:
        return Refuse(TWCC_BADPROTOCOL, kIdentityFailure);
    }
}

TW_UINT16 UserInterfaceHandler(const TripletArgs& args)
{
    switch (args.MSG) {
    case MSG_ENABLEDS:
        return EnableSource(args);
    case MSG_DISABLEDS:
        return DisableSource(args);
    default:
        return Refuse(TWCC_BADPROTOCOL, kUserInterfaceFailure);
    }
}

TW_UINT16 EntryPointHandler(const TripletArgs& args)
{
    if (args.MSG != MSG_SET) {
        return Refuse(TWCC_BADPROTOCOL, kEntryPointFailure);
    }
    if (!Accepted(args)) {
        return Refuse(TWCC_SEQERROR, kEntryPointFailure);
    }
    if (!KeepManagerEntryPoints(static_cast<const TW_ENTRYPOINT*>(args.pData))) {
        return Refuse(TWCC_BADVALUE, kEntryPointFailure);
    }
    return TWRC_SUCCESS;
}

TW_UINT16 StatusHandler(const TripletArgs& args)
{
    if (args.MSG != MSG_GET) {
        return Refuse(TWCC_BADPROTOCOL, kStatusFailure);
    }
    if (args.pData == nullptr) {
        return Refuse(TWCC_BADVALUE, kStatusFailure);
    }
    TW_STATUS* status = static_cast<TW_STATUS*>(args.pData);
    status->ConditionCode = g_source.conditionCode;
    status->Reserved = 0;
    g_source.conditionCode = TWCC_SUCCESS;
    return TWRC_SUCCESS;
}

TW_UINT16 StatusUtf8Handler(const TripletArgs& args)
{
    // Only a TWAIN 2 Source Manager's memory can carry the text; without it
    // the triplet is unknown to the source.
    if (!Twain2Session()) {
        g_source.conditionCode = TWCC_BADPROTOCOL;
        return TWRC_FAILURE;
    }
    if (args.MSG != MSG_GET) {
        return Refuse(TWCC_BADPROTOCOL, kStatusUtf8Failure);
    }
    TW_STATUSUTF8* status = static_cast<TW_STATUSUTF8*>(args.pData);
    if (status == nullptr) {
        return Refuse(TWCC_BADVALUE, kStatusUtf8Failure);
    }
    const char* text = ConditionText(status->Status.ConditionCode);
    const TW_UINT32 length = static_cast<TW_UINT32>(strlen(text));
    TW_HANDLE block = AllocateAppMemory(length + 1);
    char* bytes = block != nullptr ? static_cast<char*>(LockAppMemory(block)) : nullptr;
    if (bytes == nullptr) {
        if (block != nullptr) {
            FreeAppMemory(block);
        }
        return Refuse(TWCC_LOWMEMORY, kStatusUtf8Failure);
    }
    memcpy(bytes, text, length + 1);
    UnlockAppMemory(block);
    status->Size = length;
    status->UTF8string = block;
    return TWRC_SUCCESS;
}
