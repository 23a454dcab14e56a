// Conversions between numbers and TW_FIX32, and the FIX32 text form.
// Input: a number text ended by a zero byte or the input's end; its first
// eight bytes are also read as a double, its first four as a TW_FIX32 in its
// 32-bit form.
#include <cmath>
#include <cstring>

#include "caps/fix32.h"
#include "caps/value_text.h"
#include "fuzz/fuzz_check.h"

namespace {

const double kFracScale = 65536.0;
// FormatFix32 needs at most this many characters, the terminator included.
const size_t kFix32TextSize = 14;
const TW_FIX32 kSmallest = {-32768, 0};
const TW_FIX32 kLargest = {32767, 65535};

bool SameFix32(TW_FIX32 a, TW_FIX32 b)
{
    return a.Whole == b.Whole && a.Frac == b.Frac;
}

// Every number gives its nearest TW_FIX32, or the end of the range it lies
// beyond.
void CheckNearest(double number)
{
    const TW_FIX32 value = NumberToFix32(number);
    if (std::isnan(number)) {
        FUZZ_CHECK(SameFix32(value, TW_FIX32{0, 0}));
    } else if (number < -32768.0) {
        FUZZ_CHECK(SameFix32(value, kSmallest));
    } else if (number > Fix32ToNumber(kLargest)) {
        FUZZ_CHECK(SameFix32(value, kLargest));
    } else {
        FUZZ_CHECK(std::fabs(Fix32ToNumber(value) - number) <= 0.5 / kFracScale);
    }
}

// Every TW_FIX32 travels unchanged as 32 bits, and its text fits the
// buffer and reads back as the same value.
void CheckText(TW_UINT32 travelling)
{
    const TW_FIX32 value = Uint32ToFix32(travelling);
    FUZZ_CHECK(Fix32ToUint32(value) == travelling);
    char text[kFix32TextSize];
    FormatFix32(text, sizeof text, value);
    char roomy[64];
    FormatFix32(roomy, sizeof roomy, value);
    FUZZ_CHECK(strcmp(text, roomy) == 0);
    FUZZ_CHECK(SameFix32(NumberToFix32(ReadNumber(text)), value));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size >= sizeof(double)) {
        double number;
        memcpy(&number, data, sizeof number);
        CheckNearest(number);
    }
    if (size >= sizeof(TW_UINT32)) {
        TW_UINT32 travelling;
        memcpy(&travelling, data, sizeof travelling);
        CheckText(travelling);
    }
    const double read = ReadNumber(LeadingText(data, size).c_str());
    FUZZ_CHECK(!std::isnan(read));
    CheckNearest(read);
    CheckText(Fix32ToUint32(NumberToFix32(read)));
    return 0;
}
