// The installer of the tests' architecture, Tz600a-setup.exe for 32-bit
// Windows or Tz600a-setup-x64.exe for 64-bit Windows, in a Wine prefix of
// that architecture that each test run makes anew: a silent install into
// Windows' own TWAIN folders, acquire through the installed source, an install
// over an earlier one, the rights granted to standard users, a second copy, a
// source that a program keeps loaded, the 64-bit source's camera library, a
// 64-bit Windows without 32-bit programs, missing TWAIN folders, and the
// uninstaller. The tests run in this order in one program.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "support/acquired_pictures.h"
#include "support/prefix_files.h"
#include "support/programs.h"
#include "support/screenshot.h"
#include "support/source_module.h"

namespace {

const char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tz600a";
const char kDrivers32Key[] = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Drivers32";
const char kUninstallCaption[] = "Ardenza ZC600A camera TWAIN source Uninstall";
const char kFilterClassKey[] = "Software\\Classes\\CLSID\\{550538E6-4864-4229-8E78-1931E1E82C6C}";
const char kFilterPageClassKey[] =
    "Software\\Classes\\CLSID\\{4569177C-44D8-45DE-874D-C051344CBDFB}";
const char kFilterInstanceKey[] = "Software\\Classes\\CLSID\\{860BB310-5D01-11D0-BD3B-00A0C911CE86}"
                                  "\\Instance\\ZX600 Video Capture";
// The registry as 32-bit and as 64-bit programs see it; a 32-bit Windows has
// only the one.
const REGSAM kRegistryViews[] = {KEY_WOW64_32KEY, KEY_WOW64_64KEY};

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

// The TWAIN folders that an install puts a source into.
std::vector<std::string> TwainFolders()
{
    const std::string windows = WindowsDirectory();
#ifdef _WIN64
    return {windows + "\\twain_32", windows + "\\twain_64"};
#else
    return {windows + "\\twain_32"};
#endif
}

// Every file of ours that an install with the simulated camera leaves: the
// 32-bit source with its data, and on 64-bit Windows also the 64-bit source,
// the 32-bit tools and, where it runs 32-bit programs, the 32-bit video
// stand-ins in the 32-bit system folder.
// Whether this Windows runs 32-bit programs, as the installer finds out: by
// the 32-bit regsvr32.exe of 64-bit Windows.
bool Runs32BitPrograms()
{
    return sizeof(void*) == 4 || FileExists(SystemFile("regsvr32.exe", true));
}

std::vector<std::string> InstalledFiles()
{
    const std::string windows = WindowsDirectory() + "\\";
    const std::string tools = ToolsFolder() + "\\";
    std::vector<std::string> files = {SourceDirectory() + "Tz600a.ds",
                                      windows + "Tz600a.ini",
                                      windows + "Tz600a.src",
                                      windows + "DSCLINK.dll",
                                      SourceDirectory() + "DSCLINK.INI",
                                      SourceDirectory() + "Camera\\DSC_0001.JPG",
                                      SystemFile("zx600cap.ax"),
                                      SystemFile("i420dec.dll"),
                                      tools + "acquire.exe",
                                      tools + "camera.exe",
                                      tools + "uninstall.exe"};
#ifdef _WIN64
    files.insert(files.end(), {InstalledSourcePath(), SystemFile("DSCLINK.dll"),
                               tools + "TWAINDSM.DLL", tools + "32-bit\\acquire.exe",
                               tools + "32-bit\\camera.exe", tools + "32-bit\\TWAIN_32.DLL"});
    if (Runs32BitPrograms()) {
        files.insert(files.end(),
                     {SystemFile("zx600cap.ax", true), SystemFile("i420dec.dll", true)});
    }
#else
    files.push_back(tools + "TWAIN_32.DLL");
#endif
    return files;
}

std::string SetupCommand(const std::string& options)
{
    const char* const setup =
        sizeof(void*) == 8 ? "bin\\Tz600a-setup-x64.exe" : "bin\\Tz600a-setup.exe";
    return Quoted(BuildFolderFile(setup)) + " /S " + options;
}

int Install(const std::string& options)
{
    return RunProgram(SetupCommand(options));
}

// Also gives what the installer wrote to its standard output.
int Install(const std::string& options, std::string& output)
{
    ProgramRun run;
    const int exitCode = run.Start(SetupCommand(options)) ? run.Finish() : -1;
    output = run.Output();
    return exitCode;
}

// Whether the text names the path, whatever the case of its letters.
bool Names(std::string text, std::string path)
{
    CharLowerA(&text[0]);
    CharLowerA(&path[0]);
    return text.find(path) != std::string::npos;
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

// A key of HKEY_LOCAL_MACHINE in one registry view.
bool KeyExists(const std::string& key, REGSAM view = 0)
{
    HKEY handle;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ | view, &handle) !=
        ERROR_SUCCESS) {
        return false;
    }
    RegCloseKey(handle);
    return true;
}

bool ValueExists(const std::string& key, const char* name, REGSAM view)
{
    HKEY handle;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ | view, &handle) !=
        ERROR_SUCCESS) {
        return false;
    }
    const bool exists =
        RegQueryValueExA(handle, name, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
    RegCloseKey(handle);
    return exists;
}

// The folders of the Windows folder that Windows names like the TWAIN
// folder given, whatever their case on the host's file system.
int CountFoldersNamedLike(const std::string& twainFolder)
{
    const std::string name = twainFolder.substr(twainFolder.find_last_of('\\') + 1);
    int count = 0;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((WindowsDirectory() + "\\*").c_str(), &found);
    do {
        count += lstrcmpiA(found.cFileName, name.c_str()) == 0 &&
                 (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return count;
}

// The installed acquire.exe, as a user runs it, takes the camera's stills
// into the named folder.
void ExpectInstalledAcquireTakesTheStills(const char* folder)
{
    const std::string output = EmptyFolder(folder);
    EXPECT_EQ(RunProgram(Quoted(ToolsFolder() + "\\acquire.exe") +
                         " --upload-all --close-after 30000 --output " + Quoted(output)),
              0);
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    ExpectStillsSaved(output, SourceDirectory() + "Camera");
    CoUninitialize();
}

TEST(Installer, InstallsIntoTheTwainFoldersAndAcquireTakesTheStillsThroughTheSource)
{
    std::string said;
    ASSERT_EQ(Install("/SIMULATEDCAMERA", said), 0);
    for (const std::string& file : InstalledFiles()) {
        EXPECT_TRUE(FileExists(file)) << file;
    }
    for (const std::string& folder : TwainFolders()) {
        EXPECT_EQ(CountFoldersNamedLike(folder), 1) << folder;
    }
    for (REGSAM view : kRegistryViews) {
        if (view == KEY_WOW64_64KEY || Runs32BitPrograms()) {
            EXPECT_TRUE(ValueExists(kDrivers32Key, "vidc.I420", view)) << view;
            EXPECT_TRUE(KeyExists(kFilterClassKey, view)) << view;
        }
    }
    if (sizeof(void*) == 8) {
        EXPECT_TRUE(
            Names(said, "the 64-bit source into " + WindowsDirectory() + "\\twain_64\\tz600a"))
            << said;
    }
    ExpectInstalledAcquireTakesTheStills("installed_acquire");
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
    EXPECT_TRUE(KeyExists(kUninstallKey));
}

TEST(Installer, RefusesToRunBesideAnotherCopy)
{
    HANDLE otherCopy = CreateMutexA(nullptr, FALSE, "Tz600a-setup");
    DeleteFileA(DictionaryFilePath().c_str());
    EXPECT_EQ(Install(""), 2);
    EXPECT_FALSE(FileExists(DictionaryFilePath()));
    CloseHandle(otherCopy);
}

// A program that keeps the source loaded keeps Windows from replacing it: the
// installer changes nothing, names the file and says it did not install.
TEST(Installer, RefusesToInstallOverASourceThatAProgramKeepsLoaded)
{
    HMODULE source = LoadLibraryA(InstalledSourcePath().c_str());
    ASSERT_NE(source, nullptr);
    DeleteFileA(DictionaryFilePath().c_str());
    std::string said;
    EXPECT_EQ(Install("/SIMULATEDCAMERA", said), 2);
    EXPECT_TRUE(Names(said, InstalledSourcePath())) << said;
    EXPECT_FALSE(FileExists(DictionaryFilePath()));
    FreeLibrary(source);
    EXPECT_EQ(Install("/SIMULATEDCAMERA"), 0);
}

#ifdef _WIN64
// The 64-bit source cannot be loaded without a camera library that 64-bit
// programs reach: without the 64-bit one, and without a 32-bit one for the
// bridge, the installer leaves it out, removes the one an earlier install
// left, and says so. A camera maker's 64-bit library is used as it is and
// never overwritten, by an install with either simulated camera, nor
// removed by the uninstaller.
TEST(Installer, InstallsThe64BitSourceOnlyWhereACameraLibraryIsAndKeepsTheMakers)
{
    ASSERT_TRUE(FileExists(InstalledSourcePath()));
    const std::string library32 = WindowsDirectory() + "\\DSCLINK.dll";
    const std::string library64 = SystemFile("DSCLINK.dll");
    ASSERT_TRUE(MoveFileA(library32.c_str(), (library32 + ".saved").c_str()));
    ASSERT_TRUE(DeleteFileA(library64.c_str()));
    std::string said;
    EXPECT_EQ(Install("", said), 0);
    MoveFileA((library32 + ".saved").c_str(), library32.c_str());
    EXPECT_TRUE(FileExists(SourceDirectory() + "Tz600a.ds"));
    EXPECT_FALSE(FileExists(InstalledSourcePath()));
    EXPECT_TRUE(Names(said, "not the 64-bit source")) << said;

    // A 64-bit library whose version record is not of ours stands for the
    // maker's.
    ASSERT_TRUE(CopyFileA(BuildFolderFile("bin\\Tz600a.ds").c_str(), library64.c_str(), TRUE));
    const std::string makers = ReadTextFile(library64);
    for (const char* options : {"/SIMULATEDCAMERA", "/SIMULATEDCAMERA32", ""}) {
        ASSERT_EQ(Install(options, said), 0) << options;
        EXPECT_TRUE(FileExists(InstalledSourcePath())) << options;
        EXPECT_TRUE(Names(said, "the 64-bit source into")) << said;
        EXPECT_EQ(ReadTextFile(library64), makers) << options;
        EXPECT_FALSE(FileExists(SystemFile("DscLinkHost.exe", true))) << options;
    }
    ASSERT_EQ(Uninstall(), 0);
    EXPECT_EQ(ReadTextFile(library64), makers);
    DeleteFileA(library64.c_str());
    ASSERT_EQ(Install("/SIMULATEDCAMERA"), 0);
}

// A 64-bit Windows without its 32-bit subsystem has no 32-bit regsvr32: the
// simulated camera's 32-bit capture filter stays unregistered, and the
// installer says so and succeeds.
TEST(Installer, RegistersOnlyThe64BitFilterWhereWindowsRunsNo32BitPrograms)
{
    ASSERT_EQ(Uninstall(), 0);
    // A Windows that runs no 32-bit programs has none to move aside.
    const std::string regsvr32 = SystemFile("regsvr32.exe", true);
    const bool moved = MoveFileA(regsvr32.c_str(), (regsvr32 + ".saved").c_str());
    std::string said;
    EXPECT_EQ(Install("/SIMULATEDCAMERA", said), 0);
    if (moved) {
        MoveFileA((regsvr32 + ".saved").c_str(), regsvr32.c_str());
    }
    EXPECT_TRUE(Names(said, "runs no 32-bit programs")) << said;
    EXPECT_TRUE(KeyExists(kFilterClassKey, KEY_WOW64_64KEY));
    EXPECT_FALSE(KeyExists(kFilterClassKey, KEY_WOW64_32KEY));
}
// Where only the maker's 32-bit camera library is, 64-bit programs reach it
// through the bridge: the installer puts the bridge into the 64-bit system
// folder and its host into the 32-bit one, and says so; a 64-bit acquire
// takes the stills through them. An install with the camera simulated in
// 64-bit replaces the bridge, one in 32-bit only brings it back, and the
// uninstaller removes both. These tests run in a prefix of their own, on a
// machine that runs 32-bit programs.
TEST(BridgeInstaller, InstallsTheBridgeWhereOnlyA32BitCameraLibraryIs)
{
    const std::string bridge = ReadTextFile(BuildFolderFile("bin\\bridge\\DSCLINK.dll"));
    const std::string library64 = SystemFile("DSCLINK.dll");
    const std::string host = SystemFile("DscLinkHost.exe", true);
    std::string said;
    ASSERT_EQ(Install("/SIMULATEDCAMERA32", said), 0);
    EXPECT_EQ(ReadTextFile(library64), bridge);
    EXPECT_TRUE(FileExists(host));
    EXPECT_TRUE(FileExists(InstalledSourcePath()));
    EXPECT_TRUE(
        Names(said, "64-bit applications reach the camera through the 32-bit camera library"))
        << said;
    EXPECT_TRUE(Names(said, "TWAIN 2 Source Manager " + SystemFile("TWAINDSM.DLL") +
                                ", which Windows does not ship and which is missing"))
        << said;
    EXPECT_FALSE(FileExists(SystemFile("zx600cap.ax")));
    EXPECT_FALSE(KeyExists(kFilterClassKey, KEY_WOW64_64KEY));
    EXPECT_TRUE(KeyExists(kFilterClassKey, KEY_WOW64_32KEY));

    ExpectInstalledAcquireTakesTheStills("bridge_acquire");

    ASSERT_EQ(Install("/SIMULATEDCAMERA", said), 0);
    EXPECT_EQ(ReadTextFile(library64), ReadTextFile(BuildFolderFile("bin\\camera\\DSCLINK.dll")));
    EXPECT_FALSE(FileExists(host));
    ASSERT_EQ(Install("/SIMULATEDCAMERA32", said), 0);
    ASSERT_EQ(Install("/SIMULATEDCAMERA32", said), 0);
    EXPECT_EQ(ReadTextFile(library64), bridge);
    EXPECT_TRUE(FileExists(host));

    ASSERT_EQ(Uninstall(), 0);
    EXPECT_FALSE(FileExists(library64));
    EXPECT_FALSE(FileExists(host));
    EXPECT_FALSE(FileExists(InstalledSourcePath()));
}

#endif

// The install makes the TWAIN folders that Windows lacks, and the uninstaller
// removes them once empty; an empty folder that was there before stays.
TEST(Installer, MakesMissingTwainFoldersAndTheUninstallerRemovesOnlyThose)
{
    // A Windows without 32-bit programs may have no 32-bit TWAIN folder of
    // its own.
    for (const std::string& folder : TwainFolders()) {
        CreateDirectoryA(folder.c_str(), nullptr);
        ASSERT_TRUE(MoveFileA(folder.c_str(), (folder + ".earlier").c_str())) << folder;
    }
    ASSERT_EQ(Install("/SIMULATEDCAMERA"), 0);
    for (const std::string& folder : TwainFolders()) {
        EXPECT_EQ(CountFoldersNamedLike(folder), 1) << folder;
    }
    EXPECT_TRUE(FileExists(InstalledSourcePath()));
    ASSERT_EQ(Uninstall(), 0);
    for (const std::string& folder : TwainFolders()) {
        EXPECT_FALSE(FileExists(folder)) << folder;
        CreateDirectoryA(folder.c_str(), nullptr);
    }
    ASSERT_EQ(Install("/SIMULATEDCAMERA"), 0);
    ASSERT_EQ(Uninstall(), 0);
    for (const std::string& folder : TwainFolders()) {
        EXPECT_TRUE(FileExists(folder)) << folder;
    }
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
    HMODULE source = LoadLibraryA(InstalledSourcePath().c_str());
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
    EXPECT_TRUE(Names(named, InstalledSourcePath())) << named;
    EXPECT_EQ(named.find("Tz600a.ini"), std::string::npos) << named;
    // Once the uninstaller has stopped, its Cancel button closes it.
    for (int tries = 0; tries < 200 && !IsWindowEnabled(GetDlgItem(window, IDCANCEL)); ++tries) {
        Sleep(50);
    }
    PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(run.Finish(), 2);
    EXPECT_TRUE(FileExists(InstalledSourcePath()));
    EXPECT_TRUE(FileExists(ToolsFolder() + "\\uninstall.exe"));
    EXPECT_TRUE(KeyExists(kUninstallKey));

    FreeLibrary(source);
    EXPECT_EQ(Uninstall(), 0);
    for (const std::string& file : InstalledFiles()) {
        EXPECT_FALSE(FileExists(file)) << file;
    }
    for (const std::string& folder : TwainFolders()) {
        EXPECT_FALSE(FileExists(folder + "\\tz600a")) << folder;
    }
    EXPECT_FALSE(FileExists(ToolsFolder()));
    EXPECT_FALSE(KeyExists(kUninstallKey));
    for (REGSAM view : kRegistryViews) {
        EXPECT_FALSE(KeyExists(kFilterClassKey, view)) << view;
        EXPECT_FALSE(KeyExists(kFilterPageClassKey, view)) << view;
        EXPECT_FALSE(KeyExists(kFilterInstanceKey, view)) << view;
        EXPECT_FALSE(ValueExists(kDrivers32Key, "vidc.I420", view)) << view;
    }
}

}  // namespace
