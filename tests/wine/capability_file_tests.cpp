// The installed capability and dictionary files, the restore of
// ICAP_XFERMECH's allowed values at load, and files whose texts are longer
// than anything the store reads.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "support/capability_requests.h"
#include "support/message_boxes.h"
#include "support/prefix_files.h"
#include "support/source_module.h"

namespace {

// The zero-separated lines or names that the section services return.
std::vector<std::string> SplitZeroList(const std::vector<char>& buffer)
{
    std::vector<std::string> entries;
    for (const char* p = buffer.data(); *p != '\0'; p += strlen(p) + 1) {
        entries.push_back(p);
    }
    return entries;
}

std::vector<std::string> SectionNames(const std::string& path)
{
    std::vector<char> buffer(65536, '\0');
    GetPrivateProfileSectionNamesA(buffer.data(), buffer.size(), path.c_str());
    return SplitZeroList(buffer);
}

std::map<std::string, std::string> SectionLines(const std::string& path, const std::string& section)
{
    std::vector<char> buffer(65536, '\0');
    GetPrivateProfileSectionA(section.c_str(), buffer.data(), buffer.size(), path.c_str());
    std::map<std::string, std::string> lines;
    for (const std::string& line : SplitZeroList(buffer)) {
        size_t equals = line.find('=');
        lines[line.substr(0, equals)] = equals == std::string::npos ? "" : line.substr(equals + 1);
    }
    return lines;
}

std::vector<std::string> SplitItems(std::string text)
{
    if (!text.empty() && text.front() == '[') {
        text = text.substr(1, text.size() - 2);
    }
    std::vector<std::string> items;
    size_t start = 0;
    while (start <= text.size()) {
        size_t comma = text.find(',', start);
        std::string item = text.substr(start, comma - start);
        if (!item.empty()) {
            items.push_back(item);
        }
        if (comma == std::string::npos) {
            break;
        }
        start = comma + 1;
    }
    return items;
}

bool IsSymbolicName(const std::string& item)
{
    return !item.empty() && isalpha(static_cast<unsigned char>(item[0]));
}

const char* const kOtherSections[] = {"ADF", "Setup Memory Transfer", "GrayResponse",
                                      "RGBResponse"};

bool IsCapabilitySection(const std::string& section)
{
    for (const char* other : kOtherSections) {
        if (_stricmp(other, section.c_str()) == 0) {
            return false;
        }
    }
    return true;
}

TEST(InstalledFiles, EveryCapabilityAnswersTheGetsAndEveryNameResolves)
{
    SavedFile capabilities(CapabilityFilePath());
    const std::string dictionary = DictionaryFilePath();
    std::map<std::string, std::string> numbers = SectionLines(dictionary, "CAP NUMBERS");
    std::map<std::string, std::string> conTypes = SectionLines(dictionary, "ConType");
    std::map<std::string, std::string> itemTypes = SectionLines(dictionary, "ItemType");
    std::map<std::string, int> numberOfName;
    for (const auto& line : numbers) {
        numberOfName[line.second] = atoi(line.first.c_str());
    }

    SourceModule source;
    ASSERT_TRUE(source.Loaded());
    std::set<std::string> shapes;
    std::vector<int> sectionNumbers;
    for (const std::string& name : SectionNames(CapabilityFilePath())) {
        if (!IsCapabilitySection(name)) {
            continue;
        }
        SCOPED_TRACE(name);
        ASSERT_EQ(numberOfName.count(name), 1u) << "not in CAP NUMBERS";
        sectionNumbers.push_back(numberOfName[name]);
        std::map<std::string, std::string> keys = SectionLines(CapabilityFilePath(), name);
        std::map<std::string, std::string> symbols = SectionLines(dictionary, name);
        EXPECT_EQ(itemTypes.count(keys["Type"]), 1u) << keys["Type"];
        for (const char* operation : {"Get", "GetCurrent", "GetDefault", "Set", "Reset"}) {
            if (strcmp(operation, "Reset") == 0 && keys["Reset"] == "TWCC_BADPROTOCOL") {
                continue;
            }
            for (const std::string& container : SplitItems(keys[operation])) {
                EXPECT_EQ(conTypes.count(container), 1u) << operation << " " << container;
            }
        }
        for (const char* value : {"Current", "Default", "Allowed", "PowerON"}) {
            ASSERT_EQ(keys.count(value), 1u) << value;
            const std::string& text = keys[value];
            if (text.find("to") == std::string::npos) {
                for (const std::string& item : SplitItems(text)) {
                    if (IsSymbolicName(item)) {
                        EXPECT_EQ(symbols.count(item), 1u) << value << " " << item;
                    }
                }
            }
        }
        const std::string& allowed = keys["Allowed"];
        shapes.insert(allowed.find("to") != std::string::npos
                          ? (keys["Type"] == "TWTY_FIX32" ? "FIX32 range" : "range")
                      : allowed.find('[') != std::string::npos ? "array"
                      : allowed.find(',') != std::string::npos ? "list"
                                                               : "one value");

        for (TW_UINT16 message : {MSG_GET, MSG_GETCURRENT, MSG_GETDEFAULT}) {
            CapabilityReply reply =
                AskCapability(source, static_cast<TW_UINT16>(numberOfName[name]), message);
            EXPECT_EQ(reply.returnCode, TWRC_SUCCESS) << message;
            EXPECT_TRUE(reply.hasContainer) << message;
            EXPECT_EQ(AsOneValue(reply).ItemType, atoi(itemTypes[keys["Type"]].c_str()));
        }
    }
    EXPECT_EQ(shapes,
              (std::set<std::string>{"FIX32 range", "range", "array", "list", "one value"}));
    EXPECT_EQ(sectionNumbers.size(), numbers.size());

    // CAP_SUPPORTEDCAPS lists exactly the capabilities of the files.
    ListReply supported = AsList(AskCapability(source, CAP_SUPPORTEDCAPS, MSG_GET));
    std::multiset<TW_UINT32> listed(supported.items.begin(), supported.items.end());
    EXPECT_EQ(listed, std::multiset<TW_UINT32>(sectionNumbers.begin(), sectionNumbers.end()));

    // What the source delivers: 24-bit RGB, uncompressed, BMP files, three
    // transfer mechanisms.
    EXPECT_EQ(AsList(AskCapability(source, ICAP_PIXELTYPE, MSG_GET)).items,
              std::vector<TW_UINT32>{TWPT_RGB});
    EXPECT_EQ(AsList(AskCapability(source, ICAP_BITDEPTH, MSG_GET)).items,
              std::vector<TW_UINT32>{24});
    EXPECT_EQ(AsList(AskCapability(source, ICAP_COMPRESSION, MSG_GET)).items,
              std::vector<TW_UINT32>{TWCP_NONE});
    EXPECT_EQ(AsList(AskCapability(source, ICAP_IMAGEFILEFORMAT, MSG_GET)).items,
              std::vector<TW_UINT32>{TWFF_BMP});
    EXPECT_EQ(AsList(AskCapability(source, ICAP_XFERMECH, MSG_GET)).items,
              (std::vector<TW_UINT32>{TWSX_NATIVE, TWSX_FILE, TWSX_MEMORY}));
}

TEST(InstalledFiles, TransferSectionsStayBesideTheCapabilities)
{
    EXPECT_EQ(CapabilityKey("ADF", "PendingImages"), "0");
    // The preferred buffer holds a row of the camera's widest picture.
    EXPECT_EQ(CapabilityKey("Setup Memory Transfer", "Min"), "3840");
    EXPECT_EQ(CapabilityKey("Setup Memory Transfer", "Max"), "4194304");
    EXPECT_EQ(CapabilityKey("Setup Memory Transfer", "Preferred"), "65536");
}

TEST(LibraryLoad, XferMechAllowedReturnsToPowerOnAndNothingElseChanges)
{
    SavedFile capabilities(CapabilityFilePath());
    WriteTextFile(CapabilityFilePath(),
                  "[ICAP_XFERMECH]\nAllowed=TWSX_FILE\nPowerON=TWSX_NATIVE,TWSX_MEMORY\n"
                  "Current=TWSX_FILE\n\n[ICAP_UNITS]\nAllowed=TWUN_PIXELS\nPowerON=TWUN_INCHES\n");
    {
        SourceModule source;
        ASSERT_TRUE(source.Loaded());
    }
    EXPECT_EQ(CapabilityKey("ICAP_XFERMECH", "Allowed"), "TWSX_NATIVE,TWSX_MEMORY");
    EXPECT_EQ(CapabilityKey("ICAP_XFERMECH", "Current"), "TWSX_FILE");
    EXPECT_EQ(CapabilityKey("ICAP_UNITS", "Allowed"), "TWUN_PIXELS");

    // Without PowerON, Allowed stays as an empty line.
    WriteTextFile(CapabilityFilePath(), "[ICAP_XFERMECH]\nAllowed=TWSX_FILE\n");
    {
        SourceModule source;
    }
    EXPECT_EQ(CapabilityKey("ICAP_XFERMECH", "Allowed"), "");

    // Without a file, the load makes one with that line.
    DeleteFileA(CapabilityFilePath().c_str());
    {
        SourceModule source;
    }
    ASSERT_TRUE(FileExists(CapabilityFilePath()));
    EXPECT_EQ(CapabilityKey("ICAP_XFERMECH", "Allowed"), "");
}

const char kLongDictionaryHead[] =
    "[CAP NUMBERS]\n"
    "32769=CUSTOM_SETTING\n"
    "[ConType]\n"
    "TWON_ARRAY=3\nTWON_ENUMERATION=4\nTWON_ONEVALUE=5\nTWON_RANGE=6\n"
    "[ItemType]\n"
    "TWTY_UINT16=4\nTWTY_INT32=2\n";

TEST(LongTexts, NamesOverTwentyNineCharactersAreNoNames)
{
    const std::string thirty(30, 'N');
    const std::string twentyNine(29, 'M');
    CapabilityFiles files(std::string(kLongDictionaryHead) + "[CUSTOM_SETTING]\n" + thirty +
                              "=7\n" + twentyNine + "=8\n",
                          "[CUSTOM_SETTING]\nType=TWTY_UINT16\nGet=TWON_ENUMERATION\n"
                          "Set=TWON_ONEVALUE,TWON_ENUMERATION\nAllowed=" +
                              thirty + "," + twentyNine + "\n");
    SourceModule source;
    MessageBoxCapture boxes;

    // A reply looks every item up as written.
    EXPECT_EQ(AsList(AskCapability(source, 0x8001, MSG_GET)).items, (std::vector<TW_UINT32>{7, 8}));

    // A one-value set matches only names the store can write back.
    CapabilityReply eight =
        SetCapability(source, 0x8001, TWON_ONEVALUE, OneValueBytes(TWTY_UINT16, 8));
    EXPECT_EQ(eight.returnCode, TWRC_SUCCESS);
    EXPECT_EQ(CapabilityKey("CUSTOM_SETTING", "Current"), twentyNine);
    CapabilityReply seven =
        SetCapability(source, 0x8001, TWON_ONEVALUE, OneValueBytes(TWTY_UINT16, 7));
    EXPECT_EQ(seven.returnCode, TWRC_FAILURE);
    EXPECT_EQ(seven.conditionCode, TWCC_BADVALUE);
    EXPECT_EQ(boxes.Boxes().size(), 1u);

    // An enumeration set names the numbers; the long name is none.
    SetCapability(source, 0x8001, TWON_ENUMERATION,
                  ListBytes(TWON_ENUMERATION, TWTY_UINT16, {7, 8}));
    EXPECT_EQ(CapabilityKey("CUSTOM_SETTING", "Allowed"), "," + twentyNine);
}

TEST(LongTexts, EveryKeyFarLongerThanItsReaderIsCut)
{
    // A dictionary section past 2048 characters: numbers named beyond it
    // have no name.
    std::string symbols = "[CUSTOM_SETTING]\n";
    for (int i = 0; i < 200; ++i) {
        symbols += "NAME_" + std::to_string(i) + "=" + std::to_string(i) + "\n";
    }
    std::string longList;
    for (int i = 0; i < 400; ++i) {
        longList += (longList.empty() ? "" : ",") + std::string("NAME_") + std::to_string(i % 200);
    }
    const std::string filler(3000, 'x');
    CapabilityFiles files(std::string(kLongDictionaryHead) + symbols,
                          "[CUSTOM_SETTING]\nType=TWTY_UINT16" + filler +
                              "\nGet=TWON_ENUMERATION\nGetCurrent=TWON_ONEVALUE" + filler +
                              "\nGetDefault=TWON_ARRAY\nSet=TWON_ENUMERATION,TWON_ARRAY," + filler +
                              "\nReset=TWON_ENUMERATION\nAllowed=" + longList + "\nCurrent=NAME_5" +
                              filler + "\nDefault=[" + longList + "]\nPowerON=" + longList + "\n");
    SourceModule source;
    MessageBoxCapture boxes;

    // Type is cut to 79 characters: no item type the dictionary knows.
    CapabilityReply list = AskCapability(source, 0x8001, MSG_GET);
    ASSERT_EQ(list.returnCode, TWRC_SUCCESS);
    ListReply items = AsList(list);
    EXPECT_EQ(items.itemType, 99);
    // 255 characters hold "NAME_0" to "NAME_32" and a cut item, left out.
    EXPECT_EQ(items.numItems, 33u);
    EXPECT_EQ(list.blockSize, 15u + 33 * 2);

    // GetCurrent is cut to 119 characters: no container.
    EXPECT_EQ(AskCapability(source, 0x8001, MSG_GETCURRENT).conditionCode, TWCC_BADCAP);
    EXPECT_EQ(AsList(AskCapability(source, 0x8001, MSG_GETDEFAULT)).numItems, 33u);

    // Set is read with 39 characters for its check: both containers count.
    std::vector<TW_UINT32> many;
    for (TW_UINT32 i = 0; i < 190; ++i) {
        many.push_back(i);
    }
    CapabilityReply tooLong = SetCapability(source, 0x8001, TWON_ENUMERATION,
                                            ListBytes(TWON_ENUMERATION, TWTY_UINT16, many));
    // Its names would pass the 259 characters a stored text may hold.
    EXPECT_EQ(tooLong.returnCode, TWRC_FAILURE);
    EXPECT_EQ(tooLong.conditionCode, TWCC_BADVALUE);
    EXPECT_EQ(CapabilityKey("CUSTOM_SETTING", "Allowed"), longList);

    std::vector<TW_UINT32> numbers(40, 65535);
    CapabilityReply array =
        SetCapability(source, 0x8001, TWON_ARRAY, ListBytes(TWON_ARRAY, TWTY_UINT16, numbers));
    EXPECT_EQ(array.returnCode, TWRC_SUCCESS);
    std::string expected = "[65535";
    for (int i = 1; i < 40; ++i) {
        expected += ",65535";
    }
    EXPECT_EQ(CapabilityKey("CUSTOM_SETTING", "Allowed"), expected + "]");
    // The reply reads all of its 241 characters.
    EXPECT_EQ(AsList(array).numItems, 40u);

    // Names past the 2048 characters read of the dictionary section are none.
    SetCapability(source, 0x8001, TWON_ENUMERATION,
                  ListBytes(TWON_ENUMERATION, TWTY_UINT16, {1, 199}));
    EXPECT_EQ(CapabilityKey("CUSTOM_SETTING", "Allowed"), "NAME_1,");

    // Reset copies 79 characters of PowerON.
    ASSERT_EQ(AskCapability(source, 0x8001, MSG_RESET).returnCode, TWRC_SUCCESS);
    EXPECT_EQ(CapabilityKey("CUSTOM_SETTING", "Allowed"), longList.substr(0, 79));
    EXPECT_TRUE(boxes.Boxes().empty());
}

}  // namespace
