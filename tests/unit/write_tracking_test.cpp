// Learning which pages of video memory were written: the marks the fault
// handler sets, the pages left writable while they are written on, and the
// faults that are not ours.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <functional>
#include <utility>
#include <sys/mman.h>

#include "display/write_tracking.h"
#include "util/clock.h"
#include "windows/video_memory.h"

namespace {

constexpr int64_t base = 0x400000;  // eight pages of the free part of video memory

std::vector<int64_t> pagelist(const PageSet& pages)
{
    std::vector<int64_t> list;
    for (int64_t page = 0; page < 8; ++page)
        if (haspage(pages, base / videopagesize() + page))
            list.push_back(page);
    return list;
}

void writepage(int64_t page)
{
    videomemory[base + page * videopagesize() + 100] += 1;
}

// Each take reports exactly the pages written since the last one; a page
// written twice within a short time stays writable and is reported by every
// take until one protects it again; a page written once is not.
TEST(WriteTracking, EveryWrittenPageIsReportedByTheNextTake)
{
    const ChangeTracking before = changetracking();
    if (setchangetracking(ChangeTracking::pages) != ChangeTracking::pages)
        GTEST_SKIP() << "no page tracking in this build";
    PageSet watched;
    addpages(watched, base, base + 8 * videopagesize() - 1);
    using Pages = std::vector<int64_t>;
    struct Step {
        int pausems;
        Pages write, written, hot;
    };
    const Step steps[] = {
        {0, {}, {0, 1, 2, 3, 4, 5, 6, 7}, {}},  // after a switch nothing is known
        {300, {}, {}, {}},
        {0, {2, 5}, {2, 5}, {}},
        {0, {2}, {2}, {2}},  // twice within a short time: left writable
        {0, {2}, {2}, {2}},
        {0, {}, {2}, {2}},  // still counted as written
        {300, {}, {2}, {}},  // protected again, counted once more
        {0, {}, {}, {}},
        {300, {7}, {7}, {}},
    };
    for (size_t i = 0; i < std::size(steps); ++i) {
        const Step& step = steps[i];
        sleep_ms(step.pausems);
        for (const int64_t page : step.write)
            writepage(page);
        PageSet written, hot;
        ASSERT_TRUE(takewrittenpages(watched, written, hot));
        EXPECT_EQ(pagelist(written), step.written) << "step " << i;
        EXPECT_EQ(pagelist(hot), step.hot) << "step " << i;
    }
    setchangetracking(before);
}

// A write to a protected page of video memory goes ahead; every other
// fault still ends the process by SIGSEGV, as without the handler.
TEST(WriteTrackingDeathTest, FaultsThatAreNotTrackedWritesStillEndTheProcess)
{
    const ChangeTracking before = changetracking();
    if (setchangetracking(ChangeTracking::pages) != ChangeTracking::pages)
        GTEST_SKIP() << "no page tracking in this build";
    setchangetracking(before);
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const auto protectall = [] {
        setchangetracking(ChangeTracking::pages);
        PageSet watched, written, hot;
        addpages(watched, base, base + 8 * videopagesize() - 1);
        takewrittenpages(watched, written, hot);
    };
    const std::pair<const char*, std::function<void()>> faults[] = {
        {"a write to a read-only page elsewhere",
         [] {
             auto* page = static_cast<volatile char*>(
                 mmap(nullptr, 4096, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
             *page = 1;
         }},
        {"a write through a null pointer",
         [] {
             auto* nowhere = reinterpret_cast<volatile char*>(std::getenv("NO_SUCH_VARIABLE_SET"));
             *nowhere = 1;
         }},
        {"SIGSEGV sent to the process", [] { raise(SIGSEGV); }},
    };
    for (const auto& [name, fault] : faults)
        EXPECT_EXIT(
            {
                protectall();
                writepage(3);
                fault();
            },
            testing::KilledBySignal(SIGSEGV), "")
            << name;
    EXPECT_EXIT(
        {
            protectall();
            writepage(3);
            std::_Exit(videomemory[base + 3 * videopagesize() + 100] != 0 ? 7 : 8);
        },
        testing::ExitedWithCode(7), "")
        << "a tracked write goes ahead";
}

}  // namespace
