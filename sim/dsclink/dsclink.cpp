// The simulated camera: DSCLINK.dll's nine functions over a storage folder.
// The file database is the folder's JPG, AVI and WAV files in name order;
// read-out decodes JPEGs with the Windows Imaging Component; capture paints
// a test scene and stores it as the next "DSC_nnnn.JPG". Each function
// counts its calls in the settings file and fails when the settings say so.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "album/dsclink.h"
#include "runtime/module_runtime.h"
#include "sim/dsclink/bmp_image.h"
#include "sim/dsclink/camera_settings.h"
#include "sim/dsclink/fat_entry.h"
#include "sim/dsclink/storage.h"
#include "sim/dsclink/test_scene.h"
#include "sim/dsclink/wic_codec.h"

namespace {

const int kSucceeded = 0;
const int kFailed = 1;
// The exit code of a process that a read-out ends as a crash would.
const UINT kEndedMidWrite = 0xC0000005;

const int kFullWidth = 1280;
const int kFullHeight = 960;
const int kSmallWidth = 640;
const int kSmallHeight = 480;

const unsigned char kStatusRequest = 0x00;
const unsigned short kStatusValue = 0x2000;
const unsigned char kStillSizeRequest = 0x25;
const unsigned short kStillSizeValue = 2;

int Result(bool succeeded)
{
    return succeeded ? kSucceeded : kFailed;
}

// COM for the codec: initialised for the call unless the thread already
// runs it in another apartment model, in which case it is usable as it is.
HRESULT EnterCom()
{
    return CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
}

void LeaveCom(HRESULT entered)
{
    if (SUCCEEDED(entered)) {
        CoUninitialize();
    }
}

// The stored object that the caller's record `index` stands for, provided
// the storage still holds it there.
bool FindRecordObject(int index, const unsigned char* records, StoredObject& object)
{
    std::vector<StoredObject> objects;
    if (index < 0 || records == nullptr || !ListObjects(objects) ||
        static_cast<size_t>(index) >= objects.size()) {
        return false;
    }
    const unsigned char* record = records + static_cast<size_t>(index) * kFatEntrySize;
    if (!FatEntryNames(record, objects[index].fileName.c_str())) {
        return false;
    }
    object = objects[index];
    return true;
}

bool ExtensionIs(const StoredObject& object, const char* extension)
{
    return object.fileName.size() > 4 &&
           _stricmp(object.fileName.c_str() + object.fileName.size() - 3, extension) == 0;
}

// A still read out as a BMP file: path + number in four digits + ".bmp".
bool UploadAsBitmap(const StoredObject& object, int number, const char* path,
                    DscProgressProc progress)
{
    char target[MAX_PATH];
    const int length = snprintf(target, sizeof target, "%s%04d.bmp", path, number);
    std::vector<unsigned char> jpeg;
    if (!ExtensionIs(object, "JPG") || length < 0 || static_cast<size_t>(length) >= sizeof target ||
        !ReadObject(object, jpeg, progress)) {
        return false;
    }
    const HRESULT com = EnterCom();
    Picture picture;
    const bool decoded = DecodeJpeg(jpeg, picture);
    LeaveCom(com);
    std::vector<unsigned char> bmp;
    if (!decoded || !MakeBmpFile(picture.bgr.data(), picture.width, picture.height, bmp)) {
        return false;
    }
    if (ReadCameraSetting("EndMidWrite", 0) != 0) {
        WriteWholeFile(target, bmp.data(), bmp.size() / 2);
        TerminateProcess(GetCurrentProcess(), kEndedMidWrite);
    }
    return WriteWholeFile(target, bmp.data(), bmp.size());
}

bool EndsWithCameraExtension(const char* path, size_t length)
{
    if (length < 4 || path[length - 4] != '.') {
        return false;
    }
    const char* extension = path + length - 3;
    return _stricmp(extension, "JPG") == 0 || _stricmp(extension, "AVI") == 0 ||
           _stricmp(extension, "WAV") == 0;
}

// Several objects may be saved through one chosen name, so each gets its
// own file: the name without a camera extension the user may have typed,
// the object's number in four digits, and the object's own extension
// ("C:\My Documents\DSC_" gives "C:\My Documents\DSC_0003.JPG").
bool UploadUnchanged(const StoredObject& object, int number, const char* path,
                     DscProgressProc progress)
{
    size_t stemLength = strlen(path);
    if (EndsWithCameraExtension(path, stemLength)) {
        stemLength -= 4;
    }
    const std::string extension = object.fileName.substr(object.fileName.size() - 3);
    char target[MAX_PATH];
    const int length = snprintf(target, sizeof target, "%.*s%04d.%s", static_cast<int>(stemLength),
                                path, number, extension.c_str());
    std::vector<unsigned char> bytes;
    return length >= 0 && static_cast<size_t>(length) < sizeof target &&
           ReadObject(object, bytes, progress) &&
           WriteWholeFile(target, bytes.data(), bytes.size());
}

bool StoreTestStill()
{
    std::vector<StoredObject> objects;
    std::string path;
    int number = 0;
    if (!ListObjects(objects) || !NextStillPath(objects, path, number)) {
        return false;
    }
    const bool full = ReadCameraSetting("StillSize", kStillSize640) == kStillSizeFull;
    Picture picture;
    picture.width = full ? kFullWidth : kSmallWidth;
    picture.height = full ? kFullHeight : kSmallHeight;
    picture.bgr.resize(TestSceneSize(picture.width, picture.height));
    PaintTestScene(picture.bgr.data(), picture.width, picture.height, number);
    const HRESULT com = EnterCom();
    const bool stored = EncodeJpeg(picture, path);
    LeaveCom(com);
    return stored;
}

bool DeleteObjects(unsigned long which)
{
    std::vector<StoredObject> objects;
    if (!ListObjects(objects) || (which != kDeleteNewest && which != kDeleteAll)) {
        return false;
    }
    if (which == kDeleteNewest) {
        return !objects.empty() && DeleteFileA(objects.back().path.c_str());
    }
    bool deleted = true;
    for (const StoredObject& object : objects) {
        deleted = DeleteFileA(object.path.c_str()) && deleted;
    }
    return deleted;
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved)
{
    GiveBackRuntimeAtUnload(reason, reserved);
    return TRUE;
}

extern "C" {

int __cdecl Load_IniFile(char* path)
{
    return Result(LoadSettingsFile(path));
}

int __cdecl GetFDBCount(unsigned long* count)
{
    std::vector<StoredObject> objects;
    if (count == nullptr || !CallAllowed("GetFDBCount") || !ListObjects(objects)) {
        return kFailed;
    }
    *count = static_cast<unsigned long>(objects.size());
    return kSucceeded;
}

int __cdecl GetFDBContext(unsigned long first, unsigned long count, unsigned char* records)
{
    std::vector<StoredObject> objects;
    if (records == nullptr || !CallAllowed("GetFDBContext") || !ListObjects(objects) || first < 1 ||
        first - 1 > objects.size() || count > objects.size() - (first - 1)) {
        return kFailed;
    }
    const std::map<unsigned long, std::string> damage = RecordDamage();
    for (unsigned long i = 0; i < count; ++i) {
        MakeObjectRecord(objects, first - 1 + i, damage, records + i * kFatEntrySize);
    }
    return kSucceeded;
}

int __cdecl Upload_DOSFAT_Object(int index, unsigned char* records, char* path, int mode, int flag,
                                 DscProgressProc progress)
{
    StoredObject object;
    if (path == nullptr || flag != kUploadFlag || !CallAllowed("Upload_DOSFAT_Object") ||
        !FindRecordObject(index, records, object)) {
        return kFailed;
    }
    if (mode == kUploadAsBitmap) {
        return Result(UploadAsBitmap(object, index + 1, path, progress));
    }
    return Result(mode == kUploadUnchanged && UploadUnchanged(object, index + 1, path, progress));
}

int __cdecl DeleteFDBObject(unsigned long which)
{
    return Result(CallAllowed("DeleteFDBObject") && DeleteObjects(which));
}

int __cdecl Capture_DOSFAT_DSC()
{
    return Result(CallAllowed("Capture_DOSFAT_DSC") &&
                  (ReadCameraSetting("LoseCaptures", 0) != 0 || StoreTestStill()));
}

int __cdecl CheckFWIdle()
{
    if (!CallAllowed("CheckFWIdle")) {
        return ReadCameraSetting("BusyReply", 1);
    }
    const int busyPolls = ReadCameraSetting("BusyPolls", 0);
    if (busyPolls > 0) {
        WriteCameraSetting("BusyPolls", busyPolls - 1);
        return ReadCameraSetting("BusyReply", 1);
    }
    return ReadCameraSetting("IdleReply", 0);
}

int __cdecl VendorCommandBulkWrite(unsigned char request, unsigned short value,
                                   unsigned short index, unsigned short length)
{
    return Result(CallAllowed("VendorCommandBulkWrite") && request == kStatusRequest &&
                  value == kStatusValue && index == 0 && length == 0);
}

int __cdecl VendorCommandBulkWrite64(unsigned char request, unsigned short value,
                                     unsigned short index, unsigned short length,
                                     unsigned char* data)
{
    if (!CallAllowed("VendorCommandBulkWrite64") || request != kStillSizeRequest ||
        value != kStillSizeValue || index != 0 || length != 1 || data == nullptr ||
        (data[0] != kStillSizeFull && data[0] != kStillSize640)) {
        return kFailed;
    }
    WriteCameraSetting("StillSize", data[0]);
    return kSucceeded;
}

}  // extern "C"
