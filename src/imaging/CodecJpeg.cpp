// JPEG through TurboJPEG: decoding straight into the picture buffer with DCT scaling, grey and
// CMYK files included; encoding baseline JFIF with 4:2:2 chroma subsampling.
#include "CodecInternal.h"
#include "Pixels.h"

#include <turbojpeg.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>

namespace Codecs::Detail {
namespace {

struct HandleCloser {
    void operator()(void* handle) const { tjDestroy(handle); }
};
using Handle = std::unique_ptr<void, HandleCloser>;

// What the frame header says beyond TurboJPEG's view: progressive files need a coefficient
// buffer of the whole picture inside the decoder, which the memory guard must count.
struct FrameScan {
    bool progressive = false;
    qint64 coefficientBytes = 0;
};

FrameScan ScanFrame(const unsigned char* data, qsizetype size) {
    FrameScan scan;
    qsizetype pos = 2;
    while (pos + 4 <= size) {
        if (data[pos] != 0xFF) {
            ++pos;
            continue;
        }
        const int marker = data[pos + 1];
        if (marker == 0xFF) {
            ++pos;
            continue;
        }
        const int length = (data[pos + 2] << 8) | data[pos + 3];
        const bool sof =
            marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (sof && pos + 10 <= size) {
            scan.progressive = marker == 0xC2 || marker == 0xC6 || marker == 0xCA || marker == 0xCE;
            const qint64 height = (data[pos + 5] << 8) | data[pos + 6];
            const qint64 width = (data[pos + 7] << 8) | data[pos + 8];
            const int components = data[pos + 9];
            int maxH = 1, maxV = 1;
            for (int c = 0; c < components && pos + 12 + 3 * c < size; ++c) {
                const int sampling = data[pos + 11 + 3 * c];
                maxH = std::max(maxH, sampling >> 4);
                maxV = std::max(maxV, sampling & 15);
            }
            for (int c = 0; c < components && pos + 12 + 3 * c < size; ++c) {
                const int sampling = data[pos + 11 + 3 * c];
                const qint64 h = std::max(1, sampling >> 4), v = std::max(1, sampling & 15);
                const qint64 blocksX = (width * h / maxH + 7) / 8 + maxH;
                const qint64 blocksY = (height * v / maxV + 7) / 8 + maxV;
                scan.coefficientBytes += blocksX * blocksY * 128;
            }
            return scan;
        }
        if (marker == 0xD8 || (marker >= 0xD0 && marker <= 0xD7) || marker == 0x01) {
            pos += 2;
            continue;
        }
        if (marker == 0xDA || marker == 0xD9)
            break;
        pos += 2 + length;
    }
    return scan;
}

// Truncation and broken entropy data reach TurboJPEG as warnings; these are the harmless ones.
bool BenignWarning(const char* message) {
    return std::strstr(message, "extraneous bytes before marker") ||
           std::strstr(message, "Invalid SOS parameters") ||
           std::strstr(message, "Unknown Adobe color transform") ||
           std::strstr(message, "unknown JFIF revision") ||
           std::strstr(message, "Inconsistent progression sequence") ||
           std::strstr(message, "Unsupported marker type");
}

QString SubsamplingName(int subsamp) {
    switch (subsamp) {
    case TJSAMP_444:
        return QStringLiteral("4:4:4");
    case TJSAMP_422:
        return QStringLiteral("4:2:2");
    case TJSAMP_420:
        return QStringLiteral("4:2:0");
    case TJSAMP_440:
        return QStringLiteral("4:4:0");
    case TJSAMP_411:
        return QStringLiteral("4:1:1");
    default:
        return QStringLiteral("grey");
    }
}

} // namespace

LoadedPicture DecodeJpeg(const QByteArray& bytes, QSize minSize) {
    Handle handle(tjInitDecompress());
    if (!handle)
        Fail(kErrorMemory, QStringLiteral("Cannot start the JPEG decoder"));
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.constData());
    const auto size = static_cast<unsigned long>(bytes.size());
    int width = 0, height = 0, subsamp = 0, colorspace = 0;
    if (tjDecompressHeader3(handle.get(), data, size, &width, &height, &subsamp, &colorspace) != 0)
        Fail(kErrorCorrupt,
             QStringLiteral("Corrupt JPEG file: %1").arg(QString::fromUtf8(tjGetErrorStr2(handle.get()))));
    Pixels::CheckSize(width, height);
    const FrameScan frame = ScanFrame(data, bytes.size());
    if (frame.progressive && frame.coefficientBytes > 3 * kMaxPixels)
        Fail(kErrorTooLarge, QStringLiteral("Progressive JPEG %1 x %2 is too large").arg(width).arg(height));

    // The smallest of 1/8, 1/4, 1/2 that still covers minSize; the IDCT has fast paths for these.
    int denom = 1;
    if (minSize.isValid()) {
        for (int d : {8, 4, 2}) {
            if ((width + d - 1) / d >= minSize.width() && (height + d - 1) / d >= minSize.height()) {
                denom = d;
                break;
            }
        }
    }
    const int outWidth = (width + denom - 1) / denom;
    const int outHeight = (height + denom - 1) / denom;
    const bool cmyk = colorspace == TJCS_CMYK || colorspace == TJCS_YCCK;

    // CMYK is decoded into the same buffer, wider, and narrowed in place to BGR afterwards.
    const qsizetype cmykBytes = cmyk ? qsizetype(outWidth) * 4 * outHeight : 0;
    QImage image = Pixels::NewBitmap(outWidth, outHeight, Pixels::PageAdvice::Default, cmykBytes);
    unsigned char* buffer = image.bits();
    const int pitch = cmyk ? outWidth * 4 : int(image.bytesPerLine());
    const int pixelFormat = cmyk ? TJPF_CMYK : TJPF_BGR;

    // Stop at the first warning, so a truncated file fails fast; retry without stopping only when
    // that warning was a harmless one.
    const auto decode = [&](int flags) {
        return tjDecompress2(handle.get(), data, size, buffer, outWidth, pitch, outHeight, pixelFormat,
                             flags) == 0;
    };
    const auto benign = [&] {
        return tjGetErrorCode(handle.get()) == TJERR_WARNING && BenignWarning(tjGetErrorStr2(handle.get()));
    };
    if (!decode(TJFLAG_STOPONWARNING | TJFLAG_LIMITSCANS) &&
        (!benign() || (!decode(TJFLAG_LIMITSCANS) && !benign())))
        Fail(kErrorCorrupt,
             QStringLiteral("Corrupt JPEG file: %1").arg(QString::fromUtf8(tjGetErrorStr2(handle.get()))));

    if (cmyk) {
        // Stored inverted, as the usual writers of CMYK JPEGs do: red = C * K / 255 of stored values.
        for (int y = 0; y < outHeight; ++y) {
            const unsigned char* src = buffer + qsizetype(y) * outWidth * 4;
            unsigned char* dst = buffer + qsizetype(y) * image.bytesPerLine();
            for (int x = 0; x < outWidth; ++x, src += 4, dst += 3) {
                const int k = src[3];
                const int c = src[0] * k, m = src[1] * k, yl = src[2] * k;
                dst[0] = static_cast<unsigned char>((yl + 127) / 255);
                dst[1] = static_cast<unsigned char>((m + 127) / 255);
                dst[2] = static_cast<unsigned char>((c + 127) / 255);
            }
        }
    }

    LoadedPicture result;
    result.image = image;
    result.info.width = width;
    result.info.height = height;
    result.info.bits = colorspace == TJCS_GRAY ? 8 : cmyk ? 32 : 24;
    result.info.format = subsamp == TJSAMP_420   ? kFormatJpeg411
                         : subsamp == TJSAMP_422 ? kFormatJpeg422
                                                 : kFormatJpeg;
    result.info.compression =
        (frame.progressive ? QStringLiteral("Progressive JPEG ") : QStringLiteral("JPEG ")) +
        SubsamplingName(subsamp);
    return result;
}

QByteArray EncodeJpeg(const QImage& source, int quality) {
    const QImage image =
        source.format() == QImage::Format_BGR888 ? source : source.convertToFormat(QImage::Format_BGR888);
    Handle handle(tjInitCompress());
    if (!handle)
        Fail(kErrorMemory, QStringLiteral("Cannot start the JPEG encoder"));
    unsigned char* out = nullptr;
    unsigned long outSize = 0;
    if (tjCompress2(handle.get(), image.constBits(), image.width(), int(image.bytesPerLine()), image.height(),
                    TJPF_BGR, &out, &outSize, TJSAMP_422, quality, 0) != 0) {
        tjFree(out);
        Fail(kErrorFileWrite,
             QStringLiteral("JPEG encoding failed: %1").arg(QString::fromUtf8(tjGetErrorStr2(handle.get()))));
    }
    QByteArray data(reinterpret_cast<const char*>(out), qsizetype(outSize));
    tjFree(out);
    return data;
}

} // namespace Codecs::Detail
