// The snap in video mode: the live video stops, the camera takes a still,
// and the still is read out as a transfer file for the application and
// deleted from the camera again.
#pragma once

#include <windows.h>

struct VideoSnapResult {
    // The camera took the still.
    bool taken;
    // Its transfer file was written; the queue's current file names it.
    bool produced;
};

VideoSnapResult VideoSnap(HWND window);
