// Benchmarks of the imaging engine on a photo-like 12-megapixel picture: JPEG load and save against
// plain TurboJPEG, the reduced thumbnail load, resize and Gaussian blur pipelines, the TIFF, GIF and
// BMP writers, and the first-touch cost of fresh picture buffers. The files it writes (the photo and
// inputs for the reference tools) go to KORVELLE_BENCH_DIR, which engine-vs-reference sets.
#include "Codecs.h"
#include "Pixels.h"
#include "Raster.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImageWriter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <tiffio.h>
#include <turbojpeg.h>

#include <cmath>
#include <cstring>
#include <random>
#include <vector>

namespace {

QString benchDir;

QString File(const char* name) {
    return QDir(benchDir).filePath(QString::fromLatin1(name));
}

// Smooth gradients, a few shapes with hard edges and fine noise: compresses like a camera photo.
QImage PhotoLike(int width, int height) {
    QImage image = Pixels::NewBitmap(width, height);
    std::mt19937 random(7);
    std::uniform_int_distribution<int> noise(-6, 6);
    for (int y = 0; y < height; ++y) {
        uchar* p = image.scanLine(y);
        for (int x = 0; x < width; ++x, p += 3) {
            const double fx = double(x) / width, fy = double(y) / height;
            int r = int(120 + 100 * std::sin(fx * 5.0 + fy * 2.0));
            int g = int(110 + 90 * std::cos(fy * 4.0 - fx));
            int b = int(100 + 80 * std::sin((fx + fy) * 3.0));
            const double dx = fx - 0.35, dy = fy - 0.5;
            if (dx * dx + dy * dy < 0.04) {
                r = 230;
                g = 190 - int(60 * fy);
                b = 40;
            }
            if (fx > 0.6 && fx < 0.85 && fy > 0.2 && fy < 0.7) {
                r = 30 + int(40 * fx);
                g = 80;
                b = 160;
            }
            const int n = noise(random);
            p[0] = uchar(std::clamp(b + n, 0, 255));
            p[1] = uchar(std::clamp(g + n, 0, 255));
            p[2] = uchar(std::clamp(r + n, 0, 255));
        }
    }
    return image;
}

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

void WriteUncompressedTiff(const QImage& image, const QString& path) {
    TIFF* tif = TIFFOpen(QFile::encodeName(path).constData(), "w");
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, uint32_t(image.width()));
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, uint32_t(image.height()));
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 3);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, uint32_t(std::max(1, 65536 / (image.width() * 3))));
    std::vector<uchar> row(size_t(image.width()) * 3);
    for (int y = 0; y < image.height(); ++y) {
        const uchar* s = image.constScanLine(y);
        for (int x = 0; x < image.width(); ++x) {
            row[3 * x] = s[3 * x + 2];
            row[3 * x + 1] = s[3 * x + 1];
            row[3 * x + 2] = s[3 * x];
        }
        TIFFWriteScanline(tif, row.data(), uint32_t(y), 0);
    }
    TIFFClose(tif);
}

void WritePpm(const QImage& image, const QString& path) {
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(QStringLiteral("P6\n%1 %2\n255\n").arg(image.width()).arg(image.height()).toLatin1());
    std::vector<char> row(size_t(image.width()) * 3);
    for (int y = 0; y < image.height(); ++y) {
        const uchar* s = image.constScanLine(y);
        for (int x = 0; x < image.width(); ++x) {
            row[3 * x] = char(s[3 * x + 2]);
            row[3 * x + 1] = char(s[3 * x + 1]);
            row[3 * x + 2] = char(s[3 * x]);
        }
        f.write(row.data(), qint64(row.size()));
    }
}

double Psnr(const QImage& a, const QImage& b) {
    double sum = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width() * 3; ++x) {
            const double d = double(a.constScanLine(y)[x]) - double(b.constScanLine(y)[x]);
            sum += d * d;
        }
    return 10 * std::log10(255.0 * 255.0 * double(a.width()) * a.height() * 3 / sum);
}

// The picture as every save case sees it: the decoded photo, as the program holds it after loading.
const QImage& Photo() {
    static const QImage photo = Codecs::ReadPicture(File("photo.jpg")).image;
    return photo;
}

void JpegLoadKorvelle(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(Codecs::ReadPicture(File("photo.jpg")));
}

// Plain TurboJPEG: read the file, allocate a buffer, decode into it.
void JpegLoadTurboJpeg(benchmark::State& state) {
    tjhandle handle = tjInitDecompress();
    for (auto _ : state) {
        const QByteArray data = ReadAll(File("photo.jpg"));
        int w = 0, h = 0, s = 0, c = 0;
        tjDecompressHeader3(handle, reinterpret_cast<const uchar*>(data.constData()), ulong(data.size()), &w,
                            &h, &s, &c);
        std::vector<uchar> pixels(size_t(w) * 3 * h);
        tjDecompress2(handle, reinterpret_cast<const uchar*>(data.constData()), ulong(data.size()),
                      pixels.data(), w, w * 3, h, TJPF_BGR, 0);
        benchmark::DoNotOptimize(pixels.data());
    }
    tjDestroy(handle);
}

void JpegSaveKorvelle(benchmark::State& state) {
    const QImage& photo = Photo();
    for (auto _ : state)
        Codecs::WritePicture(photo, File("out-korvelle.jpg"), 23, 24, 4);
}

// Plain TurboJPEG: encode the same pixels with the same settings and write the file.
void JpegSaveTurboJpeg(benchmark::State& state) {
    const QImage& photo = Photo();
    tjhandle handle = tjInitCompress();
    for (auto _ : state) {
        uchar* out = nullptr;
        ulong size = 0;
        tjCompress2(handle, photo.constBits(), photo.width(), int(photo.bytesPerLine()), photo.height(),
                    TJPF_BGR, &out, &size, TJSAMP_422, 90, 0);
        QFile f(File("out-turbo.jpg"));
        f.open(QIODevice::WriteOnly);
        f.write(reinterpret_cast<const char*>(out), qint64(size));
        f.close();
        tjFree(out);
    }
    tjDestroy(handle);
}

void ThumbLoad(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(Codecs::ReadPicture(File("photo.jpg"), QSize(0, 70)));
}

void ResizePipeline(benchmark::State& state) {
    for (auto _ : state) {
        const QImage photo = Codecs::ReadPicture(File("photo.jpg")).image;
        const QImage small = Raster::Resize(photo, 800, 600, Raster::SizeKind::Bicubic);
        Codecs::WritePicture(small, File("out-resize.jpg"), 23, 24, 4);
    }
}

void GaussPipeline(benchmark::State& state) {
    for (auto _ : state) {
        QImage photo = Codecs::ReadPicture(File("photo.jpg")).image;
        Raster::GaussianFilter(photo, 200);
        Codecs::WritePicture(photo, File("out-gauss.jpg"), 23, 24, 4);
    }
}

void TiffSave(benchmark::State& state) {
    const QImage& photo = Photo();
    for (auto _ : state)
        Codecs::WritePicture(photo, File("out-korvelle.tif"), 17, 24, 4);
}

void GifSave(benchmark::State& state) {
    const QImage& photo = Photo();
    for (auto _ : state)
        Codecs::WritePicture(photo, File("out-korvelle.gif"), 2, 8, 4);
    state.counters["psnr"] = Psnr(photo, Codecs::ReadPicture(File("out-korvelle.gif")).image);
}

void BmpSaveKorvelle(benchmark::State& state) {
    const QImage& photo = Photo();
    for (auto _ : state)
        Codecs::WritePicture(photo, File("out-korvelle.bmp"), 6, 24, 4);
}

void BmpSaveQt(benchmark::State& state) {
    const QImage& photo = Photo();
    for (auto _ : state) {
        QImageWriter writer(File("out-qt.bmp"), "bmp");
        writer.write(photo);
    }
}

// 24 megapixels of fresh memory written once: the page faults dominate.
void FirstTouch(benchmark::State& state) {
    const auto advice = state.range(0) ? Pixels::PageAdvice::HugePages : Pixels::PageAdvice::NormalPages;
    qsizetype bytes = 0;
    for (auto _ : state) {
        QImage image = Pixels::NewBitmap(6000, 4000, advice);
        bytes = image.sizeInBytes();
        std::memset(image.bits(), 1, size_t(bytes));
        benchmark::DoNotOptimize(image.bits());
    }
    // Elapsed time over (pages in millions) x iterations: microseconds per 4 KiB page.
    state.counters["us_per_4k_page"] =
        benchmark::Counter(double(bytes) / 4096.0 / 1e6,
                           benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

} // namespace

BENCHMARK(JpegLoadKorvelle)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);
BENCHMARK(JpegLoadTurboJpeg)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);
BENCHMARK(JpegSaveKorvelle)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);
BENCHMARK(JpegSaveTurboJpeg)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);
BENCHMARK(ThumbLoad)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);
BENCHMARK(ResizePipeline)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);
BENCHMARK(GaussPipeline)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);
BENCHMARK(TiffSave)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);
BENCHMARK(GifSave)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);
BENCHMARK(BmpSaveKorvelle)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);
BENCHMARK(BmpSaveQt)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);
BENCHMARK(FirstTouch)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(1);

int main(int argc, char** argv) {
    QGuiApplication::setAttribute(Qt::AA_Use96Dpi);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTemporaryDir fallback;
    benchDir = qEnvironmentVariable("KORVELLE_BENCH_DIR", fallback.path());
    QDir().mkpath(benchDir);
    // The photo, and the same pixels in the uncompressed forms the reference tools read fastest.
    const QImage photo = PhotoLike(4000, 3000);
    Codecs::WritePicture(photo, File("photo.jpg"), 23, 24, 2);
    const QImage decoded = Codecs::ReadPicture(File("photo.jpg")).image;
    WriteUncompressedTiff(decoded, File("photo.tif"));
    WritePpm(decoded, File("photo.ppm"));
    const QImage tiny = PhotoLike(16, 16);
    Codecs::WritePicture(tiny, File("tiny.jpg"), 23, 24, 2);
    WriteUncompressedTiff(tiny, File("tiny.tif"));
    WritePpm(tiny, File("tiny.ppm"));
    QFile sigma(File("sigma.txt"));
    if (sigma.open(QIODevice::WriteOnly))
        sigma.write(QByteArray::number(Raster::GaussianSigma(200), 'f', 4));

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
