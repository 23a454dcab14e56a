// The messages between the camera library bridge and its host: what one side
// writes the other reads back unchanged, and every length, count and kind
// outside its bounds is refused before anything is copied.
#include <gtest/gtest.h>

#include "bridge/bridge_messages.h"

namespace {

// The header and the body of an encoded message, read back.
struct Read {
    bool headerRead;
    MessageHeader header;
    std::vector<unsigned char> body;
};

Read ReadBack(const std::vector<unsigned char>& message)
{
    Read read = {};
    read.headerRead =
        message.size() >= kMessageHeaderSize && ParseHeader(message.data(), read.header);
    if (read.headerRead) {
        EXPECT_EQ(read.header.size, message.size());
        read.body.assign(message.begin() + kMessageHeaderSize, message.end());
    }
    return read;
}

CallMessage UploadCall(int32_t index, size_t recordBytes)
{
    CallMessage call = {CameraFunction::Upload_DOSFAT_Object, kNullProgress, {}, "C:\\still_", {}};
    call.numbers[0] = static_cast<uint32_t>(index);
    call.data.assign(recordBytes, 0xAB);
    return call;
}

void PutU32At(std::vector<unsigned char>& bytes, size_t offset, uint32_t value)
{
    for (int i = 0; i < 4; ++i) {
        bytes[offset + i] = static_cast<unsigned char>(value >> (8 * i));
    }
}

}  // namespace

TEST(BridgeMessages, EachKindReadsBackAsWritten)
{
    Read hello = ReadBack(EncodeHello());
    ASSERT_TRUE(hello.headerRead);
    EXPECT_EQ(hello.header.kind, MessageKind::Hello);
    EXPECT_TRUE(hello.body.empty());

    LibraryState state = LibraryState::Loaded;
    Read welcome = ReadBack(EncodeWelcome(LibraryState::Incomplete));
    ASSERT_TRUE(welcome.headerRead &&
                ParseWelcome(welcome.body.data(), welcome.body.size(), state));
    EXPECT_EQ(state, LibraryState::Incomplete);

    const CallMessage sent = UploadCall(2, UploadRecordBytes(2));
    CallMessage call = {};
    Read callRead = ReadBack(EncodeCall(sent));
    ASSERT_TRUE(callRead.headerRead && ParseCall(callRead.body.data(), callRead.body.size(), call));
    EXPECT_EQ(call.function, sent.function);
    EXPECT_EQ(call.nullArguments, sent.nullArguments);
    EXPECT_EQ(call.numbers[0], 2u);
    EXPECT_EQ(call.text, sent.text);
    EXPECT_EQ(call.data, sent.data);
    EXPECT_TRUE(CallShapeValid(call));

    const std::vector<ProgressCall> batch = {{{1, 126, 512}}, {{126, 126, 64177}}};
    std::vector<ProgressCall> calls;
    Read progress = ReadBack(EncodeProgress(batch));
    ASSERT_TRUE(progress.headerRead &&
                ParseProgress(progress.body.data(), progress.body.size(), calls));
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[1].arguments[2], 64177u);

    const ResultMessage answer = {-5, 7, std::vector<unsigned char>(FdbContextSize(7), 0x11)};
    ResultMessage result = {};
    Read resultRead = ReadBack(EncodeResult(answer));
    ASSERT_TRUE(resultRead.headerRead &&
                ParseResult(resultRead.body.data(), resultRead.body.size(), result));
    EXPECT_EQ(result.result, -5);
    EXPECT_EQ(result.count, 7u);
    EXPECT_EQ(result.data, answer.data);
}

TEST(BridgeMessages, HeadersOfAnotherVersionKindOrSizeAreRefused)
{
    std::vector<unsigned char> message = EncodeWelcome(LibraryState::Loaded);
    MessageHeader header;
    message[4] = kBridgeVersion + 1;
    EXPECT_FALSE(ParseHeader(message.data(), header));
    message = EncodeWelcome(LibraryState::Loaded);
    message[6] = 9;
    EXPECT_FALSE(ParseHeader(message.data(), header));
    message = EncodeWelcome(LibraryState::Loaded);
    PutU32At(message, 0, static_cast<uint32_t>(message.size() + 1));
    EXPECT_FALSE(ParseHeader(message.data(), header));
    // A call may carry a path and a whole FAT directory, nothing more.
    message = EncodeHello();
    message[6] = static_cast<unsigned char>(MessageKind::Call);
    PutU32At(message, 0, kMessageHeaderSize + 28 + kMaxCallText + kMaxCallData);
    EXPECT_TRUE(ParseHeader(message.data(), header));
    PutU32At(message, 0, kMessageHeaderSize + 28 + kMaxCallText + kMaxCallData + 1);
    EXPECT_FALSE(ParseHeader(message.data(), header));
    PutU32At(message, 0, 0xFFFFFFFF);
    EXPECT_FALSE(ParseHeader(message.data(), header));
}

TEST(BridgeMessages, BodiesWhoseCountsDoNotFillThemAreRefused)
{
    std::vector<unsigned char> body = ReadBack(EncodeCall(UploadCall(0, 32))).body;
    CallMessage call;
    std::vector<unsigned char> longer = body;
    longer.push_back(0);
    EXPECT_FALSE(ParseCall(longer.data(), longer.size(), call));
    std::vector<unsigned char> bigText = body;
    PutU32At(bigText, 20, kMaxCallText + 1);
    EXPECT_FALSE(ParseCall(bigText.data(), bigText.size(), call));
    std::vector<unsigned char> wrapping = body;
    PutU32At(wrapping, 24, 0xFFFFFFF0);
    EXPECT_FALSE(ParseCall(wrapping.data(), wrapping.size(), call));
    std::vector<unsigned char> unknown = body;
    unknown[0] = 10;
    EXPECT_FALSE(ParseCall(unknown.data(), unknown.size(), call));
    std::vector<unsigned char> nullBits = body;
    nullBits[2] = 0x10;
    EXPECT_FALSE(ParseCall(nullBits.data(), nullBits.size(), call));
    std::vector<unsigned char> zeroInPath = body;
    zeroInPath[28 + 2] = 0;
    EXPECT_FALSE(ParseCall(zeroInPath.data(), zeroInPath.size(), call));

    std::vector<unsigned char> progress = ReadBack(EncodeProgress({{{1, 2, 3}}})).body;
    std::vector<ProgressCall> calls;
    PutU32At(progress, 0, 2);
    EXPECT_FALSE(ParseProgress(progress.data(), progress.size(), calls));
    PutU32At(progress, 0, 0x40000001);
    EXPECT_FALSE(ParseProgress(progress.data(), progress.size(), calls));

    std::vector<unsigned char> result = ReadBack(EncodeResult({0, 0, {1, 2}})).body;
    ResultMessage answer;
    PutU32At(result, 8, 3);
    EXPECT_FALSE(ParseResult(result.data(), result.size(), answer));
    LibraryState state;
    const unsigned char unknownState[] = {3, 0, 0, 0};
    EXPECT_FALSE(ParseWelcome(unknownState, sizeof unknownState, state));
}

TEST(BridgeMessages, CallsCarryTheBytesTheirFunctionsTake)
{
    CallMessage context = {CameraFunction::GetFDBContext, 0, {1, 3}, "", {}};
    context.data.assign(FdbContextSize(3), 0);
    EXPECT_TRUE(CallShapeValid(context));
    context.data.pop_back();
    EXPECT_FALSE(CallShapeValid(context));
    context.data.clear();
    context.nullArguments = kNullData;
    EXPECT_TRUE(CallShapeValid(context));
    context.numbers[1] = kFdbMaxRecords + 1;
    EXPECT_FALSE(CallShapeValid(context));

    EXPECT_TRUE(CallShapeValid(UploadCall(0, 32)));
    EXPECT_FALSE(CallShapeValid(UploadCall(1, 32)));
    EXPECT_FALSE(CallShapeValid(UploadCall(-1, 0)));
    EXPECT_EQ(UploadRecordBytes(-1), 0u);
    EXPECT_EQ(UploadRecordBytes(static_cast<int32_t>(kFdbMaxRecords)), 0u);

    CallMessage vendor = {CameraFunction::VendorCommandBulkWrite64, 0, {0x25, 2, 0, 1}, "", {2}};
    EXPECT_TRUE(CallShapeValid(vendor));
    vendor.numbers[3] = 2;
    EXPECT_FALSE(CallShapeValid(vendor));

    CallMessage idle = {CameraFunction::CheckFWIdle, 0, {}, "", {}};
    EXPECT_TRUE(CallShapeValid(idle));
    idle.text = "x";
    EXPECT_FALSE(CallShapeValid(idle));
}
