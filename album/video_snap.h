// The snap in video mode: the live video stops, the camera takes a still,
// and the camera's newest object is read out as a transfer file for the
// application. The still is deleted from the camera again, and only the
// still: a newest object that the capture did not add stays.
#pragma once

#include <windows.h>

struct VideoSnapResult {
    // The camera took the still.
    bool taken;
    // Its transfer file was written; the queue's current file names it.
    bool produced;
};

VideoSnapResult VideoSnap(HWND window);
