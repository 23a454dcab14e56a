// The messages between the camera library bridge, the DSCLINK.dll of
// 64-bit processes, and DscLinkHost.exe, the 32-bit process that loads the
// camera maker's 32-bit library and makes the calls there. Every message is
// an 8-byte header and a body of fixed-width little-endian fields; pointer
// arguments travel as the bytes they point to, and no pointer or handle ever
// crosses. The readers check every length and count against the fixed
// bounds below before anything is allocated or copied.
//
//   header    u32 size (the whole message), u16 version, u16 kind
//   Hello     (bridge) nothing: the header's version is the bridge's
//   Welcome   (host)   u32 library state
//   Call      (bridge) u16 function, u16 null arguments, u32 numbers[4],
//                      u32 text size, u32 data size, text, data
//   Progress  (host)   u32 count, count x (u32, u32, u32)
//   Result    (host)   i32 result, u32 count, u32 data size, data
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "album/fdb_record.h"

// A host answers only a bridge of its own version.
const uint16_t kBridgeVersion = 1;
const size_t kMessageHeaderSize = 8;

// The bounds: a path, the records of a whole FAT directory with the
// library's slack, and the progress calls of one batch.
const size_t kMaxCallText = 4096;
const size_t kMaxCallData = kFdbMaxRecords * kFdbRecordSize + kFdbContextSlack;
const size_t kMaxProgressCalls = 4096;

enum class MessageKind : uint16_t { Hello = 1, Welcome = 2, Call = 3, Progress = 4, Result = 5 };

// The camera library's nine functions.
enum class CameraFunction : uint16_t {
    Load_IniFile = 1,
    GetFDBCount,
    GetFDBContext,
    Upload_DOSFAT_Object,
    DeleteFDBObject,
    Capture_DOSFAT_DSC,
    CheckFWIdle,
    VendorCommandBulkWrite,
    VendorCommandBulkWrite64,
};

// What the host found of the maker's library.
enum class LibraryState : uint32_t { Loaded = 0, Missing = 1, Incomplete = 2 };

// Bits of CallMessage::nullArguments: pointer arguments the caller passed as
// null, which the host passes on as null.
const uint16_t kNullText = 1;      // Load_IniFile's and Upload_DOSFAT_Object's path
const uint16_t kNullData = 2;      // records, or the vendor request's data
const uint16_t kNullCount = 4;     // GetFDBCount's count
const uint16_t kNullProgress = 8;  // Upload_DOSFAT_Object's progress callback
const uint16_t kKnownNullArguments = kNullText | kNullData | kNullCount | kNullProgress;

struct MessageHeader {
    uint32_t size;
    uint16_t version;
    MessageKind kind;
};

// One call. numbers holds the function's number arguments in the order of
// its parameters (Upload_DOSFAT_Object: index, mode, flag), text a path
// without its terminating zero, data the records or the vendor request's
// bytes.
struct CallMessage {
    CameraFunction function;
    uint16_t nullArguments;
    uint32_t numbers[4];
    std::string text;
    std::vector<unsigned char> data;
};

// One call of the progress callback, with its three arguments.
struct ProgressCall {
    uint32_t arguments[3];
};

// A call's end: the function's result, GetFDBCount's count and
// GetFDBContext's whole block.
struct ResultMessage {
    int32_t result;
    uint32_t count;
    std::vector<unsigned char> data;
};

std::vector<unsigned char> EncodeHello();
std::vector<unsigned char> EncodeWelcome(LibraryState state);
std::vector<unsigned char> EncodeCall(const CallMessage& call);
std::vector<unsigned char> EncodeProgress(const std::vector<ProgressCall>& calls);
std::vector<unsigned char> EncodeResult(const ResultMessage& result);

// Reads a header and checks its version, its kind and its size against the
// bounds of that kind. The body that follows is header.size -
// kMessageHeaderSize bytes.
bool ParseHeader(const unsigned char* bytes, MessageHeader& header);

// Read a body of the kind named; false unless every length and count in it
// is within bounds and the fields fill the body exactly.
bool ParseWelcome(const unsigned char* body, size_t size, LibraryState& state);
bool ParseCall(const unsigned char* body, size_t size, CallMessage& call);
bool ParseProgress(const unsigned char* body, size_t size, std::vector<ProgressCall>& calls);
bool ParseResult(const unsigned char* body, size_t size, ResultMessage& result);

// Whether a call's text and data are what its function takes: records of
// GetFDBContext's count and slack, those up to Upload_DOSFAT_Object's index,
// the vendor request's length in bytes, no text or data where the function
// has no such argument.
bool CallShapeValid(const CallMessage& call);

// The bytes of records Upload_DOSFAT_Object reads for record `index`: those
// up to and including it; 0 for an index the records cannot hold.
size_t UploadRecordBytes(int32_t index);
