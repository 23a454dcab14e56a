// Programs that tests start: acquire, the installer and its uninstaller.
#pragma once

#include <windows.h>

#include <string>

// A program started with its output in a file beside the build's bin folder.
// One still running when the run ends, as after a failed assertion, is
// stopped.
class ProgramRun {
public:
    ProgramRun() = default;
    ~ProgramRun();
    ProgramRun(const ProgramRun&) = delete;
    ProgramRun& operator=(const ProgramRun&) = delete;

    bool Start(const std::string& commandLine);
    // Waits 30 s (or the milliseconds given) at most for the program to end;
    // its exit code, or -1 if it had to be stopped.
    int Finish(DWORD deadline = 30000);
    // What the program printed.
    std::string Output() const;

private:
    PROCESS_INFORMATION process_ = {};
    bool running_ = false;
};

// Runs the command line to its end; its exit code, or -1.
int RunProgram(const std::string& commandLine);

// The build's acquire.exe, quoted for a command line.
std::string BuiltAcquire();
