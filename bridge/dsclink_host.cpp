// DscLinkHost.exe: the 32-bit process in which 64-bit applications use the
// camera maker's 32-bit DSCLINK.dll. The camera library bridge, the
// DSCLINK.dll of 64-bit processes, starts it with four inherited handles on
// its command line: the pipe it reads calls from, the pipe it writes answers
// to, the bridge's wake event, and the bridge's own process. It serves that
// one process, one call at a time on its main thread, and ends when the
// bridge closes its pipe or the bridge's process ends.
#include <objbase.h>
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "album/dsclink.h"
#include "bridge/bridge_messages.h"
#include "bridge/message_pipe.h"

namespace {

const int kCallFailed = 1;

// Exit codes: the bridge's pipe was closed or broken, the command line named
// no handles, the library was not found, the bridge's process ended.
const UINT kBridgeGone = 0;
const UINT kNoHandles = 2;
const UINT kNoLibrary = 3;
const UINT kParentEnded = 4;

// Progress calls are carried in batches: one message for each call would
// cost a round trip between the processes, thousands of times a read-out.
// A batch goes when it is full or this long after the last one, which keeps
// a progress bar moving and tells the bridge that the host is alive.
const size_t kBatchCalls = kMaxProgressCalls;
const DWORD kBatchInterval = 50;

struct CameraLibrary {
    HMODULE module;
    decltype(&Load_IniFile) loadIniFile;
    decltype(&GetFDBCount) getFdbCount;
    decltype(&GetFDBContext) getFdbContext;
    decltype(&Upload_DOSFAT_Object) upload;
    decltype(&DeleteFDBObject) deleteFdbObject;
    decltype(&Capture_DOSFAT_DSC) capture;
    decltype(&CheckFWIdle) checkFwIdle;
    decltype(&VendorCommandBulkWrite) vendorWrite;
    decltype(&VendorCommandBulkWrite64) vendorWrite64;
};

struct BridgeLink {
    MessageReader calls;
    HANDLE answers;
    HANDLE wake;
    HANDLE parent;
};

BridgeLink g_bridge = {};
std::vector<ProgressCall> g_batch;
DWORD g_lastBatch = 0;

// The four handle values after the program's name.
bool ReadCommandLine(BridgeLink& link)
{
    const char* text = GetCommandLineA();
    if (*text == '"') {
        text = strchr(text + 1, '"');
        text = text != nullptr ? text + 1 : "";
    } else {
        text += strcspn(text, " \t");
    }
    HANDLE* handles[] = {&link.calls.pipe, &link.answers, &link.wake, &link.parent};
    for (HANDLE* handle : handles) {
        char* end = nullptr;
        const unsigned long long value = strtoull(text, &end, 10);
        if (end == text || value == 0) {
            return false;
        }
        *handle = reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(value));
        text = end;
    }
    return true;
}

DWORD WINAPI EndWithParent(LPVOID)
{
    WaitForSingleObject(g_bridge.parent, INFINITE);
    TerminateProcess(GetCurrentProcess(), kParentEnded);
    return 0;
}

// The host cannot go on once the bridge no longer reads: it ends at once,
// even inside a call of the library.
void Answer(const std::vector<unsigned char>& message)
{
    if (!WriteMessage(g_bridge.answers, g_bridge.wake, message)) {
        TerminateProcess(GetCurrentProcess(), kBridgeGone);
    }
}

void SendBatch()
{
    if (!g_batch.empty()) {
        Answer(EncodeProgress(g_batch));
        g_batch.clear();
    }
    g_lastBatch = GetTickCount();
}

// The library is told 0, what the source's own callback always answers:
// the caller's callback runs later, in its own process, so its answer
// cannot reach the library in time, and the bridge drops it.
int __cdecl RelayProgress(unsigned long done, unsigned long total, unsigned long bytes)
{
    g_batch.push_back({{done, total, bytes}});
    if (g_batch.size() >= kBatchCalls || GetTickCount() - g_lastBatch >= kBatchInterval) {
        SendBatch();
    }
    return 0;
}

// The maker's library as a 32-bit program finds it: in the system folder
// (SysWOW64 on 64-bit Windows), then in the Windows folder. Neither the
// current folder nor the search path is looked in.
HMODULE LoadMakersLibrary()
{
    char folder[MAX_PATH];
    UINT(WINAPI* const folders[])(char*, UINT) = {GetSystemDirectoryA, GetWindowsDirectoryA};
    for (auto find : folders) {
        const UINT length = find(folder, MAX_PATH);
        if (length == 0 || length >= MAX_PATH) {
            continue;
        }
        const std::string path = std::string(folder) + "\\DSCLINK.dll";
        if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
            continue;
        }
        HMODULE module = LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
        if (module != nullptr) {
            return module;
        }
    }
    return nullptr;
}

template <typename Function>
bool Find(HMODULE module, const char* name, Function& function)
{
    function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    return function != nullptr;
}

LibraryState LoadLibraryFunctions(CameraLibrary& library)
{
    library.module = LoadMakersLibrary();
    if (library.module == nullptr) {
        return LibraryState::Missing;
    }
    HMODULE module = library.module;
    const bool complete = Find(module, "Load_IniFile", library.loadIniFile) &&
                          Find(module, "GetFDBCount", library.getFdbCount) &&
                          Find(module, "GetFDBContext", library.getFdbContext) &&
                          Find(module, "Upload_DOSFAT_Object", library.upload) &&
                          Find(module, "DeleteFDBObject", library.deleteFdbObject) &&
                          Find(module, "Capture_DOSFAT_DSC", library.capture) &&
                          Find(module, "CheckFWIdle", library.checkFwIdle) &&
                          Find(module, "VendorCommandBulkWrite", library.vendorWrite) &&
                          Find(module, "VendorCommandBulkWrite64", library.vendorWrite64);
    return complete ? LibraryState::Loaded : LibraryState::Incomplete;
}

bool Null(const CallMessage& call, uint16_t argument)
{
    return (call.nullArguments & argument) != 0;
}

char* Text(CallMessage& call)
{
    return Null(call, kNullText) ? nullptr : &call.text[0];
}

unsigned char* Data(CallMessage& call)
{
    return Null(call, kNullData) ? nullptr : call.data.data();
}

int Upload(const CameraLibrary& library, CallMessage& call)
{
    // The records in a zero-filled buffer with the slack the source gives.
    if (!Null(call, kNullData)) {
        call.data.resize(call.data.size() + kFdbContextSlack, 0);
    }
    const int result =
        library.upload(static_cast<int>(call.numbers[0]), Data(call), Text(call),
                       static_cast<int>(call.numbers[1]), static_cast<int>(call.numbers[2]),
                       Null(call, kNullProgress) ? nullptr : RelayProgress);
    SendBatch();
    return result;
}

ResultMessage MakeCall(const CameraLibrary& library, CallMessage& call)
{
    ResultMessage answer = {kCallFailed, 0, {}};
    const uint32_t* n = call.numbers;
    switch (call.function) {
    case CameraFunction::Load_IniFile:
        answer.result = library.loadIniFile(Text(call));
        break;
    case CameraFunction::GetFDBCount: {
        unsigned long count = n[0];
        answer.result = library.getFdbCount(Null(call, kNullCount) ? nullptr : &count);
        answer.count = count;
        break;
    }
    case CameraFunction::GetFDBContext:
        answer.result = library.getFdbContext(n[0], n[1], Data(call));
        answer.data.swap(call.data);
        break;
    case CameraFunction::Upload_DOSFAT_Object:
        answer.result = Upload(library, call);
        break;
    case CameraFunction::DeleteFDBObject:
        answer.result = library.deleteFdbObject(n[0]);
        break;
    case CameraFunction::Capture_DOSFAT_DSC:
        answer.result = library.capture();
        break;
    case CameraFunction::CheckFWIdle:
        answer.result = library.checkFwIdle();
        break;
    case CameraFunction::VendorCommandBulkWrite:
        answer.result = library.vendorWrite(
            static_cast<unsigned char>(n[0]), static_cast<unsigned short>(n[1]),
            static_cast<unsigned short>(n[2]), static_cast<unsigned short>(n[3]));
        break;
    case CameraFunction::VendorCommandBulkWrite64:
        answer.result = library.vendorWrite64(
            static_cast<unsigned char>(n[0]), static_cast<unsigned short>(n[1]),
            static_cast<unsigned short>(n[2]), static_cast<unsigned short>(n[3]), Data(call));
        break;
    }
    return answer;
}

// Reads the next message, which must be of the kind given.
bool Receive(MessageKind kind, std::vector<unsigned char>& body)
{
    MessageHeader header;
    return ReadMessage(g_bridge.calls, nullptr, header, body) && header.kind == kind;
}

void Serve(const CameraLibrary& library)
{
    std::vector<unsigned char> body;
    CallMessage call;
    while (Receive(MessageKind::Call, body) && ParseCall(body.data(), body.size(), call) &&
           CallShapeValid(call)) {
        Answer(EncodeResult(MakeCall(library, call)));
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    // A library that fails must not stop the host with a dialog that nobody
    // answers: the bridge notices the host's end instead.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    if (!ReadCommandLine(g_bridge)) {
        return kNoHandles;
    }
    HANDLE watch = CreateThread(nullptr, 0, EndWithParent, nullptr, 0, nullptr);
    if (watch == nullptr) {
        return kNoHandles;
    }
    CloseHandle(watch);
    std::vector<unsigned char> hello;
    if (!Receive(MessageKind::Hello, hello)) {
        return kBridgeGone;
    }
    // The calls run on a thread of a single-threaded COM apartment, as on the
    // user-interface thread of the application that the source serves.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    CameraLibrary library = {};
    const LibraryState state = LoadLibraryFunctions(library);
    Answer(EncodeWelcome(state));
    if (state == LibraryState::Loaded) {
        Serve(library);
    }
    if (SUCCEEDED(com)) {
        CoUninitialize();
    }
    return state == LibraryState::Loaded ? kBridgeGone : kNoLibrary;
}
