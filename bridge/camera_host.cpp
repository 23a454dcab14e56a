#include "bridge/camera_host.h"

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "bridge/message_pipe.h"

DWORD g_hostSilenceLimit = 30000;

namespace {

const char kHostProgram[] = "DscLinkHost.exe";
const DWORD kPipeSize = 64 * 1024;
const UINT kStoppedHost = 1;
// How long a stopped host may take to end, so that the files it had open
// are closed before the bridge cleans up after the failed call.
const DWORD kStopWait = 5000;

struct HostLink {
    HANDLE process;  // null while no host runs
    HANDLE job;
    HANDLE calls;           // the pipe the host reads calls from
    MessageReader answers;  // the pipe the host answers on
    HANDLE wake;            // set by the host after each message
};

HostLink g_host = {};

// The settings file the library was last given, for a host started after
// another one failed.
bool g_settingsGiven = false;
bool g_settingsPathNull = false;
std::string g_settingsPath;

void CloseIfOpen(HANDLE& handle)
{
    if (handle != nullptr) {
        CloseHandle(handle);
        handle = nullptr;
    }
}

void CloseLink(HostLink& link)
{
    CloseIfOpen(link.calls);
    CloseIfOpen(link.answers.pipe);
    link.answers.bytes.clear();
    CloseIfOpen(link.wake);
    CloseIfOpen(link.job);
    CloseIfOpen(link.process);
}

void StopHost()
{
    if (g_host.process != nullptr) {
        TerminateProcess(g_host.process, kStoppedHost);
        WaitForSingleObject(g_host.process, kStopWait);
    }
    CloseLink(g_host);
}

bool HostPath(std::string& path)
{
    char folder[MAX_PATH];
    const UINT length = GetSystemWow64DirectoryA(folder, sizeof folder);
    if (length == 0 || length >= sizeof folder) {
        return false;
    }
    path = std::string(folder) + "\\" + kHostProgram;
    return true;
}

// An inheritable copy of a handle, for the host alone.
HANDLE InheritableCopy(HANDLE handle, DWORD access, DWORD options)
{
    HANDLE copy = nullptr;
    DuplicateHandle(GetCurrentProcess(), handle, GetCurrentProcess(), &copy, access, TRUE, options);
    return copy;
}

// A job that ends the host when this process ends, and at once when the
// host meets an exception it does not handle.
HANDLE MakeJob()
{
    HANDLE job = CreateJobObjectA(nullptr, nullptr);
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
    limits.BasicLimitInformation.LimitFlags =
        JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE | JOB_OBJECT_LIMIT_DIE_ON_UNHANDLED_EXCEPTION;
    if (job != nullptr &&
        !SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits)) {
        CloseHandle(job);
        job = nullptr;
    }
    return job;
}

// The handles the host inherits, and no others: the ends of the pipes it
// reads and writes, the wake event and this process.
struct HostHandles {
    HANDLE handles[4];
};

// Starts the host suspended with only `inherited` inherited, puts it into
// the job and lets it run.
bool CreateHost(const std::string& path, HostHandles& inherited, HostLink& link)
{
    SIZE_T listSize = 0;
    InitializeProcThreadAttributeList(nullptr, 1, 0, &listSize);
    std::vector<unsigned char> listBytes(listSize);
    auto list = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(listBytes.data());
    if (!InitializeProcThreadAttributeList(list, 1, 0, &listSize)) {
        return false;
    }
    char commandLine[MAX_PATH + 100];
    const HANDLE* h = inherited.handles;
    snprintf(commandLine, sizeof commandLine, "\"%s\" %llu %llu %llu %llu", path.c_str(),
             static_cast<unsigned long long>(reinterpret_cast<ULONG_PTR>(h[0])),
             static_cast<unsigned long long>(reinterpret_cast<ULONG_PTR>(h[1])),
             static_cast<unsigned long long>(reinterpret_cast<ULONG_PTR>(h[2])),
             static_cast<unsigned long long>(reinterpret_cast<ULONG_PTR>(h[3])));
    STARTUPINFOEXA startup = {};
    startup.StartupInfo.cb = sizeof startup;
    startup.lpAttributeList = list;
    PROCESS_INFORMATION started = {};
    const bool created =
        UpdateProcThreadAttribute(list, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, inherited.handles,
                                  sizeof inherited.handles, nullptr, nullptr) &&
        CreateProcessA(path.c_str(), commandLine, nullptr, nullptr, TRUE,
                       CREATE_SUSPENDED | EXTENDED_STARTUPINFO_PRESENT, nullptr, nullptr,
                       &startup.StartupInfo, &started);
    DeleteProcThreadAttributeList(list);
    if (!created) {
        return false;
    }
    link.process = started.hProcess;
    // Where the job cannot take the host (an application in a job that
    // allows none within it), the host still ends with this process, which
    // it waits on.
    link.job = MakeJob();
    if (link.job != nullptr && !AssignProcessToJobObject(link.job, started.hProcess)) {
        CloseIfOpen(link.job);
    }
    ResumeThread(started.hThread);
    CloseHandle(started.hThread);
    return true;
}

bool Handshake(HostLink& link)
{
    const ReadDeadline deadline = {link.wake, link.process, g_hostSilenceLimit};
    MessageHeader header;
    std::vector<unsigned char> body;
    LibraryState state = LibraryState::Missing;
    return WriteMessage(link.calls, nullptr, EncodeHello()) &&
           ReadMessage(link.answers, &deadline, header, body) &&
           header.kind == MessageKind::Welcome && ParseWelcome(body.data(), body.size(), state) &&
           state == LibraryState::Loaded;
}

bool StartHost()
{
    std::string path;
    if (!HostPath(path)) {
        return false;
    }
    HANDLE hostCalls = nullptr;
    HANDLE hostAnswers = nullptr;
    HostLink link = {};
    link.wake = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    if (!CreatePipe(&hostCalls, &link.calls, nullptr, kPipeSize)) {
        CloseLink(link);
        return false;
    }
    if (!CreatePipe(&link.answers.pipe, &hostAnswers, nullptr, kPipeSize)) {
        CloseHandle(hostCalls);
        CloseLink(link);
        return false;
    }
    // The host's ends become inheritable only for the moment of its start.
    HostHandles inherited = {{InheritableCopy(hostCalls, 0, DUPLICATE_SAME_ACCESS),
                              InheritableCopy(hostAnswers, 0, DUPLICATE_SAME_ACCESS),
                              InheritableCopy(link.wake, 0, DUPLICATE_SAME_ACCESS),
                              InheritableCopy(GetCurrentProcess(), SYNCHRONIZE, 0)}};
    CloseHandle(hostCalls);
    CloseHandle(hostAnswers);
    bool copied = true;
    for (HANDLE handle : inherited.handles) {
        copied = copied && handle != nullptr;
    }
    const bool started = copied && link.wake != nullptr && CreateHost(path, inherited, link);
    for (HANDLE& handle : inherited.handles) {
        CloseIfOpen(handle);
    }
    if (!started || !Handshake(link)) {
        g_host = std::move(link);
        StopHost();
        return false;
    }
    g_host = std::move(link);
    return true;
}

// Waits for the call's result, passing its progress calls on; the host is
// not silent while they come.
bool AwaitResult(DscProgressProc progress, ResultMessage& result)
{
    const ReadDeadline deadline = {g_host.wake, g_host.process, g_hostSilenceLimit};
    MessageHeader header;
    std::vector<unsigned char> body;
    std::vector<ProgressCall> calls;
    while (ReadMessage(g_host.answers, &deadline, header, body)) {
        if (header.kind == MessageKind::Result) {
            return ParseResult(body.data(), body.size(), result);
        }
        if (header.kind != MessageKind::Progress ||
            !ParseProgress(body.data(), body.size(), calls)) {
            return false;
        }
        for (const ProgressCall& call : calls) {
            if (progress != nullptr) {
                progress(call.arguments[0], call.arguments[1], call.arguments[2]);
            }
        }
    }
    return false;
}

bool Exchange(const CallMessage& call, DscProgressProc progress, ResultMessage& result)
{
    return WriteMessage(g_host.calls, nullptr, EncodeCall(call)) && AwaitResult(progress, result);
}

// A host started after another one failed is given the settings file that
// the library was last given, so that the calls go on as before.
bool EnsureHost()
{
    if (g_host.process != nullptr) {
        return true;
    }
    if (!StartHost()) {
        return false;
    }
    if (g_settingsGiven) {
        CallMessage settings = {CameraFunction::Load_IniFile,
                                static_cast<uint16_t>(g_settingsPathNull ? kNullText : 0),
                                {},
                                g_settingsPath,
                                {}};
        ResultMessage ignored;
        if (!Exchange(settings, nullptr, ignored)) {
            StopHost();
            return false;
        }
    }
    return true;
}

void RememberSettings(const CallMessage& call)
{
    if (call.function == CameraFunction::Load_IniFile) {
        g_settingsGiven = true;
        g_settingsPathNull = (call.nullArguments & kNullText) != 0;
        g_settingsPath = call.text;
    }
}

}  // namespace

bool CallHost(const CallMessage& call, DscProgressProc progress, ResultMessage& result)
{
    if (!EnsureHost()) {
        return false;
    }
    RememberSettings(call);
    if (!Exchange(call, progress, result)) {
        StopHost();
        return false;
    }
    return true;
}

void CloseHost()
{
    CloseLink(g_host);
}
