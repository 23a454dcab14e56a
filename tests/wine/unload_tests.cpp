// Source Managers load the source for each session and unload it after, so
// one process may load it thousands of times: each unload gives back what
// the load took, and so do the stand-ins' unloads. This program holds none
// of those libraries itself (it links no code of the source), so each load
// here really loads the library and each unload really unloads it.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "support/prefix_files.h"
#include "support/process_resources.h"
#include "tools/acquire/twain_app.h"

namespace {

const int kLoads = 40;
// A load that left one kernel handle or 16 KB behind goes past these.
const long kHandleGrowthLimit = kLoads / 2;
const long kPrivateGrowthLimit = kLoads * 8 * 1024;

long PrivateGrowth(const ProcessResources& before, const ProcessResources& after)
{
    return static_cast<long>(after.privateBytes) - static_cast<long>(before.privateBytes);
}

bool OpenAndCloseCamera(TwainApp& app)
{
    return OpenSourceNamed(app, "Camera") && CloseOpenSource(app);
}

bool LoadAndUnload(const std::string& path)
{
    HMODULE module = LoadLibraryA(path.c_str());
    return module != nullptr && FreeLibrary(module);
}

}  // namespace

TEST(Unload, SourceOpenedAndClosedThroughTheManagerLeavesNothingBehind)
{
    TwainApp app = {};
    ASSERT_TRUE(OpenSourceManager(app));
    // The first sessions load what stays for the process's life.
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(OpenAndCloseCamera(app));
    }
    const ProcessResources before = MeasureProcessResources();
    for (int i = 0; i < kLoads; ++i) {
        ASSERT_TRUE(OpenAndCloseCamera(app));
    }
    const ProcessResources after = MeasureProcessResources();
    EXPECT_EQ(GetModuleHandleA("Tz600a.ds"), nullptr);
    EXPECT_EQ(GetModuleHandleA("DSCLINK.dll"), nullptr);
    CloseSourceManager(app);
    EXPECT_LT(after.kernelHandles - before.kernelHandles, kHandleGrowthLimit);
    EXPECT_LT(PrivateGrowth(before, after), kPrivateGrowthLimit);
    EXPECT_EQ(after.gdiObjects, before.gdiObjects);
    EXPECT_EQ(after.userObjects, before.userObjects);
}

TEST(Unload, StandInsLeaveNothingBehind)
{
    // The video driver is loaded by the platform's video layer, which holds
    // the multimedia library meanwhile.
    HMODULE multimedia = LoadLibraryA("winmm.dll");
    ASSERT_NE(multimedia, nullptr);
    // The 64-bit camera library lies in the 64-bit system folder.
    const std::string libraries[] = {sizeof(void*) == 8 ? SystemFile("DSCLINK.dll")
                                                        : WindowsDirectory() + "\\DSCLINK.dll",
                                     SystemFile("zx600cap.ax"), SystemFile("i420dec.dll"),
                                     sizeof(void*) == 8 ? "TWAINDSM.DLL" : "TWAIN_32.DLL"};
    for (const std::string& library : libraries) {
        ASSERT_TRUE(LoadAndUnload(library)) << library;
        const ProcessResources before = MeasureProcessResources();
        for (int i = 0; i < kLoads; ++i) {
            ASSERT_TRUE(LoadAndUnload(library)) << library;
        }
        const ProcessResources after = MeasureProcessResources();
        EXPECT_LT(after.kernelHandles - before.kernelHandles, kHandleGrowthLimit) << library;
        EXPECT_LT(PrivateGrowth(before, after), kPrivateGrowthLimit) << library;
    }
    FreeLibrary(multimedia);
}
