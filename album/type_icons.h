// The built-in pictures that the album shows for the camera's objects, one
// per type of object, chosen by the file extension.
#pragma once

#include <cstddef>

const int kTypeIconWidth = 60;
const int kTypeIconHeight = 64;
const int kTypeIconBitsPerPixel = 24;
// Rows of blue, green, red bytes, bottom-up.
const size_t kTypeIconRowBytes = 180;
const size_t kTypeIconBytes = kTypeIconRowBytes * kTypeIconHeight;

// A page with a framed picture and a brush; with a video camera; with a
// loudspeaker. All on black.
extern const unsigned char kJpgIcon[kTypeIconBytes];
extern const unsigned char kAviIcon[kTypeIconBytes];
extern const unsigned char kWavIcon[kTypeIconBytes];

// The icon for an FDB record's extension "JPG", "AVI" or "WAV": in capital
// letters only, or, with anyCase, in letters of either case. Null for any
// other extension.
const unsigned char* TypeIconFor(const unsigned char* record, bool anyCase);
