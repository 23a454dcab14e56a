// The source's calls around the camera access library: its settings file,
// the wait for idle firmware, the file database and the vendor requests.
#pragma once

#include <windows.h>

#include <vector>

#include "album/dsclink.h"
#include "album/fdb_record.h"

// Hands the library its INI file, "TWAIN_32\Tz600a\DSCLINK.INI" under the
// Windows directory. True when the library loaded it.
bool LoadCameraSettings();

// Whether the camera answers: the library takes its INI file and counts the
// objects stored in the camera.
bool CameraAnswers();

// The album's pauses for the camera: `milliseconds` divided by
// g_cameraWaitDivisor, which is 1 in the data source. Tests of the linked
// source that do not look at a pause's length raise the divisor.
extern unsigned g_cameraWaitDivisor;
void PauseForCamera(DWORD milliseconds);

// Sleeps 200 ms and polls the firmware; while it is busy, sleeps 100 ms and
// polls again, at most 52 more times (about 5.4 s in all). True when the
// firmware was idle at the last poll.
bool WaitFWIdle();

// Reads the first `count` records of the file database into a zero-filled
// buffer of count * 32 + 1024 bytes. False when the library refuses or the
// count is beyond what a FAT directory holds.
bool ReadFdbContext(unsigned long count, std::vector<unsigned char>& records);

// Vendor request 0x00 with value 0x2000; true when the library accepts it.
bool VendorRequest2000();

// Vendor request 0x25 with one data byte: kStillSizeFull selects the
// sensor's full still size, kStillSize640 selects 640 x 480.
void SetStillSize(unsigned char size);
