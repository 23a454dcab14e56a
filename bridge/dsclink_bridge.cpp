// The camera library bridge: DSCLINK.dll for 64-bit processes where the
// camera maker's library is 32-bit. It has the library's nine functions and
// carries each call to DscLinkHost.exe, which makes it in the maker's
// library; the pointer arguments travel as the bytes they point to. A call
// that the host cannot make fails as the library fails, with 1.
#include <windows.h>

#include <atomic>
#include <cstring>

#include "album/dsclink.h"
#include "bridge/bridge_messages.h"
#include "bridge/camera_host.h"
#include "runtime/module_runtime.h"
#include "source/transfer_names.h"

namespace {

const int kFailed = 1;

// One call at a time, in the order they come. A call from within the
// progress callback of another is refused: the host is busy with that one.
SRWLOCK g_oneCall = SRWLOCK_INIT;
std::atomic<DWORD> g_callingThread{0};

CallMessage NewCall(CameraFunction function)
{
    CallMessage call = {function, 0, {}, {}, {}};
    return call;
}

// Carries a path, which must fit the message's bound.
bool PutText(CallMessage& call, const char* text)
{
    if (text == nullptr) {
        call.nullArguments |= kNullText;
        return true;
    }
    const size_t length = strnlen(text, kMaxCallText + 1);
    call.text.assign(text, length);
    return length <= kMaxCallText;
}

void PutData(CallMessage& call, const unsigned char* data, size_t size)
{
    if (data == nullptr) {
        call.nullArguments |= kNullData;
    } else {
        call.data.assign(data, data + size);
    }
}

// Makes the call in the host; false when the host could not make it, which
// the caller answers as the library's failure.
bool Made(const CallMessage& call, DscProgressProc progress, ResultMessage& result)
{
    if (g_callingThread.load() == GetCurrentThreadId()) {
        return false;
    }
    AcquireSRWLockExclusive(&g_oneCall);
    g_callingThread = GetCurrentThreadId();
    const bool made = CallHost(call, progress, result);
    g_callingThread = 0;
    ReleaseSRWLockExclusive(&g_oneCall);
    return made;
}

int Run(const CallMessage& call, DscProgressProc progress = nullptr)
{
    ResultMessage result;
    return Made(call, progress, result) ? result.result : kFailed;
}

// What a file was before a read-out wrote it.
struct FileStamp {
    bool exists;
    WIN32_FILE_ATTRIBUTE_DATA data;
};

FileStamp StampOf(const char* path)
{
    FileStamp stamp = {};
    stamp.exists = GetFileAttributesExA(path, GetFileExInfoStandard, &stamp.data) != 0;
    return stamp;
}

bool SameFile(const FileStamp& before, const FileStamp& after)
{
    return before.exists == after.exists &&
           (!before.exists ||
            (CompareFileTime(&before.data.ftLastWriteTime, &after.data.ftLastWriteTime) == 0 &&
             before.data.nFileSizeLow == after.data.nFileSizeLow &&
             before.data.nFileSizeHigh == after.data.nFileSizeHigh));
}

// The file a read-out writes under the caller's name: the transfer file
// path + number + ".bmp" of a still, or the path itself.
bool ReadOutTarget(int index, const char* path, int mode, char* target, size_t size)
{
    if (path == nullptr) {
        return false;
    }
    if (mode == kUploadAsBitmap) {
        return FormTransferFileName(target, size, path, index + 1);
    }
    const size_t length = strnlen(path, size);
    memcpy(target, path, length < size ? length + 1 : 0);
    return length < size;
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved)
{
    // At an unload the host goes with the bridge; at the process's end it
    // goes with the process.
    if (reason == DLL_PROCESS_DETACH && reserved == nullptr) {
        CloseHost();
    }
    GiveBackRuntimeAtUnload(reason, reserved);
    return TRUE;
}

extern "C" {

int __cdecl Load_IniFile(char* path)
{
    CallMessage call = NewCall(CameraFunction::Load_IniFile);
    return PutText(call, path) ? Run(call) : kFailed;
}

// The library finds the caller's count as the caller left it.
int __cdecl GetFDBCount(unsigned long* count)
{
    CallMessage call = NewCall(CameraFunction::GetFDBCount);
    if (count == nullptr) {
        call.nullArguments = kNullCount;
    } else {
        call.numbers[0] = *count;
    }
    ResultMessage result;
    if (!Made(call, nullptr, result)) {
        return kFailed;
    }
    if (count != nullptr) {
        *count = result.count;
    }
    return result.result;
}

int __cdecl GetFDBContext(unsigned long first, unsigned long count, unsigned char* records)
{
    const size_t size = FdbContextSize(count);
    if (size == 0) {
        return kFailed;
    }
    CallMessage call = NewCall(CameraFunction::GetFDBContext);
    call.numbers[0] = first;
    call.numbers[1] = count;
    PutData(call, records, size);
    ResultMessage result;
    if (!Made(call, nullptr, result)) {
        return kFailed;
    }
    if (records != nullptr) {
        if (result.data.size() != size) {
            return kFailed;
        }
        memcpy(records, result.data.data(), size);
    }
    return result.result;
}

// A read-out that fails leaves no file under the caller's name that it
// began: a host stopped while writing would leave part of one.
int __cdecl Upload_DOSFAT_Object(int index, unsigned char* records, char* path, int mode, int flag,
                                 DscProgressProc progress)
{
    const size_t recordBytes = UploadRecordBytes(index);
    CallMessage call = NewCall(CameraFunction::Upload_DOSFAT_Object);
    if (records != nullptr && recordBytes == 0) {
        return kFailed;
    }
    call.numbers[0] = static_cast<uint32_t>(index);
    call.numbers[1] = static_cast<uint32_t>(mode);
    call.numbers[2] = static_cast<uint32_t>(flag);
    call.nullArguments = progress == nullptr ? kNullProgress : 0;
    PutData(call, records, recordBytes);
    if (!PutText(call, path)) {
        return kFailed;
    }
    char target[MAX_PATH];
    const bool named = ReadOutTarget(index, path, mode, target, sizeof target);
    const FileStamp before = named ? StampOf(target) : FileStamp{};
    const int answer = Run(call, progress);
    if (answer != 0 && named && !SameFile(before, StampOf(target))) {
        DeleteFileA(target);
    }
    return answer;
}

int __cdecl DeleteFDBObject(unsigned long which)
{
    CallMessage call = NewCall(CameraFunction::DeleteFDBObject);
    call.numbers[0] = which;
    return Run(call);
}

int __cdecl Capture_DOSFAT_DSC()
{
    return Run(NewCall(CameraFunction::Capture_DOSFAT_DSC));
}

int __cdecl CheckFWIdle()
{
    return Run(NewCall(CameraFunction::CheckFWIdle));
}

int __cdecl VendorCommandBulkWrite(unsigned char request, unsigned short value,
                                   unsigned short index, unsigned short length)
{
    CallMessage call = NewCall(CameraFunction::VendorCommandBulkWrite);
    call.numbers[0] = request;
    call.numbers[1] = value;
    call.numbers[2] = index;
    call.numbers[3] = length;
    return Run(call);
}

int __cdecl VendorCommandBulkWrite64(unsigned char request, unsigned short value,
                                     unsigned short index, unsigned short length,
                                     unsigned char* data)
{
    CallMessage call = NewCall(CameraFunction::VendorCommandBulkWrite64);
    call.numbers[0] = request;
    call.numbers[1] = value;
    call.numbers[2] = index;
    call.numbers[3] = length;
    PutData(call, data, length);
    return Run(call);
}

}  // extern "C"
