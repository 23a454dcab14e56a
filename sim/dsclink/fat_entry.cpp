#include "sim/dsclink/fat_entry.h"

#include <cstdlib>
#include <cstring>

namespace {

const unsigned char kArchive = 0x20;
const unsigned char kDeletedMark = 0xE5;
const unsigned char kEscapedE5 = 0x05;

char Capital(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

void PutWord(unsigned char* at, uint16_t value)
{
    at[0] = static_cast<unsigned char>(value);
    at[1] = static_cast<unsigned char>(value >> 8);
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    c = Capital(c);
    return c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
}

bool SameLetters(const char* a, const char* b, size_t length)
{
    for (size_t i = 0; i < length; ++i) {
        if (Capital(a[i]) != Capital(b[i])) {
            return false;
        }
    }
    return true;
}

}  // namespace

bool SplitShortName(const char* fileName, char (&name)[8], char (&extension)[3])
{
    const char* dot = strchr(fileName, '.');
    if (dot == nullptr || dot == fileName || dot - fileName > 8 || strlen(dot + 1) != 3 ||
        strchr(dot + 1, '.') != nullptr || strchr(fileName, ' ') != nullptr) {
        return false;
    }
    memset(name, ' ', sizeof name);
    memcpy(name, fileName, dot - fileName);
    memcpy(extension, dot + 1, sizeof extension);
    return true;
}

bool IsCameraObjectName(const char* fileName)
{
    char name[8];
    char extension[3];
    return SplitShortName(fileName, name, extension) &&
           (SameLetters(extension, "JPG", 3) || SameLetters(extension, "AVI", 3) ||
            SameLetters(extension, "WAV", 3));
}

int CompareObjectNames(const char* a, const char* b)
{
    for (;; ++a, ++b) {
        const unsigned char left = static_cast<unsigned char>(Capital(*a));
        const unsigned char right = static_cast<unsigned char>(Capital(*b));
        if (left != right || left == '\0') {
            return left - right;
        }
    }
}

void FillFatEntry(unsigned char* entry, const char (&name)[8], const char (&extension)[3],
                  uint16_t dosTime, uint16_t dosDate, uint16_t cluster, uint32_t size)
{
    memset(entry, 0, kFatEntrySize);
    memcpy(entry, name, sizeof name);
    if (entry[0] == kDeletedMark) {
        entry[0] = kEscapedE5;
    }
    memcpy(entry + 8, extension, sizeof extension);
    entry[11] = kArchive;
    PutWord(entry + 14, dosTime);
    PutWord(entry + 16, dosDate);
    PutWord(entry + 18, dosDate);
    PutWord(entry + 22, dosTime);
    PutWord(entry + 24, dosDate);
    PutWord(entry + 26, cluster);
    PutWord(entry + 28, static_cast<uint16_t>(size));
    PutWord(entry + 30, static_cast<uint16_t>(size >> 16));
}

bool FatEntryNames(const unsigned char* entry, const char* fileName)
{
    char name[8];
    char extension[3];
    if (!SplitShortName(fileName, name, extension)) {
        return false;
    }
    const char* stored = reinterpret_cast<const char*>(entry);
    return SameLetters(stored, name, sizeof name) &&
           SameLetters(stored + 8, extension, sizeof extension);
}

bool PatchFatEntry(unsigned char* entry, const char* patch)
{
    char* rest = nullptr;
    const long offset = strtol(patch, &rest, 10);
    if (rest == patch || *rest != ':' || offset < 0) {
        return false;
    }
    const char* hex = rest + 1;
    const size_t digits = strlen(hex);
    if (digits == 0 || digits % 2 != 0 ||
        static_cast<size_t>(offset) + digits / 2 > kFatEntrySize) {
        return false;
    }
    unsigned char bytes[kFatEntrySize];
    for (size_t i = 0; i < digits / 2; ++i) {
        const int high = HexDigit(hex[2 * i]);
        const int low = HexDigit(hex[2 * i + 1]);
        if (high < 0 || low < 0) {
            return false;
        }
        bytes[i] = static_cast<unsigned char>(high << 4 | low);
    }
    memcpy(entry + offset, bytes, digits / 2);
    return true;
}
