#include "album/fdb_record.h"

#include <cstring>

namespace {

const size_t kNameLength = 8;
const size_t kExtensionAt = 8;
const size_t kExtensionLength = 3;
const size_t kSizeAt = 28;

const unsigned char kEndOfDirectory = 0x00;
const unsigned char kDotEntry = 0x2E;
const unsigned char kDeletedEntry = 0xE5;
const unsigned char kEscapedE5 = 0x05;

char UpperCase(unsigned char c)
{
    return static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
}

}  // namespace

const unsigned char* FdbRecordAt(const unsigned char* records, unsigned long index)
{
    return records + static_cast<size_t>(index) * kFdbRecordSize;
}

bool FdbRecordUsable(const unsigned char* record)
{
    return record[0] != kEndOfDirectory && record[0] != kDotEntry && record[0] != kDeletedEntry;
}

bool MakeFdbLabel(const unsigned char* record, char* label, size_t size)
{
    if (size == 0) {
        return false;
    }
    label[0] = '\0';
    if (!FdbRecordUsable(record) || size <= kFdbLabelLength) {
        return false;
    }
    memcpy(label, record, kNameLength);
    if (record[0] == kEscapedE5) {
        label[0] = static_cast<char>(kDeletedEntry);
    }
    label[kNameLength] = '.';
    memcpy(label + kNameLength + 1, record + kExtensionAt, kExtensionLength);
    label[kFdbLabelLength] = '\0';
    return true;
}

bool FdbExtensionIs(const unsigned char* record, const char* extension)
{
    return memcmp(record + kExtensionAt, extension, kExtensionLength) == 0;
}

bool FdbExtensionIsAnyCase(const unsigned char* record, const char* extension)
{
    for (size_t i = 0; i < kExtensionLength; ++i) {
        if (UpperCase(record[kExtensionAt + i]) != extension[i]) {
            return false;
        }
    }
    return true;
}

uint32_t FdbObjectSize(const unsigned char* record)
{
    const unsigned char* size = record + kSizeAt;
    return static_cast<uint32_t>(size[0]) | static_cast<uint32_t>(size[1]) << 8 |
           static_cast<uint32_t>(size[2]) << 16 | static_cast<uint32_t>(size[3]) << 24;
}

size_t FdbContextSize(unsigned long count)
{
    if (count > kFdbMaxRecords) {
        return 0;
    }
    return count * kFdbRecordSize + kFdbContextSlack;
}
