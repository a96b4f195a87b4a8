// Arbitrary bytes as one data row (invalid UTF-8 included), taken apart
// item by item with nextdataitem, then added with adddata and read back.
//
// Checked: every rest is a proper tail of the row it came from, so the
// walk ends; an item of a row without quotes has no blank at either end
// and equals the row's piece between commas, blanks cut; adddata adds
// exactly the items of the walk and readdata gives them back in order, then
// the empty string.
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_input.h"
#include "conversation/data_rows.h"
#include "util/unicode.h"

namespace {

bool isblank(const std::string& character)
{
    return character == " " || character == "\t";
}

// The items of a row without quotes, found independently of the walk: the
// pieces between comma characters with their outer blanks cut. A comma at
// the very end ends the row without starting another item.
std::vector<std::string> plainitems(const std::string& row)
{
    std::vector<std::string> items;
    std::vector<std::string> piece;
    const auto finish = [&] {
        size_t first = 0;
        size_t last = piece.size();
        while (first < last && isblank(piece[first]))
            ++first;
        while (last > first && isblank(piece[last - 1]))
            --last;
        std::string item;
        for (size_t i = first; i < last; ++i)
            item += piece[i];
        items.push_back(item);
        piece.clear();
    };
    const std::vector<std::string> characters = unicode::clusters(row);
    for (size_t i = 0; i < characters.size(); ++i) {
        if (characters[i] != ",") {
            piece.push_back(characters[i]);
        } else {
            finish();
            if (i + 1 == characters.size())
                return items;
        }
    }
    finish();
    return items;
}

bool hasquote(const std::string& row)
{
    for (const std::string& character : unicode::clusters(row))
        if (character == "'")
            return true;
    return false;
}

std::vector<std::string> walk(const std::string& row, bool quoted)
{
    std::vector<std::string> items;
    std::string rest = row;
    do {
        auto [item, after] = nextdataitem(rest);
        require(after.size() < rest.size() || (rest.empty() && after.empty()), "progress");
        require(rest.compare(rest.size() - after.size(), after.size(), after) == 0,
                "the rest is a tail of the row");
        if (!quoted) {
            const std::vector<std::string> characters = unicode::clusters(item);
            require(characters.empty() ||
                        (!isblank(characters.front()) && !isblank(characters.back())),
                    "no outer blanks");
        }
        items.push_back(std::move(item));
        rest = std::move(after);
    } while (!rest.empty());
    return items;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string row(reinterpret_cast<const char*>(data), size);
    const bool quoted = hasquote(row);
    const std::vector<std::string> items = walk(row, quoted);
    if (!quoted)
        require(items == plainitems(row), "items are the pieces between commas");

    datalist.clear();
    dataitemcount = 0;
    restoredata();
    adddata(row);
    require(dataitemcount == static_cast<int64_t>(items.size()), "one count per item");
    for (const std::string& item : items)
        require(readdata() == item, "items read back in order");
    require(readdata().empty() && datareadposition == dataitemcount + 1,
            "nothing read past the end");
    return 0;
}
