// The functions of DSCLINK.dll, the camera maker's access library, as the
// source calls them: plain C functions with the C calling convention,
// imported by name. They take no handle (the library keeps its own link to
// the one camera) and return 0 for success unless said otherwise.
#pragma once

extern "C" {

// Called with every 512-byte block or so of an object read out of the camera.
typedef int(__cdecl* DscProgressProc)(unsigned long, unsigned long, unsigned long);

// Loads the library's settings from its INI file.
int __cdecl Load_IniFile(char* path);

// The number of objects in the camera's storage.
int __cdecl GetFDBCount(unsigned long* count);

// `count` 32-byte file database records from the 1-based `first` on, in
// storage order, newest last. `records` is zero-filled and holds
// count * 32 + 1024 bytes.
int __cdecl GetFDBContext(unsigned long first, unsigned long count, unsigned char* records);

// Reads the object of record `index` (0-based, in the records just read)
// out of the camera. Mode 0: a JPEG still decoded into a bottom-up 24-bit
// BMP file named `path` + (index + 1) in four digits + ".bmp". Mode 1: the
// object's bytes written unchanged to `path`. `flag` is always 1.
int __cdecl Upload_DOSFAT_Object(int index, unsigned char* records, char* path, int mode, int flag,
                                 DscProgressProc progress);

// 0xFFFF deletes the newest object, 0 every object.
int __cdecl DeleteFDBObject(unsigned long which);

// Takes a still and stores it as the new last object.
int __cdecl Capture_DOSFAT_DSC();

// Low byte 0: the firmware is idle; anything else: busy.
int __cdecl CheckFWIdle();

int __cdecl VendorCommandBulkWrite(unsigned char request, unsigned short value,
                                   unsigned short index, unsigned short length);

// Its result tells nothing the source relies on.
int __cdecl VendorCommandBulkWrite64(unsigned char request, unsigned short value,
                                     unsigned short index, unsigned short length,
                                     unsigned char* data);
}

// Upload_DOSFAT_Object's modes and flag.
const int kUploadAsBitmap = 0;
const int kUploadUnchanged = 1;
const int kUploadFlag = 1;

// DeleteFDBObject's arguments.
const unsigned long kDeleteNewest = 0xFFFF;
const unsigned long kDeleteAll = 0;

// The still sizes that vendor request 0x25 selects.
const unsigned char kStillSizeFull = 1;
const unsigned char kStillSize640 = 2;
