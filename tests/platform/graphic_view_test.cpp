// What a graphic view paints: its window's image, pixel for pixel.
#include <gtest/gtest.h>

#include <QImage>
#include <QPixmap>

#include "platform/platform.h"
#include "platform/qt/graphic_views.h"
#include "platform/qt/handles.h"
#include "support/program_thread.h"
#include "windows/video_memory.h"
#include "windows/window_placement.h"
#include "windows/window_table.h"

namespace {

constexpr int width = 32;
constexpr int height = 32;  // the smallest a window may be

QColor patterncolour(int column, int row)
{
    const int p = row * width + column;
    return QColor(p * 7 % 256, p * 3 % 256, p * 11 % 256);
}

// A 32-bit window whose pixels are the pattern above.
void makepatternwindow()
{
    ASSERT_TRUE(run_on_program_thread([] { t_InitWindow(0, 32, false, width, height, 2, 2, t_Font{}, true); }));
    ASSERT_TRUE(windowtable[0].Initialized);
    for (int row = 0; row < height; ++row)
        for (int column = 0; column < width; ++column) {
            const QColor colour = patterncolour(column, row);
            uint8_t* pixel = &videomemory[windowtable[0].MemoryStart + 4 * (row * width + column)];
            pixel[0] = 255;
            pixel[1] = uint8_t(colour.red());
            pixel[2] = uint8_t(colour.green());
            pixel[3] = uint8_t(colour.blue());
        }
}

}  // namespace

TEST(GraphicView, PaintsEveryPixelSharplyWhenScaled)
{
    makepatternwindow();
    t_WindowVisible(0, true);
    GraphicView* view = toview(windowview(0));
    view->resize(2 * width, 2 * height);
    const QImage shot = view->grab().toImage();
    for (int y = 0; y < 2 * height; ++y)
        for (int x = 0; x < 2 * width; ++x)
            ASSERT_EQ(QColor(shot.pixel(x, y)).name().toStdString(), patterncolour(x / 2, y / 2).name().toStdString())
                << x << ", " << y;
}

TEST(GraphicView, KeepsItsLastImageWhenThereIsNone)
{
    makepatternwindow();
    t_WindowVisible(0, true);
    GraphicView* view = toview(windowview(0));
    const QImage shown = view->grab().toImage();
    t_WindowVisible(0, false);  // a hidden window gives no image
    EXPECT_EQ(view->grab().toImage(), shown);
    EXPECT_EQ(QColor(shown.pixel(31, 30)).name().toStdString(), patterncolour(31, 30).name().toStdString());
}
