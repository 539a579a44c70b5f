// Reading and writing picture files: detection by content, dispatch to the format modules, and
// the safe replacement of the target file.
#include "CodecInternal.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace Codecs {
namespace Detail {

void Fail(int code, const QString& message) {
    throw CodecError(code, message.toStdString());
}

} // namespace Detail

using Detail::Fail;

namespace {

// The engine's JPEG factor (smaller is finer) on TurboJPEG's quality scale; the three factors in
// use are fixed points, others fall between them.
int JpegQuality(int factor) {
    if (factor <= 2)
        return 95;
    if (factor <= 4)
        return 90;
    if (factor >= 22)
        return 75;
    return 90 - (factor - 4) * 15 / 18;
}

} // namespace

LoadedPicture DecodePicture(const QByteArray& bytes, QSize minSize) {
    const auto* b = reinterpret_cast<const unsigned char*>(bytes.constData());
    const qsizetype n = bytes.size();
    if (n >= 3 && b[0] == 0xFF && b[1] == 0xD8 && b[2] == 0xFF)
        return Detail::DecodeJpeg(bytes, minSize);
    if (n >= 4 && ((b[0] == 'I' && b[1] == 'I' && (b[2] == 42 || b[2] == 43) && b[3] == 0) ||
                   (b[0] == 'M' && b[1] == 'M' && b[2] == 0 && (b[3] == 42 || b[3] == 43))))
        return Detail::DecodeTiff(bytes);
    if (n >= 6 && (bytes.startsWith("GIF87a") || bytes.startsWith("GIF89a")))
        return Detail::DecodeGif(bytes);
    if (n >= 2 && b[0] == 'B' && b[1] == 'M')
        return Detail::DecodeBmp(bytes);
    Fail(kErrorFormat, QStringLiteral("Unknown file format"));
}

LoadedPicture ReadPicture(const QString& path, QSize minSize) {
    const QFileInfo info(path);
    if (!info.exists())
        Fail(kErrorFileNotFound, QStringLiteral("File not found: %1").arg(path));
    QFile file(path);
    if (info.isDir() || !file.open(QIODevice::ReadOnly))
        Fail(kErrorFileRead, QStringLiteral("Cannot read file %1").arg(path));
    // Mapping spares a copy of the file; an empty or unmappable file is read instead.
    const qint64 size = file.size();
    if (size > 0) {
        if (uchar* data = file.map(0, size)) {
            const QByteArray bytes =
                QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
            return DecodePicture(bytes, minSize);
        }
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        Fail(kErrorFileRead, QStringLiteral("Cannot read file %1").arg(path));
    return DecodePicture(bytes, minSize);
}

QByteArray EncodePicture(const QImage& image, int format, int bits, int qualityFactor) {
    const bool supported = (format == kFormatJpeg422 && bits == 24) ||
                           (format == kFormatTifLzw && bits == 24) || (format == kFormatBmp && bits == 24) ||
                           (format == kFormatGif && bits == 8);
    if (!supported)
        Fail(kErrorUnsupported, QStringLiteral("Cannot save format %1 with %2 bits").arg(format).arg(bits));
    if (image.isNull())
        Fail(kErrorUnsupported, QStringLiteral("No picture to save"));
    return format == kFormatJpeg422  ? Detail::EncodeJpeg(image, JpegQuality(qualityFactor))
           : format == kFormatTifLzw ? Detail::EncodeTiff(image)
           : format == kFormatBmp    ? Detail::EncodeBmp(image)
                                     : Detail::EncodeGif(image);
}

void WriteFile(const QString& path, const QByteArray& data) {
    // The old file survives any failure: the data goes to a temporary file that then replaces it.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size() || !file.commit())
        Fail(kErrorFileWrite, QStringLiteral("Cannot write file %1: %2").arg(path, file.errorString()));
}

void WritePicture(const QImage& image, const QString& path, int format, int bits, int qualityFactor) {
    WriteFile(path, EncodePicture(image, format, bits, qualityFactor));
}

} // namespace Codecs
