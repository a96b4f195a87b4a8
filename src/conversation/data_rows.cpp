#include "conversation/data_rows.h"

#include "util/unicode.h"

std::vector<std::string> datalist;
int64_t dataitemcount = 0;
int64_t datareadposition = 1;

namespace {

bool isblank(const std::string& character)
{
    return character == " " || character == "\t";
}

// The gathered characters as one item; unquoted items lose their outer
// blanks.
std::string itemtext(const std::vector<const std::string*>& gathered, bool trim)
{
    size_t first = 0;
    size_t last = gathered.size();
    while (trim && first < last && isblank(*gathered[first]))
        ++first;
    while (trim && last > first && isblank(*gathered[last - 1]))
        --last;
    std::string item;
    for (size_t i = first; i < last; ++i)
        item += *gathered[i];
    return item;
}

// The row after the first comma character at or after characters[from]
// (which starts at byte `offset`); empty when there is none.
std::string afternextcomma(const std::string& row, const std::vector<std::string>& characters,
                           size_t from, size_t offset)
{
    for (size_t i = from; i < characters.size(); offset += characters[i].size(), ++i)
        if (characters[i] == ",")
            return row.substr(offset + 1);
    return {};
}

}  // namespace

// Walks the row by characters (grapheme clusters), so a quote or comma that
// carries a combining mark is an ordinary letter of the item.
std::pair<std::string, std::string> nextdataitem(const std::string& row)
{
    const std::vector<std::string> characters = unicode::clusters(row);
    std::vector<const std::string*> gathered;
    bool inquotes = false;
    bool wasquoted = false;
    size_t offset = 0;  // byte offset of characters[i] in the row
    for (size_t i = 0; i < characters.size(); offset += characters[i].size(), ++i) {
        const std::string& character = characters[i];
        if (character == "'" && !inquotes) {
            gathered.clear();
            inquotes = wasquoted = true;
        } else if (character == "'") {
            return {itemtext(gathered, false), afternextcomma(row, characters, i + 1, offset + 1)};
        } else if (character == "," && !inquotes) {
            return {itemtext(gathered, !wasquoted), row.substr(offset + 1)};
        } else {
            gathered.push_back(&character);
        }
    }
    return {itemtext(gathered, !wasquoted), std::string()};
}

void adddata(const std::string& row)
{
    std::string rest = row;
    do {
        auto [item, after] = nextdataitem(rest);
        datalist.push_back(std::move(item));
        ++dataitemcount;
        rest = std::move(after);
    } while (!rest.empty());
}

std::string readdata()
{
    if (datareadposition < 1 || datareadposition > dataitemcount ||
        datareadposition > static_cast<int64_t>(datalist.size()))
        return {};
    return datalist[static_cast<size_t>(datareadposition++ - 1)];
}

void restoredata()
{
    datareadposition = 1;
}
