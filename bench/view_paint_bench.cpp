// A view drawing the conversation window's 1280 x 800 image into its
// letterbox, as the views do, at the sizes a window takes: one to one,
// fitted to a 1366 x 768 laptop (filtered), doubled (sharp) and on a HiDPI
// laptop (filtered at two device pixels per point). Against a memcpy of the
// 4,096,000 bytes of the image; fastest runs, as the machine is shared.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <chrono>

#include "bench_support.h"

#include "frontends/qt/view_geometry.h"

namespace {

struct ViewCase {
    int width, height;  // the view's points; the window's content adds a margin of 24
    double ratio;
};

// Views as the windows lay them out: 1:1, the laptop's fitted view, twice
// the size, and the fitted view of 2560 x 1600 at scale 2.
constexpr ViewCase cases[] = {{1280, 800, 1}, {1099, 679, 1}, {2560, 1600, 1}, {1147, 711, 2}};
constexpr int margin = 24;

void BM_ViewPaint(benchmark::State& state)
{
    const ViewCase& view = cases[state.range(0)];
    QImage image(1280, 800, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<uint32_t*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            line[x] = 0xFF000000u | uint32_t(x * 2654435761u >> 8 ^ y * 40503u);
    }
    const ViewGeometry geometry = viewgeometry(image.size(), QSizeF(view.width, view.height), view.ratio);
    // What the view paints into: its window's backing store, whose rows are
    // longer than the image's.
    QImage store(int((view.width + 2 * margin) * view.ratio), int((view.height + 2 * margin) * view.ratio),
                 QImage::Format_RGB32);
    store.setDevicePixelRatio(view.ratio);
    store.fill(0);
    double fastest = 1e9;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        QPainter painter(&store);
        painter.setRenderHint(QPainter::SmoothPixmapTransform, geometry.mode == ScaleMode::smooth);
        painter.drawImage(geometry.target.translated(margin, margin), image);
        painter.end();
        benchmark::DoNotOptimize(store.constBits());
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        fastest = std::min(fastest, took.count());
    }
    state.counters["ms"] = fastest * 1e3;
    state.counters["x_memcpy"] = fastest / memcpyseconds(size_t(image.sizeInBytes()));
}

}  // namespace

BENCHMARK(BM_ViewPaint)->ArgName("view")->DenseRange(0, 3)->Unit(benchmark::kMillisecond);
