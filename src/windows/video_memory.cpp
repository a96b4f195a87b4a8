#include "windows/video_memory.h"

#include <cstdio>
#include <cstring>
#include <limits>

#include "display/window_refresh.h"
#include "menus/menu_actions.h"
#include "platform/platform.h"
#include "startup/threads.h"
#include "text/face_plane.h"
#include "util/clock.h"
#include "util/diagnostics.h"
#include "util/numbers.h"
#include "util/sanitizers.h"
#include "util/strings.h"
#include "windows/window_placement.h"
#include "windows/window_table.h"

// Written by the program thread, read by the views and the refresh thread
// while it draws: the accepted race described in the header. Aligned to
// the largest page size of the systems we run on, so that whole pages hold
// whole parts of it and the refresh can protect them to learn of writes.
// The address sanitizer guards no global aligned that far (a write past
// the end would go unseen); its builds compare instead of protecting, so
// they keep the ordinary alignment.
#ifdef SPRECHO_ADDRESS_SANITIZER
alignas(16) uint8_t videomemory[videomemorysize];
#else
alignas(65536) uint8_t videomemory[videomemorysize];
#endif

#ifdef SPRECHO_THREAD_SANITIZER
// The sanitizer's own interface: stop and resume recording this thread's
// memory accesses.
extern "C" void AnnotateIgnoreReadsBegin(const char* file, int line);
extern "C" void AnnotateIgnoreReadsEnd(const char* file, int line);

RacyVideoRead::RacyVideoRead()
{
    AnnotateIgnoreReadsBegin(__FILE__, __LINE__);
}

RacyVideoRead::~RacyVideoRead()
{
    AnnotateIgnoreReadsEnd(__FILE__, __LINE__);
}
#else
RacyVideoRead::RacyVideoRead() = default;
RacyVideoRead::~RacyVideoRead() = default;
#endif
int64_t highmemory = 0xFFFFFF;

namespace {

constexpr int64_t topofmemory = 0xFFFFFF;
// Block starts are aligned by clearing bits 0..9 and bit 11; the extra bytes
// below the requested size belong to the block.
constexpr int64_t blockmask = 0xFFFFF400;

std::string prefix(uint8_t window)
{
    return "t_InitWindow: GraphicWindow #" + std::to_string(window);
}

// Where a block of `size` bytes placed below `high` starts. Only called with
// high - size + 1 >= 0, so the mask never turns a negative index positive.
int64_t blockstart(int64_t high, int64_t size)
{
    return (high - size + 1) & blockmask;
}

int64_t placeblock(int64_t size)
{
    const int64_t start = blockstart(highmemory, size);
    highmemory = start - 1;
    return start;
}

int64_t saturatedproduct(int64_t a, int64_t b)
{
    int64_t product = 0;
    if (!__builtin_mul_overflow(a, b, &product))
        return product;
    return (a < 0) != (b < 0) ? std::numeric_limits<int64_t>::min()
                              : std::numeric_limits<int64_t>::max();
}

void preparepasteboardview()
{
    platform::run_on_main([] {
        PlatformTextView* view = windowtextview(8);
        if (view == nullptr)
            return;
        platform::configure_text_view(view);
        platform::set_text_view_text(view, "");
        platform::mark_text_view(view);
    });
}

void ensurememory()
{
    if (!memorystarted) {
        t_InitMemory();
        return;
    }
    while (!memoryready)
        sleep_ms(10);
}

// ---- Release and compaction ------------------------------------------------

std::string moveline(uint8_t window, const char* what, uint8_t moved, int64_t start, int64_t end,
                     int64_t size)
{
    return prefix(window) + " moving " + what + " block for win #" + std::to_string(moved) +
           memoryindextext(start) + "..." + hexdigits(uint64_t(end), 8) + " to" + memoryindextext(start + size) +
           "..." + hexdigits(uint64_t(end + size), 8);
}

// Moves the blocks of a window that lie below the released ones up by size.
void moveblocksup(uint8_t window, uint8_t i, int64_t ge, int64_t size)
{
    t_Window& w = windowtable[i];
    diag_line(moveline(window, "graphic", i, w.MemoryStart, w.MemoryEnd, size));
    movevideomemory(w.MemoryStart, w.MemoryStart + size, w.MemoryEnd - w.MemoryStart + 1);
    if (w.TextMemoryStart >= 0) {
        if (w.TextMemoryStart < ge) {
            diag_line(moveline(window, "text", i, w.TextMemoryStart, w.TextMemoryEnd, size));
            movevideomemory(w.TextMemoryStart, w.TextMemoryStart + size,
                            w.TextMemoryEnd - w.TextMemoryStart + 1);
        }
        w.TextMemoryStart += size;
        w.TextMemoryEnd += size;
    }
    w.MemoryStart += size;
    w.MemoryEnd += size;
}

void releaseblocks(uint8_t window)
{
    t_Window& w = windowtable[window];
    w.Initialized = false;
    const int64_t ge = w.MemoryEnd;
    int64_t size = ge - w.MemoryStart + 1;
    diag_line(prefix(window) + " high memory = " + memoryindextext(ge) +
              ", graphic block size to delete = " + memoryindextext(size) + ".");
    if (w.TextMemoryStart >= 0) {
        const int64_t tsize = w.TextMemoryEnd - w.TextMemoryStart + 1;
        diag_line(prefix(window) + " high memory = " + memoryindextext(ge) +
                  ", text block size to delete = " + memoryindextext(tsize) + ".");
        size += tsize;
    }
    for (uint8_t i = 0; i < graphicwindowcount; ++i) {
        if (windowtable[i].Initialized && windowtable[i].MemoryStart < ge)
            moveblocksup(window, i, ge, size);
    }
    highmemory += size;
}

// ---- Size checks -----------------------------------------------------------

struct Geometry {
    int64_t width;
    int64_t height;
    int64_t depth;
    int64_t gsize = 0;
};

bool inrange(int64_t value)
{
    return value >= 32 && value <= 8192;
}

// Clamps width and height first, so that gsize below cannot overflow for any
// inputs; answers false for an unsupported depth.
bool checkgeometry(uint8_t window, Geometry& g)
{
    const bool widthreplaced = !inrange(g.width);
    if (widthreplaced) {
        diag_line(prefix(window) + " cannot display " + std::to_string(g.width) +
                  " horizontal pixel.");
        g.width = 1280;
    }
    if (!inrange(g.height)) {
        diag_line(prefix(window) + " cannot display " + std::to_string(g.height) +
                  " vertical pixel.");
        g.height = 800;
    }
    switch (g.depth) {
    case 8:
    case 16:
    case 24:
    case 32:
        break;
    case 1:
        if (!widthreplaced && g.width % 8 != 0) {
            diag_line(prefix(window) + " width with 1 bit depth must be a multiple of 8.");
            g.width = (g.width + 7) / 8 * 8;
        }
        break;
    case 4:
        // Rounds to the nearer multiple on the low side: 81 -> 80, 83 -> 84.
        if (!widthreplaced && g.width % 4 != 0) {
            diag_line(prefix(window) + " width with 4 bit depth must be a multiple of 4.");
            g.width = (g.width + 1) / 4 * 4;
        }
        break;
    default:
        diag_line(prefix(window) + " unsupported " + std::to_string(g.depth) + " bit depth.");
        return false;
    }
    g.gsize = g.height * g.depth * g.width / 8;
    return true;
}

bool pixelsfit(uint8_t window, const Geometry& g, int64_t avail)
{
    if (g.gsize <= avail)
        return true;
    diag_line(prefix(window) + " has not enough graphic-video-memory (" +
              std::to_string(avail / 1024) + "K available).");
    diag_line("t_InitWindow: Displaying " + std::to_string(g.width) + " x " +
              std::to_string(g.height) + " pixel x " + std::to_string(g.depth) + " bit needs " +
              kilobytetext(g.gsize) + "K video-memory.");
    return false;
}

struct TextGrid {
    int64_t columns = -1;
    int64_t lines = -1;
    int64_t tsize = 0;
};

TextGrid textgrid(const Geometry& g, const t_Font& font)
{
    TextGrid grid;
    if (font.Data.empty())
        return grid;
    grid.columns = font.Width > 0 ? g.width / font.Width : 0;
    grid.lines = font.Height > 0 ? g.height / font.Height : 0;
    grid.tsize = grid.columns * grid.lines * 2;
    return grid;
}

// The text block is measured against the same free amount as the pixel
// block, so together they may reach into the reserve. They must still both
// lie inside video memory: a text block that would start below index 0 is
// refused like one that is too large on its own.
bool textfits(uint8_t window, const Geometry& g, const TextGrid& grid, int64_t avail)
{
    const int64_t below = blockstart(highmemory, g.gsize) - 1;
    if (grid.tsize <= avail && below - grid.tsize + 1 >= 0)
        return true;
    diag_line(prefix(window) + " has not enough text-video-memory (" +
              std::to_string(avail / 1024) + "K available).");
    diag_line("t_InitWindow: Displaying " + std::to_string(grid.columns) + " x " +
              std::to_string(grid.lines) + " characters needs " + kilobytetext(grid.tsize) +
              "K text-video-memory.");
    return false;
}

// ---- Filling the record ------------------------------------------------------

void fillrecord(t_Window& w, const Geometry& g, bool autoUpdate, int64_t borderWidth,
                int64_t borderHeight, bool titleVisible)
{
    w.UpdateStarted = 0;
    w.UpdateFinished = 0;
    w.VerticalBlank = true;
    w.IgnoreEvents = false;
    w.RefreshRate = 30;
    w.AutoUpdate = autoUpdate;
    w.QuickUpdate = true;
    w.ScrollLock = false;
    w.BitDepth = g.depth;
    w.Width = g.width;
    w.Height = g.height;
    w.BorderWidth = borderWidth;
    w.BorderHeight = borderHeight;
    w.TitleHeight = titleVisible ? titlebarheight.load() : 0;
    w.RGBColor = palettecolor(0);
    w.RGBColorBorder = palettecolor(5);
    w.DrawingMode = 0;
    w.PositionX = 0;
    w.PositionY = 0;
}

void filltextfields(t_Window& w, const TextGrid& grid)
{
    w.TextWidth = grid.columns;
    w.TextHeight = grid.lines;
    w.TextFirstColumn = 1;
    w.TextLastColumn = grid.columns;
    w.TextFirstLine = 1;
    w.TextLastLine = grid.lines;
    w.TextHpos = 1;
    w.TextVpos = 1;
    w.TextColor = 0xC0;  // green ink on black paper
    w.LoResOffsetX = 0;
    w.LoResOffsetY = 0;
    w.LoResMode = 0;
}

// Black pixels; at 32 bits the first byte of each pixel is an opaque alpha.
void clearpixels(const t_Window& w, int64_t gsize)
{
    uint8_t* pixels = videomemory + w.MemoryStart;
    std::memset(pixels, 0, static_cast<size_t>(gsize));
    if (w.BitDepth == 32) {
        for (int64_t i = 0; i < gsize; i += 4)
            pixels[i] = 0xFF;
    }
}

void cleartext(const t_Window& w)
{
    if (w.TextMemoryStart < 0)
        return;
    const int64_t half = textplanesize(w);
    const auto cells = static_cast<size_t>(w.TextWidth * w.TextHeight);
    std::memset(videomemory + w.TextMemoryStart, 0x20, cells);
    std::memset(videomemory + w.TextMemoryStart + half, w.TextColor, cells);
}

void finishwithview(uint8_t window, PlatformView* view, const t_Font& font, int64_t gsize)
{
    t_Window& w = windowtable[window];
    w.View = view;
    w.Window = platformwindow(window);
    w.Font = font;
    clearpixels(w, gsize);
    cleartext(w);
    resetfaceplane(window, w.TextMemoryStart >= 0 ? textplanesize(w) : 0);
    // Flagged only once the blocks are cleared, so no view ever shows the
    // previous contents.
    w.Initialized = true;
    std::string title = platform::application_name();
    if (w.TextMemoryStart < 0)
        title += "-Grafik";
    t_WindowTitle(window, title);
    t_WindowSize(window, -1, -1, w.Width, w.Height);
    t_ColorBorder(window, 5);
}

void placeblocks(uint8_t window, const Geometry& g, const TextGrid& grid)
{
    t_Window& w = windowtable[window];
    w.MemoryEnd = highmemory;
    w.MemoryStart = placeblock(g.gsize);
    diag_line(prefix(window) + " = " + std::to_string(g.width) + " x " +
              std::to_string(g.height) + " pixel x " + std::to_string(g.depth) + " bit = " +
              kilobytetext(g.gsize) + "K video-memory = " + memoryindextext(w.MemoryStart) + ".");
    filltextfields(w, grid);
    if (grid.tsize == 0) {
        w.TextMemoryStart = -1;
        w.TextMemoryEnd = -1;
    } else {
        w.TextMemoryEnd = highmemory;
        w.TextMemoryStart = placeblock(grid.tsize);
    }
}

}  // namespace

void t_InitMemory()
{
    if (memorystarted)
        return;
    diag_line("t_InitMemory: Start.");
    memorystarted = true;
    if (threadnumber() == 2)
        namethread("Main Program");
    highmemory = topofmemory;
    std::memset(videomemory, 0xFF, sizeof videomemory);
    for (t_Window& w : windowtable)
        w = t_Window{};
    buildmenuactions();
    adjustmenus();
    preparepasteboardview();
    memoryready = true;
    diag_line("t_InitMemory: End.");
}

void t_InitWindow(uint8_t window, int64_t bitDepth, int64_t columns, int64_t lines,
                  int64_t border, const std::string& fontName)
{
    ensurememory();
    const t_Font font = t_LoadFontResource(fontName);
    if (font.Data.empty()) {
        diag_line("t_InitWindow: Font '" + fontName + "' not found.");
        return;
    }
    t_InitWindow(window, bitDepth, true, saturatedproduct(font.Width, columns),
                 saturatedproduct(font.Height, lines), border, border, font, true);
}

void t_InitWindow(uint8_t window, int64_t bitDepth, bool autoUpdate, int64_t width,
                  int64_t height, int64_t borderWidth, int64_t borderHeight, const t_Font& font,
                  bool titleVisible)
{
    if (window >= graphicwindowcount) {
        notgraphic("t_InitWindow");
        return;
    }
    diag_line(prefix(window) + " Start.");
    ensurememory();
    if (firstwindow == 255)
        firstwindow = window;
    if (!refreshrunning) {
        // Raised here as well as by the thread itself, so that a second
        // set-up before the new thread has run starts no second one.
        refreshrunning = true;
        startbackgroundtask(t_WindowAutoUpdateProcess);
    }
    if (windowtable[window].Initialized)
        releaseblocks(window);

    const int64_t avail = highmemory - videomemoryreserve;
    Geometry g{width, height, bitDepth};
    if (!checkgeometry(window, g) || !pixelsfit(window, g, avail))
        return;
    if (!titleVisible) {
        t_WindowTitleVisible(window, false);
        diag_line(prefix(window) + " title will be invisible.");
    }
    if (borderWidth < 0)
        borderWidth = t_WindowPos(window, 15) - g.width;
    if (borderHeight < 0)
        borderHeight = t_WindowPos(window, 16) - g.height;
    const TextGrid grid = textgrid(g, font);
    if (!textfits(window, g, grid, avail))
        return;

    t_Window& w = windowtable[window];
    fillrecord(w, g, autoUpdate, borderWidth, borderHeight, titleVisible);
    placeblocks(window, g, grid);
    PlatformView* view = windowview(window);
    if (view == nullptr) {
        w.Initialized = false;
        w.Font = emptyfont();
        diag_line(prefix(window) + " could not be initialized, resource undefined.");
    } else {
        finishwithview(window, view, font, g.gsize);
        wakerefresh();  // a new window (and its RefreshRate) to look at
    }
    diag_line(prefix(window) + " End.");
}

// Ranges that reach outside video memory are not copied: a record changed
// by hand must not turn a scroll or a compaction into a wild write.
void movevideomemory(int64_t source, int64_t destination, int64_t count)
{
    if (count < 1 || source < 0 || destination < 0 || source > videomemorysize - count ||
        destination > videomemorysize - count)
        return;
    std::memmove(videomemory + destination, videomemory + source, static_cast<size_t>(count));
}

std::string memoryindextext(int64_t value)
{
    std::string text = "$";
    text += hexdigits(uint64_t(value), 8);
    return text;
}

std::string kilobytetext(int64_t bytes)
{
    // Whole kilobytes and the truncated hundredths, computed apart so that
    // no intermediate product can overflow.
    const bool negative = bytes < 0;
    const uint64_t magnitude = negative ? 0 - static_cast<uint64_t>(bytes) : bytes;
    const uint64_t whole = magnitude / 1024;
    const uint64_t hundredths = magnitude % 1024 * 100 / 1024;
    char fraction[4];
    std::snprintf(fraction, sizeof fraction, ",%02u", static_cast<unsigned>(hundredths));
    std::string text = negative && (whole > 0 || hundredths > 0) ? "-" : "";  // never "-0,00"
    text += numbertext(static_cast<int64_t>(whole), -1, 0, true);  // below 2^54: fits
    text += fraction;
    return text;
}
