// How long the linked source pauses for the camera. Test programs run with
// the pauses a tenth as long; a test that looks at a pause, or that is to
// run one at its real length, brings the data source's lengths back for
// its duration.
#pragma once

#include "album/camera_library.h"

const unsigned kShortCameraPauses = 10;

class RealCameraPauses {
public:
    RealCameraPauses() : saved_(g_cameraWaitDivisor) { g_cameraWaitDivisor = 1; }
    ~RealCameraPauses() { g_cameraWaitDivisor = saved_; }
    RealCameraPauses(const RealCameraPauses&) = delete;
    RealCameraPauses& operator=(const RealCameraPauses&) = delete;

private:
    unsigned saved_;
};
