// A private copy of the simulated camera's default storage, with its own
// DSCLINK.INI handed to the library, so that a test may change the camera
// freely.
#pragma once

#include <string>

class CameraStorageCopy {
public:
    // Copies the installed default storage into a folder under the temporary
    // directory and loads the settings file that names it.
    CameraStorageCopy();
    ~CameraStorageCopy();
    CameraStorageCopy(const CameraStorageCopy&) = delete;
    CameraStorageCopy& operator=(const CameraStorageCopy&) = delete;

    bool Loaded() const { return loaded_; }
    // Hands the library this copy's settings file again, after something
    // (such as the album window's start) loaded another.
    bool Reload();
    const std::string& Storage() const { return storage_; }
    std::string ObjectPath(const std::string& name) const { return storage_ + "\\" + name; }

    // Removes every object from the storage.
    void Empty();
    // Puts a file of a few bytes under the name into the storage.
    void AddObject(const std::string& name);

    // A setting of the simulated camera ([Camera], [Fail], [Damage]).
    void Set(const char* section, const char* key, const std::string& value);
    int Calls(const char* function) const;

private:
    std::string folder_;
    std::string storage_;
    std::string ini_;
    bool loaded_;
};
