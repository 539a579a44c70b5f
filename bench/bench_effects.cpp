// Speed of every pixel effect on a 12-megapixel picture and on the 199 x 149 preview.
// Extra options: --write-picture=PATH and --write-small=PATH save the measured picture and a
// 16 x 16 one, so that reference tools can be timed on the same pixels.
#include "CanvasTone.h"
#include "tavPaintFX.h"

#include <benchmark/benchmark.h>

#include <QImage>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

// A photo-like picture: smooth gradients with some texture, so that no effect meets only one value.
QImage TestPicture(int width, int height) {
    QImage picture(width, height, QImage::Format_BGR888);
    TRandomGenerator random(1);
    for (int y = 0; y < height; ++y) {
        uchar* row = picture.scanLine(y);
        for (int x = 0; x < width; ++x) {
            const int texture = int(random.Draw(32));
            row[x * 3] = uchar((x * 255 / width + texture) % 256);
            row[x * 3 + 1] = uchar((y * 255 / height + texture / 2) % 256);
            row[x * 3 + 2] = uchar(((x + y) * 127 / (width + height) + 64 + texture) % 256);
        }
    }
    return picture;
}

struct Size {
    const char* Name;
    int Width;
    int Height;
};
constexpr Size kSizes[] = {{"full", 4000, 3000}, {"preview", 199, 149}};

const QImage& Picture(const Size& size) {
    static const QImage full = TestPicture(kSizes[0].Width, kSizes[0].Height);
    static const QImage preview = TestPicture(kSizes[1].Width, kSizes[1].Height);
    return size.Width == kSizes[0].Width ? full : preview;
}

// In-place effects run on the same picture every iteration: their cost does not depend on the values.
using InPlace = std::function<void(const TtavPaintFX&, QImage&)>;
// Distortions read an unchanged source and write the destination.
using Distortion = std::function<void(const TtavPaintFX&, const QImage&, QImage&)>;

void RegisterInPlace(const std::string& name, InPlace effect, bool fullSize = true) {
    for (const Size& size : kSizes) {
        if (!fullSize && size.Width == kSizes[0].Width)
            continue;
        benchmark::RegisterBenchmark((name + "/" + size.Name).c_str(),
                                     [effect, size](benchmark::State& state) {
                                         const TtavPaintFX fx;
                                         QImage picture = Picture(size).copy();
                                         for (auto _ : state) {
                                             effect(fx, picture);
                                             benchmark::DoNotOptimize(picture.constBits());
                                         }
                                     })
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
    }
}

void RegisterDistortion(const std::string& name, Distortion effect) {
    for (const Size& size : kSizes)
        benchmark::RegisterBenchmark((name + "/" + size.Name).c_str(),
                                     [effect, size](benchmark::State& state) {
                                         const TtavPaintFX fx;
                                         const QImage& source = Picture(size);
                                         QImage destination = source.copy();
                                         for (auto _ : state) {
                                             effect(fx, source, destination);
                                             benchmark::DoNotOptimize(destination.constBits());
                                         }
                                     })
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
}

void RegisterAll() {
    const TSineCurveTable table = SineCurveTable();
    RegisterInPlace("ApplyBrightness", [](const TtavPaintFX& fx, QImage& p) { fx.ApplyBrightness(p, 60); });
    RegisterInPlace("ApplyContrast", [](const TtavPaintFX& fx, QImage& p) { fx.ApplyContrast(p, 60); });
    RegisterInPlace("ApplySaturation", [](const TtavPaintFX& fx, QImage& p) { fx.ApplySaturation(p, 300); });
    RegisterInPlace("ColorNoise", [](const TtavPaintFX& fx, QImage& p) { fx.ColorNoise(p, 100); });
    RegisterInPlace("MonoNoise", [](const TtavPaintFX& fx, QImage& p) { fx.MonoNoise(p, 100); });
    RegisterInPlace("ChannelBandRed", [](const TtavPaintFX& fx, QImage& p) { fx.ChannelBandRed(p, 1, 128); });
    RegisterInPlace("ChannelBandGreen",
                    [](const TtavPaintFX& fx, QImage& p) { fx.ChannelBandGreen(p, 1, 128); });
    RegisterInPlace("ChannelBandBlue",
                    [](const TtavPaintFX& fx, QImage& p) { fx.ChannelBandBlue(p, 1, 128); });
    RegisterInPlace("ChannelBandRedOnly",
                    [](const TtavPaintFX& fx, QImage& p) { fx.ChannelBandRedOnly(p, 1, 128); });
    RegisterInPlace("ChannelBandGreenOnly",
                    [](const TtavPaintFX& fx, QImage& p) { fx.ChannelBandGreenOnly(p, 1, 128); });
    RegisterInPlace("ChannelBandBlueOnly",
                    [](const TtavPaintFX& fx, QImage& p) { fx.ChannelBandBlueOnly(p, 1, 128); });
    RegisterInPlace("Solarize", [](const TtavPaintFX& fx, QImage& p) { fx.Solarize(p, p, 128); });
    RegisterInPlace("Posterize", [](const TtavPaintFX& fx, QImage& p) { fx.Posterize(p, p, 64); });
    RegisterInPlace("SineCurve", [table](const TtavPaintFX&, QImage& p) { SineCurve(p, table, 3); });
    RegisterInPlace("Relief", [](const TtavPaintFX& fx, QImage& p) { fx.Relief(p); });
    RegisterInPlace("Soften", [](const TtavPaintFX& fx, QImage& p) { fx.Soften(p, 0); });
    RegisterInPlace(
        "Soften20", [](const TtavPaintFX& fx, QImage& p) { fx.Soften(p, 20); }, false);
    RegisterInPlace("Mosaic", [](const TtavPaintFX& fx, QImage& p) { fx.Mosaic(p, 15); });
    RegisterInPlace("TileSplit", [](const TtavPaintFX& fx, QImage& p) { fx.TileSplit(p, 3); });
    RegisterInPlace("TileOverlap", [](const TtavPaintFX& fx, QImage& p) { fx.TileOverlap(p, 3); });
    RegisterInPlace("SeamBlend", [](const TtavPaintFX& fx, QImage& p) { fx.SeamBlend(p, 5); });
    RegisterInPlace("Slant", [](const TtavPaintFX&, QImage& p) { Slant(p, 50); });
    // Amount 500 twists the 12-megapixel picture by about pi between centre and edge, as the reference
    // tool's 180 degree swirl does; amount 10 (the slider's start) is measured as SwirlTight.
    RegisterDistortion("Swirl",
                       [](const TtavPaintFX& fx, const QImage& s, QImage& d) { fx.Swirl(s, d, 500); });
    RegisterDistortion("SwirlTight",
                       [](const TtavPaintFX& fx, const QImage& s, QImage& d) { fx.Swirl(s, d, 10); });
    RegisterDistortion("FishEyeDistort", [](const TtavPaintFX& fx, const QImage& s, QImage& d) {
        fx.FishEyeDistort(s, d, 0.5f);
    });
    RegisterDistortion("PlasmaDisplace", [](const TtavPaintFX& fx, const QImage& s, QImage& d) {
        fx.PlasmaDisplace(s, s, d, 20, 30);
    });
}

} // namespace

int main(int argc, char** argv) {
    std::vector<char*> rest;
    for (int i = 0; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind("--write-picture=", 0) == 0) {
            if (!Picture(kSizes[0]).save(QString::fromStdString(arg.substr(16)), "PPM"))
                return 1;
        } else if (arg.rfind("--write-small=", 0) == 0) {
            if (!TestPicture(16, 16).save(QString::fromStdString(arg.substr(14)), "PPM"))
                return 1;
        } else {
            rest.push_back(argv[i]);
        }
    }
    if (rest.size() < static_cast<std::size_t>(argc))
        return 0;
    int restCount = static_cast<int>(rest.size());
    RegisterAll();
    benchmark::Initialize(&restCount, rest.data());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
