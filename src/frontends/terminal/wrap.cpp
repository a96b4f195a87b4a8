#include "frontends/terminal/wrap.h"

#include "util/strings.h"
#include "util/unicode.h"

std::vector<std::string> wraplines(const std::string& text, int width)
{
    width = width < 1 ? 1 : width;
    std::vector<std::string> lines;
    std::string line;
    int64_t length = 0;
    bool started = false;  // `line` holds at least one word (perhaps empty)
    for (std::string word : splitat(text, ' ')) {
        int64_t wordlength = unicode::length(word);
        if (started && length + 1 + wordlength <= width) {
            line += ' ';
            line += word;
            length += 1 + wordlength;
            continue;
        }
        if (started)
            lines.push_back(line);
        while (wordlength > width) {
            lines.push_back(unicode::slice(word, 0, width));
            word = unicode::slice(word, width, wordlength);
            wordlength -= width;
        }
        line = word;
        length = wordlength;
        started = true;
    }
    lines.push_back(line);
    return lines;
}
