// One quarter turn of a camera-sized picture in a real main window (offscreen): from RotateFlip
// until the committed picture is in the view and its thumbnail renewed. Beside it, one plain
// TurboJPEG decode plus one encode at the same quality (factor 4 = 90), the least any edit that
// stores its result as JPEG costs. The picture is named by KORVELLE_BENCH_PHOTO.
#include "BenchMain.h"
#include "BenchPrompts.h"
#include "fMain.h"

#include "LEADImage.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <turbojpeg.h>

#include <vector>

namespace {

QString Photo() {
    return qEnvironmentVariable("KORVELLE_BENCH_PHOTO");
}

void RotateKorvelle(benchmark::State& state) {
    if (!QFileInfo::exists(Photo())) {
        state.SkipWithError("KORVELLE_BENCH_PHOTO names no picture");
        return;
    }
    BenchPrompts prompts(Photo());
    QTemporaryDir program;
    TMainForm form(program.path(), {}, prompts);
    form.resize(1280, 800);
    form.show();
    form.OpenOneSpeedButtonClick();
    form.Timer2Timer();
    QCoreApplication::processEvents();
    for (auto _ : state) {
        form.RotateFlip(QStringLiteral("90"));
        QCoreApplication::processEvents();
    }
    if (form.UndoCounter != int(state.iterations()))
        state.SkipWithError("not every turn was committed");
}
BENCHMARK(RotateKorvelle)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);

void DecodeEncodeTurboJpeg(benchmark::State& state) {
    QFile file(Photo());
    if (!file.open(QIODevice::ReadOnly)) {
        state.SkipWithError("KORVELLE_BENCH_PHOTO names no picture");
        return;
    }
    const QByteArray data = file.readAll();
    tjhandle decoder = tjInitDecompress();
    tjhandle encoder = tjInitCompress();
    for (auto _ : state) {
        int width = 0, height = 0, sampling = 0, colours = 0;
        const auto* bytes = reinterpret_cast<const unsigned char*>(data.constData());
        tjDecompressHeader3(decoder, bytes, static_cast<unsigned long>(data.size()), &width, &height,
                            &sampling, &colours);
        std::vector<unsigned char> pixels(size_t(width) * 3 * size_t(height));
        tjDecompress2(decoder, bytes, static_cast<unsigned long>(data.size()), pixels.data(), width,
                      width * 3, height, TJPF_BGR, 0);
        unsigned char* out = nullptr;
        unsigned long size = 0;
        tjCompress2(encoder, pixels.data(), width, width * 3, height, TJPF_BGR, &out, &size, TJSAMP_422, 90,
                    0);
        benchmark::DoNotOptimize(out);
        tjFree(out);
    }
    tjDestroy(decoder);
    tjDestroy(encoder);
}
BENCHMARK(DecodeEncodeTurboJpeg)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);

} // namespace

int main(int argc, char** argv) {
    return RunWidgetBenchmarks(argc, argv);
}
