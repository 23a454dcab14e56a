// acquire.exe end to end: it opens and enables the installed source through
// the Source Manager, runs its loop and closes the source when the time is
// up or when the user closes the album window; as the album's user it
// uploads the camera's stills and takes them by each transfer mechanism.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

#include "support/acquired_pictures.h"
#include "support/picture_decode.h"
#include "support/prefix_files.h"
#include "support/programs.h"

namespace {

// Starts the build's acquire.exe with the arguments given.
bool StartAcquire(const std::string& arguments, ProgramRun& run)
{
    return run.Start(BuiltAcquire() + " " + arguments);
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
        ProgramRun run;
        ASSERT_TRUE(StartAcquire(arguments, run));
        EXPECT_NE(WaitForAlbumWindow(), nullptr);
        EXPECT_EQ(run.Finish(), 0);
        std::string output = run.Output();
        EXPECT_TRUE(Contains(output, "Enabled the source")) << output;
        EXPECT_TRUE(Contains(output, "Time is up")) << output;
        EXPECT_TRUE(Contains(output, "Disabled the source")) << output;
        EXPECT_TRUE(Contains(output, "Closed the source")) << output;
    }
}

TEST(Acquire, ClosesTheSourceWhenTheUserClosesTheWindow)
{
    ProgramRun run;
    ASSERT_TRUE(StartAcquire("--close-after 0", run));
    HWND album = WaitForAlbumWindow();
    ASSERT_NE(album, nullptr);
    PostMessageA(album, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(run.Finish(), 0);
    std::string output = run.Output();
    EXPECT_TRUE(Contains(output, "The source asks to be closed")) << output;
    EXPECT_TRUE(Contains(output, "Closed the source")) << output;
    EXPECT_FALSE(IsWindow(album));
}

// acquire presses UpLoad with the stills selected, takes the three pictures
// announced by the chosen mechanism (memory transfers in the buffer size the
// installed capability file prefers) and closes the window; each saved
// picture holds exactly the pixels of a decode of the camera's JPEG.
TEST(Acquire, UploadAllSavesTheCameraStillsByEachMechanism)
{
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    for (const char* mechanism : {"native", "memory", "file"}) {
        SCOPED_TRACE(mechanism);
        const std::string output = EmptyFolder(std::string("acquire_upload_") + mechanism);
        ProgramRun run;
        const DWORD start = GetTickCount();
        ASSERT_TRUE(StartAcquire(std::string("--upload-all --close-after 30000 --mechanism ") +
                                     mechanism + " --output \"" + output + "\"",
                                 run));
        EXPECT_EQ(run.Finish(), 0);
        printf("acquire --upload-all by %s transfer: %lu ms from start to end\n", mechanism,
               GetTickCount() - start);
        const std::string printed = run.Output();
        EXPECT_TRUE(Contains(printed, "Selected 3 stills in the album and pressed UpLoad"))
            << printed;
        EXPECT_TRUE(Contains(printed, "Saved 3 pictures")) << printed;
        EXPECT_TRUE(Contains(printed, "The source asks to be closed")) << printed;
        ExpectStillsSaved(output, SourceDirectory() + "Camera");
    }
    CoUninitialize();
}

// The peak signal-to-noise ratio of a decode against a reference, in dB.
double PeakSignalToNoise(const Decoded& picture, const Decoded& reference)
{
    double squares = 0;
    for (size_t i = 0; i < reference.rows.size(); ++i) {
        const double difference = picture.rows[i] - reference.rows[i];
        squares += difference * difference;
    }
    return 10 * log10(255.0 * 255.0 * reference.rows.size() / std::max(squares, 1.0));
}

// Each format holds the picture that the BMP holds: PNG and TIFF pixel for
// pixel, JPEG (at the encoder's default quality) at 45 dB or more. The
// JPEGs of these stills, themselves decoded JPEGs, come to about 51 dB; the
// same picture one row off comes to 35 to 41 dB, with red and blue swapped
// to 17 dB, upside down to 12 dB.
TEST(Acquire, SavesThePicturesInEachFormat)
{
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const std::string output = EmptyFolder("acquire_formats");
    // The TIFF files are converted from file transfers, the others from native ones.
    for (const char* arguments :
         {"--format bmp", "--format png", "--format jpeg", "--format tiff --mechanism file"}) {
        EXPECT_EQ(RunProgram(BuiltAcquire() + " --upload-all --close-after 30000 " + arguments +
                             " --output \"" + output + "\""),
                  0)
            << arguments;
    }
    for (int number = 1; number <= 3; ++number) {
        const std::string name = output + "\\picture_00" + std::to_string(number) + ".";
        Decoded bmp;
        ASSERT_TRUE(DecodePictureFile(name + "bmp", bmp));
        for (const char* extension : {"png", "jpg", "tif"}) {
            SCOPED_TRACE(name + extension);
            Decoded picture;
            ASSERT_TRUE(DecodePictureFile(name + extension, picture));
            ASSERT_EQ(picture.width, bmp.width);
            ASSERT_EQ(picture.height, bmp.height);
            if (strcmp(extension, "jpg") == 0) {
                const double psnr = PeakSignalToNoise(picture, bmp);
                printf("%s: %.1f dB\n", (name + extension).c_str(), psnr);
                EXPECT_GE(psnr, 45.0);
            } else {
                EXPECT_TRUE(picture.rows == bmp.rows);
            }
        }
    }
    CoUninitialize();
}

// acquire asks a source what each capability offers only in a TWAIN 2
// session, which the 64-bit Source Manager gives.
TEST(Acquire, CapsShowWhatEachCapabilityOffersInATwain2Session)
{
    ProgramRun run;
    ASSERT_TRUE(StartAcquire("--caps", run));
    EXPECT_EQ(run.Finish(), 0);
    const std::string printed = run.Output();
    const bool twain2 = sizeof(void*) == 8;
    EXPECT_TRUE(Contains(printed, twain2 ? "ICAP_XFERMECH (259) [get current default set reset] "
                                           "MSG_GET: TWON_ENUMERATION"
                                         : "ICAP_XFERMECH (259) [not asked] MSG_GET: "))
        << printed;
    EXPECT_TRUE(Contains(printed, twain2 ? "ICAP_PIXELFLAVOR (4383) [get current default] "
                                           "MSG_GET: TWON_ONEVALUE of TWTY_UINT16: 0"
                                         : "ICAP_PIXELFLAVOR (4383) [not asked] MSG_GET: "))
        << printed;
}

TEST(Acquire, UploadAllClosesTheWindowOfAnAlbumWithoutStills)
{
    const std::string settings = SourceDirectory() + "DSCLINK.INI";
    SavedFile installed(settings);
    const std::string storage = EmptyFolder("acquire_sound_only");
    CopyFileA((SourceDirectory() + "Camera\\DSC_0005.WAV").c_str(),
              (storage + "\\DSC_0005.WAV").c_str(), FALSE);
    WriteTextFile(settings, "[Camera]\r\nStorage=" + storage + "\r\n");
    ProgramRun run;
    ASSERT_TRUE(StartAcquire("--upload-all --close-after 30000", run));
    EXPECT_EQ(run.Finish(), 0);
    const std::string printed = run.Output();
    EXPECT_TRUE(Contains(printed, "The album lists no stills; closing its window")) << printed;
    EXPECT_TRUE(Contains(printed, "The source asks to be closed")) << printed;
    DeleteFileA((storage + "\\DSC_0005.WAV").c_str());
    RemoveDirectoryA(storage.c_str());
}

}  // namespace
