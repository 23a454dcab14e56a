#include "bridge/bridge_messages.h"

#include <cstring>

namespace {

const size_t kWelcomeBody = 4;
const size_t kCallFixedBody = 2 + 2 + 4 * 4 + 4 + 4;
const size_t kProgressFixedBody = 4;
const size_t kProgressCallSize = 12;
const size_t kResultFixedBody = 4 + 4 + 4;

void PutU16(std::vector<unsigned char>& bytes, uint16_t value)
{
    bytes.push_back(static_cast<unsigned char>(value));
    bytes.push_back(static_cast<unsigned char>(value >> 8));
}

void PutU32(std::vector<unsigned char>& bytes, uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8) {
        bytes.push_back(static_cast<unsigned char>(value >> shift));
    }
}

uint16_t GetU16(const unsigned char* bytes)
{
    return static_cast<uint16_t>(bytes[0] | bytes[1] << 8);
}

uint32_t GetU32(const unsigned char* bytes)
{
    return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
           static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

// A message of the given kind with room for its header, whose size
// FinishMessage fills in.
std::vector<unsigned char> StartMessage(MessageKind kind)
{
    std::vector<unsigned char> bytes;
    PutU32(bytes, 0);
    PutU16(bytes, kBridgeVersion);
    PutU16(bytes, static_cast<uint16_t>(kind));
    return bytes;
}

std::vector<unsigned char> FinishMessage(std::vector<unsigned char> bytes)
{
    const uint32_t size = static_cast<uint32_t>(bytes.size());
    for (int i = 0; i < 4; ++i) {
        bytes[i] = static_cast<unsigned char>(size >> (8 * i));
    }
    return bytes;
}

// The fewest and the most bytes a body of the kind may have.
bool BodyBounds(MessageKind kind, size_t& least, size_t& most)
{
    switch (kind) {
    case MessageKind::Hello:
        least = most = 0;
        return true;
    case MessageKind::Welcome:
        least = most = kWelcomeBody;
        return true;
    case MessageKind::Call:
        least = kCallFixedBody;
        most = kCallFixedBody + kMaxCallText + kMaxCallData;
        return true;
    case MessageKind::Progress:
        least = kProgressFixedBody;
        most = kProgressFixedBody + kMaxProgressCalls * kProgressCallSize;
        return true;
    case MessageKind::Result:
        least = kResultFixedBody;
        most = kResultFixedBody + kMaxCallData;
        return true;
    }
    return false;
}

bool KnownFunction(uint16_t function)
{
    return function >= static_cast<uint16_t>(CameraFunction::Load_IniFile) &&
           function <= static_cast<uint16_t>(CameraFunction::VendorCommandBulkWrite64);
}

}  // namespace

std::vector<unsigned char> EncodeHello()
{
    return FinishMessage(StartMessage(MessageKind::Hello));
}

std::vector<unsigned char> EncodeWelcome(LibraryState state)
{
    std::vector<unsigned char> bytes = StartMessage(MessageKind::Welcome);
    PutU32(bytes, static_cast<uint32_t>(state));
    return FinishMessage(bytes);
}

std::vector<unsigned char> EncodeCall(const CallMessage& call)
{
    std::vector<unsigned char> bytes = StartMessage(MessageKind::Call);
    PutU16(bytes, static_cast<uint16_t>(call.function));
    PutU16(bytes, call.nullArguments);
    for (uint32_t number : call.numbers) {
        PutU32(bytes, number);
    }
    PutU32(bytes, static_cast<uint32_t>(call.text.size()));
    PutU32(bytes, static_cast<uint32_t>(call.data.size()));
    bytes.insert(bytes.end(), call.text.begin(), call.text.end());
    bytes.insert(bytes.end(), call.data.begin(), call.data.end());
    return FinishMessage(bytes);
}

std::vector<unsigned char> EncodeProgress(const std::vector<ProgressCall>& calls)
{
    std::vector<unsigned char> bytes = StartMessage(MessageKind::Progress);
    PutU32(bytes, static_cast<uint32_t>(calls.size()));
    for (const ProgressCall& call : calls) {
        for (uint32_t argument : call.arguments) {
            PutU32(bytes, argument);
        }
    }
    return FinishMessage(bytes);
}

std::vector<unsigned char> EncodeResult(const ResultMessage& result)
{
    std::vector<unsigned char> bytes = StartMessage(MessageKind::Result);
    PutU32(bytes, static_cast<uint32_t>(result.result));
    PutU32(bytes, result.count);
    PutU32(bytes, static_cast<uint32_t>(result.data.size()));
    bytes.insert(bytes.end(), result.data.begin(), result.data.end());
    return FinishMessage(bytes);
}

bool ParseHeader(const unsigned char* bytes, MessageHeader& header)
{
    header.size = GetU32(bytes);
    header.version = GetU16(bytes + 4);
    header.kind = static_cast<MessageKind>(GetU16(bytes + 6));
    size_t least = 0;
    size_t most = 0;
    return header.version == kBridgeVersion && BodyBounds(header.kind, least, most) &&
           header.size >= kMessageHeaderSize + least && header.size <= kMessageHeaderSize + most;
}

bool ParseWelcome(const unsigned char* body, size_t size, LibraryState& state)
{
    if (size != kWelcomeBody) {
        return false;
    }
    const uint32_t value = GetU32(body);
    state = static_cast<LibraryState>(value);
    return value <= static_cast<uint32_t>(LibraryState::Incomplete);
}

bool ParseCall(const unsigned char* body, size_t size, CallMessage& call)
{
    if (size < kCallFixedBody) {
        return false;
    }
    const uint16_t function = GetU16(body);
    call.function = static_cast<CameraFunction>(function);
    call.nullArguments = GetU16(body + 2);
    for (int i = 0; i < 4; ++i) {
        call.numbers[i] = GetU32(body + 4 + 4 * i);
    }
    const uint32_t textSize = GetU32(body + 20);
    const uint32_t dataSize = GetU32(body + 24);
    if (!KnownFunction(function) || (call.nullArguments & ~kKnownNullArguments) != 0 ||
        textSize > kMaxCallText || dataSize > kMaxCallData ||
        size != kCallFixedBody + textSize + dataSize) {
        return false;
    }
    const unsigned char* text = body + kCallFixedBody;
    call.text.assign(reinterpret_cast<const char*>(text), textSize);
    call.data.assign(text + textSize, text + textSize + dataSize);
    return call.text.find('\0') == std::string::npos;
}

bool ParseProgress(const unsigned char* body, size_t size, std::vector<ProgressCall>& calls)
{
    if (size < kProgressFixedBody) {
        return false;
    }
    const uint32_t count = GetU32(body);
    if (count > kMaxProgressCalls || size != kProgressFixedBody + count * kProgressCallSize) {
        return false;
    }
    calls.resize(count);
    for (uint32_t i = 0; i < count; ++i) {
        for (int argument = 0; argument < 3; ++argument) {
            calls[i].arguments[argument] =
                GetU32(body + kProgressFixedBody + i * kProgressCallSize + 4 * argument);
        }
    }
    return true;
}

bool ParseResult(const unsigned char* body, size_t size, ResultMessage& result)
{
    if (size < kResultFixedBody) {
        return false;
    }
    result.result = static_cast<int32_t>(GetU32(body));
    result.count = GetU32(body + 4);
    const uint32_t dataSize = GetU32(body + 8);
    if (dataSize > kMaxCallData || size != kResultFixedBody + dataSize) {
        return false;
    }
    result.data.assign(body + kResultFixedBody, body + size);
    return true;
}

size_t UploadRecordBytes(int32_t index)
{
    return index >= 0 && static_cast<unsigned long>(index) < kFdbMaxRecords
               ? (static_cast<size_t>(index) + 1) * kFdbRecordSize
               : 0;
}

bool CallShapeValid(const CallMessage& call)
{
    const bool noText = call.text.empty();
    const bool noData = call.data.empty();
    const bool nullData = (call.nullArguments & kNullData) != 0;
    switch (call.function) {
    case CameraFunction::Load_IniFile:
        return noData;
    case CameraFunction::GetFDBContext: {
        const size_t bytes = FdbContextSize(call.numbers[1]);
        return noText && bytes != 0 && (nullData ? noData : call.data.size() == bytes);
    }
    case CameraFunction::Upload_DOSFAT_Object: {
        const size_t bytes = UploadRecordBytes(static_cast<int32_t>(call.numbers[0]));
        return nullData ? noData : bytes != 0 && call.data.size() == bytes;
    }
    case CameraFunction::VendorCommandBulkWrite64:
        return noText && call.numbers[3] <= 0xFFFF &&
               (nullData ? noData : call.data.size() == call.numbers[3]);
    case CameraFunction::GetFDBCount:
    case CameraFunction::DeleteFDBObject:
    case CameraFunction::Capture_DOSFAT_DSC:
    case CameraFunction::CheckFWIdle:
    case CameraFunction::VendorCommandBulkWrite:
        return noText && noData;
    }
    return false;
}
