// Windows BMP: reading through Qt's reader behind our own size guard; writing 24 bits, whose rows
// are the picture's own rows in the opposite order.
#include "CodecInternal.h"
#include "Pixels.h"

#include <QBuffer>
#include <QImageReader>

#include <cstring>

namespace Codecs::Detail {
namespace {

quint32 Le32(const unsigned char* p) {
    return quint32(p[0]) | quint32(p[1]) << 8 | quint32(p[2]) << 16 | quint32(p[3]) << 24;
}
quint16 Le16(const unsigned char* p) {
    return quint16(p[0] | p[1] << 8);
}

void Put32(char* p, quint32 v) {
    for (int i = 0; i < 4; ++i)
        p[i] = char((v >> (8 * i)) & 0xFF);
}

} // namespace

LoadedPicture DecodeBmp(const QByteArray& bytes) {
    const auto* b = reinterpret_cast<const unsigned char*>(bytes.constData());
    if (bytes.size() < 26)
        Fail(kErrorCorrupt, QStringLiteral("Corrupt BMP file: header too short"));
    const quint32 headerSize = Le32(b + 14);
    qint64 width = 0, height = 0;
    int bits = 0, compression = 0;
    if (headerSize == 12) {
        width = Le16(b + 18);
        height = Le16(b + 20);
        bits = Le16(b + 24);
    } else {
        if (bytes.size() < 34)
            Fail(kErrorCorrupt, QStringLiteral("Corrupt BMP file: header too short"));
        width = qint32(Le32(b + 18));
        height = qint32(Le32(b + 22));
        bits = Le16(b + 28);
        compression = int(Le32(b + 30));
    }
    height = height < 0 ? -height : height;
    Pixels::CheckSize(width, height);
    // Uncompressed rows must all be there before Qt takes memory for them.
    const quint32 offset = Le32(b + 10);
    if ((compression == 0 || compression == 3) && bits > 0) {
        const qint64 stride = (width * bits + 31) / 32 * 4;
        if (qint64(offset) + stride * height > bytes.size())
            Fail(kErrorCorrupt, QStringLiteral("Corrupt BMP file: pixel data missing"));
    }

    // Qt's own allocation limit (256 MB) would refuse large pictures that our guard admits.
    QImageReader::setAllocationLimit(4 * int(kMaxPixels / (1024 * 1024)) + 64);
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "bmp");
    QImage decoded;
    if (!reader.read(&decoded) || decoded.isNull())
        Fail(kErrorCorrupt, QStringLiteral("Corrupt BMP file: %1").arg(reader.errorString()));

    QImage image = Pixels::NewBitmap(decoded.width(), decoded.height());
    const bool alpha = decoded.hasAlphaChannel();
    // Converted in bands, so the conversion never holds a second whole picture.
    constexpr int kBand = 256;
    for (int y = 0; y < decoded.height(); y += kBand) {
        const int rows = std::min(kBand, decoded.height() - y);
        QImage band = decoded.copy(0, y, decoded.width(), rows);
        if (alpha) {
            band = band.convertToFormat(QImage::Format_ARGB32_Premultiplied);
            QImage white(band.size(), QImage::Format_ARGB32_Premultiplied);
            white.fill(Qt::white);
            for (int r = 0; r < rows; ++r) {
                auto* d = reinterpret_cast<QRgb*>(white.scanLine(r));
                const auto* s = reinterpret_cast<const QRgb*>(band.constScanLine(r));
                for (int x = 0; x < band.width(); ++x) {
                    const int inv = 255 - qAlpha(s[x]);
                    d[x] = qRgb(qRed(s[x]) + inv, qGreen(s[x]) + inv, qBlue(s[x]) + inv);
                }
            }
            band = white;
        }
        band = band.convertToFormat(QImage::Format_BGR888);
        for (int r = 0; r < rows; ++r)
            std::memcpy(image.scanLine(y + r), band.constScanLine(r), size_t(decoded.width()) * 3);
    }

    LoadedPicture result;
    result.image = image;
    result.info.width = image.width();
    result.info.height = image.height();
    result.info.bits = bits;
    result.info.format = kFormatBmp;
    result.info.compression =
        compression == 1 || compression == 2 ? QStringLiteral("RLE") : QStringLiteral("Uncompressed");
    return result;
}

QByteArray EncodeBmp(const QImage& source) {
    const QImage image =
        source.format() == QImage::Format_BGR888 ? source : source.convertToFormat(QImage::Format_BGR888);
    const qint64 stride = (qint64(image.width()) * 3 + 3) / 4 * 4;
    const qint64 size = 54 + stride * image.height();
    if (size > 0x7FFFFFFFLL)
        Fail(kErrorUnsupported, QStringLiteral("The picture is too large for a BMP file"));
    QByteArray data(qsizetype(size), Qt::Uninitialized);
    char* p = data.data();
    std::memset(p, 0, 54);
    p[0] = 'B';
    p[1] = 'M';
    Put32(p + 2, quint32(size));
    Put32(p + 10, 54);
    Put32(p + 14, 40);
    Put32(p + 18, quint32(image.width()));
    Put32(p + 22, quint32(image.height()));
    p[26] = 1;
    p[28] = 24;
    Put32(p + 34, quint32(stride * image.height()));
    Put32(p + 38, 2835); // 72 dots per inch
    Put32(p + 42, 2835);
    // A BGR888 row is a BMP row already, padding included; BMP stores them bottom up.
    for (int y = 0; y < image.height(); ++y)
        std::memcpy(p + 54 + stride * (image.height() - 1 - y), image.constScanLine(y), size_t(stride));
    return data;
}

} // namespace Codecs::Detail
