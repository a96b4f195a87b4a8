// Conversion of a graphic window's pixel block into a displayable image.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/entry_points.h"

// A set of pixel rows of a window, counted from 0 at the top. Rows from
// maxrows on (beyond the tallest window a set-up makes) are not kept.
struct RowSet {
    static constexpr int64_t maxrows = 8192;
    std::vector<uint64_t> Words;

    void add(int64_t first, int64_t last);
    RowSet& operator|=(const RowSet& other);
    bool empty() const;
    void clear() { Words.clear(); }
    bool operator==(const RowSet&) const;
    // Calls run(first, last) for each run of consecutive rows, top first.
    template <typename Run>
    void eachrun(Run run) const
    {
        const int64_t end = int64_t(Words.size()) * 64;
        for (int64_t row = 0; row < end;) {
            if (!has(row)) {
                row = Words[size_t(row / 64)] >> (row % 64) == 0 ? (row / 64 + 1) * 64 : row + 1;
                continue;
            }
            const int64_t first = row;
            while (row < end && has(row))
                ++row;
            run(first, row - 1);
        }
    }

private:
    bool has(int64_t row) const { return (Words[size_t(row / 64)] >> (row % 64) & 1) != 0; }
};

// A fresh image of the window; none when the memory is not ready, the
// window is not set up (a line is printed) or hidden, or has no pixels.
std::shared_ptr<WindowImage> t_WindowImage(uint8_t window);

// Brings `image`, the window's image as it was last converted, up to date
// by converting the rows in `rows` again and keeping the others. An image
// of another pixel block, size or depth (or none) is replaced by a fresh
// one. Reads, stamps and fails as t_WindowImage; after a failure `image`
// is left as it was and the answer is false.
bool t_WindowImageRows(uint8_t window, std::shared_ptr<WindowImage>& image, const RowSet& rows);
