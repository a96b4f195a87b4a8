// Paths and reading whole files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A file URL text as a plain path: percent escapes decoded, canonically
// composed, a leading "file://" removed.
std::string urltopath(const std::string& url);

// The part of a path after the last "/".
std::string filename(const std::string& path);
// The whole file; empty (after "getbinaryfromfile: Error #..." ) on failure.
std::vector<uint8_t> getbinaryfromfile(const std::string& path);
