// What the benchmark programs share: a monotonic clock in seconds, the
// median of a set of measured times, paths in the Windows directory and a
// test picture to read.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Seconds since an arbitrary start, from the performance counter.
double Now();

// The middle value of `times` (the upper one of an even count).
double Median(std::vector<double> times);

// The path of `name` in the Windows directory.
std::string WindowsFile(const char* name);

// Writes a bottom-up 24-bit BMP file of the given size with a 14-byte file
// header, a 40-byte info header and a byte pattern as pixels. False when the
// file cannot be written.
bool WriteTestPicture(const std::string& path, LONG width, LONG height);
