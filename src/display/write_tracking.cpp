#include "display/write_tracking.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <chrono>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <mutex>
#include <sys/mman.h>
#include <unistd.h>

#include "display/window_refresh.h"
#include "util/sanitizers.h"
#include "windows/video_memory.h"

#if defined(SPRECHO_ADDRESS_SANITIZER) || defined(SPRECHO_THREAD_SANITIZER)
#define SPRECHO_SANITIZER_OWNS_FAULTS 1
#endif

// How the pieces keep every write visible:
//
//   taking a page (refresh thread):  clear its mark, then protect it; the
//                                    rows are read (converted) only later
//   a write to a protected page:     the handler lifts the protection, then
//                                    sets the mark; the write then happens
//
// A page is writable while its mark is clear only between a clear and the
// protection that follows it, and a write in that gap comes before the read
// that follows the protection. Every other write either finds the page
// protected and is marked, or finds it writable with its mark set, and the
// mark is cleared only by a take that reads the rows afterwards. So each
// write is read by the next conversion or marked for a later one. A page
// left writable on purpose (a "hot" page, below) is counted as written by
// every take until a take clears and protects it again.
//
// mprotect is a system call that changes the page tables of every thread of
// the process before it returns; a write that faulted is retried after the
// handler and lands after the protection was lifted.

namespace {

std::atomic<uint64_t> marks[std::tuple_size_v<decltype(PageSet::Words)>];
std::atomic<int> mode{static_cast<int>(ChangeTracking::compare)};
std::atomic<uint64_t> generation{0};
std::mutex startlock;  // guards the choice and the handler's installation
bool started = false;  // guarded by startlock
bool trackable = false;  // the handler is ours; guarded by startlock

// Read by the fault handler: set before the handler is installed.
int64_t pagebytes = 0;
// Set when the system refused to lift a protection: tracking ends.
std::atomic<bool> refused{false};

// A page written twice within hotms is likely to be written on, as by a
// program that scrolls, animates or echoes keys. Protecting it again would
// cost its writer a fault on every write, and a fault (signal, handler,
// system call: about 10 microseconds on a virtual machine) costs more
// than converting the page's rows. Such a page stays writable for hotms
// and counts as written in every take meanwhile; then it is protected like
// any other, which keeps the ordering above.
constexpr int64_t hotms = 200;

int64_t steadyms()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void addpage(PageSet& pages, int64_t page)
{
    pages.Words[size_t(page / 64)] |= uint64_t{1} << (page % 64);
}

void markall()
{
    for (std::atomic<uint64_t>& word : marks)
        word.store(~uint64_t{0});
}

bool setprotection(int64_t firstpage, int64_t count, int protection)
{
    return mprotect(videomemory + firstpage * pagebytes, size_t(count * pagebytes), protection) == 0;
}

#ifndef SPRECHO_SANITIZER_OWNS_FAULTS
struct sigaction previous {};  // the handling before ours; set before ours is installed

uintptr_t base()
{
    return reinterpret_cast<uintptr_t>(videomemory);
}

// A fault on a protected page of video memory is a tracked write: lift the
// protection, mark the page, wake the refresh thread if it waits for the
// first write. Any other fault (or a mprotect that fails) is not ours: the
// previous handling is put back and the faulting instruction, run again
// when the handler returns, meets it and ends the process as it would have
// without us. A SIGSEGV sent by kill is raised again for the same reason.
void onfault(int, siginfo_t* info, void*)
{
    const int saved = errno;
    const uintptr_t offset = reinterpret_cast<uintptr_t>(info->si_addr) - base();
    if (info->si_code == SEGV_ACCERR && offset < uintptr_t(trackedbytes)) {
        const uintptr_t page = offset / uintptr_t(pagebytes);
        if (mprotect(videomemory + page * pagebytes, size_t(pagebytes), PROT_READ | PROT_WRITE) == 0) {
            marks[page / 64].fetch_or(uint64_t{1} << (page % 64));
            wakerefreshforwrite();
            errno = saved;
            return;
        }
        // Refused (too many mappings to split one more): lifting the
        // protection of the whole memory merges them. Every page then
        // counts as written, and the refresh gives way to the compare.
        if (setprotection(0, trackedbytes / pagebytes, PROT_READ | PROT_WRITE)) {
            markall();
            refused.store(true);
            wakerefreshforwrite();
            errno = saved;
            return;
        }
    }
    sigaction(SIGSEGV, &previous, nullptr);
    if (info->si_code <= 0)
        raise(SIGSEGV);
    errno = saved;
}
#endif

// Whether this process lets us own write faults on video memory; installs
// the handler when it does. Called once, under startlock.
bool installhandler()
{
#ifdef SPRECHO_SANITIZER_OWNS_FAULTS
    return false;  // their handler reports every fault as a crash
#else
    const long size = sysconf(_SC_PAGESIZE);
    if (size < smallestpage || size > 65536 || !std::has_single_bit(static_cast<unsigned long>(size)) ||
        base() % uintptr_t(size) != 0)
        return false;
    pagebytes = size;
    if (sigaction(SIGSEGV, nullptr, &previous) != 0)
        return false;
    const bool defaulthandling = !(previous.sa_flags & SA_SIGINFO) &&
                                 (previous.sa_handler == SIG_DFL || previous.sa_handler == SIG_IGN);
    if (!defaulthandling)
        return false;  // someone else handles faults; we do not come between
    if (!setprotection(0, 1, PROT_READ) || !setprotection(0, 1, PROT_READ | PROT_WRITE))
        return false;
    struct sigaction action {};
    action.sa_sigaction = onfault;
    action.sa_flags = SA_SIGINFO | SA_RESTART | SA_ONSTACK;
    sigemptyset(&action.sa_mask);
    return sigaction(SIGSEGV, &action, nullptr) == 0;
#endif
}

void switchto(ChangeTracking wanted)
{
    if (wanted == ChangeTracking::pages && !trackable)
        wanted = ChangeTracking::compare;
    if (wanted == ChangeTracking::pages)
        markall();  // nothing is known about the pages yet
    else if (trackable)
        setprotection(0, trackedbytes / pagebytes, PROT_READ | PROT_WRITE);
    mode.store(static_cast<int>(wanted));
    generation.fetch_add(1);
}

}  // namespace

int64_t videopagesize()
{
    static const int64_t size = [] {
        const long bytes = sysconf(_SC_PAGESIZE);
        return bytes > 0 ? int64_t{bytes} : smallestpage;
    }();
    return size;
}

void addpages(PageSet& pages, int64_t first, int64_t last)
{
    first = std::max<int64_t>(first, 0);
    last = std::min(last, trackedbytes - 1);
    const int64_t size = videopagesize();
    for (int64_t page = first / size; first <= last && page <= last / size; ++page)
        addpage(pages, page);
}

bool haspage(const PageSet& pages, int64_t page)
{
    return page >= 0 && page < trackedbytes / smallestpage &&
           (pages.Words[size_t(page / 64)] >> (page % 64) & 1) != 0;
}

void startchangetracking()
{
    std::lock_guard lock(startlock);
    if (started)
        return;
    started = true;
    trackable = installhandler();
    switchto(ChangeTracking::pages);
}

ChangeTracking changetracking()
{
    return static_cast<ChangeTracking>(mode.load());
}

ChangeTracking setchangetracking(ChangeTracking wanted)
{
    std::lock_guard lock(startlock);
    if (!started) {
        started = true;
        trackable = installhandler();
    }
    switchto(wanted);
    return changetracking();
}

uint64_t changetrackinggeneration()
{
    return generation.load();
}

bool takewrittenpages(const PageSet& watched, PageSet& written, PageSet& hot)
{
    // Taker state; a switch of mode starts it afresh.
    static uint64_t takergeneration = 0;
    static std::array<int64_t, trackedbytes / smallestpage> lastwrite{};  // ms; 0: long ago
    static std::array<int64_t, trackedbytes / smallestpage> hotuntil{};   // ms; 0: not hot
    if (const uint64_t g = generation.load(); g != takergeneration) {
        takergeneration = g;
        lastwrite.fill(0);
        hotuntil.fill(0);
    }
    if (refused.exchange(false)) {
        setchangetracking(ChangeTracking::compare);
        return false;
    }
    PageSet marked, protect;
    for (size_t i = 0; i < watched.Words.size(); ++i)
        marked.Words[i] = marks[i].fetch_and(~watched.Words[i]) & watched.Words[i];
    written = marked;
    hot = PageSet{};
    const int64_t now = steadyms();
    const int64_t pages = trackedbytes / pagebytes;
    for (int64_t page = 0; page < pages; ++page) {
        if (!haspage(watched, page))
            continue;
        int64_t& until = hotuntil[size_t(page)];
        int64_t& last = lastwrite[size_t(page)];
        if (until > now) {
            addpage(written, page);  // writable: assume it written
            addpage(hot, page);
        } else if (until != 0) {
            until = 0;
            last = now;
            addpage(written, page);
            addpage(protect, page);
        } else if (haspage(marked, page)) {
            if (last != 0 && now - last < hotms) {
                until = now + hotms;
                addpage(hot, page);
            } else {
                addpage(protect, page);
            }
            last = now;
        }
    }
    // One system call per run of pages.
    for (int64_t page = 0; page < pages;) {
        if (!haspage(protect, page)) {
            ++page;
            continue;
        }
        int64_t end = page + 1;
        while (end < pages && haspage(protect, end))
            ++end;
        if (!setprotection(page, end - page, PROT_READ)) {
            setchangetracking(ChangeTracking::compare);
            return false;
        }
        page = end;
    }
    return true;
}

void comparepages(BlockCopy& copy, int64_t start, int64_t size, PageSet& changed)
{
    if (start < 0 || size <= 0 || start + size > trackedbytes)
        return;
    const bool fresh = copy.Start != start || int64_t(copy.Bytes.size()) != size;
    if (fresh) {
        copy.Start = start;
        copy.Bytes.resize(size_t(size));
    }
    const int64_t page = videopagesize();
    const RacyVideoRead racy;
    for (int64_t from = start; from < start + size;) {
        const int64_t to = std::min(start + size, (from / page + 1) * page);
        uint8_t* kept = copy.Bytes.data() + (from - start);
        const size_t count = size_t(to - from);
        if (fresh || std::memcmp(kept, videomemory + from, count) != 0) {
            std::memcpy(kept, videomemory + from, count);
            addpages(changed, from, to - 1);
        }
        from = to;
    }
}
