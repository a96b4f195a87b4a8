// Arbitrary bytes through texttostring. The result is always valid UTF-8;
// bytes in which no escape can start (no 27 with a 29 five bytes later)
// come back one character per byte, each the Latin-1 character of that
// code; with escapes the result never has more characters than the input
// has bytes.
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_input.h"
#include "startup/tables.h"
#include "util/diagnostics.h"
#include "util/strings.h"
#include "util/unicode.h"

namespace {

bool hasescape(const std::vector<uint8_t>& bytes)
{
    for (size_t i = 0; i + 5 < bytes.size(); ++i)
        if (bytes[i] == 27 && bytes[i + 5] == 29)
            return true;
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    const DiagCapture quiet;
    inittermkit();  // the hex value table
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::vector<uint8_t> bytes(data, data + size);
    const std::string result = texttostring(bytes);
    require(unicode::decodeutf8(result).has_value(), "valid UTF-8");
    const std::vector<char32_t> scalars = unicode::scalars(result);
    require(scalars.size() <= bytes.size(), "no more characters than bytes");
    if (!hasescape(bytes))
        require(scalars == std::vector<char32_t>(bytes.begin(), bytes.end()),
                "plain bytes map one to one");
    return 0;
}
