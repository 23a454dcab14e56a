// DAT_CAPABILITY requests as an application makes them, on capability and
// dictionary files that a test writes into the prefix's Windows directory.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "prefix_files.h"
#include "source/twain.h"
#include "source_module.h"
#include "tools/acquire/twain_app.h"

// Replaces the dictionary and the capability file for one test and puts both
// back afterwards.
class CapabilityFiles {
public:
    CapabilityFiles(const std::string& dictionary, const std::string& capabilities);

private:
    SavedFile dictionary_;
    SavedFile capabilities_;
};

// A key of the capability file through the private-profile services;
// "<missing>" when the key is not there.
std::string CapabilityKey(const char* section, const char* key);

// What a request returned, with a copy of the container it left behind.
struct CapabilityReply {
    TW_UINT16 returnCode;
    TW_UINT16 conditionCode;
    TW_UINT16 conType;
    bool hasContainer;
    size_t blockSize;
    std::vector<unsigned char> block;
};

// A get, get current, get default or reset (or any other message): the reply
// block, if any, is copied and freed. To the source loaded straight, or
// through the Source Manager to the source the application has open.
CapabilityReply AskCapability(SourceModule& source, TW_UINT16 cap, TW_UINT16 message);
CapabilityReply AskCapability(TwainApp& app, TW_UINT16 cap, TW_UINT16 message);

// A set with the application's block holding exactly these bytes; the reply
// shows the block as the source left it.
CapabilityReply SetCapability(SourceModule& source, TW_UINT16 cap, TW_UINT16 conType,
                              const std::vector<unsigned char>& container);
CapabilityReply SetCapability(TwainApp& app, TW_UINT16 cap, TW_UINT16 conType,
                              const std::vector<unsigned char>& container);

// Containers as bytes, laid out as an application builds them.
std::vector<unsigned char> OneValueBytes(TW_UINT16 itemType, TW_UINT32 item);
std::vector<unsigned char> RangeBytes(TW_UINT16 itemType, TW_UINT32 minValue, TW_UINT32 maxValue,
                                      TW_UINT32 stepSize, TW_UINT32 defaultValue,
                                      TW_UINT32 currentValue);
// An enumeration (with its two indices) or an array of items of the type.
std::vector<unsigned char> ListBytes(TW_UINT16 conType, TW_UINT16 itemType,
                                     const std::vector<TW_UINT32>& items);

// Reading a reply's container.
TW_ONEVALUE AsOneValue(const CapabilityReply& reply);
TW_RANGE AsRange(const CapabilityReply& reply);
struct ListReply {
    TW_UINT16 itemType;
    TW_UINT32 numItems;
    TW_UINT32 currentIndex;  // enumerations only
    TW_UINT32 defaultIndex;
    std::vector<TW_UINT32> items;  // read at the item type's size
};
ListReply AsList(const CapabilityReply& reply);
