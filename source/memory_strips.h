// The arithmetic of memory transfers: which rows of a bottom-up 24-bit
// picture the next strip carries, and how they are copied top row first in
// red, green, blue order.
#pragma once

#include <cstdint>

#include "source/dib_format.h"

// Progress of the memory transfer of the current picture.
struct MemXferCursor {
    // Bytes of the picture delivered so far (a whole number of rows).
    uint32_t bytesDone;
    // The previous call delivered the picture's last rows.
    bool lastStripSent;
    // Calls of DAT_IMAGEMEMXFER since the picture's memory transfer began.
    int calls;
};

// The only form that strips are made from: uncompressed 24-bit rows stored
// bottom-up.
bool IsStripPicture(const DibInfoHeader& header);

// Bytes of one row in the strip (no padding) and in the file (padded to
// whole 32-bit words).
// Sizes beyond 32 bits give 0xFFFFFFFF.
uint32_t StripRowBytes(const DibInfoHeader& header);
uint32_t FileRowBytes(const DibInfoHeader& header);

struct StripPlan {
    // Rows delivered before this strip, counted from the top.
    uint32_t rowsDone;
    // Rows in this strip.
    uint32_t rows;
    // The lowest of the strip's rows in the file's bottom-up order; the
    // strip's rows lie from there upwards, one after the other.
    uint32_t firstFileRow;
    // This strip ends the picture.
    bool last;
};

// Plans the strip that follows bytesDone in a buffer of bufferLength bytes:
// as many whole rows as fit, no more than the picture has left. False when
// not even one row fits. A cursor beyond the picture's end gives an empty
// last strip.
bool PlanStrip(const DibInfoHeader& header, uint32_t bytesDone, uint32_t bufferLength,
               StripPlan& plan);

// Copies the strip from `fileRows`, its rows as the file holds them (from
// firstFileRow upwards, FileRowBytes apart), to `strip`, top row first,
// StripRowBytes apart, each pixel's blue, green, red turned into red, green,
// blue.
void CopyStrip(const DibInfoHeader& header, const StripPlan& plan, const unsigned char* fileRows,
               unsigned char* strip);
