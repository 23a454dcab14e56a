// What a read-out of selected camera objects does with each of them, and how
// its progress is counted: the choices that need no platform.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// The progress callback counts one block per call.
const uint32_t kProgressBlockBytes = 512;

enum class DownloadChoice {
    // The stills are listed.
    Ready,
    // A clip is selected: the whole download is refused.
    ClipSelected,
    // Nothing selected is a still.
    NoStillSelected,
};

// Lists the 0-based indices of the selected stills (extension JPG in either
// case) in ascending order. A clip (AVI) among the selected objects refuses
// the download; sounds and anything else are passed over. Selected indices
// at or beyond recordCount have no record and are passed over as well.
DownloadChoice PlanDownload(const unsigned char* records, unsigned long recordCount,
                            const std::vector<unsigned long>& selected,
                            std::vector<unsigned long>& stills);

enum class SaveChoice {
    // An unusable record ends the save.
    Stop,
    // A still, clip or sound is written unchanged.
    Write,
    PassOver,
};

SaveChoice SaveChoiceFor(const unsigned char* record);

// The sum of the objects' sizes, counted in 32 bits as the camera keeps them.
uint32_t SumObjectSizes(const unsigned char* records, const std::vector<unsigned long>& indices);

// The top of the progress bar's range for a read-out of byteTotal bytes:
// the number of 512-byte blocks, in the 16 bits that the bar's range takes.
unsigned ProgressRangeTop(uint32_t byteTotal);
