// Timing for the benchmark programs: a monotonic clock in seconds and the
// median of a set of measured times.
#pragma once

#include <vector>

// Seconds since an arbitrary start, from the performance counter.
double Now();

// The middle value of `times` (the upper one of an even count).
double Median(std::vector<double> times);
