// The simulated camera's storage: the JPG, AVI and WAV files of its folder
// with names of the 8.3 form, in name order, the newest last.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "album/dsclink.h"

struct StoredObject {
    std::string fileName;
    std::string path;
    DWORD size;
    FILETIME written;
};

// Lists the objects; false when there is no storage folder.
bool ListObjects(std::vector<StoredObject>& objects);

// The 32-byte record of object `index` (0-based), as the file database
// holds it, with the damage (RecordDamage) asked for it.
void MakeObjectRecord(const std::vector<StoredObject>& objects, size_t index,
                      const std::map<unsigned long, std::string>& damage, unsigned char* record);

// Reads a whole object in blocks of 512 bytes, reporting each block.
bool ReadObject(const StoredObject& object, std::vector<unsigned char>& bytes,
                DscProgressProc progress);

// The path of the next still: "DSC_" and the number following the highest
// one in the folder, which sorts after every object. False when the numbers
// have run out or a foreign name would sort after it.
bool NextStillPath(const std::vector<StoredObject>& objects, std::string& path, int& number);

bool WriteWholeFile(const char* path, const void* bytes, size_t size);
