// Entry of every Wine test program.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include "support/camera_pauses.h"

int main(int argc, char** argv)
{
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    g_cameraWaitDivisor = kShortCameraPauses;
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
