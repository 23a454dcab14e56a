#include "sim/dsclink/storage.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "sim/dsclink/camera_settings.h"
#include "sim/dsclink/fat_entry.h"

namespace {

const DWORD kBlockSize = 512;
const int kLastStillNumber = 9999;
// Clusters of a small FAT volume start at 2.
const uint16_t kFirstCluster = 2;

// The number of a "DSC_nnnn" name, or 0.
int StillNumber(const std::string& fileName)
{
    if (fileName.size() != 12 || _strnicmp(fileName.c_str(), "DSC_", 4) != 0) {
        return 0;
    }
    return atoi(fileName.substr(4, 4).c_str());
}

}  // namespace

bool ListObjects(std::vector<StoredObject>& objects)
{
    objects.clear();
    char folder[MAX_PATH];
    if (!StorageFolder(folder, sizeof folder)) {
        return false;
    }
    const std::string pattern = std::string(folder) + "\\*";
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return GetLastError() == ERROR_FILE_NOT_FOUND;
    }
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
            IsCameraObjectName(found.cFileName)) {
            objects.push_back({found.cFileName, std::string(folder) + "\\" + found.cFileName,
                               found.nFileSizeLow, found.ftLastWriteTime});
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
    std::sort(objects.begin(), objects.end(), [](const StoredObject& a, const StoredObject& b) {
        return CompareObjectNames(a.fileName.c_str(), b.fileName.c_str()) < 0;
    });
    return true;
}

void MakeObjectRecord(const std::vector<StoredObject>& objects, size_t index,
                      const std::map<unsigned long, std::string>& damage, unsigned char* record)
{
    const StoredObject& object = objects[index];
    char name[8];
    char extension[3];
    SplitShortName(object.fileName.c_str(), name, extension);
    FILETIME local;
    WORD dosDate = 0;
    WORD dosTime = 0;
    FileTimeToLocalFileTime(&object.written, &local);
    FileTimeToDosDateTime(&local, &dosDate, &dosTime);
    FillFatEntry(record, name, extension, dosTime, dosDate,
                 static_cast<uint16_t>(kFirstCluster + index), object.size);
    const auto patch = damage.find(static_cast<unsigned long>(index + 1));
    if (patch != damage.end()) {
        PatchFatEntry(record, patch->second.c_str());
    }
}

bool ReadObject(const StoredObject& object, std::vector<unsigned char>& bytes,
                DscProgressProc progress)
{
    HANDLE file = CreateFileA(object.path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    const DWORD size = GetFileSize(file, nullptr);
    if (size == INVALID_FILE_SIZE) {
        CloseHandle(file);
        return false;
    }
    bytes.assign(size, 0);
    const DWORD blockSize = static_cast<DWORD>(
        std::max(1, ReadCameraSetting("ProgressBlock", static_cast<int>(kBlockSize))));
    const unsigned long blocks = (size + blockSize - 1) / blockSize;
    const int pause = ReadCameraSetting("BlockPause", 0);
    bool complete = true;
    for (unsigned long block = 0; complete && block < blocks; ++block) {
        const DWORD piece = std::min(blockSize, size - block * blockSize);
        DWORD read = 0;
        complete = ReadFile(file, bytes.data() + block * blockSize, piece, &read, nullptr) &&
                   read == piece;
        if (complete && progress != nullptr) {
            progress(block + 1, blocks, block * blockSize + piece);
        }
        if (pause > 0) {
            Sleep(static_cast<DWORD>(pause));
        }
    }
    CloseHandle(file);
    return complete;
}

bool NextStillPath(const std::vector<StoredObject>& objects, std::string& path, int& number)
{
    number = 1;
    for (const StoredObject& object : objects) {
        number = std::max(number, StillNumber(object.fileName) + 1);
    }
    char fileName[16];
    snprintf(fileName, sizeof fileName, "DSC_%04d.JPG", number);
    if (number > kLastStillNumber ||
        (!objects.empty() && CompareObjectNames(objects.back().fileName.c_str(), fileName) >= 0)) {
        return false;
    }
    char folder[MAX_PATH];
    if (!StorageFolder(folder, sizeof folder)) {
        return false;
    }
    path = std::string(folder) + "\\" + fileName;
    return true;
}

bool WriteWholeFile(const char* path, const void* bytes, size_t size)
{
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    const bool complete =
        WriteFile(file, bytes, static_cast<DWORD>(size), &written, nullptr) && written == size;
    CloseHandle(file);
    if (!complete) {
        DeleteFileA(path);
    }
    return complete;
}
