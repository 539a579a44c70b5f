// Writes the installed content and the benchmark picture folders.
#include "Content.h"

#include "Codecs.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <exception>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <vector>

namespace Content {
namespace {

constexpr int kJpegQualityFactor = 2; // 95, the quality the program saves with

// One TIFF directory entry; values of up to four bytes sit in the entry, longer ones in the data area.
struct TiffEntry {
    std::uint16_t Tag;
    std::uint16_t Type;
    std::uint32_t Count;
    QByteArray Bytes;
};

enum TiffType : std::uint16_t {
    kAscii = 2,
    kShort = 3,
    kLong = 4,
    kRational = 5,
    kUndefined = 7,
    kSRational = 10
};

void PutLe16(QByteArray& out, std::uint32_t value) {
    out.append(char(value & 0xFF));
    out.append(char((value >> 8) & 0xFF));
}
void PutLe32(QByteArray& out, std::uint32_t value) {
    PutLe16(out, value & 0xFFFF);
    PutLe16(out, value >> 16);
}

TiffEntry Ascii(std::uint16_t tag, const QByteArray& text) {
    const QByteArray bytes = text + '\0';
    return {tag, kAscii, std::uint32_t(bytes.size()), bytes};
}
TiffEntry Short(std::uint16_t tag, std::uint16_t value) {
    QByteArray bytes;
    PutLe16(bytes, value);
    return {tag, kShort, 1, bytes};
}
TiffEntry Long(std::uint16_t tag, std::uint32_t value) {
    QByteArray bytes;
    PutLe32(bytes, value);
    return {tag, kLong, 1, bytes};
}
TiffEntry Rational(std::uint16_t tag, std::uint32_t numerator, std::uint32_t denominator,
                   std::uint16_t type = kRational) {
    QByteArray bytes;
    PutLe32(bytes, numerator);
    PutLe32(bytes, denominator);
    return {tag, type, 1, bytes};
}
TiffEntry Undefined(std::uint16_t tag, const QByteArray& bytes) {
    return {tag, kUndefined, std::uint32_t(bytes.size()), bytes};
}

constexpr std::uint32_t DirectorySize(qsizetype entries) {
    return std::uint32_t(2 + 12 * entries + 4);
}

// Appends one directory at its place; long values go to data, whose first byte lies at dataStart.
void WriteDirectory(QByteArray& tiff, QByteArray& data, std::uint32_t dataStart,
                    const QList<TiffEntry>& entries) {
    PutLe16(tiff, std::uint32_t(entries.size()));
    for (const TiffEntry& entry : entries) {
        PutLe16(tiff, entry.Tag);
        PutLe16(tiff, entry.Type);
        PutLe32(tiff, entry.Count);
        if (entry.Bytes.size() <= 4) {
            tiff.append(entry.Bytes);
            tiff.append(4 - entry.Bytes.size(), '\0');
        } else {
            PutLe32(tiff, dataStart + std::uint32_t(data.size()));
            data.append(entry.Bytes);
            if (data.size() % 2 != 0) // TIFF values start on word boundaries
                data.append('\0');
        }
    }
    PutLe32(tiff, 0); // no further directory
}

void EnsureFolder(const QString& path) {
    if (!QDir().mkpath(path))
        throw std::runtime_error(QStringLiteral("Cannot create folder %1").arg(path).toStdString());
}

void WriteJpeg(const QImage& image, const QString& path) {
    Codecs::WritePicture(image, path, Codecs::kFormatJpeg422, 24, kJpegQualityFactor);
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error(QStringLiteral("Cannot read %1").arg(path).toStdString());
    return file.readAll();
}

void WriteAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        throw std::runtime_error(QStringLiteral("Cannot write %1").arg(path).toStdString());
}

// A side picture: a landscape painted larger and reduced, so that it keeps a photograph's detail.
QImage SidePicture(QSize size, std::uint32_t seed) {
    const QImage large = Scenes::PaintLandscape(size * 3, seed);
    return large.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
        .convertToFormat(QImage::Format_BGR888);
}

} // namespace

QList<RecomPicture> RecomPictures() {
    // The save prompts, the resize dialog and the batch dialogs show a 95 x 158 strip at their left;
    // the print-size dialog a slightly shorter one; the about box a wide picture; the tips a small one.
    return {{"save.jpg", QSize(95, 158)},  {"resize.jpg", QSize(95, 158)}, {"batch.jpg", QSize(95, 158)},
            {"print.jpg", QSize(95, 148)}, {"about.jpg", QSize(234, 89)},  {"tips.jpg", QSize(65, 57)}};
}

Scenes::Portrait RedEyeExample() {
    return Scenes::PaintPortrait(QSize(1200, 1600), 7, true);
}

QByteArray CameraExifSegment(QSize pixelSize) {
    const QByteArray dateTime = "2025:06:14 10:42:17";
    QList<TiffEntry> ifd0 = {
        Ascii(0x010E, "Bergsee am Morgen"),
        Ascii(0x010F, kCameraMake),
        Ascii(0x0110, kCameraModel),
        Short(0x0112, 1), // orientation: normal
        Rational(0x011A, 72, 1),
        Rational(0x011B, 72, 1),
        Short(0x0128, 2), // resolution in inches
        Ascii(0x0131, "PX-40 Firmware 1.02"),
        Ascii(0x0132, dateTime),
        Short(0x0213, 1), // chroma samples centred
        Ascii(0x8298, "Korvelle Beispielbild"),
    };
    const QList<TiffEntry> exif = {
        Rational(0x829A, 1, 250),                     // exposure time 1/250 s
        Rational(0x829D, 56, 10),                     // f/5.6
        Short(0x8822, 2),                             // normal programme
        Short(0x8827, 200),                           // ISO 200
        Undefined(0x9000, "0230"),                    // EXIF version
        Ascii(0x9003, dateTime),                      // original
        Ascii(0x9004, dateTime),                      // digitised
        Undefined(0x9101, QByteArray("\1\2\3\0", 4)), // Y Cb Cr
        Rational(0x9201, 7966, 1000, kSRational),     // shutter speed as APEX
        Rational(0x9202, 4970, 1000),                 // aperture as APEX
        Rational(0x9204, 0, 3, kSRational),           // no exposure bias
        Rational(0x9205, 3, 1),                       // widest aperture as APEX
        Short(0x9207, 5),                             // pattern metering
        Short(0x9208, 0),                             // light source unknown
        Short(0x9209, 0x10),                          // flash did not fire
        Rational(0x920A, 350, 10),                    // 35 mm
        Undefined(0xA000, "0100"),                    // Flashpix version
        Short(0xA001, 1),                             // sRGB
        Long(0xA002, std::uint32_t(pixelSize.width())),
        Long(0xA003, std::uint32_t(pixelSize.height())),
        Short(0xA402, 0),  // automatic exposure
        Short(0xA403, 0),  // automatic white balance
        Short(0xA405, 52), // 52 mm in 35 mm terms
        Short(0xA406, 0),  // standard scene
    };
    // Readers that look at fixed positions expect exactly these directory sizes.
    const std::uint32_t exifStart = 8 + DirectorySize(ifd0.size() + 1);
    ifd0.append(Long(0x8769, exifStart));
    const std::uint32_t dataStart = exifStart + DirectorySize(exif.size());

    QByteArray tiff("II*\0", 4);
    PutLe32(tiff, 8);
    QByteArray data;
    WriteDirectory(tiff, data, dataStart, ifd0);
    WriteDirectory(tiff, data, dataStart, exif);
    tiff.append(data);

    QByteArray segment("\xFF\xE1", 2);
    const qsizetype length = 2 + 6 + tiff.size();
    segment.append(char(length >> 8));
    segment.append(char(length & 0xFF));
    segment.append(QByteArray("Exif\0\0", 6));
    segment.append(tiff);
    return segment;
}

QByteArray InsertExif(const QByteArray& jpeg, const QByteArray& segment) {
    if (!jpeg.startsWith("\xFF\xD8"))
        throw std::runtime_error("Not a JPEG file");
    const bool jfif = jpeg.size() >= 20 && jpeg.mid(2, 4) == QByteArray("\xFF\xE0\x00\x10", 4);
    const qsizetype at = jfif ? 20 : 2;
    return jpeg.left(at) + segment + jpeg.mid(at);
}

void WriteContent(const QString& dir) {
    const QDir root(dir);
    const QString examples = root.filePath(QStringLiteral("Beispiele"));
    const QString recom = root.filePath(QStringLiteral("recom"));
    EnsureFolder(examples);
    EnsureFolder(recom);
    const QDir exampleDir(examples);

    WriteJpeg(Scenes::PaintLandscape(QSize(2400, 1600), 11),
              exampleDir.filePath(QStringLiteral("Bergsee.jpg")));
    WriteJpeg(Scenes::PaintLandscape(QSize(1600, 1067), 4),
              exampleDir.filePath(QStringLiteral("Strand.jpg")));
    WriteJpeg(Scenes::PaintLandscape(QSize(1200, 1800), 23),
              exampleDir.filePath(QStringLiteral("Hochformat.jpg")));

    const QSize cameraSize(2048, 1536);
    const QString cameraPath = exampleDir.filePath(QString::fromLatin1(kCameraPicture));
    WriteJpeg(Scenes::PaintLandscape(cameraSize, 31), cameraPath);
    WriteAll(cameraPath, InsertExif(ReadAll(cameraPath), CameraExifSegment(cameraSize)));

    WriteJpeg(RedEyeExample().Image, exampleDir.filePath(QString::fromLatin1(kRedEyePicture)));
    Codecs::WritePicture(Scenes::PaintLandscape(QSize(1200, 800), 42),
                         exampleDir.filePath(QStringLiteral("Dorf.tif")), Codecs::kFormatTifLzw, 24, 0);
    Codecs::WritePicture(Scenes::PaintLandscape(QSize(640, 480), 57),
                         exampleDir.filePath(QStringLiteral("Wiese.gif")), Codecs::kFormatGif, 8, 0);
    Codecs::WritePicture(Scenes::PaintPortrait(QSize(600, 800), 3, false).Image,
                         exampleDir.filePath(QStringLiteral("Portrait.bmp")), Codecs::kFormatBmp, 24, 0);

    std::uint32_t seed = 100;
    for (const RecomPicture& picture : RecomPictures())
        WriteJpeg(SidePicture(picture.Size, seed++), QDir(recom).filePath(QString::fromLatin1(picture.Name)));

    const QString banner = root.filePath(QString::fromLatin1(kBanner));
    if (!Scenes::PaintBanner(QSize(1600, 41)).save(banner, "PNG"))
        throw std::runtime_error(QStringLiteral("Cannot write %1").arg(banner).toStdString());
}

void WritePhotos(const QString& dir, int count, QSize size) {
    EnsureFolder(dir);
    const QDir folder(dir);
    std::atomic<int> next{0};
    std::exception_ptr failure;
    std::mutex failureLock;
    auto work = [&] {
        for (int i = next++; i < count; i = next++) {
            try {
                WriteJpeg(Scenes::PaintLandscape(size, std::uint32_t(1000 + i)),
                          folder.filePath(QStringLiteral("IMG_%1.jpg").arg(i + 1, 4, 10, QLatin1Char('0'))));
            } catch (...) {
                const std::lock_guard lock(failureLock);
                if (!failure)
                    failure = std::current_exception();
                next = count;
            }
        }
    };
    const int threads = std::clamp(int(std::thread::hardware_concurrency()), 1, std::max(1, count));
    std::vector<std::thread> workers;
    for (int t = 1; t < threads; ++t)
        workers.emplace_back(work);
    work();
    for (std::thread& worker : workers)
        worker.join();
    if (failure)
        std::rethrow_exception(failure);
}

} // namespace Content
