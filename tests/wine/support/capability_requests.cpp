#include "capability_requests.h"

#include <cstddef>
#include <cstring>

#include "caps/item_size.h"

namespace {

void AppendBytes(std::vector<unsigned char>& bytes, const void* data, size_t size)
{
    size_t at = bytes.size();
    bytes.resize(at + size);
    memcpy(bytes.data() + at, data, size);
}

template <typename T>
void Append(std::vector<unsigned char>& bytes, T value)
{
    AppendBytes(bytes, &value, sizeof value);
}

template <typename T>
T ReadAt(const std::vector<unsigned char>& bytes, size_t offset)
{
    T value = T();
    if (offset + sizeof value <= bytes.size()) {
        memcpy(&value, bytes.data() + offset, sizeof value);
    }
    return value;
}

TW_UINT16 RequestCapability(SourceModule& source, TW_UINT16 message, TW_CAPABILITY& capability)
{
    return source.Call(DG_CONTROL, DAT_CAPABILITY, message, &capability);
}

TW_UINT16 RequestCapability(TwainApp& app, TW_UINT16 message, TW_CAPABILITY& capability)
{
    return CallSource(app, DG_CONTROL, DAT_CAPABILITY, message, &capability);
}

TW_UINT16 LastCondition(SourceModule& source)
{
    return source.ConditionCode();
}

TW_UINT16 LastCondition(TwainApp& app)
{
    return ConditionCode(app);
}

template <typename Source>
CapabilityReply Finish(Source& source, TW_UINT16 returnCode, const TW_CAPABILITY& capability)
{
    CapabilityReply reply = {};
    reply.returnCode = returnCode;
    reply.conditionCode = LastCondition(source);
    reply.conType = capability.ConType;
    reply.hasContainer = capability.hContainer != nullptr;
    if (reply.hasContainer) {
        reply.blockSize = GlobalSize(capability.hContainer);
        const unsigned char* data =
            static_cast<const unsigned char*>(GlobalLock(capability.hContainer));
        if (data != nullptr) {
            reply.block.assign(data, data + reply.blockSize);
            GlobalUnlock(capability.hContainer);
        }
    }
    return reply;
}

template <typename Source>
CapabilityReply Ask(Source& source, TW_UINT16 cap, TW_UINT16 message)
{
    TW_CAPABILITY capability = {cap, 0, nullptr};
    TW_UINT16 returnCode = RequestCapability(source, message, capability);
    CapabilityReply reply = Finish(source, returnCode, capability);
    if (capability.hContainer != nullptr) {
        GlobalFree(capability.hContainer);
    }
    return reply;
}

template <typename Source>
CapabilityReply Set(Source& source, TW_UINT16 cap, TW_UINT16 conType,
                    const std::vector<unsigned char>& container)
{
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, container.size());
    void* data = GlobalLock(block);
    memcpy(data, container.data(), container.size());
    GlobalUnlock(block);
    TW_CAPABILITY capability = {cap, conType, block};
    TW_UINT16 returnCode = RequestCapability(source, MSG_SET, capability);
    CapabilityReply reply = Finish(source, returnCode, capability);
    GlobalFree(block);
    return reply;
}

}  // namespace

CapabilityFiles::CapabilityFiles(const std::string& dictionary, const std::string& capabilities)
    : dictionary_(DictionaryFilePath()), capabilities_(CapabilityFilePath())
{
    WriteTextFile(DictionaryFilePath(), dictionary);
    WriteTextFile(CapabilityFilePath(), capabilities);
}

std::string CapabilityKey(const char* section, const char* key)
{
    char text[8192] = "";
    GetPrivateProfileStringA(section, key, "<missing>", text, sizeof text,
                             CapabilityFilePath().c_str());
    return text;
}

CapabilityReply AskCapability(SourceModule& source, TW_UINT16 cap, TW_UINT16 message)
{
    return Ask(source, cap, message);
}

CapabilityReply AskCapability(TwainApp& app, TW_UINT16 cap, TW_UINT16 message)
{
    return Ask(app, cap, message);
}

CapabilityReply SetCapability(SourceModule& source, TW_UINT16 cap, TW_UINT16 conType,
                              const std::vector<unsigned char>& container)
{
    return Set(source, cap, conType, container);
}

CapabilityReply SetCapability(TwainApp& app, TW_UINT16 cap, TW_UINT16 conType,
                              const std::vector<unsigned char>& container)
{
    return Set(app, cap, conType, container);
}

std::vector<unsigned char> OneValueBytes(TW_UINT16 itemType, TW_UINT32 item)
{
    std::vector<unsigned char> bytes;
    Append(bytes, itemType);
    Append(bytes, item);
    return bytes;
}

std::vector<unsigned char> RangeBytes(TW_UINT16 itemType, TW_UINT32 minValue, TW_UINT32 maxValue,
                                      TW_UINT32 stepSize, TW_UINT32 defaultValue,
                                      TW_UINT32 currentValue)
{
    std::vector<unsigned char> bytes;
    Append(bytes, itemType);
    for (TW_UINT32 value : {minValue, maxValue, stepSize, defaultValue, currentValue}) {
        Append(bytes, value);
    }
    return bytes;
}

std::vector<unsigned char> ListBytes(TW_UINT16 conType, TW_UINT16 itemType,
                                     const std::vector<TW_UINT32>& items)
{
    std::vector<unsigned char> bytes;
    Append(bytes, itemType);
    Append(bytes, static_cast<TW_UINT32>(items.size()));
    if (conType == TWON_ENUMERATION) {
        Append(bytes, TW_UINT32(0));
        Append(bytes, TW_UINT32(0));
    }
    for (TW_UINT32 item : items) {
        AppendBytes(bytes, &item, ItemSize(itemType) < 4 ? ItemSize(itemType) : 4);
    }
    return bytes;
}

TW_ONEVALUE AsOneValue(const CapabilityReply& reply)
{
    return ReadAt<TW_ONEVALUE>(reply.block, 0);
}

TW_RANGE AsRange(const CapabilityReply& reply)
{
    return ReadAt<TW_RANGE>(reply.block, 0);
}

ListReply AsList(const CapabilityReply& reply)
{
    ListReply list = {};
    list.itemType = ReadAt<TW_UINT16>(reply.block, 0);
    list.numItems = ReadAt<TW_UINT32>(reply.block, 2);
    size_t header = offsetof(TW_ARRAY, ItemList);
    if (reply.conType == TWON_ENUMERATION) {
        list.currentIndex = ReadAt<TW_UINT32>(reply.block, 6);
        list.defaultIndex = ReadAt<TW_UINT32>(reply.block, 10);
        header = offsetof(TW_ENUMERATION, ItemList);
    }
    size_t itemSize = ItemSize(list.itemType);
    for (TW_UINT32 i = 0; i < list.numItems && header + (i + 1) * itemSize <= reply.block.size();
         ++i) {
        TW_UINT32 item = 0;
        memcpy(&item, reply.block.data() + header + i * itemSize, itemSize < 4 ? itemSize : 4);
        list.items.push_back(item);
    }
    return list;
}
