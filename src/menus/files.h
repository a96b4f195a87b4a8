// Paths and reading whole files.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// A file URL text as a plain path: percent escapes decoded, canonically
// composed, a leading "file://" removed.
std::string urltopath(const std::string& url);

// The part of a path after the last "/".
std::string filename(const std::string& path);
// The whole file; empty (after "getbinaryfromfile: Error #..." ) on failure.
std::vector<uint8_t> getbinaryfromfile(const std::string& path);

// Writes every byte, going on after short writes and interruptions; 0, or
// the errno of the failure.
int writeall(int descriptor, std::string_view bytes);
// Makes `text` the whole content of the file at `path` (created or emptied)
// and syncs it to the disk; 0, or the errno of the failure. Prints nothing:
// the caller tells the user.
int writewholefile(const std::string& path, std::string_view text);
