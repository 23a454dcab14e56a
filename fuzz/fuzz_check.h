// What every fuzz target shares: a check that stops the run with a report
// (libFuzzer then keeps the input that broke it), and the input's bytes up
// to its first zero byte as a C string.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#define FUZZ_CHECK(condition)                                                                      \
    ((condition) ? static_cast<void>(0) : FuzzCheckFailed(#condition, __FILE__, __LINE__))

[[noreturn]] inline void FuzzCheckFailed(const char* condition, const char* file, int line)
{
    fprintf(stderr, "%s:%d: check failed: %s\n", file, line, condition);
    abort();
}

// The text at the start of the input, ended by its first zero byte or by
// the input's end.
inline std::string LeadingText(const uint8_t* data, size_t size)
{
    size_t length = 0;
    while (length < size && data[length] != 0) {
        ++length;
    }
    return std::string(reinterpret_cast<const char*>(data), length);
}
