#include "capabilities.h"

#include <cmath>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "caps/item_size.h"

namespace {

struct NamedNumber {
    const char* name;
    TW_UINT16 number;
};

const NamedNumber kCapabilityNames[] = {
    {"CAP_XFERCOUNT", CAP_XFERCOUNT},
    {"ICAP_COMPRESSION", ICAP_COMPRESSION},
    {"ICAP_PIXELTYPE", ICAP_PIXELTYPE},
    {"ICAP_UNITS", ICAP_UNITS},
    {"ICAP_XFERMECH", ICAP_XFERMECH},
    {"CAP_SUPPORTEDCAPS", CAP_SUPPORTEDCAPS},
    {"CAP_AUTOFEED", CAP_AUTOFEED},
    {"CAP_INDICATORS", CAP_INDICATORS},
    {"CAP_UICONTROLLABLE", CAP_UICONTROLLABLE},
    {"ICAP_IMAGEFILEFORMAT", ICAP_IMAGEFILEFORMAT},
    {"ICAP_PHYSICALWIDTH", ICAP_PHYSICALWIDTH},
    {"ICAP_PHYSICALHEIGHT", ICAP_PHYSICALHEIGHT},
    {"ICAP_XRESOLUTION", ICAP_XRESOLUTION},
    {"ICAP_YRESOLUTION", ICAP_YRESOLUTION},
    {"ICAP_BITDEPTH", ICAP_BITDEPTH},
    {"CAP_DEVICEONLINE", CAP_DEVICEONLINE},
    {"ICAP_BITORDER", ICAP_BITORDER},
    {"ICAP_PIXELFLAVOR", ICAP_PIXELFLAVOR},
    {"ICAP_PLANARCHUNKY", ICAP_PLANARCHUNKY},
};

const char* const kContainerNames[] = {
    "", "", "", "TWON_ARRAY", "TWON_ENUMERATION", "TWON_ONEVALUE", "TWON_RANGE"};
const char* const kItemTypeNames[] = {"TWTY_INT8",   "TWTY_INT16",  "TWTY_INT32", "TWTY_UINT8",
                                      "TWTY_UINT16", "TWTY_UINT32", "TWTY_BOOL",  "TWTY_FIX32",
                                      "TWTY_FRAME",  "TWTY_STR32",  "TWTY_STR64", "TWTY_STR128",
                                      "TWTY_STR255"};

const char* CapabilityName(TW_UINT16 cap)
{
    for (const NamedNumber& entry : kCapabilityNames) {
        if (entry.number == cap) {
            return entry.name;
        }
    }
    return "capability";
}

const char* MessageName(TW_UINT16 message)
{
    switch (message) {
    case MSG_GET:
        return "MSG_GET";
    case MSG_GETCURRENT:
        return "MSG_GETCURRENT";
    case MSG_GETDEFAULT:
        return "MSG_GETDEFAULT";
    case MSG_SET:
        return "MSG_SET";
    default:
        return "MSG_RESET";
    }
}

// A capability by its name or its number (decimal or 0x hexadecimal).
bool FindCapability(const char* text, TW_UINT16& cap)
{
    for (const NamedNumber& entry : kCapabilityNames) {
        if (_stricmp(entry.name, text) == 0) {
            cap = entry.number;
            return true;
        }
    }
    char* end = nullptr;
    unsigned long number = strtoul(text, &end, 0);
    if (end == text || *end != '\0' || number > 0xFFFF) {
        return false;
    }
    cap = static_cast<TW_UINT16>(number);
    return true;
}

// A 32-bit container value of the item type, as text.
void PrintValue(TW_UINT16 itemType, TW_UINT32 value)
{
    switch (itemType) {
    case TWTY_INT8:
        printf("%d", static_cast<TW_INT8>(value));
        break;
    case TWTY_INT16:
        printf("%d", static_cast<TW_INT16>(value));
        break;
    case TWTY_INT32:
        printf("%ld", static_cast<long>(static_cast<TW_INT32>(value)));
        break;
    case TWTY_FIX32:
        printf("%.6f", static_cast<TW_INT16>(value & 0xFFFF) + (value >> 16) / 65536.0);
        break;
    default:
        printf("%lu", static_cast<unsigned long>(value));
        break;
    }
}

TW_UINT32 ItemAt(const TW_UINT8* items, TW_UINT16 itemType, TW_UINT32 index)
{
    size_t size = ItemSize(itemType);
    const TW_UINT8* at = items + index * size;
    TW_UINT32 value = 0;
    memcpy(&value, at, size < sizeof value ? size : sizeof value);
    return value;
}

// How many of the `numItems` items from byte `listAt` on fit in a block of
// `size` bytes.
TW_UINT32 ItemsInBlock(size_t size, size_t listAt, TW_UINT16 itemType, TW_UINT32 numItems)
{
    const size_t room = (size - listAt) / ItemSize(itemType);
    return numItems < room ? numItems : static_cast<TW_UINT32>(room);
}

// Prints the item list of an array or enumeration whose header (the first
// `listAt` bytes) the block holds, as far as the block reaches.
void PrintItems(const TW_UINT8* block, size_t size, size_t listAt, TW_UINT16 itemType,
                TW_UINT32 numItems)
{
    const TW_UINT32 count = ItemsInBlock(size, listAt, itemType, numItems);
    for (TW_UINT32 i = 0; i < count; ++i) {
        printf(i == 0 ? " " : ", ");
        PrintValue(itemType, ItemAt(block + listAt, itemType, i));
    }
}

// Prints a container, reading no further than its block reaches.
void PrintContainer(TW_UINT16 conType, const TW_UINT8* block, size_t size)
{
    TW_UINT16 itemType = 0;
    if (size < sizeof itemType || conType < TWON_ARRAY || conType > TWON_RANGE) {
        printf("container %u of %lu bytes\n", conType, static_cast<unsigned long>(size));
        return;
    }
    memcpy(&itemType, block, sizeof itemType);
    printf("%s of %s:", kContainerNames[conType],
           itemType < sizeof kItemTypeNames / sizeof *kItemTypeNames ? kItemTypeNames[itemType]
                                                                     : "item type ?");
    if (conType == TWON_ONEVALUE && size >= sizeof(TW_ONEVALUE)) {
        TW_ONEVALUE oneValue;
        memcpy(&oneValue, block, sizeof oneValue);
        printf(" ");
        PrintValue(itemType, oneValue.Item);
    } else if (conType == TWON_RANGE && size >= sizeof(TW_RANGE)) {
        TW_RANGE range;
        memcpy(&range, block, sizeof range);
        printf(" ");
        PrintValue(itemType, range.MinValue);
        printf(" to ");
        PrintValue(itemType, range.MaxValue);
        printf(" step ");
        PrintValue(itemType, range.StepSize);
        printf(" (current ");
        PrintValue(itemType, range.CurrentValue);
        printf(", default ");
        PrintValue(itemType, range.DefaultValue);
        printf(")");
    } else if (conType == TWON_ENUMERATION && size >= offsetof(TW_ENUMERATION, ItemList)) {
        TW_ENUMERATION header;
        memcpy(&header, block, offsetof(TW_ENUMERATION, ItemList));
        PrintItems(block, size, offsetof(TW_ENUMERATION, ItemList), itemType, header.NumItems);
        printf(" (current index %lu, default index %lu)",
               static_cast<unsigned long>(header.CurrentIndex),
               static_cast<unsigned long>(header.DefaultIndex));
    } else if (conType == TWON_ARRAY && size >= offsetof(TW_ARRAY, ItemList)) {
        TW_ARRAY header;
        memcpy(&header, block, offsetof(TW_ARRAY, ItemList));
        PrintItems(block, size, offsetof(TW_ARRAY, ItemList), itemType, header.NumItems);
    }
    printf("\n");
}

void PrintReply(const TW_CAPABILITY& capability)
{
    const TW_UINT8* block = static_cast<const TW_UINT8*>(GlobalLock(capability.hContainer));
    if (block == nullptr) {
        printf("no container\n");
        return;
    }
    PrintContainer(capability.ConType, block, GlobalSize(capability.hContainer));
    GlobalUnlock(capability.hContainer);
}

// The item type of the capability's current value, for a set.
TW_UINT16 CurrentItemType(TwainApp& app, TW_UINT16 cap)
{
    TW_CAPABILITY capability = {cap, TWON_DONTCARE16, nullptr};
    TW_UINT16 itemType = TWTY_UINT16;
    if (CallSource(app, DG_CONTROL, DAT_CAPABILITY, MSG_GETCURRENT, &capability) == TWRC_SUCCESS &&
        capability.hContainer != nullptr) {
        const TW_UINT16* block = static_cast<const TW_UINT16*>(GlobalLock(capability.hContainer));
        if (block != nullptr) {
            itemType = *block;
            GlobalUnlock(capability.hContainer);
        }
        GlobalFree(capability.hContainer);
    }
    return itemType;
}

TW_UINT32 ValueOfText(TW_UINT16 itemType, const char* text)
{
    if (itemType == TWTY_FIX32) {
        double number = strtod(text, nullptr);
        double whole = floor(number);
        long frac = lround((number - whole) * 65536.0);
        if (frac == 65536) {
            whole += 1;
            frac = 0;
        }
        return static_cast<TW_UINT16>(static_cast<TW_INT16>(whole)) | static_cast<TW_UINT32>(frac)
                                                                          << 16;
    }
    return static_cast<TW_UINT32>(strtol(text, nullptr, 0));
}

// A set sends the value in a one-value container of the capability's item
// type, and the reply comes back in the same block.
TW_UINT16 SendSet(TwainApp& app, TW_CAPABILITY& capability, const char* value)
{
    TW_UINT16 itemType = CurrentItemType(app, capability.Cap);
    capability.ConType = TWON_ONEVALUE;
    capability.hContainer = GlobalAlloc(GMEM_MOVEABLE, sizeof(TW_ONEVALUE));
    if (capability.hContainer == nullptr) {
        return TWRC_FAILURE;
    }
    TW_ONEVALUE* oneValue = static_cast<TW_ONEVALUE*>(GlobalLock(capability.hContainer));
    oneValue->ItemType = itemType;
    oneValue->Item = ValueOfText(itemType, value);
    GlobalUnlock(capability.hContainer);
    return CallSource(app, DG_CONTROL, DAT_CAPABILITY, MSG_SET, &capability);
}

const NamedNumber kSupportNames[] = {
    {"get", TWQC_GET}, {"current", TWQC_GETCURRENT}, {"default", TWQC_GETDEFAULT},
    {"set", TWQC_SET}, {"reset", TWQC_RESET},
};

// The operations that MSG_QUERYSUPPORT says the capability offers, as
// "[get current default set reset]". Only a TWAIN 2 session is asked: a
// TWAIN 1.x source may show a message box for a query it does not know.
void PrintQuerySupport(TwainApp& app, TW_UINT16 cap)
{
    if (!InTwain2Session(app)) {
        printf("[not asked] ");
        return;
    }
    TW_CAPABILITY capability = {cap, TWON_DONTCARE16, nullptr};
    TW_UINT32 flags = 0;
    bool answered = CallSource(app, DG_CONTROL, DAT_CAPABILITY, MSG_QUERYSUPPORT, &capability) ==
                        TWRC_SUCCESS &&
                    capability.hContainer != nullptr;
    if (answered) {
        const TW_ONEVALUE* oneValue =
            static_cast<const TW_ONEVALUE*>(GlobalLock(capability.hContainer));
        answered = oneValue != nullptr && capability.ConType == TWON_ONEVALUE &&
                   GlobalSize(capability.hContainer) >= sizeof(TW_ONEVALUE);
        if (oneValue != nullptr) {
            flags = oneValue->Item;
            GlobalUnlock(capability.hContainer);
        }
    }
    if (capability.hContainer != nullptr) {
        GlobalFree(capability.hContainer);
    }
    if (!answered) {
        printf("[refused] ");
        return;
    }
    const char* separator = "";
    printf("[");
    for (const NamedNumber& operation : kSupportNames) {
        if ((flags & operation.number) != 0) {
            printf("%s%s", separator, operation.name);
            separator = " ";
        }
    }
    printf("] ");
}

bool RunOne(TwainApp& app, TW_UINT16 cap, TW_UINT16 message, const char* value,
            bool withQuerySupport = false)
{
    printf("%s (%u) ", CapabilityName(cap), cap);
    if (withQuerySupport) {
        PrintQuerySupport(app, cap);
    }
    TW_CAPABILITY capability = {cap, TWON_DONTCARE16, nullptr};
    TW_UINT16 rc = message == MSG_SET
                       ? SendSet(app, capability, value)
                       : CallSource(app, DG_CONTROL, DAT_CAPABILITY, message, &capability);
    printf("%s%s%s: ", MessageName(message), message == MSG_SET ? " " : "",
           message == MSG_SET ? value : "");
    bool answered = rc == TWRC_SUCCESS;
    if (answered) {
        PrintReply(capability);
    } else {
        printf("failed, condition code %u\n", ConditionCode(app));
    }
    if (capability.hContainer != nullptr) {
        GlobalFree(capability.hContainer);
    }
    return answered;
}

// MSG_GET of every capability that CAP_SUPPORTEDCAPS lists.
bool RunAllSupported(TwainApp& app)
{
    TW_CAPABILITY supported = {CAP_SUPPORTEDCAPS, TWON_DONTCARE16, nullptr};
    if (CallSource(app, DG_CONTROL, DAT_CAPABILITY, MSG_GET, &supported) != TWRC_SUCCESS ||
        supported.hContainer == nullptr) {
        printf("CAP_SUPPORTEDCAPS: failed, condition code %u\n", ConditionCode(app));
        return false;
    }
    std::vector<TW_UINT16> caps;
    const TW_UINT8* block = static_cast<const TW_UINT8*>(GlobalLock(supported.hContainer));
    size_t size = GlobalSize(supported.hContainer);
    if (block != nullptr && supported.ConType == TWON_ARRAY &&
        size >= offsetof(TW_ARRAY, ItemList)) {
        TW_ARRAY header;
        memcpy(&header, block, offsetof(TW_ARRAY, ItemList));
        const TW_UINT32 count =
            ItemsInBlock(size, offsetof(TW_ARRAY, ItemList), header.ItemType, header.NumItems);
        for (TW_UINT32 i = 0; i < count; ++i) {
            caps.push_back(static_cast<TW_UINT16>(
                ItemAt(block + offsetof(TW_ARRAY, ItemList), header.ItemType, i)));
        }
    }
    if (block != nullptr) {
        GlobalUnlock(supported.hContainer);
    }
    GlobalFree(supported.hContainer);
    bool allAnswered = true;
    for (TW_UINT16 cap : caps) {
        allAnswered = RunOne(app, cap, MSG_GET, nullptr, true) && allAnswered;
    }
    return allAnswered;
}

bool AddRequest(TW_UINT16 message, const char* argument, std::vector<CapabilityRequest>& requests)
{
    CapabilityRequest request = {message, 0, nullptr, false};
    char name[64] = "";
    const char* capText = argument;
    if (message == MSG_SET) {
        const char* equals = strchr(argument, '=');
        if (equals == nullptr || static_cast<size_t>(equals - argument) >= sizeof name) {
            return false;
        }
        memcpy(name, argument, equals - argument);
        capText = name;
        request.value = equals + 1;
    }
    if (!FindCapability(capText, request.cap)) {
        return false;
    }
    requests.push_back(request);
    return true;
}

}  // namespace

const char kCapabilityUsage[] =
    "  --caps                 MSG_GET of every capability in CAP_SUPPORTEDCAPS, with the\n"
    "                         operations MSG_QUERYSUPPORT says it offers\n"
    "  --get CAP              MSG_GET (CAP: a name such as ICAP_XFERMECH, or a number)\n"
    "  --get-current CAP      MSG_GETCURRENT\n"
    "  --get-default CAP      MSG_GETDEFAULT\n"
    "  --set CAP=VALUE        MSG_SET of one value\n"
    "  --reset CAP            MSG_RESET\n";

bool ParseCapabilityOption(int argc, char** argv, int& i, std::vector<CapabilityRequest>& requests,
                           bool& error)
{
    static const struct {
        const char* option;
        TW_UINT16 message;
    } kOptions[] = {{"--get", MSG_GET},
                    {"--get-current", MSG_GETCURRENT},
                    {"--get-default", MSG_GETDEFAULT},
                    {"--set", MSG_SET},
                    {"--reset", MSG_RESET}};
    if (strcmp(argv[i], "--caps") == 0) {
        requests.push_back({MSG_GET, 0, nullptr, true});
        return true;
    }
    for (const auto& entry : kOptions) {
        if (strcmp(argv[i], entry.option) == 0) {
            error = i + 1 >= argc || !AddRequest(entry.message, argv[i + 1], requests);
            if (error) {
                fprintf(stderr, "acquire: %s needs a capability%s\n", entry.option,
                        entry.message == MSG_SET ? " and a value, CAP=VALUE" : "");
            }
            ++i;
            return true;
        }
    }
    return false;
}

bool RunCapabilityRequests(TwainApp& app, const std::vector<CapabilityRequest>& requests)
{
    bool allAnswered = true;
    for (const CapabilityRequest& request : requests) {
        bool answered = request.allSupported
                            ? RunAllSupported(app)
                            : RunOne(app, request.cap, request.message, request.value);
        allAnswered = answered && allAnswered;
    }
    return allAnswered;
}
