// The clipboard escape (OSC 52) carries its text in base64.
#pragma once

#include <string>
#include <string_view>

// Standard base64 with padding.
std::string base64(std::string_view bytes);
