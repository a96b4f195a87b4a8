#include "startup/tables.h"

#include "util/diagnostics.h"

#include <cstdlib>
#include <ctime>

uint8_t uppercasetable[256];
uint8_t lowercasetable[256];
uint8_t hexdigittable[16];
int64_t hexvaluetable[256];

namespace {

// The Latin-1 letters that have a partner 32 codes above them: a..z and the
// accented lower-case letters whose capital exists in Latin-1. å, æ, ø, ý,
// þ and ÿ are left alone, as the old character set did.
bool haslowerpartner(int code)
{
    return (code >= 65 && code <= 90) || (code >= 192 && code <= 196) ||
           (code >= 199 && code <= 214) || (code >= 217 && code <= 220);
}

void buildtables()
{
    for (int code = 0; code < 256; ++code)
        uppercasetable[code] =
            static_cast<uint8_t>(code >= 32 && haslowerpartner(code - 32) ? code - 32 : code);
    for (int code = 0; code < 256; ++code)
        lowercasetable[code] = static_cast<uint8_t>(haslowerpartner(code) ? code + 32 : code);
    for (int64_t& value : hexvaluetable)
        value = -1;
    const char digits[] = "0123456789ABCDEF";
    for (int64_t d = 0; d < 16; ++d) {
        const auto digit = static_cast<uint8_t>(digits[d]);
        hexdigittable[d] = digit;
        hexvaluetable[digit] = d;
        hexvaluetable[lowercasetable[digit]] = d;
    }
}

// The tables are also ready before inittermkit runs, so that helpers used
// in tests or by early static code never see zeroed tables. Nothing reads
// them during static initialisation of other files.
[[maybe_unused]] const bool tablesready = (buildtables(), true);

}  // namespace

void inittermkit()
{
    diag_line("inittermkit: Start.");
    buildtables();
    srandom(static_cast<unsigned>(std::time(nullptr) & 0x7FFFFFFF));
    diag_line("inittermkit: End.");
}
