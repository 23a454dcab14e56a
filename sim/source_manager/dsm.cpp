// Stand-in TWAIN Source Manager: TWAIN_32.DLL, a TWAIN 1.x manager, in
// 32-bit; TWAINDSM.DLL, a TWAIN 2 manager, in 64-bit, and in 32-bit too for
// the tests of TWAIN 2 sessions. It finds the data sources installed under
// <Windows>\TWAIN_32\<folder>\*.ds (twain_64 in 64-bit), opens one by
// product name, passes every other triplet to the open
// source, and hands a source's DAT_NULL
// notifications to the application in TWAIN 1.x fashion: each one posts a
// WM_NULL to the application's window (or thread), which wakes up a loop
// waiting in GetMessage, and the MSG_PROCESSEVENT of that WM_NULL returns the
// notification in TWMessage with TWRC_DSEVENT, in the order they were sent.
// Like the standard's Source Manager it refuses, with TWCC_SEQERROR, a second
// open by the same application and a close while that application still has
// a source open, and with TWCC_BADDEST a triplet for a source that the
// application has not opened. As the TWAIN 2 manager, it marks the
// application's identity with DF_DSM2 at its open, and gives a source that
// names DF_DS2 its entry points (DAT_ENTRYPOINT) before opening it: its own
// DSM_Entry and memory functions over moveable global memory.
#include <windows.h>

#include <cstring>
#include <deque>
#include <string>
#include <vector>

#include "runtime/module_runtime.h"
#include "source/text.h"
#include "source/twain.h"

extern "C" TW_UINT16 WINAPI DSM_Entry(pTW_IDENTITY pOrigin, pTW_IDENTITY pDest, TW_UINT32 DG,
                                      TW_UINT16 DAT, TW_UINT16 MSG, TW_MEMREF pData);

namespace {

const bool kTwain2Manager = TWAIN2_MANAGER != 0;
const char* const kSourcesFolder = sizeof(void*) == 8 ? "\\twain_64\\" : "\\TWAIN_32\\";

struct Application {
    TW_UINT32 id;
    HWND window;
    std::deque<TW_UINT16> pendingMessages;
};

struct OpenSource {
    TW_IDENTITY identity;
    TW_UINT32 applicationId;
    HMODULE module;
    DSENTRYPROC entry;
};

std::vector<Application> g_applications;
std::vector<OpenSource> g_openSources;
std::vector<std::string> g_sourcePaths;
size_t g_nextListed = 0;
TW_UINT32 g_lastId = 0;
TW_UINT16 g_conditionCode = TWCC_SUCCESS;

Application* FindApplication(const TW_IDENTITY* identity)
{
    if (identity == nullptr) {
        return nullptr;
    }
    for (Application& application : g_applications) {
        if (application.id == identity->Id) {
            return &application;
        }
    }
    return nullptr;
}

OpenSource* FindOpenSource(TW_UINT32 id)
{
    for (OpenSource& source : g_openSources) {
        if (source.identity.Id == id) {
            return &source;
        }
    }
    return nullptr;
}

TW_UINT16 Fail(TW_UINT16 conditionCode)
{
    g_conditionCode = conditionCode;
    return TWRC_FAILURE;
}

std::vector<std::string> FindInstalledSources()
{
    char windowsDirectory[MAX_PATH] = "";
    GetWindowsDirectoryA(windowsDirectory, sizeof windowsDirectory);
    std::string root = std::string(windowsDirectory) + kSourcesFolder;
    std::vector<std::string> paths;
    WIN32_FIND_DATAA folder;
    HANDLE folders = FindFirstFileA((root + "*").c_str(), &folder);
    if (folders == INVALID_HANDLE_VALUE) {
        return paths;
    }
    do {
        if (!(folder.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || folder.cFileName[0] == '.') {
            continue;
        }
        std::string directory = root + folder.cFileName + "\\";
        WIN32_FIND_DATAA file;
        HANDLE files = FindFirstFileA((directory + "*.ds").c_str(), &file);
        if (files == INVALID_HANDLE_VALUE) {
            continue;
        }
        do {
            paths.push_back(directory + file.cFileName);
        } while (FindNextFileA(files, &file));
        FindClose(files);
    } while (FindNextFileA(folders, &folder));
    FindClose(folders);
    return paths;
}

// Loads a source with its own folder first in the search for the libraries it imports.
HMODULE LoadSource(const std::string& path, DSENTRYPROC* entry)
{
    HMODULE module = LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (module == nullptr) {
        return nullptr;
    }
    *entry =
        reinterpret_cast<DSENTRYPROC>(reinterpret_cast<void*>(GetProcAddress(module, "DS_Entry")));
    if (*entry == nullptr) {
        FreeLibrary(module);
        return nullptr;
    }
    return module;
}

bool ReadSourceIdentity(const std::string& path, TW_IDENTITY* application, TW_IDENTITY* identity)
{
    DSENTRYPROC entry = nullptr;
    HMODULE module = LoadSource(path, &entry);
    if (module == nullptr) {
        return false;
    }
    TW_UINT16 rc = entry(application, DG_CONTROL, DAT_IDENTITY, MSG_GET, identity);
    FreeLibrary(module);
    return rc == TWRC_SUCCESS;
}

// Reports the next installed source whose identity can be read.
TW_UINT16 ListNextSource(TW_IDENTITY* application, TW_IDENTITY* identity)
{
    while (g_nextListed < g_sourcePaths.size()) {
        const std::string& path = g_sourcePaths[g_nextListed++];
        if (ReadSourceIdentity(path, application, identity)) {
            return TWRC_SUCCESS;
        }
    }
    return TWRC_ENDOFLIST;
}

// The installed source whose product name matches, or the first one for an empty name.
bool FindSourceByName(TW_IDENTITY* application, const char* productName, std::string* path,
                      TW_IDENTITY* identity)
{
    for (const std::string& candidate : FindInstalledSources()) {
        if (ReadSourceIdentity(candidate, application, identity) &&
            (productName[0] == '\0' || strcmp(identity->ProductName, productName) == 0)) {
            *path = candidate;
            return true;
        }
    }
    return false;
}

TW_HANDLE WINAPI MemAllocate(TW_UINT32 size)
{
    return GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
}

void WINAPI MemFree(TW_HANDLE block)
{
    GlobalFree(block);
}

TW_MEMREF WINAPI MemLock(TW_HANDLE block)
{
    return GlobalLock(block);
}

void WINAPI MemUnlock(TW_HANDLE block)
{
    GlobalUnlock(block);
}

TW_ENTRYPOINT g_entryPoints = {
    sizeof(TW_ENTRYPOINT), DSM_Entry, MemAllocate, MemFree, MemLock, MemUnlock};

// The TWAIN 2 manager's DAT_ENTRYPOINT to a loaded source that asks for it.
bool GiveEntryPoints(const OpenSource& source, TW_IDENTITY* origin, const TW_IDENTITY& identity)
{
    if (!kTwain2Manager || (identity.SupportedGroups & DF_DS2) == 0) {
        return true;
    }
    return source.entry(origin, DG_CONTROL, DAT_ENTRYPOINT, MSG_SET, &g_entryPoints) ==
           TWRC_SUCCESS;
}

TW_UINT16 OpenDataSource(TW_IDENTITY* origin, TW_IDENTITY* requested)
{
    char productName[sizeof requested->ProductName];
    CopyText(productName, requested->ProductName);
    std::string path;
    TW_IDENTITY identity = {};
    if (!FindSourceByName(origin, productName, &path, &identity)) {
        return Fail(TWCC_NODS);
    }
    OpenSource source = {};
    source.module = LoadSource(path, &source.entry);
    if (source.module == nullptr) {
        return Fail(TWCC_NODS);
    }
    identity.Id = ++g_lastId;
    if (!GiveEntryPoints(source, origin, identity) ||
        source.entry(origin, DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, &identity) != TWRC_SUCCESS) {
        FreeLibrary(source.module);
        return Fail(TWCC_OPERATIONERROR);
    }
    source.identity = identity;
    source.applicationId = origin->Id;
    g_openSources.push_back(source);
    *requested = identity;
    return TWRC_SUCCESS;
}

TW_UINT16 CloseDataSource(TW_IDENTITY* origin, TW_IDENTITY* identity)
{
    OpenSource* source = FindOpenSource(identity->Id);
    if (source == nullptr || source->applicationId != origin->Id) {
        return Fail(TWCC_BADDEST);
    }
    TW_UINT16 rc = source->entry(origin, DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, identity);
    if (rc != TWRC_SUCCESS) {
        return rc;
    }
    FreeLibrary(source->module);
    g_openSources.erase(g_openSources.begin() + (source - g_openSources.data()));
    // Notifications of the closed source are void.
    Application* application = FindApplication(origin);
    if (application != nullptr) {
        application->pendingMessages.clear();
    }
    return TWRC_SUCCESS;
}

TW_UINT16 OpenManager(TW_IDENTITY* origin, TW_MEMREF pData)
{
    if (FindApplication(origin) != nullptr) {
        return Fail(TWCC_SEQERROR);
    }
    Application application;
    application.id = ++g_lastId;
    application.window = pData != nullptr ? *static_cast<HWND*>(pData) : nullptr;
    g_applications.push_back(application);
    origin->Id = application.id;
    if (kTwain2Manager) {
        origin->SupportedGroups |= DF_DSM2;
    }
    return TWRC_SUCCESS;
}

// An application closes its sources before it closes the manager.
TW_UINT16 CloseManager(TW_IDENTITY* origin)
{
    for (const OpenSource& source : g_openSources) {
        if (source.applicationId == origin->Id) {
            return Fail(TWCC_SEQERROR);
        }
    }
    for (size_t i = 0; i < g_applications.size(); ++i) {
        if (g_applications[i].id == origin->Id) {
            g_applications.erase(g_applications.begin() + i);
            return TWRC_SUCCESS;
        }
    }
    return Fail(TWCC_SEQERROR);
}

// Triplets addressed to the Source Manager itself.
TW_UINT16 ManagerTriplet(TW_IDENTITY* origin, TW_UINT16 DAT, TW_UINT16 MSG, TW_MEMREF pData)
{
    if (DAT == DAT_PARENT && MSG == MSG_OPENDSM) {
        return OpenManager(origin, pData);
    }
    if (DAT == DAT_PARENT && MSG == MSG_CLOSEDSM) {
        return CloseManager(origin);
    }
    if (DAT == DAT_STATUS && MSG == MSG_GET && pData != nullptr) {
        TW_STATUS* status = static_cast<TW_STATUS*>(pData);
        status->ConditionCode = g_conditionCode;
        status->Reserved = 0;
        g_conditionCode = TWCC_SUCCESS;
        return TWRC_SUCCESS;
    }
    if (FindApplication(origin) == nullptr) {
        return Fail(TWCC_SEQERROR);
    }
    TW_IDENTITY* identity = static_cast<TW_IDENTITY*>(pData);
    if (DAT != DAT_IDENTITY || identity == nullptr) {
        return Fail(TWCC_BADPROTOCOL);
    }
    switch (MSG) {
    case MSG_GETFIRST:
        g_sourcePaths = FindInstalledSources();
        g_nextListed = 0;
        return ListNextSource(origin, identity);
    case MSG_GETNEXT:
        return ListNextSource(origin, identity);
    case MSG_GETDEFAULT: {
        std::string path;
        return FindSourceByName(origin, "", &path, identity) ? TWRC_SUCCESS : Fail(TWCC_NODS);
    }
    case MSG_OPENDS:
        return OpenDataSource(origin, identity);
    case MSG_CLOSEDS:
        return CloseDataSource(origin, identity);
    default:
        return Fail(TWCC_BADPROTOCOL);
    }
}

// A source's notification: accepted only from an open source for the
// application that opened it.
TW_UINT16 Notification(TW_IDENTITY* origin, TW_IDENTITY* destination, TW_UINT16 MSG)
{
    Application* application = FindApplication(destination);
    OpenSource* source = origin != nullptr ? FindOpenSource(origin->Id) : nullptr;
    if (application == nullptr || source == nullptr || source->applicationId != application->id) {
        return Fail(TWCC_BADPROTOCOL);
    }
    if (MSG != MSG_XFERREADY && MSG != MSG_CLOSEDSREQ) {
        return Fail(TWCC_BADPROTOCOL);
    }
    application->pendingMessages.push_back(MSG);
    // The source sends from within the application's thread.
    if (application->window != nullptr) {
        PostMessageA(application->window, WM_NULL, 0, 0);
    } else {
        PostThreadMessageA(GetCurrentThreadId(), WM_NULL, 0, 0);
    }
    return TWRC_SUCCESS;
}

// Puts the oldest waiting notification into the event of a WM_NULL, the
// message that announced it; other events are left to the source alone.
bool DeliverNotification(Application* application, TW_MEMREF pData)
{
    TW_EVENT* event = static_cast<TW_EVENT*>(pData);
    if (application == nullptr || application->pendingMessages.empty() || event == nullptr ||
        event->pEvent == nullptr || static_cast<MSG*>(event->pEvent)->message != WM_NULL) {
        return false;
    }
    event->TWMessage = application->pendingMessages.front();
    application->pendingMessages.pop_front();
    return true;
}

TW_UINT16 SourceTriplet(TW_IDENTITY* origin, TW_IDENTITY* destination, TW_UINT32 DG, TW_UINT16 DAT,
                        TW_UINT16 MSG, TW_MEMREF pData)
{
    // Only the application that opened a source reaches it.
    OpenSource* source = FindOpenSource(destination->Id);
    if (source == nullptr || source->applicationId != origin->Id) {
        return Fail(TWCC_BADDEST);
    }
    TW_UINT16 rc = source->entry(origin, DG, DAT, MSG, pData);
    if (MSG == MSG_PROCESSEVENT && DeliverNotification(FindApplication(origin), pData)) {
        return TWRC_DSEVENT;
    }
    return rc;
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved)
{
    GiveBackRuntimeAtUnload(reason, reserved);
    return TRUE;
}

extern "C" TW_UINT16 WINAPI DSM_Entry(pTW_IDENTITY pOrigin, pTW_IDENTITY pDest, TW_UINT32 DG,
                                      TW_UINT16 DAT, TW_UINT16 MSG, TW_MEMREF pData)
{
    if (pOrigin == nullptr) {
        return Fail(TWCC_BADPROTOCOL);
    }
    if (DG == DG_CONTROL && DAT == DAT_NULL) {
        return Notification(pOrigin, pDest, MSG);
    }
    if (pDest == nullptr) {
        return DG == DG_CONTROL ? ManagerTriplet(pOrigin, DAT, MSG, pData) : Fail(TWCC_BADPROTOCOL);
    }
    return SourceTriplet(pOrigin, pDest, DG, DAT, MSG, pData);
}
