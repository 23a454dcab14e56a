// What DscLinkHost.exe reads from the bridge: a header, then a Hello or a
// call of the camera library. Whatever the bytes, the reader stays within
// them and its bounds; a call it takes is written back byte for byte.
// Input: the bytes of the pipe.
#include <cstring>
#include <vector>

#include "fuzz/bridge_message.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    MessageHeader header;
    std::vector<unsigned char> body;
    if (!FirstMessage(data, size, header, body) || header.kind != MessageKind::Call) {
        return 0;
    }
    CallMessage call;
    if (!ParseCall(body.data(), body.size(), call)) {
        return 0;
    }
    FUZZ_CHECK(call.text.size() <= kMaxCallText && call.data.size() <= kMaxCallData);
    FUZZ_CHECK(call.text.find('\0') == std::string::npos);
    const std::vector<unsigned char> again = EncodeCall(call);
    FUZZ_CHECK(again.size() == header.size && memcmp(again.data(), data, header.size) == 0);
    if (CallShapeValid(call) && call.function == CameraFunction::GetFDBContext &&
        (call.nullArguments & kNullData) == 0) {
        FUZZ_CHECK(call.data.size() == FdbContextSize(call.numbers[1]));
    }
    if (CallShapeValid(call) && call.function == CameraFunction::Upload_DOSFAT_Object &&
        (call.nullArguments & kNullData) == 0) {
        FUZZ_CHECK(call.data.size() == UploadRecordBytes(static_cast<int32_t>(call.numbers[0])));
        FUZZ_CHECK(!call.data.empty());
    }
    return 0;
}
