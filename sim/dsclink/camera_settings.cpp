#include "sim/dsclink/camera_settings.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

char g_settingsPath[MAX_PATH];

// The largest section the private-profile services hand out.
const DWORD kSectionSize = 32767;
const char kDamageKey[] = "Record";

bool IsAbsolute(const char* path)
{
    return path[0] == '\\' || (path[0] != '\0' && path[1] == ':');
}

bool FolderExists(const char* path)
{
    const DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// The storage folder named by a settings file.
bool StorageFolderOf(const char* settingsPath, char* folder, size_t size)
{
    char named[MAX_PATH];
    GetPrivateProfileStringA("Camera", "Storage", "", named, sizeof named, settingsPath);
    if (named[0] == '\0') {
        return false;
    }
    int length;
    if (IsAbsolute(named)) {
        length = snprintf(folder, size, "%s", named);
    } else {
        const char* lastSlash = strrchr(settingsPath, '\\');
        const int directoryLength =
            lastSlash != nullptr ? static_cast<int>(lastSlash - settingsPath) : 0;
        length = snprintf(folder, size, "%.*s%s%s", directoryLength, settingsPath,
                          directoryLength != 0 ? "\\" : "", named);
    }
    return length > 0 && static_cast<size_t>(length) < size;
}

int ReadInt(const char* section, const char* key, int fallback)
{
    if (g_settingsPath[0] == '\0') {
        return fallback;
    }
    return static_cast<int>(GetPrivateProfileIntA(section, key, fallback, g_settingsPath));
}

void WriteInt(const char* section, const char* key, int value)
{
    if (g_settingsPath[0] == '\0') {
        return;
    }
    char text[16];
    snprintf(text, sizeof text, "%d", value);
    WritePrivateProfileStringA(section, key, text, g_settingsPath);
}

bool CallIsToFail(const char* function, int callNumber)
{
    char rule[32];
    GetPrivateProfileStringA("Fail", function, "", rule, sizeof rule, g_settingsPath);
    if (_stricmp(rule, "always") == 0) {
        return true;
    }
    return rule[0] != '\0' && atoi(rule) == callNumber;
}

}  // namespace

bool LoadSettingsFile(const char* path)
{
    g_settingsPath[0] = '\0';
    char folder[MAX_PATH];
    if (path == nullptr || strlen(path) >= sizeof g_settingsPath ||
        GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES ||
        !StorageFolderOf(path, folder, sizeof folder) || !FolderExists(folder)) {
        return false;
    }
    strcpy(g_settingsPath, path);
    if (!CallAllowed("Load_IniFile")) {
        g_settingsPath[0] = '\0';
        return false;
    }
    return true;
}

bool SettingsLoaded()
{
    return g_settingsPath[0] != '\0';
}

bool CallAllowed(const char* function)
{
    if (!SettingsLoaded()) {
        return false;
    }
    const int callNumber = ReadInt("Counts", function, 0) + 1;
    WriteInt("Counts", function, callNumber);
    const int stall = ReadInt("Stall", function, 0);
    if (stall > 0) {
        Sleep(static_cast<DWORD>(stall));
    }
    return !CallIsToFail(function, callNumber);
}

bool StorageFolder(char* folder, size_t size)
{
    return SettingsLoaded() && StorageFolderOf(g_settingsPath, folder, size);
}

int ReadCameraSetting(const char* key, int fallback)
{
    return ReadInt("Camera", key, fallback);
}

void WriteCameraSetting(const char* key, int value)
{
    WriteInt("Camera", key, value);
}

std::map<unsigned long, std::string> RecordDamage()
{
    std::map<unsigned long, std::string> patches;
    if (!SettingsLoaded()) {
        return patches;
    }
    std::vector<char> section(kSectionSize, '\0');
    GetPrivateProfileSectionA("Damage", section.data(), kSectionSize, g_settingsPath);
    // "Record<n>=<patch>" entries, each ending in a zero, the last in two.
    for (const char* entry = section.data(); *entry != '\0'; entry += strlen(entry) + 1) {
        char* end = nullptr;
        const unsigned long number = _strnicmp(entry, kDamageKey, sizeof kDamageKey - 1) == 0
                                         ? strtoul(entry + sizeof kDamageKey - 1, &end, 10)
                                         : 0;
        if (end != nullptr && end[0] == '=' && end[1] != '\0') {
            patches[number] = end + 1;
        }
    }
    return patches;
}
