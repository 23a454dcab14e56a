// Records of the camera's file database: 32 bytes laid out as a FAT
// directory entry. The source reads the name (bytes 0-7, space-padded), the
// extension (8-10) and the size (28-31, little-endian).
#pragma once

#include <cstddef>
#include <cstdint>

const size_t kFdbRecordSize = 32;
// GetFDBContext's buffer holds this much beyond the records.
const size_t kFdbContextSlack = 1024;
// A FAT directory holds at most 65536 entries.
const unsigned long kFdbMaxRecords = 65536;
// "NAME    .EXT": eight name characters, a full stop, three extension ones.
const size_t kFdbLabelLength = 12;

// Record `index` of a buffer of records read from the file database.
const unsigned char* FdbRecordAt(const unsigned char* records, unsigned long index);

// False for a record whose first byte marks it unusable: 0x00 (end of the
// directory), 0x2E (the "." and ".." entries) or 0xE5 (deleted).
bool FdbRecordUsable(const unsigned char* record);

// Writes the record's label, trailing spaces of the name kept; a first byte
// 0x05 stands for 0xE5. An unusable record or a buffer shorter than the
// label and its terminator gives false and an empty label.
bool MakeFdbLabel(const unsigned char* record, char* label, size_t size);

// Whether the record's extension is the given three capital letters: as
// stored, or in letters of either case.
bool FdbExtensionIs(const unsigned char* record, const char* extension);
bool FdbExtensionIsAnyCase(const unsigned char* record, const char* extension);

// The object's size in bytes.
uint32_t FdbObjectSize(const unsigned char* record);

// Bytes of a GetFDBContext buffer for `count` records; 0 for a count above
// what a FAT directory holds.
size_t FdbContextSize(unsigned long count);
