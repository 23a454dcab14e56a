// The camera library interface against the simulated camera: settings,
// the file database, read-out in both modes (stills compared with a decode
// of their own), deletes, capture at both still sizes, the busy firmware
// and WaitFWIdle's bound, the vendor requests and injected failures.
#include <gtest/gtest.h>

#include <wincodec.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "album/camera_library.h"
#include "source/dib_file.h"
#include "support/camera_pauses.h"
#include "support/picture_decode.h"
#include "support/prefix_files.h"

namespace {

using Bytes = std::vector<unsigned char>;

const char* const kDefaultObjects[] = {"DSC_0001.JPG", "DSC_0002.JPG", "DSC_0003.AVI",
                                       "DSC_0004.JPG", "DSC_0005.WAV"};
const unsigned long kDefaultCount = 5;

Bytes ReadBytes(const std::string& path)
{
    const std::string text = ReadTextFile(path);
    return Bytes(text.begin(), text.end());
}

struct ProgressCalls {
    unsigned long calls = 0;
    unsigned long lastFirst = 0;
    unsigned long lastSecond = 0;
    unsigned long lastThird = 0;
};
ProgressCalls g_progress;

int __cdecl CountProgress(unsigned long first, unsigned long second, unsigned long third)
{
    ++g_progress.calls;
    g_progress.lastFirst = first;
    g_progress.lastSecond = second;
    g_progress.lastThird = third;
    return 0;
}

class CameraTest : public testing::Test {
protected:
    void SetUp() override
    {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        folder_ = TemporaryPath("camera_tests");
        storage_ = folder_ + "\\Camera";
        output_ = folder_ + "\\out";
        ini_ = folder_ + "\\DSCLINK.INI";
        CreateDirectoryA(folder_.c_str(), nullptr);
        CreateDirectoryA(storage_.c_str(), nullptr);
        CreateDirectoryA(output_.c_str(), nullptr);
        for (const char* name : kDefaultObjects) {
            CopyFileA((DefaultStorage() + name).c_str(), (storage_ + "\\" + name).c_str(), FALSE);
        }
        WriteTextFile(ini_, "[Camera]\r\nStorage=Camera\r\n");
        ASSERT_TRUE(LoadIni());
        g_progress = ProgressCalls();
    }

    void TearDown() override
    {
        RemoveFolder(storage_);
        RemoveFolder(output_);
        DeleteFileA(ini_.c_str());
        RemoveDirectoryA(folder_.c_str());
        CoUninitialize();
    }

    static std::string DefaultStorage() { return SourceDirectory() + "Camera\\"; }

    bool LoadIni()
    {
        std::vector<char> path(ini_.begin(), ini_.end());
        path.push_back('\0');
        return Load_IniFile(path.data()) == 0;
    }

    void Set(const char* section, const char* key, const std::string& value)
    {
        WritePrivateProfileStringA(section, key, value.c_str(), ini_.c_str());
    }

    int Calls(const char* function)
    {
        return static_cast<int>(GetPrivateProfileIntA("Counts", function, 0, ini_.c_str()));
    }

    unsigned long Count()
    {
        unsigned long count = 0xDEAD;
        EXPECT_EQ(GetFDBCount(&count), 0);
        return count;
    }

    Bytes Records()
    {
        Bytes records;
        EXPECT_TRUE(ReadFdbContext(Count(), records));
        return records;
    }

    static std::string Label(const Bytes& records, size_t index)
    {
        char label[kFdbLabelLength + 1];
        return MakeFdbLabel(records.data() + index * kFdbRecordSize, label, sizeof label) ? label
                                                                                          : "";
    }

    int Upload(int index, const Bytes& records, const std::string& path, int mode)
    {
        std::vector<char> target(path.begin(), path.end());
        target.push_back('\0');
        Bytes copy = records;
        return Upload_DOSFAT_Object(index, copy.data(), target.data(), mode, kUploadFlag,
                                    CountProgress);
    }

    // Reads the newest still out and returns its BMP's info header.
    BITMAPINFOHEADER ReadOutNewest(std::string& bmpPath)
    {
        const Bytes records = Records();
        const unsigned long count =
            records.empty() ? 0 : (records.size() - kFdbContextSlack) / kFdbRecordSize;
        BITMAPINFOHEADER header = {};
        char name[16];
        snprintf(name, sizeof name, "%04lu.bmp", count);
        bmpPath = output_ + "\\snap" + name;
        if (count > 0 && Upload(static_cast<int>(count - 1), records, output_ + "\\snap",
                                kUploadAsBitmap) == 0) {
            HGLOBAL block = ReadDibFile(bmpPath.c_str());
            GetDibInfo(block, &header);
            GlobalFree(block);
        }
        return header;
    }

    std::string folder_;
    std::string storage_;
    std::string output_;
    std::string ini_;
};

// The frame number's digits as the still shows them: each of the seven
// segments of the four digit cells in the lower left corner sampled at its
// middle, lit or dark.
std::string ShownFrameNumber(const Bytes& bmp, int width, int height)
{
    static const unsigned char kSegments[10] = {0x3F, 0x06, 0x5B, 0x4F, 0x66,
                                                0x6D, 0x7D, 0x07, 0x7F, 0x6F};
    const int w = height / 14;
    const int gap = w / 2;
    const int t = w / 5 + 1;
    const int top = height - w / 2 - 2 * w - 2 * gap + gap;
    const size_t stride = (static_cast<size_t>(width) * 3 + 3) / 4 * 4;
    auto lit = [&](int x, int y) {
        const unsigned char* pixel = bmp.data() + 54 + (height - 1 - y) * stride + x * 3;
        return (pixel[0] + pixel[1] + pixel[2]) / 3 > 160;
    };
    const int middles[7][2] = {{w / 2, t / 2},
                               {w - t / 2 - 1, w / 2},
                               {w - t / 2 - 1, 3 * w / 2},
                               {w / 2, 2 * w - t / 2 - 1},
                               {t / 2, 3 * w / 2},
                               {t / 2, w / 2},
                               {w / 2, w}};
    std::string shown;
    for (int place = 0; place < 4; ++place) {
        const int left = w / 2 + gap + place * (w + gap);
        unsigned char segments = 0;
        for (int s = 0; s < 7; ++s) {
            segments |= lit(left + middles[s][0], top + middles[s][1]) ? 1 << s : 0;
        }
        const unsigned char* digit =
            static_cast<const unsigned char*>(memchr(kSegments, segments, 10));
        shown += digit != nullptr ? static_cast<char>('0' + (digit - kSegments)) : '?';
    }
    return shown;
}

}  // namespace

TEST_F(CameraTest, SettingsFileMustNameAnExistingStorageFolder)
{
    char missing[] = "C:\\no such folder\\DSCLINK.INI";
    EXPECT_NE(Load_IniFile(missing), 0);
    unsigned long count = 0;
    EXPECT_NE(GetFDBCount(&count), 0);

    Set("Camera", "Storage", "Elsewhere");
    EXPECT_FALSE(LoadIni());
    Set("Camera", "Storage", storage_);
    ASSERT_TRUE(LoadIni());
    EXPECT_EQ(Count(), kDefaultCount);
}

TEST(CameraLibraryInstalled, SourceSettingsFileNamesTheDefaultStorage)
{
    SavedFile settings(SourceDirectory() + "DSCLINK.INI");
    ASSERT_TRUE(LoadCameraSettings());
    unsigned long count = 0;
    ASSERT_EQ(GetFDBCount(&count), 0);
    ASSERT_EQ(count, kDefaultCount);
    std::vector<unsigned char> records;
    ASSERT_TRUE(ReadFdbContext(count, records));
    for (unsigned long i = 0; i < count; ++i) {
        char label[kFdbLabelLength + 1];
        ASSERT_TRUE(MakeFdbLabel(records.data() + i * kFdbRecordSize, label, sizeof label));
        EXPECT_STREQ(label, kDefaultObjects[i]);
    }
}

TEST_F(CameraTest, RecordsDescribeTheStorageInNameOrder)
{
    WriteTextFile(storage_ + "\\notes.txt", "not an object");
    WriteTextFile(storage_ + "\\LONGNAME1.JPG", "not an 8.3 name");
    CopyFileA((DefaultStorage() + "DSC_0001.JPG").c_str(), (storage_ + "\\dsc_0009.jpg").c_str(),
              FALSE);
    ASSERT_EQ(Count(), kDefaultCount + 1);
    const Bytes records = Records();
    ASSERT_EQ(records.size(), 6 * kFdbRecordSize + kFdbContextSlack);
    for (size_t i = 0; i < kDefaultCount; ++i) {
        const unsigned char* record = records.data() + i * kFdbRecordSize;
        EXPECT_EQ(Label(records, i), kDefaultObjects[i]);
        EXPECT_EQ(FdbObjectSize(record), ReadBytes(storage_ + "\\" + kDefaultObjects[i]).size());
    }
    EXPECT_EQ(Label(records, 5), "dsc_0009.jpg");
    EXPECT_TRUE(FdbExtensionIsAnyCase(records.data() + 5 * kFdbRecordSize, "JPG"));
    EXPECT_FALSE(FdbExtensionIs(records.data() + 5 * kFdbRecordSize, "JPG"));
    EXPECT_EQ(Bytes(records.begin() + 6 * kFdbRecordSize, records.end()),
              Bytes(kFdbContextSlack, 0));

    unsigned char part[2 * kFdbRecordSize] = {};
    ASSERT_EQ(GetFDBContext(2, 2, part), 0);
    EXPECT_EQ(Bytes(part, part + kFdbRecordSize),
              Bytes(records.begin() + 32, records.begin() + 64));
    EXPECT_EQ(Bytes(part + 32, part + 64), Bytes(records.begin() + 64, records.begin() + 96));
    EXPECT_NE(GetFDBContext(1, 7, part), 0);
    EXPECT_NE(GetFDBContext(0, 1, part), 0);
    EXPECT_NE(GetFDBContext(6, 2, part), 0);
}

TEST_F(CameraTest, StillsReadOutAsBottomUpBmpsEqualToADecodeOfTheirJpegs)
{
    const Bytes records = Records();
    const std::string prefix = output_ + "\\TWIMG600_";
    for (int index : {0, 1, 3}) {
        SCOPED_TRACE(kDefaultObjects[index]);
        const std::string jpeg = storage_ + "\\" + kDefaultObjects[index];
        g_progress = ProgressCalls();
        ASSERT_EQ(Upload(index, records, prefix, kUploadAsBitmap), 0);
        const unsigned long size = FdbObjectSize(records.data() + index * kFdbRecordSize);
        EXPECT_EQ(g_progress.calls, (size + 511) / 512);
        EXPECT_EQ(g_progress.lastThird, size);

        char number[8];
        snprintf(number, sizeof number, "%04d", index + 1);
        const Bytes bmp = ReadBytes(prefix + number + ".bmp");
        Decoded decoded;
        ASSERT_TRUE(DecodePictureFile(jpeg, decoded));
        ASSERT_EQ(bmp.size(), 54 + decoded.rows.size());
        BITMAPFILEHEADER fileHeader;
        BITMAPINFOHEADER info;
        memcpy(&fileHeader, bmp.data(), sizeof fileHeader);
        memcpy(&info, bmp.data() + sizeof fileHeader, sizeof info);
        EXPECT_EQ(fileHeader.bfType, 0x4D42);
        EXPECT_EQ(fileHeader.bfSize, bmp.size());
        EXPECT_EQ(fileHeader.bfOffBits, 54u);
        EXPECT_EQ(info.biSize, 40u);
        EXPECT_EQ(info.biWidth, static_cast<LONG>(decoded.width));
        EXPECT_EQ(info.biHeight, static_cast<LONG>(decoded.height));
        EXPECT_EQ(info.biPlanes, 1);
        EXPECT_EQ(info.biBitCount, 24);
        EXPECT_EQ(info.biCompression, static_cast<DWORD>(BI_RGB));
        EXPECT_EQ(info.biSizeImage, decoded.rows.size());
        EXPECT_EQ(info.biClrUsed, 0u);
        EXPECT_TRUE(Bytes(bmp.begin() + 54, bmp.end()) == BottomUp(decoded));

        HGLOBAL block = ReadDibFile((prefix + number + ".bmp").c_str());
        ASSERT_NE(block, nullptr);
        EXPECT_EQ(GlobalSize(block), 40 + decoded.rows.size());
        GlobalFree(block);
    }
}

TEST_F(CameraTest, ModeOneWritesEveryObjectUnchanged)
{
    const Bytes records = Records();
    for (int index = 0; index < static_cast<int>(kDefaultCount); ++index) {
        ASSERT_EQ(Upload(index, records, output_ + "\\DSC_", kUploadUnchanged), 0) << index;
        const std::string name = kDefaultObjects[index];
        EXPECT_EQ(ReadBytes(output_ + "\\DSC_" + name.substr(4)), ReadBytes(storage_ + "\\" + name))
            << name;
    }
    ASSERT_EQ(Upload(2, records, output_ + "\\holiday.avi", kUploadUnchanged), 0);
    EXPECT_EQ(ReadBytes(output_ + "\\holiday0003.AVI"), ReadBytes(storage_ + "\\DSC_0003.AVI"));
}

TEST_F(CameraTest, ReadOutsThatCannotBeDoneAreRefused)
{
    Bytes records = Records();
    const std::string prefix = output_ + "\\TWIMG600_";
    EXPECT_NE(Upload(2, records, prefix, kUploadAsBitmap), 0);
    EXPECT_NE(Upload(4, records, prefix, kUploadAsBitmap), 0);
    EXPECT_FALSE(FileExists(prefix + "0003.bmp"));
    EXPECT_FALSE(FileExists(prefix + "0005.bmp"));
    EXPECT_NE(Upload(5, records, prefix, kUploadAsBitmap), 0);
    EXPECT_NE(Upload(-1, records, prefix, kUploadAsBitmap), 0);
    EXPECT_NE(Upload(0, records, prefix, 2), 0);
    char path[MAX_PATH];
    snprintf(path, sizeof path, "%s", prefix.c_str());
    EXPECT_NE(Upload_DOSFAT_Object(0, records.data(), path, kUploadAsBitmap, 0, nullptr), 0);
    EXPECT_EQ(Upload_DOSFAT_Object(0, records.data(), path, kUploadAsBitmap, kUploadFlag, nullptr),
              0);

    // Records read before the storage changed no longer name its objects.
    ASSERT_TRUE(DeleteFileA((storage_ + "\\DSC_0001.JPG").c_str()));
    EXPECT_NE(Upload(0, records, prefix, kUploadAsBitmap), 0);
    EXPECT_NE(Upload(3, records, prefix, kUploadAsBitmap), 0);
}

TEST_F(CameraTest, DeletesTheNewestOrEveryObject)
{
    ASSERT_EQ(DeleteFDBObject(kDeleteNewest), 0);
    EXPECT_EQ(Count(), kDefaultCount - 1);
    EXPECT_FALSE(FileExists(storage_ + "\\DSC_0005.WAV"));
    EXPECT_EQ(Label(Records(), 3), "DSC_0004.JPG");

    EXPECT_NE(DeleteFDBObject(7), 0);
    EXPECT_EQ(Count(), kDefaultCount - 1);

    ASSERT_EQ(DeleteFDBObject(kDeleteAll), 0);
    EXPECT_EQ(Count(), 0u);
    EXPECT_EQ(DeleteFDBObject(kDeleteAll), 0);
    EXPECT_NE(DeleteFDBObject(kDeleteNewest), 0);
}

TEST_F(CameraTest, CaptureStoresATestStillOfTheChosenSize)
{
    ASSERT_EQ(Capture_DOSFAT_DSC(), 0);
    ASSERT_EQ(Count(), kDefaultCount + 1);
    EXPECT_EQ(Label(Records(), 5), "DSC_0006.JPG");
    std::string bmp;
    BITMAPINFOHEADER header = ReadOutNewest(bmp);
    EXPECT_EQ(header.biWidth, 640);
    EXPECT_EQ(header.biHeight, 480);
    EXPECT_EQ(ShownFrameNumber(ReadBytes(bmp), 640, 480), "0006");

    SetStillSize(kStillSizeFull);
    EXPECT_EQ(GetPrivateProfileIntA("Camera", "StillSize", 0, ini_.c_str()), 1u);
    ASSERT_EQ(Capture_DOSFAT_DSC(), 0);
    header = ReadOutNewest(bmp);
    EXPECT_EQ(header.biWidth, 1280);
    EXPECT_EQ(header.biHeight, 960);
    EXPECT_EQ(ShownFrameNumber(ReadBytes(bmp), 1280, 960), "0007");
    CopyFileA(bmp.c_str(), (WindowsDirectory().substr(0, 3) + "camera_capture.bmp").c_str(), FALSE);

    SetStillSize(kStillSize640);
    ASSERT_EQ(Capture_DOSFAT_DSC(), 0);
    header = ReadOutNewest(bmp);
    EXPECT_EQ(header.biWidth, 640);
    EXPECT_EQ(Count(), kDefaultCount + 3);

    // A still must become the newest object: a name that sorts after every
    // "DSC_" name leaves no place for it.
    WriteTextFile(storage_ + "\\ZZZ.WAV", "RIFF");
    EXPECT_NE(Capture_DOSFAT_DSC(), 0);
    EXPECT_EQ(Count(), kDefaultCount + 4);
}

TEST_F(CameraTest, WaitFWIdleOutwaitsABusyFirmwareUpToItsBound)
{
    RealCameraPauses realPauses;
    Set("Camera", "BusyPolls", "3");
    DWORD start = GetTickCount();
    EXPECT_TRUE(WaitFWIdle());
    DWORD elapsed = GetTickCount() - start;
    EXPECT_EQ(Calls("CheckFWIdle"), 4);
    EXPECT_GE(elapsed, 500u - 20);

    Set("Camera", "BusyPolls", "1000");
    start = GetTickCount();
    EXPECT_FALSE(WaitFWIdle());
    elapsed = GetTickCount() - start;
    EXPECT_EQ(Calls("CheckFWIdle"), 4 + 53);
    EXPECT_GE(elapsed, 5400u - 50);
    RecordProperty("BusyWaitMilliseconds", static_cast<int>(elapsed));
    printf("WaitFWIdle on a firmware that stays busy: %lu ms\n", elapsed);

    // Only the low byte tells busy from idle.
    Set("Camera", "BusyReply", "256");
    EXPECT_TRUE(WaitFWIdle());
    EXPECT_EQ(Calls("CheckFWIdle"), 4 + 53 + 1);
}

TEST_F(CameraTest, VendorRequestsStatusAndStillSize)
{
    EXPECT_TRUE(VendorRequest2000());
    EXPECT_EQ(Calls("VendorCommandBulkWrite"), 1);
    EXPECT_NE(VendorCommandBulkWrite(0x01, 0x2000, 0, 0), 0);

    SetStillSize(kStillSizeFull);
    EXPECT_EQ(GetPrivateProfileIntA("Camera", "StillSize", 0, ini_.c_str()), 1u);
    SetStillSize(kStillSize640);
    EXPECT_EQ(GetPrivateProfileIntA("Camera", "StillSize", 0, ini_.c_str()), 2u);
    EXPECT_EQ(Calls("VendorCommandBulkWrite64"), 2);

    Set("Fail", "VendorCommandBulkWrite", "always");
    EXPECT_FALSE(VendorRequest2000());
}

TEST_F(CameraTest, EveryCallCanBeMadeToFail)
{
    const Bytes records = Records();
    for (const char* function :
         {"GetFDBCount", "GetFDBContext", "Upload_DOSFAT_Object", "DeleteFDBObject",
          "Capture_DOSFAT_DSC", "CheckFWIdle", "VendorCommandBulkWrite", "VendorCommandBulkWrite64",
          "Load_IniFile"}) {
        Set("Fail", function, "always");
    }
    unsigned long count = 0;
    unsigned char buffer[kFdbRecordSize * 8] = {};
    unsigned char size = kStillSizeFull;
    EXPECT_NE(GetFDBCount(&count), 0);
    EXPECT_NE(GetFDBContext(1, 1, buffer), 0);
    EXPECT_NE(Upload(0, records, output_ + "\\x", kUploadAsBitmap), 0);
    EXPECT_NE(DeleteFDBObject(kDeleteNewest), 0);
    EXPECT_NE(Capture_DOSFAT_DSC(), 0);
    EXPECT_NE(CheckFWIdle() & 0xFF, 0);
    EXPECT_NE(VendorCommandBulkWrite(0x00, 0x2000, 0, 0), 0);
    EXPECT_NE(VendorCommandBulkWrite64(0x25, 2, 0, 1, &size), 0);
    EXPECT_EQ(GetPrivateProfileIntA("Camera", "StillSize", 0, ini_.c_str()), 0u);
    EXPECT_FALSE(LoadIni());

    // A number fails only that call of the function.
    WriteTextFile(ini_, "[Camera]\r\nStorage=Camera\r\n[Fail]\r\nGetFDBCount=2\r\n");
    ASSERT_TRUE(LoadIni());
    EXPECT_EQ(GetFDBCount(&count), 0);
    EXPECT_NE(GetFDBCount(&count), 0);
    EXPECT_EQ(GetFDBCount(&count), 0);
    EXPECT_EQ(Count(), kDefaultCount);
}

TEST_F(CameraTest, DamagedRecordsAreHandedOutAsTheSettingsSay)
{
    Set("Damage", "Record2", "0:E5");
    Set("Damage", "Record4", "8:6a7067");
    const Bytes records = Records();
    EXPECT_TRUE(FdbRecordUsable(records.data()));
    EXPECT_FALSE(FdbRecordUsable(records.data() + kFdbRecordSize));
    EXPECT_FALSE(FdbExtensionIs(records.data() + 3 * kFdbRecordSize, "JPG"));
    EXPECT_TRUE(FdbExtensionIsAnyCase(records.data() + 3 * kFdbRecordSize, "JPG"));
}

namespace {

// Runs camera.exe from beside the test program; its exit code, and what it
// printed in `output`.
DWORD RunCameraTool(const std::string& arguments, const std::string& outputFile,
                    std::string& output)
{
    char program[MAX_PATH];
    GetModuleFileNameA(nullptr, program, sizeof program);
    std::string tool = program;
    tool = tool.substr(0, tool.find_last_of('\\') + 1) + "camera.exe";
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE out = CreateFileA(outputFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                             CREATE_ALWAYS, 0, nullptr);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = out;
    startup.hStdError = out;
    PROCESS_INFORMATION process = {};
    std::string commandLine = "\"" + tool + "\" " + arguments;
    DWORD exitCode = 0xFFFFFFFF;
    if (CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                       &startup, &process)) {
        WaitForSingleObject(process.hProcess, 30000);
        GetExitCodeProcess(process.hProcess, &exitCode);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    CloseHandle(out);
    output = ReadTextFile(outputFile);
    DeleteFileA(outputFile.c_str());
    return exitCode;
}

}  // namespace

TEST_F(CameraTest, CameraToolListsTheObjectsAndReadsOneOut)
{
    const std::string ini = "--ini \"" + ini_ + "\" ";
    const std::string printed = output_ + "\\printed.txt";
    std::string output;
    ASSERT_EQ(RunCameraTool(ini + "list", printed, output), 0u);
    char firstLine[64];
    snprintf(firstLine, sizeof firstLine, "   1  DSC_0001.JPG  %10u\r\n",
             static_cast<unsigned>(ReadBytes(storage_ + "\\DSC_0001.JPG").size()));
    EXPECT_NE(output.find(firstLine), std::string::npos) << output;
    EXPECT_NE(output.find("   3  DSC_0003.AVI"), std::string::npos) << output;
    EXPECT_NE(output.find("5 objects"), std::string::npos) << output;

    ASSERT_EQ(RunCameraTool(ini + "read 4 \"" + output_ + "\\still_\"", printed, output), 0u)
        << output;
    Decoded decoded;
    ASSERT_TRUE(DecodePictureFile(storage_ + "\\DSC_0004.JPG", decoded));
    const Bytes bmp = ReadBytes(output_ + "\\still_0004.bmp");
    ASSERT_EQ(bmp.size(), 54 + decoded.rows.size());
    EXPECT_TRUE(Bytes(bmp.begin() + 54, bmp.end()) == BottomUp(decoded));

    EXPECT_NE(RunCameraTool(ini + "read 3 \"" + output_ + "\\still_\"", printed, output), 0u);
    EXPECT_NE(RunCameraTool(ini + "read 6 \"" + output_ + "\\still_\"", printed, output), 0u);
    EXPECT_EQ(RunCameraTool("--ini \"C:\\nowhere.ini\" list", printed, output), 1u);
}
