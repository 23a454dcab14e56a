#include "programs.h"

#include <cstdio>

#include "prefix_files.h"
#include "screenshot.h"

namespace {

// In the prefix's temporary folder: each prefix of a parallel run has its own.
std::string OutputPath()
{
    return TemporaryPath("program_output.txt");
}

}  // namespace

ProgramRun::~ProgramRun()
{
    if (running_) {
        TerminateProcess(process_.hProcess, static_cast<UINT>(-1));
        Finish();
    }
}

bool ProgramRun::Start(const std::string& commandLine)
{
    // Wine's service processes that a program starts may keep the file open.
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE output = CreateFileA(OutputPath().c_str(), GENERIC_WRITE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, &inherit,
                                CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (output == INVALID_HANDLE_VALUE) {
        fprintf(stderr, "cannot write %s: error %lu\n", OutputPath().c_str(), GetLastError());
        return false;
    }
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = output;
    startup.hStdError = output;
    std::string command = commandLine;
    running_ = CreateProcessA(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                              &startup, &process_) != FALSE;
    if (!running_) {
        fprintf(stderr, "cannot start %s: error %lu\n", commandLine.c_str(), GetLastError());
    }
    CloseHandle(output);
    return running_;
}

int ProgramRun::Finish(DWORD deadline)
{
    DWORD exitCode = static_cast<DWORD>(-1);
    if (WaitForSingleObject(process_.hProcess, deadline) == WAIT_OBJECT_0) {
        GetExitCodeProcess(process_.hProcess, &exitCode);
    } else {
        TerminateProcess(process_.hProcess, exitCode);
    }
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
    running_ = false;
    return static_cast<int>(exitCode);
}

std::string ProgramRun::Output() const
{
    return ReadTextFile(OutputPath());
}

int RunProgram(const std::string& commandLine)
{
    ProgramRun run;
    return run.Start(commandLine) ? run.Finish() : -1;
}

std::string BuiltAcquire()
{
    return "\"" + BuildFolderFile("bin\\acquire.exe") + "\"";
}
