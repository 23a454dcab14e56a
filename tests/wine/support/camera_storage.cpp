#include "camera_storage.h"

#include <windows.h>

#include <vector>

#include "album/dsclink.h"
#include "prefix_files.h"

CameraStorageCopy::CameraStorageCopy()
{
    folder_ = TemporaryPath("camera_storage_copy");
    storage_ = folder_ + "\\Camera";
    ini_ = folder_ + "\\DSCLINK.INI";
    CreateDirectoryA(folder_.c_str(), nullptr);
    CreateDirectoryA(storage_.c_str(), nullptr);
    const std::string installed = SourceDirectory() + "Camera\\";
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((installed + "*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
                CopyFileA((installed + found.cFileName).c_str(),
                          ObjectPath(found.cFileName).c_str(), FALSE);
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    WriteTextFile(ini_, "[Camera]\r\nStorage=Camera\r\n");
    loaded_ = Reload();
}

bool CameraStorageCopy::Reload()
{
    std::vector<char> path(ini_.begin(), ini_.end());
    path.push_back('\0');
    return Load_IniFile(path.data()) == 0;
}

CameraStorageCopy::~CameraStorageCopy()
{
    RemoveFolder(storage_);
    DeleteFileA(ini_.c_str());
    RemoveDirectoryA(folder_.c_str());
}

void CameraStorageCopy::Empty()
{
    RemoveFolder(storage_);
    CreateDirectoryA(storage_.c_str(), nullptr);
}

void CameraStorageCopy::AddObject(const std::string& name)
{
    WriteTextFile(ObjectPath(name), "object");
}

void CameraStorageCopy::Set(const char* section, const char* key, const std::string& value)
{
    WritePrivateProfileStringA(section, key, value.c_str(), ini_.c_str());
}

int CameraStorageCopy::Calls(const char* function) const
{
    return static_cast<int>(GetPrivateProfileIntA("Counts", function, 0, ini_.c_str()));
}
