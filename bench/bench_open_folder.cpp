// Opening a folder of photos in a real main window (offscreen): from the open command until every
// thumbnail is listed and the first picture is shown in full. The folder is named by
// KORVELLE_BENCH_PHOTOS; the display step is run as soon as the opening returns, so its fixed
// 200 ms delay is not counted.
#include "BenchMain.h"
#include "BenchPrompts.h"
#include "fMain.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>

#include <cstdlib>

namespace {

void OpenFolder(benchmark::State& state) {
    const QString photos = qEnvironmentVariable("KORVELLE_BENCH_PHOTOS");
    const QStringList files = QDir(photos).entryList({QStringLiteral("*.jpg")}, QDir::Files, QDir::Name);
    if (files.isEmpty()) {
        state.SkipWithError("KORVELLE_BENCH_PHOTOS names no folder of JPEG files");
        return;
    }
    BenchPrompts prompts(photos + QLatin1Char('/') + files.first());
    QTemporaryDir program;
    TMainForm form(program.path(), {}, prompts);
    form.resize(1280, 800);
    form.show();
    QCoreApplication::processEvents();
    for (auto _ : state) {
        form.OpenSpeedButtonClick();
        form.Timer2Timer();
        QCoreApplication::processEvents();
        if (form.FileListBox == nullptr || form.ShownFile != files.first() || form.ShownFileStale)
            state.SkipWithError("the first picture is not shown");
    }
    state.counters["pictures"] = double(files.size());
}
BENCHMARK(OpenFolder)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

} // namespace

int main(int argc, char** argv) {
    return RunWidgetBenchmarks(argc, argv);
}
