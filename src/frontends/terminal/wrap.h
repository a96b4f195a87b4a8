// Breaking text into lines of a terminal's width.
#pragma once

#include <string>
#include <vector>

// `text` (UTF-8, one line) broken at blanks into lines of at most `width`
// characters; a word longer than a line is cut into pieces. An empty text
// gives one empty line.
std::vector<std::string> wraplines(const std::string& text, int width);
