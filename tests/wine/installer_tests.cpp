// The installer, Tz600a-setup.exe, in a Wine prefix that each test run makes
// anew: a silent install into Windows' own TWAIN folder, acquire through
// the installed source, an install over an earlier one, the rights granted to
// standard users, a second copy, a missing TWAIN folder, and the uninstaller.
// The tests run in this order in one program.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "support/acquired_pictures.h"
#include "support/prefix_files.h"
#include "support/programs.h"
#include "support/screenshot.h"

namespace {

const char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tz600a";
const char kDrivers32Key[] = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Drivers32";
const char kUninstallCaption[] = "Ardenza ZC600A camera TWAIN source Uninstall";

std::string Quoted(const std::string& path)
{
    return "\"" + path + "\"";
}

// Where the uninstaller and the tools go.
std::string ToolsFolder()
{
    char folder[MAX_PATH] = "";
    GetEnvironmentVariableA("ProgramFiles", folder, sizeof folder);
    return std::string(folder) + "\\Ardenza\\Tz600a";
}

std::string SystemFile(const std::string& name)
{
    char folder[MAX_PATH] = "";
    GetSystemDirectoryA(folder, sizeof folder);
    return std::string(folder) + "\\" + name;
}

// Every file of ours that an install with the simulated camera leaves.
std::vector<std::string> InstalledFiles()
{
    const std::string windows = WindowsDirectory() + "\\";
    const std::string tools = ToolsFolder() + "\\";
    return {SourceDirectory() + "Tz600a.ds",
            windows + "Tz600a.ini",
            windows + "Tz600a.src",
            windows + "DSCLINK.dll",
            SourceDirectory() + "DSCLINK.INI",
            SourceDirectory() + "Camera\\DSC_0001.JPG",
            SystemFile("zx600cap.ax"),
            SystemFile("i420dec.dll"),
            tools + "acquire.exe",
            tools + "camera.exe",
            tools + "TWAIN_32.DLL",
            tools + "uninstall.exe"};
}

int Install(const std::string& options)
{
    return RunProgram(Quoted(BuildFolderFile("bin\\Tz600a-setup.exe")) + " /S " + options);
}

// Starts the uninstaller as it starts itself: a copy in the temporary
// folder, told where the installation is, which can then be waited for.
bool StartUninstaller(const std::string& options, ProgramRun& run)
{
    const std::string copy = TemporaryPath("Tz600a-uninstall.exe");
    return CopyFileA((ToolsFolder() + "\\uninstall.exe").c_str(), copy.c_str(), FALSE) &&
           run.Start(Quoted(copy) + " " + options + "_?=" + ToolsFolder());
}

int Uninstall()
{
    ProgramRun run;
    const int exitCode = StartUninstaller("/S ", run) ? run.Finish() : -1;
    DeleteFileA(TemporaryPath("Tz600a-uninstall.exe").c_str());
    return exitCode;
}

bool KeyExists(HKEY root, const std::string& key)
{
    HKEY handle;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) {
        return false;
    }
    RegCloseKey(handle);
    return true;
}

bool ValueExists(HKEY root, const std::string& key, const char* name)
{
    return RegGetValueA(root, key.c_str(), name, RRF_RT_ANY, nullptr, nullptr, nullptr) ==
           ERROR_SUCCESS;
}

// The folders of the Windows folder that Windows names twain_32, whatever
// their case on the host's file system.
int CountTwainFolders()
{
    int count = 0;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((WindowsDirectory() + "\\*").c_str(), &found);
    do {
        count += lstrcmpiA(found.cFileName, "twain_32") == 0 &&
                 (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return count;
}

TEST(Installer, InstallsIntoTheTwainFolderAndAcquireTakesTheStillsThroughTheSource)
{
    ASSERT_EQ(Install("/SIMULATEDCAMERA"), 0);
    for (const std::string& file : InstalledFiles()) {
        EXPECT_TRUE(FileExists(file)) << file;
    }
    EXPECT_EQ(CountTwainFolders(), 1);
    EXPECT_TRUE(ValueExists(HKEY_LOCAL_MACHINE, kDrivers32Key, "vidc.I420"));
    const std::string output = EmptyFolder("installed_acquire");
    EXPECT_EQ(RunProgram(Quoted(ToolsFolder() + "\\acquire.exe") +
                         " --upload-all --close-after 30000 --output " + Quoted(output)),
              0);
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    ExpectStillsSaved(output, SourceDirectory() + "Camera");
    CoUninitialize();
}

std::string CapabilityValue(const char* section, const char* key)
{
    char value[80] = "";
    GetPrivateProfileStringA(section, key, "", value, sizeof value, CapabilityFilePath().c_str());
    return value;
}

void SetCapabilityValue(const char* section, const char* key, const char* value)
{
    WritePrivateProfileStringA(section, key, value, CapabilityFilePath().c_str());
}

// CAP_XFERCOUNT has been negotiated; ICAP_BITDEPTH has not, and its values
// stand for those of an earlier version; CAP_XFERCOUNT's Get, too.
TEST(Installer, KeepsTheNegotiatedValuesOfAnEarlierInstall)
{
    ASSERT_EQ(Install(""), 0);
    SetCapabilityValue("CAP_XFERCOUNT", "Current", "5");
    SetCapabilityValue("CAP_XFERCOUNT", "Get", "TWON_ONEVALUE");
    SetCapabilityValue("ICAP_BITDEPTH", "Allowed", "8");
    SetCapabilityValue("ICAP_BITDEPTH", "PowerON", "8");
    ASSERT_EQ(Install(""), 0);
    EXPECT_EQ(CapabilityValue("CAP_XFERCOUNT", "Current"), "5");
    EXPECT_EQ(CapabilityValue("CAP_XFERCOUNT", "Get"), "TWON_RANGE");
    EXPECT_EQ(CapabilityValue("ICAP_BITDEPTH", "Allowed"), "24");
}

// Puts a recording stand-in in the place of the system's icacls.exe, which
// Wine has only as a stub, and puts the system's back at the end.
class RecordingIcacls {
public:
    RecordingIcacls() : saved_(TemporaryPath("icacls.exe.saved")), log_(TemporaryPath("icacls.log"))
    {
        CopyFileA(SystemFile("icacls.exe").c_str(), saved_.c_str(), FALSE);
        CopyFileA(BuildFolderFile("bin\\icacls_recorder.exe").c_str(),
                  SystemFile("icacls.exe").c_str(), FALSE);
        DeleteFileA(log_.c_str());
        // Wine runs a program file of its own in preference to another one.
        RegSetKeyValueA(HKEY_CURRENT_USER, kWineOverrides, "icacls.exe", REG_SZ, "native", 7);
    }
    ~RecordingIcacls()
    {
        RegDeleteKeyValueA(HKEY_CURRENT_USER, kWineOverrides, "icacls.exe");
        SetEnvironmentVariableA("ICACLS_EXIT_CODE", nullptr);
        CopyFileA(saved_.c_str(), SystemFile("icacls.exe").c_str(), FALSE);
        DeleteFileA(saved_.c_str());
    }
    RecordingIcacls(const RecordingIcacls&) = delete;
    RecordingIcacls& operator=(const RecordingIcacls&) = delete;

    std::string TakeLog()
    {
        const std::string log = ReadTextFile(log_);
        DeleteFileA(log_.c_str());
        return log;
    }

private:
    static constexpr const char* kWineOverrides = "Software\\Wine\\DllOverrides";
    std::string saved_;
    std::string log_;
};

TEST(Installer, GrantsStandardUsersModifyRightsAndSaysWhenItCannot)
{
    RecordingIcacls icacls;
    ASSERT_EQ(Install(""), 0);
    const std::string program = Quoted(SystemFile("icacls.exe"));
    const std::string windows = WindowsDirectory();
    EXPECT_EQ(icacls.TakeLog(), program + " " + Quoted(windows + "\\twain_32\\tz600a") +
                                    " /grant *S-1-5-32-545:(OI)(CI)M\n" + program + " " +
                                    Quoted(windows + "\\Tz600a.src") + " /grant *S-1-5-32-545:M\n" +
                                    program + " " + Quoted(windows + "\\Tz600a.ini") +
                                    " /grant *S-1-5-32-545:M\n");
    SetEnvironmentVariableA("ICACLS_EXIT_CODE", "5");
    DeleteFileA((SourceDirectory() + "Tz600a.ds").c_str());
    EXPECT_EQ(Install(""), 3);
    EXPECT_TRUE(FileExists(SourceDirectory() + "Tz600a.ds"));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
}

TEST(Installer, RefusesToRunBesideAnotherCopy)
{
    HANDLE otherCopy = CreateMutexA(nullptr, FALSE, "Tz600a-setup");
    DeleteFileA(DictionaryFilePath().c_str());
    EXPECT_EQ(Install(""), 2);
    EXPECT_FALSE(FileExists(DictionaryFilePath()));
    CloseHandle(otherCopy);
}

TEST(Installer, MakesAMissingTwainFolder)
{
    const std::string twain = WindowsDirectory() + "\\twain_32";
    ASSERT_TRUE(MoveFileA(twain.c_str(), (twain + ".earlier").c_str()));
    ASSERT_EQ(Install("/SIMULATEDCAMERA"), 0);
    EXPECT_TRUE(FileExists(SourceDirectory() + "Tz600a.ds"));
    EXPECT_EQ(CountTwainFolders(), 1);
}

// A dialog of the uninstaller's with the control given and without the
// other one: its window has a Back button (3), a message box does not. The
// window's caption ends in the caption of its page.
HWND WaitForUninstallerDialog(int control, int missingControl)
{
    for (int tries = 0; tries < 400; ++tries) {
        HWND dialog = nullptr;
        while ((dialog = FindWindowExA(nullptr, dialog, "#32770", nullptr)) != nullptr) {
            char caption[128] = "";
            GetWindowTextA(dialog, caption, sizeof caption);
            if (strncmp(caption, kUninstallCaption, strlen(kUninstallCaption)) == 0 &&
                GetDlgItem(dialog, control) != nullptr &&
                GetDlgItem(dialog, missingControl) == nullptr) {
                return dialog;
            }
        }
        Sleep(50);
    }
    return nullptr;
}

// The user confirms the uninstall while an application has the source
// loaded; the uninstaller names the files it could not remove and stays,
// with its entry, to be run again, which then removes every file and key.
TEST(Installer, UninstallNamesTheFilesInUseAndThenRemovesEverything)
{
    ASSERT_EQ(Install("/SIMULATEDCAMERA"), 0);
    HMODULE source = LoadLibraryA((SourceDirectory() + "Tz600a.ds").c_str());
    ASSERT_NE(source, nullptr);
    ProgramRun run;
    ASSERT_TRUE(StartUninstaller("", run));
    const int kBack = 3;
    const int kText = 0xFFFF;
    HWND window = WaitForUninstallerDialog(kBack, kText);
    ASSERT_NE(window, nullptr);
    PostMessageA(window, WM_COMMAND, IDOK, 0);
    HWND report = WaitForUninstallerDialog(kText, kBack);
    ASSERT_NE(report, nullptr);
    char text[1024] = "";
    GetDlgItemTextA(report, kText, text, sizeof text);
    PostMessageA(report, WM_COMMAND, IDOK, 0);
    const std::string named = text;
    EXPECT_NE(named.find("\\twain_32\\tz600a\\Tz600a.ds"), std::string::npos) << named;
    EXPECT_EQ(named.find("Tz600a.ini"), std::string::npos) << named;
    // Once the uninstaller has stopped, its Cancel button closes it.
    for (int tries = 0; tries < 200 && !IsWindowEnabled(GetDlgItem(window, IDCANCEL)); ++tries) {
        Sleep(50);
    }
    PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(run.Finish(), 2);
    EXPECT_TRUE(FileExists(SourceDirectory() + "Tz600a.ds"));
    EXPECT_TRUE(FileExists(ToolsFolder() + "\\uninstall.exe"));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));

    FreeLibrary(source);
    EXPECT_EQ(Uninstall(), 0);
    for (const std::string& file : InstalledFiles()) {
        EXPECT_FALSE(FileExists(file)) << file;
    }
    EXPECT_FALSE(FileExists(SourceDirectory()));
    EXPECT_FALSE(FileExists(ToolsFolder()));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, "CLSID\\{550538E6-4864-4229-8E78-1931E1E82C6C}"));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, "CLSID\\{4569177C-44D8-45DE-874D-C051344CBDFB}"));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, "CLSID\\{860BB310-5D01-11D0-BD3B-00A0C911CE86}\\"
                                              "Instance\\ZX600 Video Capture"));
    EXPECT_FALSE(ValueExists(HKEY_LOCAL_MACHINE, kDrivers32Key, "vidc.I420"));
}

}  // namespace
