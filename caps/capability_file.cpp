#include "caps/capability_file.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

#include "caps/value_text.h"
#include "source/source_context.h"

namespace {

// The longest texts the store reads for these purposes.
const size_t kShortTextLength = 79;
const size_t kAllowedIndexLength = 255;
const size_t kDictionarySectionSize = 2048;
const size_t kSectionNamesSize = 4096;

// "<Windows directory>\<baseName>.<extension>".
void MakeSourceFilePath(char (&path)[MAX_PATH], const char* extension)
{
    char windowsDirectory[MAX_PATH + 1] = "";
    GetWindowsDirectoryA(windowsDirectory, sizeof windowsDirectory);
    snprintf(path, sizeof path, "%s\\%s.%s", windowsDirectory, g_source.baseName, extension);
}

void MakeDictionaryFilePath(char (&path)[MAX_PATH])
{
    MakeSourceFilePath(path, "ini");
}

}  // namespace

void MakeCapabilityFilePath()
{
    MakeSourceFilePath(g_source.capabilityFilePath, "src");
}

void RestoreXferMechAllowed()
{
    MakeCapabilityFilePath();
    char powerOn[kShortTextLength + 1] = "";
    ReadCapabilityText("ICAP_XFERMECH", "PowerON", "", powerOn, sizeof powerOn);
    WriteCapabilityText("ICAP_XFERMECH", "Allowed", powerOn);
}

void ReadCapabilityText(const char* section, const char* key, const char* defaultText, char* text,
                        size_t size)
{
    GetPrivateProfileStringA(section, key, defaultText, text, static_cast<DWORD>(size),
                             g_source.capabilityFilePath);
}

void WriteCapabilityText(const char* section, const char* key, const char* text)
{
    WritePrivateProfileStringA(section, key, text, g_source.capabilityFilePath);
}

TW_UINT32 ReadCapabilityNumber(const char* section, const char* key, TW_UINT32 fallback)
{
    return GetPrivateProfileIntA(section, key, static_cast<INT>(fallback),
                                 g_source.capabilityFilePath);
}

void ReadDictionaryText(const char* section, const char* key, const char* defaultText, char* text,
                        size_t size)
{
    char path[MAX_PATH];
    MakeDictionaryFilePath(path);
    GetPrivateProfileStringA(section, key, defaultText, text, static_cast<DWORD>(size), path);
}

TW_INT32 DictionaryNumber(const char* section, const char* name)
{
    char path[MAX_PATH];
    MakeDictionaryFilePath(path);
    return static_cast<TW_INT32>(GetPrivateProfileIntA(section, name, kFallbackNumber, path));
}

void ReadCapabilityName(TW_UINT16 cap, char* name, size_t size)
{
    char key[16];
    snprintf(key, sizeof key, "%d", static_cast<int>(cap));
    ReadDictionaryText("CAP NUMBERS", key, "NONE", name, size);
}

std::vector<std::string> CapabilitySectionNames()
{
    char path[MAX_PATH];
    MakeDictionaryFilePath(path);
    char numbers[kDictionarySectionSize];
    DWORD numbersLength = GetPrivateProfileSectionA("CAP NUMBERS", numbers, sizeof numbers, path);
    char sections[kSectionNamesSize];
    DWORD sectionsLength =
        GetPrivateProfileSectionNamesA(sections, sizeof sections, g_source.capabilityFilePath);
    std::vector<std::string> names;
    for (const char* section = sections; section < sections + sectionsLength && *section != '\0';
         section += strlen(section) + 1) {
        if (SectionHasValue(numbers, numbersLength, section)) {
            names.push_back(section);
        }
    }
    return names;
}

TW_UINT32 ParseItem(const char* capabilityName, const char* item, TW_UINT16 itemType)
{
    return ItemNumber(capabilityName, item, itemType, DictionaryNumber);
}

size_t FindListIndex(const char* which, const char* capabilityName)
{
    char allowed[kAllowedIndexLength + 1];
    ReadCapabilityText(capabilityName, "Allowed", "", allowed, sizeof allowed);
    char wanted[kShortTextLength + 1];
    ReadCapabilityText(capabilityName, which, "", wanted, sizeof wanted);
    return ListIndexOf(allowed, wanted);
}

void NumberToName(TW_INT32 number, const char* capabilityName, char* name, size_t size)
{
    char path[MAX_PATH];
    MakeDictionaryFilePath(path);
    char lines[kDictionarySectionSize];
    DWORD length = GetPrivateProfileSectionA(capabilityName, lines, sizeof lines, path);
    NameInSection(lines, length < sizeof lines ? length : sizeof lines, number, name, size);
}
