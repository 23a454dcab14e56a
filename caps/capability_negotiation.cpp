#include "caps/capability_negotiation.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

#include "album/camera_library.h"
#include "caps/allowed_values.h"
#include "caps/capability_file.h"
#include "caps/capability_queries.h"
#include "caps/containers.h"
#include "caps/reply_builders.h"
#include "caps/set_texts.h"
#include "caps/value_text.h"
#include "source/handlers.h"
#include "source/manager_memory.h"
#include "source/messages.h"
#include "source/source_context.h"
#include "source/text.h"

namespace {

// The longest texts read for each purpose.
const size_t kNameTextLength = 79;
const size_t kOperationLength = 119;
const size_t kSetListLength = 39;
const size_t kAllowedCheckLength = 511;

const char kCurrentKey[] = "Current";
const char kAllowedKey[] = "Allowed";

// The value key that the last set rewrote; the reply of MSG_SET reads it.
const char* g_writeKey = kCurrentKey;

// A value text as a reply reads it, with room to see that it was longer.
typedef char ReplyValue[kReplyValueLength + 2];

bool IsHandledMessage(TW_UINT16 message)
{
    return message == MSG_GET || message == MSG_GETCURRENT || message == MSG_GETDEFAULT ||
           message == MSG_SET || message == MSG_RESET;
}

bool IsGetMessage(TW_UINT16 message)
{
    return message == MSG_GET || message == MSG_GETCURRENT || message == MSG_GETDEFAULT;
}

// A container number from the dictionary, or 0 for anything but the four.
TW_UINT16 KnownContainer(TW_INT32 number)
{
    if (number == TWON_ARRAY || number == TWON_ENUMERATION || number == TWON_ONEVALUE ||
        number == TWON_RANGE) {
        return static_cast<TW_UINT16>(number);
    }
    return 0;
}

TW_UINT16 CapabilityItemType(const char* name)
{
    char type[kNameTextLength + 1];
    ReadCapabilityText(name, "Type", "", type, sizeof type);
    return static_cast<TW_UINT16>(DictionaryNumber("ItemType", type));
}

// An operation key naming several containers leaves the choice to the value.
TW_UINT16 ReplyContainer(const char* operation, const char* value)
{
    if (strchr(operation, ',') != nullptr) {
        return ContainerOfShape(ShapeOf(value));
    }
    return KnownContainer(DictionaryNumber("ConType", operation));
}

const char* OperationKey(TW_UINT16 message)
{
    switch (message) {
    case MSG_GET:
        return "Get";
    case MSG_GETCURRENT:
        return "GetCurrent";
    case MSG_GETDEFAULT:
        return "GetDefault";
    case MSG_SET:
        return "Set";
    default:
        return "Reset";
    }
}

const char* ValueKey(TW_UINT16 message, const char* operation)
{
    switch (message) {
    case MSG_GETCURRENT:
        return kCurrentKey;
    case MSG_GETDEFAULT:
        return "Default";
    case MSG_SET:
        return g_writeKey;
    default:
        return strcmp(operation, "TWON_ONEVALUE") == 0 ? kCurrentKey : kAllowedKey;
    }
}

void ReadReplyValue(const char* name, const char* key, ReplyValue& value)
{
    ReadCapabilityText(name, key, "NONE", value, sizeof value);
    CutToReplyLength(value);
}

// The operation key's text and the value text that a reply of the message reads.
void ReadReplyTexts(const char* name, TW_UINT16 message, char (&operation)[kOperationLength + 1],
                    ReplyValue& value)
{
    ReadCapabilityText(name, OperationKey(message), "", operation, sizeof operation);
    ReadReplyValue(name, ValueKey(message, operation), value);
}

// What a reply of the operation text for the value text is built as.
struct ReplyPlan {
    // TWCC_BADCAP when the value is "NONE", the item type has no text form
    // or the operation names no container the source can build.
    TW_UINT16 code;
    TW_UINT16 container;
    TW_UINT16 itemType;
};

ReplyPlan PlanReply(const char* name, const char* operation, const char* value)
{
    if (strcmp(value, "NONE") == 0) {
        return {TWCC_BADCAP, 0, 0};
    }
    const TW_UINT16 itemType = CapabilityItemType(name);
    if (HasNoTextForm(itemType)) {
        return {TWCC_BADCAP, 0, itemType};
    }
    const TW_UINT16 container = ReplyContainer(operation, value);
    return {container == 0 ? TWCC_BADCAP : TWCC_SUCCESS, container, itemType};
}

// Whether a reset would be answered: Reset does not refuse it, and the
// reply can be built from the values the reset writes (Default as Current,
// PowerON as Allowed).
bool ResetAnswered(const char* name)
{
    char operation[kOperationLength + 1];
    ReadCapabilityText(name, "Reset", "", operation, sizeof operation);
    if (strcmp(operation, "TWCC_BADPROTOCOL") == 0) {
        return false;
    }
    const bool current = ValueKey(MSG_RESET, operation) == kCurrentKey;
    ReplyValue value;
    ReadCapabilityText(name, current ? "Default" : "PowerON", "", value, kNameTextLength + 1);
    return PlanReply(name, operation, value).code == TWCC_SUCCESS;
}

// The current or default value of a range capability, kept under Current and
// Default; the range's minimum when the capability has none.
TW_UINT32 RangeSetting(const char* name, const char* key, TW_UINT16 itemType, TW_UINT32 minValue)
{
    char text[kNameTextLength + 1];
    ReadCapabilityText(name, key, "NONE", text, sizeof text);
    if (text[0] == '\0' || strcmp(text, "NONE") == 0) {
        return minValue;
    }
    return ParseItem(name, text, itemType);
}

TW_UINT16 BuildListReply(TW_CAPABILITY& capability, TW_UINT16 container, TW_UINT16 itemType,
                         const char* value, TW_UINT16 message, const char* name)
{
    TW_UINT32 items[kMaxListItems];
    if (container == TWON_ARRAY) {
        ReplyValue interior;
        ArrayInterior(value, interior, sizeof interior);
        size_t count =
            ListItemNumbers(name, interior, itemType, DictionaryNumber, items, kMaxListItems);
        return BuildArray(capability, itemType, static_cast<TW_UINT32>(count), items, message);
    }
    size_t count = ListItemNumbers(name, value, itemType, DictionaryNumber, items, kMaxListItems);
    // Allowed may hold more items than the reply carries: an index beyond them
    // falls back to the first item.
    size_t currentIndex = FindListIndex("current", name);
    size_t defaultIndex = FindListIndex("default", name);
    if (currentIndex >= count) {
        currentIndex = 0;
    }
    if (defaultIndex >= count) {
        defaultIndex = 0;
    }
    return BuildEnumeration(capability, itemType, static_cast<TW_UINT32>(count),
                            static_cast<TW_UINT32>(currentIndex),
                            static_cast<TW_UINT32>(defaultIndex), items, message);
}

TW_UINT16 BuildRangeReply(TW_CAPABILITY& capability, TW_UINT16 itemType, const char* value,
                          TW_UINT16 message, const char* name)
{
    RangeValues range = ParseRange(value, itemType);
    return BuildRange(capability, itemType, range.minValue, range.maxValue, range.stepSize,
                      RangeSetting(name, "Default", itemType, range.minValue),
                      RangeSetting(name, kCurrentKey, itemType, range.minValue), message);
}

// A set request admitted by the Set list, read from the application's
// locked block, turned into the texts it writes.
struct SetTexts {
    const char* key;
    char text[kStoredTextLength + 1];
    bool isRange;
    char current[32];
    char defaultText[32];
};

TW_UINT16 FormSetTexts(const SetRequest& request, const char* name, SetTexts& texts)
{
    texts.isRange = false;
    switch (request.conType) {
    case TWON_ONEVALUE:
        texts.key = kCurrentKey;
        if (request.itemType == TWTY_FIX32) {
            FormatItem(texts.text, sizeof texts.text, TWTY_FIX32, request.item);
        } else if (!CheckAllowedValue(static_cast<TW_INT16>(request.item & 0xFFFF), name,
                                      texts.text, sizeof texts.text)) {
            if (RefusalsShowBoxes()) {
                ShowPlainMessageBox(nullptr, "IsCapAllowed", nullptr, MB_OK);
            }
            return TWCC_BADVALUE;
        }
        return TWCC_SUCCESS;
    case TWON_ENUMERATION:
        texts.key = kAllowedKey;
        return EnumerationSetText(request, name, NumberToName, texts.text, sizeof texts.text)
                   ? TWCC_SUCCESS
                   : TWCC_BADVALUE;
    case TWON_ARRAY:
        texts.key = kAllowedKey;
        return ArraySetText(request, texts.text, sizeof texts.text) ? TWCC_SUCCESS : TWCC_BADVALUE;
    default:
        texts.key = kAllowedKey;
        texts.isRange = true;
        RangeSetTexts(request, texts.text, sizeof texts.text, texts.current, sizeof texts.current,
                      texts.defaultText, sizeof texts.defaultText);
        return TWCC_SUCCESS;
    }
}

// Whether the reply that MSG_SET will read back from the new text fits in
// the application's block.
bool SetReplyFits(const char* name, const char* text, size_t blockSize)
{
    char operation[kOperationLength + 1];
    ReadCapabilityText(name, "Set", "", operation, sizeof operation);
    ReplyValue value;
    CopyText(value, text);
    CutToReplyLength(value);
    TW_UINT16 itemType = CapabilityItemType(name);
    return ReplyBytes(ReplyContainer(operation, value), itemType, value) <= blockSize;
}

bool SetListAdmits(const char* name, TW_UINT16 conType)
{
    char setList[kSetListLength + 1];
    ReadCapabilityText(name, "Set", "", setList, sizeof setList);
    char item[kSetListLength + 1];
    const char* cursor = setList;
    while (NextItem(cursor, item, sizeof item)) {
        if (DictionaryNumber("ConType", item) == conType) {
            return true;
        }
    }
    return false;
}

bool SetListNamesAContainer(const char* name)
{
    for (TW_UINT16 container : {TWON_ARRAY, TWON_ENUMERATION, TWON_ONEVALUE, TWON_RANGE}) {
        if (SetListAdmits(name, container)) {
            return true;
        }
    }
    return false;
}

TW_UINT16 StoreLockedRequest(TW_CAPABILITY& capability, const char* name, const void* block,
                             size_t blockSize)
{
    SetRequest request;
    if (!ReadSetRequest(block, blockSize, capability.ConType, request)) {
        return TWCC_BADVALUE;
    }
    SetTexts texts;
    TW_UINT16 code = FormSetTexts(request, name, texts);
    if (code != TWCC_SUCCESS) {
        return code;
    }
    if (!SetReplyFits(name, texts.text, blockSize)) {
        return TWCC_BADVALUE;
    }
    if (texts.isRange) {
        WriteCapabilityText(name, kCurrentKey, texts.current);
        WriteCapabilityText(name, "Default", texts.defaultText);
    }
    WriteCapabilityText(name, texts.key, texts.text);
    g_writeKey = texts.key;
    return TWCC_SUCCESS;
}

TW_UINT16 AnswerGet(TW_CAPABILITY& capability, TW_UINT16 message, const char* name)
{
    // The camera is asked at each read whether it is online.
    if (capability.Cap == CAP_DEVICEONLINE) {
        WriteCapabilityText(name, kCurrentKey, CameraAnswers() ? "TRUE" : "FALSE");
    }
    TW_UINT16 code = BuildReply(capability, message, name);
    if (code != TWCC_SUCCESS) {
        capability.hContainer = nullptr;
    }
    g_source.conditionCode = code;
    // Asking whether the source feeds pages ends any pending page count.
    if (capability.Cap == CAP_AUTOFEED) {
        WriteCapabilityText("ADF", "PendingImages", "0");
    }
    return code == TWCC_SUCCESS ? TWRC_SUCCESS : TWRC_FAILURE;
}

TW_UINT16 AnswerSet(TW_CAPABILITY& capability, const char* name)
{
    TW_UINT16 code = StoreSetRequest(capability, name);
    g_source.conditionCode = code;
    if (code != TWCC_SUCCESS) {
        return TWRC_FAILURE;
    }
    BuildReply(capability, MSG_SET, name);
    return TWRC_SUCCESS;
}

TW_UINT16 AnswerReset(TW_CAPABILITY& capability, const char* name)
{
    TW_UINT16 code = ResetCapability(name);
    if (code == TWCC_SUCCESS) {
        // The reset stands even when no container can tell the new values.
        code = BuildReply(capability, MSG_RESET, name);
        if (code != TWCC_SUCCESS) {
            capability.hContainer = nullptr;
        }
    }
    g_source.conditionCode = code;
    return code == TWCC_SUCCESS ? TWRC_SUCCESS : TWRC_FAILURE;
}

}  // namespace

TW_UINT16 HandleCapability(const TripletArgs& args)
{
    MakeCapabilityFilePath();
    if (Twain2Session()) {
        return HandleTwain2Capability(args);
    }
    if (!IsHandledMessage(args.MSG)) {
        g_source.conditionCode = TWCC_BADPROTOCOL;
        ReportError("General failure in response to DAT_CAPS.  ", TWCC_BADPROTOCOL);
        return TWRC_FAILURE;
    }
    TW_CAPABILITY* capability = static_cast<TW_CAPABILITY*>(args.pData);
    if (capability == nullptr) {
        g_source.conditionCode = TWCC_BADVALUE;
        return TWRC_FAILURE;
    }
    char name[kCapabilityNameLength + 1];
    ReadCapabilityName(capability->Cap, name, sizeof name);
    if (strcmp(name, "NONE") == 0) {
        g_source.conditionCode = TWCC_BADCAP;
        return TWRC_FAILURE;
    }
    return AnswerRequest(*capability, args.MSG, name);
}

TW_UINT16 AnswerRequest(TW_CAPABILITY& capability, TW_UINT16 message, const char* name)
{
    if (IsGetMessage(message)) {
        return AnswerGet(capability, message, name);
    }
    if (message == MSG_SET) {
        return AnswerSet(capability, name);
    }
    return AnswerReset(capability, name);
}

bool OperationOffered(const char* name, TW_UINT16 message)
{
    if (message == MSG_SET) {
        return SetListNamesAContainer(name);
    }
    if (message == MSG_RESET) {
        return ResetAnswered(name);
    }
    char operation[kOperationLength + 1];
    ReplyValue value;
    ReadReplyTexts(name, message, operation, value);
    return PlanReply(name, operation, value).code == TWCC_SUCCESS;
}

TW_UINT16 BuildReply(TW_CAPABILITY& capability, TW_UINT16 message, const char* name)
{
    char operation[kOperationLength + 1];
    ReplyValue value;
    ReadReplyTexts(name, message, operation, value);
    const ReplyPlan plan = PlanReply(name, operation, value);
    if (plan.code != TWCC_SUCCESS) {
        return plan.code;
    }
    switch (plan.container) {
    case TWON_ONEVALUE:
        return BuildOneValue(capability, plan.itemType, ParseItem(name, value, plan.itemType),
                             message);
    case TWON_ENUMERATION:
    case TWON_ARRAY:
        return BuildListReply(capability, plan.container, plan.itemType, value, message, name);
    default:  // TWON_RANGE, the one container left
        return BuildRangeReply(capability, plan.itemType, value, message, name);
    }
}

TW_UINT16 StoreSetRequest(TW_CAPABILITY& capability, const char* name)
{
    if (!SetListAdmits(name, capability.ConType)) {
        return TWCC_BADVALUE;
    }
    HGLOBAL handle = capability.hContainer;
    const void* block = handle != nullptr ? GlobalLock(handle) : nullptr;
    if (block == nullptr) {
        return TWCC_BADVALUE;
    }
    TW_UINT16 code = StoreLockedRequest(capability, name, block, GlobalSize(handle));
    GlobalUnlock(handle);
    return code;
}

TW_UINT16 ResetCapability(const char* name)
{
    char reset[kNameTextLength + 1];
    ReadCapabilityText(name, "Reset", "", reset, sizeof reset);
    if (strcmp(reset, "TWCC_BADPROTOCOL") == 0) {
        return TWCC_BADPROTOCOL;
    }
    char powerOn[kNameTextLength + 1];
    ReadCapabilityText(name, "PowerON", "", powerOn, sizeof powerOn);
    WriteCapabilityText(name, kAllowedKey, powerOn);
    char defaultText[kNameTextLength + 1];
    ReadCapabilityText(name, "Default", "", defaultText, sizeof defaultText);
    WriteCapabilityText(name, kCurrentKey, defaultText);
    return TWCC_SUCCESS;
}

bool CheckAllowedValue(TW_INT16 value, const char* name, char* text, size_t size)
{
    char allowed[kAllowedCheckLength + 1];
    ReadCapabilityText(name, kAllowedKey, "", allowed, sizeof allowed);
    return CheckAllowedText(name, allowed, value, DictionaryNumber, text, size);
}
