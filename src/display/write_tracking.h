// Knowing which parts of video memory changed since the refresh last
// looked, without comparing the memory with a copy of itself.
//
// Page tracking: once the refresh thread has taken the written pages of the
// windows it shows, those pages are write-protected. The first write to
// one faults; the fault handler lifts the protection, marks the page
// written and lets the write go ahead. Writing costs one fault per page and
// refresh period; waiting costs nothing, and the refresh converts and
// redraws only the pixel rows on marked pages.
//
// Compare: where a fault handler cannot be ours (the address and thread
// sanitizers own the fault signal; another handler is installed) or the
// system refuses the protection, each window's pixel block is compared
// page by page with a copy of it, as before tracking existed. The answer
// has the same form, pages, so both ways redraw the same rows.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

// Pages wholly inside video memory: the first 16 MiB. The 15 bytes beyond
// share their page with other data and never belong to a pixel block.
constexpr int64_t trackedbytes = 0x1000000;
constexpr int64_t smallestpage = 4096;

// A set of pages of video memory, one bit each.
struct PageSet {
    std::array<uint64_t, trackedbytes / smallestpage / 64> Words{};
};

// The size of a page of this system (a power of two from 4 KiB to 64 KiB
// when tracking is possible).
int64_t videopagesize();
// Adds the pages that hold any byte of first..last (within trackedbytes).
void addpages(PageSet& pages, int64_t first, int64_t last);
bool haspage(const PageSet& pages, int64_t page);

enum class ChangeTracking { pages, compare };

// Chooses page tracking when the process allows it, else the compare; the
// first call decides, later calls do nothing. The refresh thread calls it
// when it starts.
void startchangetracking();
ChangeTracking changetracking();
// Switches to `mode` where the process allows it and answers the mode now
// in use (tests run both). Every switch counts as a change of everything.
ChangeTracking setchangetracking(ChangeTracking mode);
// Counts switches, so that the refresh thread can start afresh after one.
uint64_t changetrackinggeneration();

// Page tracking: the pages of `watched` written since they were last taken.
// Their marks are cleared and the pages write-protected before this
// returns, so rows read afterwards show every write that the marks no
// longer hold. Pages written twice in a short time are left writable for a
// while instead: `hot` holds them, and they count as written in every take
// until they are protected again, so the taker must take again soon.
// Answers false when the system refused the protection; the tracking has
// then given way to the compare for good.
bool takewrittenpages(const PageSet& watched, PageSet& written, PageSet& hot);

// The compare: a copy of a pixel block as it was last compared.
struct BlockCopy {
    int64_t Start = -1;
    std::vector<uint8_t> Bytes;
};
// Adds to `changed` the pages of the block start..start+size-1 whose bytes
// differ from the copy (every page when the copy is of another block) and
// brings the copy up to date.
void comparepages(BlockCopy& copy, int64_t start, int64_t size, PageSet& changed);
