#include "prefix_files.h"

#include <windows.h>

#include <fstream>
#include <sstream>

std::string WindowsDirectory()
{
    char directory[MAX_PATH] = "";
    GetWindowsDirectoryA(directory, sizeof directory);
    return directory;
}

std::string SystemFile(const std::string& name, bool wow64)
{
    char folder[MAX_PATH] = "";
    if (wow64) {
        GetSystemWow64DirectoryA(folder, sizeof folder);
    } else {
        GetSystemDirectoryA(folder, sizeof folder);
    }
    return std::string(folder) + "\\" + name;
}

std::string CapabilityFilePath()
{
    return WindowsDirectory() + "\\Tz600a.src";
}

std::string DictionaryFilePath()
{
    return WindowsDirectory() + "\\Tz600a.ini";
}

std::string SourceDirectory()
{
    return WindowsDirectory() + "\\TWAIN_32\\tz600a\\";
}

std::string InstalledSourcePath()
{
    // A 64-bit source lies in the 64-bit TWAIN folder; its data stays in the
    // 32-bit one.
    const char* const folder = sizeof(void*) == 8 ? "\\twain_64\\tz600a\\" : "\\TWAIN_32\\tz600a\\";
    return WindowsDirectory() + folder + "Tz600a.ds";
}

std::string TemporaryPath(const std::string& name)
{
    char temp[MAX_PATH] = "";
    GetTempPathA(sizeof temp, temp);
    return std::string(temp) + name;
}

bool FileExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string ReadTextFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

namespace {

// Wine's private-profile services keep files they have read and reload one
// only when its last-write time has changed. The kernel stamps files with a
// coarse clock, so two writes within one tick look alike: each file a test
// writes gets a last-write time of its own, later than any before.
const ULONGLONG kOneMillisecond = 10000;

ULONGLONG SystemTimeNow()
{
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    return static_cast<ULONGLONG>(now.dwHighDateTime) << 32 | now.dwLowDateTime;
}

void SetLastWriteTime(const std::string& path, ULONGLONG stamp)
{
    FILETIME time = {static_cast<DWORD>(stamp), static_cast<DWORD>(stamp >> 32)};
    HANDLE file =
        CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_EXISTING, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        SetFileTime(file, nullptr, nullptr, &time);
        CloseHandle(file);
    }
}

void StampDistinctWriteTime(const std::string& path)
{
    static ULONGLONG lastStamp = 0;
    ULONGLONG stamp = SystemTimeNow() + kOneMillisecond;
    if (stamp <= lastStamp) {
        stamp = lastStamp + kOneMillisecond;
    }
    lastStamp = stamp;
    SetLastWriteTime(path, stamp);
}

}  // namespace

void AgeFile(const std::string& path, unsigned seconds)
{
    SetLastWriteTime(path, SystemTimeNow() - seconds * 1000 * kOneMillisecond);
}

void WriteTextFile(const std::string& path, const std::string& text)
{
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << text;
    }
    StampDistinctWriteTime(path);
}

SavedFile::SavedFile(std::string path) : path_(std::move(path)), existed_(FileExists(path_))
{
    if (existed_) {
        content_ = ReadTextFile(path_);
    }
}

SavedFile::~SavedFile()
{
    if (existed_) {
        WriteTextFile(path_, content_);
    } else {
        DeleteFileA(path_.c_str());
    }
}

SavedRegistryValue::SavedRegistryValue(std::string key, std::string name)
    : key_(std::move(key)), name_(std::move(name)), existed_(false), type_(0)
{
    HKEY handle;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key_.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) {
        return;
    }
    char data[1024];
    DWORD size = sizeof data;
    DWORD type = 0;
    if (RegQueryValueExA(handle, name_.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data),
                         &size) == ERROR_SUCCESS) {
        existed_ = true;
        type_ = type;
        data_.assign(data, size);
    }
    RegCloseKey(handle);
}

namespace {

void WriteRegistryValue(const std::string& key, const std::string& name, DWORD type,
                        const void* data, DWORD size)
{
    HKEY handle;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &handle,
                        nullptr) == ERROR_SUCCESS) {
        RegSetValueExA(handle, name.c_str(), 0, type, static_cast<const BYTE*>(data), size);
        RegCloseKey(handle);
    }
}

}  // namespace

SavedRegistryValue::~SavedRegistryValue()
{
    if (existed_) {
        WriteRegistryValue(key_, name_, type_, data_.data(), data_.size());
    } else {
        Remove();
    }
}

void SavedRegistryValue::SetString(const std::string& value)
{
    WriteRegistryValue(key_, name_, REG_SZ, value.c_str(), value.size() + 1);
}

void SavedRegistryValue::SetDword(unsigned long value)
{
    DWORD data = value;
    WriteRegistryValue(key_, name_, REG_DWORD, &data, sizeof data);
}

void SavedRegistryValue::Remove()
{
    HKEY handle;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key_.c_str(), 0, KEY_WRITE, &handle) == ERROR_SUCCESS) {
        RegDeleteValueA(handle, name_.c_str());
        RegCloseKey(handle);
    }
}

void RemoveFolder(const std::string& folder)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            DeleteFileA((folder + "\\" + found.cFileName).c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
}
