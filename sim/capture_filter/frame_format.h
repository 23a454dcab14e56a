// The formats the capture pin offers: two frame sizes, I420 or RGB24, and the
// media types that describe them.
#pragma once

#include <windows.h>
#define NO_DSHOW_STRSAFE
#include <dshow.h>

struct FrameFormat {
    LONG width;
    LONG height;
    bool i420;                // else bottom-up RGB24
    REFERENCE_TIME interval;  // 100 ns units per frame
};

constexpr int kFormatCount = 4;
FrameFormat FormatAt(int index);
DWORD FrameBytes(const FrameFormat& format);

// A media type allocated with CoTaskMemAlloc (its format block too).
AM_MEDIA_TYPE* NewMediaType(const FrameFormat& format);
void FillMediaType(const FrameFormat& format, AM_MEDIA_TYPE* type);
void FreeMediaType(AM_MEDIA_TYPE* type);
void ClearMediaType(AM_MEDIA_TYPE* type);
HRESULT CopyMediaType(const AM_MEDIA_TYPE* from, AM_MEDIA_TYPE* to);

// Reads a media type into a format the pin offers; false for anything else.
bool ReadMediaType(const AM_MEDIA_TYPE* type, FrameFormat* format);

// Paints frame number 'frame' of the moving test pattern.
void PaintFrame(const FrameFormat& format, unsigned frame, BYTE* bits);
