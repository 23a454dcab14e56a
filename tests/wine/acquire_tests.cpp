// acquire.exe end to end: it opens and enables the installed source through
// the Source Manager, runs its loop and closes the source when the time is
// up or when the user closes the album window.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "support/prefix_files.h"
#include "support/screenshot.h"

namespace {

const DWORD kAcquireDeadlineMs = 30000;

struct AcquireRun {
    PROCESS_INFORMATION process;
    std::string outputPath;
};

// Starts acquire.exe from beside this program with its output in a file.
bool StartAcquire(const std::string& arguments, AcquireRun& run)
{
    run.outputPath = BuildFolderFile("acquire_output.txt");
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE output = CreateFileA(run.outputPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                                CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (output == INVALID_HANDLE_VALUE) {
        return false;
    }
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = output;
    startup.hStdError = output;
    std::string command = "\"" + BuildFolderFile("bin\\acquire.exe") + "\" " + arguments;
    BOOL started = CreateProcessA(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                  &startup, &run.process);
    CloseHandle(output);
    return started != FALSE;
}

// Waits for acquire to end; its exit code, or -1 if it had to be stopped.
int FinishAcquire(AcquireRun& run)
{
    DWORD exitCode = static_cast<DWORD>(-1);
    if (WaitForSingleObject(run.process.hProcess, kAcquireDeadlineMs) == WAIT_OBJECT_0) {
        GetExitCodeProcess(run.process.hProcess, &exitCode);
    } else {
        TerminateProcess(run.process.hProcess, exitCode);
    }
    CloseHandle(run.process.hThread);
    CloseHandle(run.process.hProcess);
    return static_cast<int>(exitCode);
}

// acquire's album window: the dialog titled with the product name.
HWND WaitForAlbumWindow()
{
    for (int tries = 0; tries < 200; ++tries) {
        HWND album = FindWindowA("#32770", "Camera");
        if (album != nullptr && IsWindowVisible(album)) {
            return album;
        }
        Sleep(50);
    }
    return nullptr;
}

bool Contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

TEST(Acquire, EnablesTheSourceAndClosesItWhenTheTimeIsUp)
{
    for (const char* arguments : {"--close-after 500", "--no-ui --close-after 500"}) {
        SCOPED_TRACE(arguments);
        AcquireRun run;
        ASSERT_TRUE(StartAcquire(arguments, run));
        EXPECT_NE(WaitForAlbumWindow(), nullptr);
        EXPECT_EQ(FinishAcquire(run), 0);
        std::string output = ReadTextFile(run.outputPath);
        EXPECT_TRUE(Contains(output, "Enabled the source")) << output;
        EXPECT_TRUE(Contains(output, "Time is up")) << output;
        EXPECT_TRUE(Contains(output, "Disabled the source")) << output;
        EXPECT_TRUE(Contains(output, "Closed the source")) << output;
    }
}

TEST(Acquire, ClosesTheSourceWhenTheUserClosesTheWindow)
{
    AcquireRun run;
    ASSERT_TRUE(StartAcquire("--close-after 0", run));
    HWND album = WaitForAlbumWindow();
    ASSERT_NE(album, nullptr);
    PostMessageA(album, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(FinishAcquire(run), 0);
    std::string output = ReadTextFile(run.outputPath);
    EXPECT_TRUE(Contains(output, "The source asks to be closed")) << output;
    EXPECT_TRUE(Contains(output, "Closed the source")) << output;
    EXPECT_FALSE(IsWindow(album));
}

}  // namespace
