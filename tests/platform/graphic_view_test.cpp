// What a graphic view paints: its window's image, pixel for pixel.
#include <gtest/gtest.h>

#include <QImage>
#include <QPixmap>
#include <algorithm>

#include "frontends/qt/graphic_views.h"
#include "frontends/qt/handles.h"
#include "support/program_thread.h"
#include "windows/video_memory.h"
#include "windows/window_placement.h"
#include "windows/window_table.h"

// Scaled to twice its size, every window pixel becomes a sharp 2 x 2 block.
TEST(GraphicView, PaintsEveryPixelSharply)
{
    constexpr int size = 32;  // the smallest a window may be
    ASSERT_TRUE(run_on_program_thread([] { t_InitWindow(0, 32, false, size, size, 2, 2, t_Font{}, true); }));
    const auto colour = [](int p) { return QColor(p * 7 % 256, p * 3 % 256, p * 11 % 256); };
    for (int p = 0; p < size * size; ++p) {
        const QColor c = colour(p);
        const uint8_t argb[4] = {255, uint8_t(c.red()), uint8_t(c.green()), uint8_t(c.blue())};
        std::copy_n(argb, 4, &videomemory[windowtable[0].MemoryStart + 4 * p]);
    }
    t_WindowVisible(0, true);
    GraphicView* view = toview(windowview(0));
    view->resize(2 * size, 2 * size);
    const QImage shot = view->grab().toImage();
    for (int y = 0; y < 2 * size; ++y)
        for (int x = 0; x < 2 * size; ++x)
            ASSERT_EQ(QColor(shot.pixel(x, y)).rgb(), colour(y / 2 * size + x / 2).rgb()) << x << ", " << y;
}
