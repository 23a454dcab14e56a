// The simulated camera's settings: the INI file handed to Load_IniFile names
// the storage folder and holds the camera's state and the switches that
// tests use. Everything is read again at every call.
//
// [Camera]  Storage     the storage folder, absolute or relative to the INI
//                       file's folder
//           StillSize   1: full size (1280 x 960), 2: 640 x 480; set by the
//                       vendor request 0x25
//           BusyPolls   CheckFWIdle reports busy for this many more polls
//           BusyReply   CheckFWIdle's value when busy (1 when absent)
//           IdleReply   CheckFWIdle's value when idle (0 when absent)
//           LoseCaptures 1: Capture_DOSFAT_DSC reports success but stores
//                       nothing, as a firmware that loses its still
//           ProgressBlock bytes a read-out reads between two progress
//                       calls (512 when absent)
//           BlockPause  milliseconds a read-out waits after each block, as
//                       a slow camera
//           EndMidWrite 1: a read-out into a BMP file writes half of it and
//                       ends the process, as a library that crashes would
// [Fail]    <function>  "always", or the number of the call (as counted in
//                       [Counts]) that fails
// [Counts]  <function>  calls of each function, written by the library
// [Stall]   <function>  milliseconds each call waits before it does anything
// [Damage]  Record<n>   "offset:hexbytes" written over record n (1-based)
//                       as GetFDBContext hands it out
#pragma once

#include <cstddef>
#include <map>
#include <string>

// Takes the INI file when it exists and its storage folder too.
bool LoadSettingsFile(const char* path);

bool SettingsLoaded();

// Counts a call of the function, waits as long as it is to stall, and tells
// whether it may go on: false without settings or when the call is to fail.
bool CallAllowed(const char* function);

bool StorageFolder(char* folder, size_t size);

int ReadCameraSetting(const char* key, int fallback);
void WriteCameraSetting(const char* key, int value);

// The patches of the [Damage] section by record number, read at once.
std::map<unsigned long, std::string> RecordDamage();
