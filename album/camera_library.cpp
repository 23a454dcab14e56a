#include "album/camera_library.h"

#include <windows.h>

#include <cstdio>

namespace {

const DWORD kFirstIdleWait = 200;
const DWORD kIdleRepollWait = 100;
const int kMoreIdlePolls = 52;

const unsigned char kRequestStatus = 0x00;
const unsigned short kStatusValue = 0x2000;
const unsigned char kRequestStillSize = 0x25;
const unsigned short kStillSizeValue = 2;

bool FirmwareIdle()
{
    return (CheckFWIdle() & 0xFF) == 0;
}

}  // namespace

bool LoadCameraSettings()
{
    char windowsDirectory[256];
    const UINT length = GetWindowsDirectoryA(windowsDirectory, sizeof windowsDirectory);
    if (length == 0 || length >= sizeof windowsDirectory) {
        return false;
    }
    char path[MAX_PATH];
    const int written =
        snprintf(path, sizeof path, "%s\\%s", windowsDirectory, "TWAIN_32\\Tz600a\\DSCLINK.INI");
    if (written < 0 || static_cast<size_t>(written) >= sizeof path) {
        return false;
    }
    return Load_IniFile(path) == 0;
}

bool CameraAnswers()
{
    unsigned long count = 0;
    return LoadCameraSettings() && GetFDBCount(&count) == 0;
}

unsigned g_cameraWaitDivisor = 1;

void PauseForCamera(DWORD milliseconds)
{
    Sleep(milliseconds / g_cameraWaitDivisor);
}

bool WaitFWIdle()
{
    PauseForCamera(kFirstIdleWait);
    bool idle = FirmwareIdle();
    for (int poll = 0; !idle && poll < kMoreIdlePolls; ++poll) {
        PauseForCamera(kIdleRepollWait);
        idle = FirmwareIdle();
    }
    return idle;
}

bool ReadFdbContext(unsigned long count, std::vector<unsigned char>& records)
{
    records.clear();
    const size_t size = FdbContextSize(count);
    if (size == 0) {
        return false;
    }
    records.assign(size, 0);
    if (GetFDBContext(1, count, records.data()) != 0) {
        records.clear();
        return false;
    }
    return true;
}

bool VendorRequest2000()
{
    return VendorCommandBulkWrite(kRequestStatus, kStatusValue, 0, 0) == 0;
}

void SetStillSize(unsigned char size)
{
    VendorCommandBulkWrite64(kRequestStillSize, kStillSizeValue, 0, 1, &size);
}
