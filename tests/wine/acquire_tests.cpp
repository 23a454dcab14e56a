// acquire.exe end to end: it opens and enables the installed source through
// the Source Manager, runs its loop and closes the source when the time is
// up or when the user closes the album window; as the album's user it
// uploads the camera's stills and takes them by each transfer mechanism.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "support/bmp_files.h"
#include "support/jpeg_decode.h"
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

// A BMP file's info header and pixel rows, as the file's header places them.
struct SavedPicture {
    BITMAPINFOHEADER header = {};
    Bytes rows;
};

bool ReadSavedPicture(const std::string& path, SavedPicture& picture)
{
    const Bytes file = ReadBytes(path);
    BITMAPFILEHEADER fileHeader;
    if (file.size() < sizeof fileHeader + sizeof picture.header) {
        return false;
    }
    memcpy(&fileHeader, file.data(), sizeof fileHeader);
    memcpy(&picture.header, file.data() + sizeof fileHeader, sizeof picture.header);
    if (fileHeader.bfType != 0x4D42 || fileHeader.bfOffBits > file.size()) {
        return false;
    }
    picture.rows.assign(file.begin() + fileHeader.bfOffBits, file.end());
    return true;
}

std::string EmptyFolder(const std::string& name)
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    const std::string folder = std::string(temp) + name;
    CreateDirectoryA(folder.c_str(), nullptr);
    for (int number = 1; number <= 9; ++number) {
        DeleteFileA((folder + "\\picture_00" + std::to_string(number) + ".bmp").c_str());
    }
    return folder;
}

// acquire presses UpLoad with the stills selected, takes the three pictures
// announced by the chosen mechanism (memory transfers in the buffer size the
// installed capability file prefers) and closes the window; each saved
// picture holds exactly the pixels of a decode of the camera's JPEG.
TEST(Acquire, UploadAllSavesTheCameraStillsByEachMechanism)
{
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const char* const stills[] = {"DSC_0001.JPG", "DSC_0002.JPG", "DSC_0004.JPG"};
    for (const char* mechanism : {"native", "memory", "file"}) {
        SCOPED_TRACE(mechanism);
        const std::string output = EmptyFolder(std::string("acquire_upload_") + mechanism);
        AcquireRun run;
        const DWORD start = GetTickCount();
        ASSERT_TRUE(StartAcquire(std::string("--upload-all --close-after 30000 --mechanism ") +
                                     mechanism + " --output \"" + output + "\"",
                                 run));
        EXPECT_EQ(FinishAcquire(run), 0);
        printf("acquire --upload-all by %s transfer: %lu ms from start to end\n", mechanism,
               GetTickCount() - start);
        const std::string printed = ReadTextFile(run.outputPath);
        EXPECT_TRUE(Contains(printed, "Selected 3 stills in the album and pressed UpLoad"))
            << printed;
        EXPECT_TRUE(Contains(printed, "Saved 3 pictures")) << printed;
        EXPECT_TRUE(Contains(printed, "The source asks to be closed")) << printed;
        for (int i = 0; i < 3; ++i) {
            SCOPED_TRACE(stills[i]);
            Decoded decoded;
            ASSERT_TRUE(DecodeJpegFile(SourceDirectory() + "Camera\\" + stills[i], decoded));
            SavedPicture saved;
            ASSERT_TRUE(ReadSavedPicture(output + "\\picture_00" + std::to_string(i + 1) + ".bmp",
                                         saved));
            EXPECT_EQ(saved.header.biWidth, static_cast<LONG>(decoded.width));
            EXPECT_EQ(saved.header.biHeight, static_cast<LONG>(decoded.height));
            EXPECT_EQ(saved.header.biBitCount, 24);
            EXPECT_TRUE(saved.rows == BottomUp(decoded));
        }
        for (int number : {1, 2, 4}) {
            char name[32];
            snprintf(name, sizeof name, "TWIMG600_%04d.bmp", number);
            EXPECT_FALSE(FileExists(SourceDirectory() + name)) << name;
        }
    }
    CoUninitialize();
}

TEST(Acquire, UploadAllClosesTheWindowOfAnAlbumWithoutStills)
{
    const std::string settings = SourceDirectory() + "DSCLINK.INI";
    SavedFile installed(settings);
    const std::string storage = EmptyFolder("acquire_sound_only");
    CopyFileA((SourceDirectory() + "Camera\\DSC_0005.WAV").c_str(),
              (storage + "\\DSC_0005.WAV").c_str(), FALSE);
    WriteTextFile(settings, "[Camera]\r\nStorage=" + storage + "\r\n");
    AcquireRun run;
    ASSERT_TRUE(StartAcquire("--upload-all --close-after 30000", run));
    EXPECT_EQ(FinishAcquire(run), 0);
    const std::string printed = ReadTextFile(run.outputPath);
    EXPECT_TRUE(Contains(printed, "The album lists no stills; closing its window")) << printed;
    EXPECT_TRUE(Contains(printed, "The source asks to be closed")) << printed;
    DeleteFileA((storage + "\\DSC_0005.WAV").c_str());
    RemoveDirectoryA(storage.c_str());
}

}  // namespace
