// Painting the imaging control: a 24-megapixel picture repainted in a 1600 x 1000 widget at 25 %,
// 100 % and 400 %, beside a plain QPainter::drawImage of an already scaled 1600 x 1000 picture.
// Run on the offscreen platform; each repaint renders the widget into an image of its size.
#include "BenchMain.h"
#include "LEADImage.h"
#include "Pixels.h"

#include <QApplication>
#include <QPainter>
#include <benchmark/benchmark.h>

namespace {

QImage PhotoLike(int width, int height) {
    QImage picture = Pixels::NewBitmap(width, height);
    for (int y = 0; y < height; ++y) {
        uchar* p = picture.scanLine(y);
        for (int x = 0; x < width; ++x, p += 3) {
            p[0] = uchar((x * 7 + y * 3) >> 5);
            p[1] = uchar((y * 255) / height);
            p[2] = uchar(((x ^ y) & 63) + (x * 128) / width);
        }
    }
    return picture;
}

const QImage& Picture() {
    static const QImage picture = PhotoLike(6000, 4000);
    return picture;
}

void PaintAtZoom(benchmark::State& state) {
    TLEADImage view;
    view.resize(1600, 1000);
    view.SetCenterImage(true);
    view.SetBitmap(Picture());
    view.SetPaintZoomFactor(int(state.range(0)));
    QImage target(view.size(), QImage::Format_RGB32);
    // The picture's own painting, without the scroll bars (child widgets of the style's own).
    const auto flags = QWidget::RenderFlags(QWidget::DrawWindowBackground);
    view.render(&target, QPoint(), QRegion(), flags); // the first paint builds the display copy once
    for (auto _ : state) {
        view.render(&target, QPoint(), QRegion(), flags);
        benchmark::DoNotOptimize(target.constBits());
    }
}
BENCHMARK(PaintAtZoom)->Arg(25)->Arg(100)->Arg(400)->Unit(benchmark::kMillisecond);

void PlainDrawImage(benchmark::State& state) {
    const QImage scaled = Picture().scaled(1600, 1000).convertToFormat(QImage::Format_RGB32);
    QImage target(1600, 1000, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&target);
        painter.drawImage(0, 0, scaled);
        painter.end();
        benchmark::DoNotOptimize(target.constBits());
    }
}
BENCHMARK(PlainDrawImage)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return RunWidgetBenchmarks(argc, argv);
}
