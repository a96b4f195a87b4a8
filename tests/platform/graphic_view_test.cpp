// What a graphic view paints: its window's image, pixel for pixel.
#include <gtest/gtest.h>

#include <QImage>
#include <QPixmap>

#include "platform/qt/graphic_views.h"
#include "platform/qt/handles.h"
#include "support/program_thread.h"
#include "windows/video_memory.h"
#include "windows/window_placement.h"
#include "windows/window_table.h"

namespace {

constexpr int size = 32;  // the smallest a window may be

std::string patterncolour(int column, int row)
{
    const int p = row * size + column;
    return QColor(p * 7 % 256, p * 3 % 256, p * 11 % 256).name().toStdString();
}

}  // namespace

// Scaled to twice its size, every window pixel becomes a sharp 2 x 2 block;
// a hidden window gives no image and the view keeps its last one.
TEST(GraphicView, PaintsEveryPixelSharplyAndKeepsItsLastImage)
{
    ASSERT_TRUE(run_on_program_thread([] { t_InitWindow(0, 32, false, size, size, 2, 2, t_Font{}, true); }));
    ASSERT_TRUE(windowtable[0].Initialized);
    for (int row = 0; row < size; ++row)
        for (int column = 0; column < size; ++column) {
            const QColor colour(QString::fromStdString(patterncolour(column, row)));
            uint8_t* pixel = &videomemory[windowtable[0].MemoryStart + 4 * (row * size + column)];
            pixel[0] = 255;
            pixel[1] = uint8_t(colour.red());
            pixel[2] = uint8_t(colour.green());
            pixel[3] = uint8_t(colour.blue());
        }
    t_WindowVisible(0, true);
    GraphicView* view = toview(windowview(0));
    view->resize(2 * size, 2 * size);
    const QImage shot = view->grab().toImage();
    for (int y = 0; y < 2 * size; ++y)
        for (int x = 0; x < 2 * size; ++x)
            ASSERT_EQ(QColor(shot.pixel(x, y)).name().toStdString(), patterncolour(x / 2, y / 2))
                << x << ", " << y;
    t_WindowVisible(0, false);
    EXPECT_EQ(view->grab().toImage(), shot);
}
