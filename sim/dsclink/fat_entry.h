// The simulated camera's file database records: 32-byte FAT directory
// entries made from the names and sizes of the files in its storage folder.
#pragma once

#include <cstddef>
#include <cstdint>

const size_t kFatEntrySize = 32;

// Splits a file name of the 8.3 form ("DSC_0001.JPG") into its space-padded
// name and extension fields. False for names that have no such form.
bool SplitShortName(const char* fileName, char (&name)[8], char (&extension)[3]);

// Whether a file name has the 8.3 form and one of the camera's extensions,
// JPG, AVI or WAV, in letters of either case.
bool IsCameraObjectName(const char* fileName);

// Compares two file names as the camera orders them: byte by byte, letters
// in capitals. Negative, 0 or positive.
int CompareObjectNames(const char* a, const char* b);

// Fills a directory entry: name and extension as stored, the archive
// attribute, the time and date of the last write in DOS form, the first
// cluster and the size.
void FillFatEntry(unsigned char* entry, const char (&name)[8], const char (&extension)[3],
                  uint16_t dosTime, uint16_t dosDate, uint16_t cluster, uint32_t size);

// Whether an entry names the given file (letters of either case).
bool FatEntryNames(const unsigned char* entry, const char* fileName);

// Applies a patch "offset:hexbytes" (such as "0:E5") to an entry. Patches
// that do not parse or do not fit in the entry change nothing and give false.
bool PatchFatEntry(unsigned char* entry, const char* patch);
