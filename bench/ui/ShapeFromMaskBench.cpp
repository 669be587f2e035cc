#include <random>

#include <benchmark/benchmark.h>
#include <QImage>
#include <QPainter>

#include "ui/ShapeFromMask.h"

namespace {

// A window-sized mask like a real skin's: a dark rounded body on light ground, with a ragged
// JPG-like edge and a few light holes.
QImage MakeMask(int width, int height) {
    QImage mask(width, height, QImage::Format_RGB32);
    mask.fill(QColor(250, 250, 250));
    {
        QPainter painter(&mask);
        painter.setBrush(QColor(10, 10, 10));
        painter.setPen(Qt::NoPen);
        painter.drawRoundedRect(QRect(20, 15, width - 40, height - 30), 60, 60);
        painter.setBrush(QColor(240, 240, 240));
        for (int i = 0; i < 8; ++i)
            painter.drawEllipse(QPoint(100 + i * 80, height / 2), 20, 30);
    }
    std::mt19937 random(1);
    for (int i = 0; i < width * height / 50; ++i) {
        const int x = static_cast<int>(random() % static_cast<unsigned>(width));
        const int y = static_cast<int>(random() % static_cast<unsigned>(height));
        const int v = 80 + static_cast<int>(random() % 60);
        mask.setPixelColor(x, y, QColor(v, v, v));
    }
    return mask;
}

void ShapeFromMask800x600(benchmark::State& state) {
    const QImage mask = MakeMask(800, 600);
    for (auto _ : state) {
        orv::MaskShape shape = orv::ShapeFromMask(mask);
        benchmark::DoNotOptimize(shape);
    }
}
BENCHMARK(ShapeFromMask800x600)->Unit(benchmark::kMillisecond);

// The outline the program cuts at start-up.
void ShapeFromShippedMask(benchmark::State& state) {
    const QImage mask(QStringLiteral(ORV_DATA_DIR "/skins/main_mask.jpg"));
    if (mask.isNull()) {
        state.SkipWithError("no shipped main_mask.jpg");
        return;
    }
    for (auto _ : state) {
        orv::MaskShape shape = orv::ShapeFromMask(mask);
        benchmark::DoNotOptimize(shape);
    }
}
BENCHMARK(ShapeFromShippedMask)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
