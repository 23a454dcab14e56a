// The camera library bridge in the 64-bit prefix where the camera is
// simulated in 32-bit only: the installed bridge and its host, a host killed,
// crashing, silent or missing, and no host outliving the bridge or its
// application. The calls made here straight go through the bridge's code
// linked into this program, whose silence limit a test may shorten; the
// installed bridge is loaded by its path.
#include <windows.h>

#include <gtest/gtest.h>
#include <tlhelp32.h>

#include <string>
#include <vector>

#include "album/dsclink.h"
#include "album/fdb_record.h"
#include "bridge/camera_host.h"
#include "resources/resource_ids.h"
#include "support/album_session.h"
#include "support/camera_storage.h"
#include "support/message_boxes.h"
#include "support/prefix_files.h"
#include "support/process_resources.h"
#include "support/programs.h"
#include "support/screenshot.h"
#include "tools/acquire/album_user.h"

namespace {

const char kHostName[] = "DscLinkHost.exe";
const DWORD kHostEndWait = 10000;
const int kLoads = 40;

std::string ToolsFolderFile(const char* name)
{
    char folder[MAX_PATH] = "";
    GetEnvironmentVariableA("ProgramFiles", folder, sizeof folder);
    return "\"" + std::string(folder) + "\\Ardenza\\Tz600a\\" + name + "\"";
}

std::vector<DWORD> HostProcesses()
{
    std::vector<DWORD> hosts;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL found = Process32First(snapshot, &entry); found;
         found = Process32Next(snapshot, &entry)) {
        if (lstrcmpiA(entry.szExeFile, kHostName) == 0) {
            hosts.push_back(entry.th32ProcessID);
        }
    }
    CloseHandle(snapshot);
    return hosts;
}

// Whether every host has ended within the time given.
bool NoHostWithin(DWORD milliseconds)
{
    const DWORD start = GetTickCount();
    while (!HostProcesses().empty()) {
        if (GetTickCount() - start > milliseconds) {
            return false;
        }
        Sleep(50);
    }
    return true;
}

bool HostWithin(DWORD milliseconds)
{
    const DWORD start = GetTickCount();
    while (HostProcesses().empty()) {
        if (GetTickCount() - start > milliseconds) {
            return false;
        }
        Sleep(50);
    }
    return true;
}

void KillHosts()
{
    for (DWORD id : HostProcesses()) {
        HANDLE host = OpenProcess(PROCESS_TERMINATE, FALSE, id);
        TerminateProcess(host, 9);
        CloseHandle(host);
    }
}

std::vector<unsigned char> Records(unsigned long count)
{
    std::vector<unsigned char> records(FdbContextSize(count), 0);
    EXPECT_EQ(GetFDBContext(1, count, records.data()), 0);
    return records;
}

std::string ReadOutName(const std::string& prefix, int index)
{
    char number[8];
    snprintf(number, sizeof number, "%04d", index + 1);
    return prefix + number + ".bmp";
}

unsigned long g_progressCalls = 0;

int __cdecl CountProgress(unsigned long, unsigned long, unsigned long)
{
    ++g_progressCalls;
    return 0;
}

int __cdecl KillHostAtFirstCall(unsigned long, unsigned long, unsigned long)
{
    if (g_progressCalls++ == 0) {
        KillHosts();
    }
    return 0;
}

// The bridge's calls on a private copy of the camera's storage, with the
// default silence limit put back afterwards.
class BridgeTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(storage_.Loaded());
        g_progressCalls = 0;
        prefix_ = storage_.Storage() + "\\TWIMG600_";
    }
    void TearDown() override
    {
        g_hostSilenceLimit = kDefaultSilence;
        DeleteFileA(ReadOutName(prefix_, 1).c_str());
    }

    int ReadOutStill(DscProgressProc progress)
    {
        std::vector<unsigned char> records = Records(5);
        return Upload_DOSFAT_Object(1, records.data(), &prefix_[0], kUploadAsBitmap, kUploadFlag,
                                    progress);
    }

    const DWORD kDefaultSilence = g_hostSilenceLimit;
    CameraStorageCopy storage_;
    std::string prefix_;
};

// A file moved aside for a test and put back after it.
class MovedAside {
public:
    explicit MovedAside(std::string path) : path_(std::move(path))
    {
        moved_ = MoveFileExA(path_.c_str(), (path_ + ".aside").c_str(), MOVEFILE_REPLACE_EXISTING);
    }
    ~MovedAside() { MoveFileExA((path_ + ".aside").c_str(), path_.c_str(), 0); }
    MovedAside(const MovedAside&) = delete;
    MovedAside& operator=(const MovedAside&) = delete;
    bool Moved() const { return moved_; }

private:
    std::string path_;
    bool moved_;
};

}  // namespace

// The source and this program's calls reach the 32-bit camera through the
// bridge, which hands back GetFDBContext's whole block: the records, and
// the slack beyond them as the caller left it.
TEST_F(BridgeTest, CallsGoThroughTheInstalledBridgeAndItsHost)
{
    HMODULE bridge = LoadLibraryA(SystemFile("DSCLINK.dll").c_str());
    ASSERT_NE(bridge, nullptr);
    char path[MAX_PATH] = "";
    GetModuleFileNameA(bridge, path, sizeof path);
    EXPECT_EQ(lstrcmpiA(path, SystemFile("DSCLINK.dll").c_str()), 0);
    FreeLibrary(bridge);
    EXPECT_TRUE(FileExists(SystemFile(kHostName, true)));

    std::vector<unsigned char> block(FdbContextSize(5), 0xCC);
    ASSERT_EQ(GetFDBContext(1, 5, block.data()), 0);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(block.data()), 11), "DSC_0001JPG");
    EXPECT_EQ(std::string(reinterpret_cast<char*>(block.data()) + 4 * 32, 11), "DSC_0005WAV");
    EXPECT_EQ(std::vector<unsigned char>(block.begin() + 5 * 32, block.end()),
              std::vector<unsigned char>(kFdbContextSlack, 0xCC));
    EXPECT_EQ(HostProcesses().size(), 1u);
}

TEST_F(BridgeTest, AHostKilledDuringAReadOutFailsItAndTheNextCallStartsAnother)
{
    EXPECT_NE(ReadOutStill(KillHostAtFirstCall), 0);
    EXPECT_FALSE(FileExists(ReadOutName(prefix_, 1)));
    // The new host has the settings file that the library was last given.
    unsigned long count = 0;
    EXPECT_EQ(GetFDBCount(&count), 0);
    EXPECT_EQ(count, 5u);
    EXPECT_EQ(ReadOutStill(CountProgress), 0);
    EXPECT_TRUE(FileExists(ReadOutName(prefix_, 1)));
}

// A host that crashes while it writes leaves no part of the file; a file
// that a failed read-out did not write stays as it was.
TEST_F(BridgeTest, AFailedReadOutLeavesNoPartOfItsFile)
{
    storage_.Set("Camera", "EndMidWrite", "1");
    EXPECT_NE(ReadOutStill(nullptr), 0);
    EXPECT_FALSE(FileExists(ReadOutName(prefix_, 1)));
    storage_.Set("Camera", "EndMidWrite", "0");

    WriteTextFile(ReadOutName(prefix_, 1), "earlier");
    storage_.Set("Fail", "Upload_DOSFAT_Object", "always");
    EXPECT_NE(ReadOutStill(nullptr), 0);
    EXPECT_EQ(ReadTextFile(ReadOutName(prefix_, 1)), "earlier");
}

// Silence past the limit stops the host and fails the call, which the
// library, had it been waited for, would have answered with idle; progress
// counts as life, so a read-out longer than the limit goes through.
TEST_F(BridgeTest, AHostSilentPastTheLimitIsStoppedButProgressKeepsAReadOutGoing)
{
    ASSERT_EQ(CheckFWIdle(), 0);
    g_hostSilenceLimit = 2000;
    storage_.Set("Stall", "CheckFWIdle", "15000");
    EXPECT_NE(CheckFWIdle(), 0);
    EXPECT_TRUE(NoHostWithin(kHostEndWait));
    storage_.Set("Stall", "CheckFWIdle", "0");
    g_hostSilenceLimit = kDefaultSilence;
    ASSERT_EQ(CheckFWIdle(), 0);

    g_hostSilenceLimit = 2000;
    storage_.Set("Camera", "BlockPause", "25");
    EXPECT_EQ(ReadOutStill(CountProgress), 0);
    EXPECT_EQ(g_progressCalls, (FdbObjectSize(Records(5).data() + 32) + 511) / 512);
}

// Without its host the bridge fails every call as the library fails, and the
// album shows its camera messages; the host back, the calls work again.
TEST_F(BridgeTest, WithoutItsHostEveryCallFailsAndTheAlbumSaysSo)
{
    ASSERT_EQ(CheckFWIdle(), 0);
    KillHosts();
    ASSERT_TRUE(NoHostWithin(kHostEndWait));
    {
        MovedAside host(SystemFile(kHostName, true));
        ASSERT_TRUE(host.Moved());
        unsigned long count = 77;
        EXPECT_NE(GetFDBCount(&count), 0);
        EXPECT_EQ(count, 77u);
        EXPECT_NE(CheckFWIdle() & 0xFF, 0);

        MessageBoxCapture boxes;
        TwainApp app = {};
        ASSERT_TRUE(OpenSourceManager(app));
        EXPECT_TRUE(OpenAndEnableCamera(app));
        PumpUntilAlbumReady(app, AlbumWindow(), 60000);
        DisableAndClose(app);
        CloseSourceManager(app);
        ASSERT_FALSE(boxes.Boxes().empty());
        for (const CapturedBox& box : boxes.Boxes()) {
            EXPECT_EQ(box.caption, "Error");
            EXPECT_EQ(box.text, "Failed!");
        }
    }
    EXPECT_EQ(CheckFWIdle(), 0);
}

// The 64-bit process finds no capture filter: video mode shows an empty
// panel, says nothing and offers its buttons, as with no video device.
TEST(BridgeVideo, VideoModeWithoutACaptureFilterLeavesThePanelEmptyAndSaysNothing)
{
    MessageBoxCapture boxes;
    TwainApp app = {};
    ASSERT_TRUE(OpenSourceManager(app));
    ASSERT_TRUE(OpenAndEnableCamera(app));
    HWND album = AlbumWindow();
    ASSERT_TRUE(PumpUntilAlbumReady(app, album, 60000));
    SendMessageA(album, WM_COMMAND, IDC_VIDEO, 0);
    PumpApplication(app, 1000);
    HWND panel = GetDlgItem(album, IDC_VIDEO_PANEL);
    RECT client = {};
    GetClientRect(panel, &client);
    EXPECT_FALSE(IsRectEmpty(&client));
    EXPECT_EQ(GetWindow(panel, GW_CHILD), nullptr);
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(album, IDC_SNAP)));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(album, IDC_ALBUM)));
    EXPECT_TRUE(boxes.Boxes().empty());
    SetForegroundWindow(album);
    PumpApplication(app, 300);
    EXPECT_TRUE(SaveWindowPicture(album, BuildFolderFile("album_video_without_filter.png")));
    DisableAndClose(app);
    CloseSourceManager(app);
}

// Each unload of the bridge ends its host and gives back what its load took.
TEST(BridgeLifetime, NoHostOutlivesAnUnloadAndUnloadsLeaveNothingBehind)
{
    const std::string path = SystemFile("DSCLINK.dll");
    auto loadCallAndUnload = [&path] {
        HMODULE bridge = LoadLibraryA(path.c_str());
        auto check = reinterpret_cast<decltype(&CheckFWIdle)>(
            reinterpret_cast<void*>(GetProcAddress(bridge, "CheckFWIdle")));
        const bool called = check != nullptr && HostProcesses().empty() && check() != 0 &&
                            HostProcesses().size() == 1;
        return FreeLibrary(bridge) && called && NoHostWithin(kHostEndWait);
    };
    ASSERT_TRUE(loadCallAndUnload());
    const ProcessResources before = MeasureProcessResources();
    for (int load = 0; load < kLoads; ++load) {
        ASSERT_TRUE(loadCallAndUnload()) << load;
    }
    const ProcessResources after = MeasureProcessResources();
    EXPECT_LT(after.kernelHandles - before.kernelHandles, kLoads / 2);
    EXPECT_LT(static_cast<long>(after.privateBytes) - static_cast<long>(before.privateBytes),
              kLoads * 8 * 1024);
}

// The host ends with its application, whether it exits or is killed, even
// while the library keeps it busy in a call for a minute.
TEST(BridgeLifetime, NoHostOutlivesItsApplication)
{
    ASSERT_TRUE(NoHostWithin(kHostEndWait));
    EXPECT_EQ(RunProgram(ToolsFolderFile("camera.exe") + " list"), 0);
    EXPECT_TRUE(NoHostWithin(kHostEndWait));

    const std::string settings = SourceDirectory() + "DSCLINK.INI";
    SavedFile savedSettings(settings);
    WritePrivateProfileStringA("Stall", "CheckFWIdle", "60000", settings.c_str());
    {
        ProgramRun application;
        ASSERT_TRUE(application.Start(ToolsFolderFile("acquire.exe") + " --close-after 0"));
        ASSERT_TRUE(HostWithin(30000));
        Sleep(1000);
    }
    EXPECT_TRUE(NoHostWithin(kHostEndWait));
}
