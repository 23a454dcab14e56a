// Files of the Wine prefix that tests read, write and put back.
#pragma once

#include <string>

std::string WindowsDirectory();
// `name` in the system folder of this program's architecture, or in the
// 32-bit system folder of 64-bit Windows.
std::string SystemFile(const std::string& name, bool wow64 = false);
std::string CapabilityFilePath();
std::string DictionaryFilePath();
std::string SourceDirectory();
// The installed source of this program's architecture.
std::string InstalledSourcePath();
// `name` in the prefix's temporary folder, which each prefix of a parallel
// run has of its own.
std::string TemporaryPath(const std::string& name);

bool FileExists(const std::string& path);
std::string ReadTextFile(const std::string& path);
void WriteTextFile(const std::string& path, const std::string& text);
// Gives the file a last-write time the given number of seconds ago, as if
// it had been written then.
void AgeFile(const std::string& path, unsigned seconds);
// Deletes the files in a folder, then the folder itself.
void RemoveFolder(const std::string& folder);

// Keeps a copy of a file (or notes its absence) and puts it back when the
// test ends.
class SavedFile {
public:
    explicit SavedFile(std::string path);
    ~SavedFile();
    SavedFile(const SavedFile&) = delete;
    SavedFile& operator=(const SavedFile&) = delete;

private:
    std::string path_;
    bool existed_;
    std::string content_;
};

// A registry value under HKEY_LOCAL_MACHINE, set or removed for one test and
// put back afterwards.
class SavedRegistryValue {
public:
    SavedRegistryValue(std::string key, std::string name);
    ~SavedRegistryValue();
    SavedRegistryValue(const SavedRegistryValue&) = delete;
    SavedRegistryValue& operator=(const SavedRegistryValue&) = delete;

    void SetString(const std::string& value);
    void SetDword(unsigned long value);
    void Remove();

private:
    std::string key_;
    std::string name_;
    bool existed_;
    unsigned long type_;
    std::string data_;
};
