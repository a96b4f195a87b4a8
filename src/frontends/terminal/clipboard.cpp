#include "frontends/terminal/clipboard.h"

#include <cstdint>

std::string base64(std::string_view bytes)
{
    static constexpr char digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string encoded;
    encoded.reserve((bytes.size() + 2) / 3 * 4);
    uint32_t bits = 0;
    int count = 0;
    for (const char byte : bytes) {
        bits = (bits << 8 | uint8_t(byte)) & 0xFFFF;
        count += 8;
        while (count >= 6) {
            count -= 6;
            encoded += digits[(bits >> count) & 0x3F];
        }
    }
    if (count > 0)
        encoded += digits[(bits << (6 - count)) & 0x3F];
    while (encoded.size() % 4 != 0)
        encoded += '=';
    return encoded;
}
