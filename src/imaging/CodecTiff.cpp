// TIFF through libtiff: the first page of any file libtiff reads, converted band by band into the
// 24-bit picture; writing 24-bit RGB with LZW and the horizontal predictor.
#include "CodecInternal.h"
#include "Pixels.h"

#include <tiffio.h>

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstring>
#include <memory>
#include <vector>

namespace Codecs::Detail {
namespace {

// A file in memory for libtiff's client interface; writing grows the array.
struct MemoryFile {
    QByteArray* data = nullptr;
    const QByteArray* input = nullptr;
    qint64 pos = 0;
    QString message; // the first error libtiff reported
};

tmsize_t ReadProc(thandle_t h, void* buffer, tmsize_t size) {
    auto* f = static_cast<MemoryFile*>(h);
    const qint64 available = std::max<qint64>(0, f->input->size() - f->pos);
    const qint64 n = std::min<qint64>(size, available);
    if (n > 0)
        std::memcpy(buffer, f->input->constData() + f->pos, size_t(n));
    f->pos += n;
    return tmsize_t(n);
}

tmsize_t WriteProc(thandle_t h, void* buffer, tmsize_t size) {
    auto* f = static_cast<MemoryFile*>(h);
    if (!f->data)
        return 0;
    const qint64 end = f->pos + size;
    if (end > f->data->size())
        f->data->resize(qsizetype(end));
    std::memcpy(f->data->data() + f->pos, buffer, size_t(size));
    f->pos = end;
    return size;
}

toff_t SeekProc(thandle_t h, toff_t offset, int whence) {
    auto* f = static_cast<MemoryFile*>(h);
    const qint64 size = f->data ? f->data->size() : f->input->size();
    qint64 base = whence == SEEK_CUR ? f->pos : whence == SEEK_END ? size : 0;
    f->pos = base + qint64(offset);
    return toff_t(f->pos);
}

int CloseProc(thandle_t) {
    return 0;
}

toff_t SizeProc(thandle_t h) {
    auto* f = static_cast<MemoryFile*>(h);
    return toff_t(f->data ? f->data->size() : f->input->size());
}

int MapProc(thandle_t h, void** base, toff_t* size) {
    auto* f = static_cast<MemoryFile*>(h);
    if (f->data)
        return 0;
    *base = const_cast<char*>(f->input->constData());
    *size = toff_t(f->input->size());
    return 1;
}

void UnmapProc(thandle_t, void*, toff_t) {}

int ErrorHandler(TIFF*, void* user, const char* module, const char* format, va_list args) {
    auto* f = static_cast<MemoryFile*>(user);
    if (f->message.isEmpty()) {
        char text[512];
        std::vsnprintf(text, sizeof text, format, args);
        f->message = QString::fromUtf8(module ? module : "") + QStringLiteral(": ") + QString::fromUtf8(text);
    }
    return 1; // handled: nothing reaches stderr
}

int WarningHandler(TIFF*, void*, const char*, const char*, va_list) {
    return 1;
}

struct TiffCloser {
    void operator()(TIFF* tif) const { TIFFClose(tif); }
};
using TiffPtr = std::unique_ptr<TIFF, TiffCloser>;

TiffPtr Open(MemoryFile& file, const char* mode) {
    // The process-wide handlers still print for calls without a handle; silence them once.
    static const bool silenced = [] {
        TIFFSetErrorHandler(nullptr);
        TIFFSetWarningHandler(nullptr);
        return true;
    }();
    (void)silenced;
    TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
    TIFFOpenOptionsSetErrorHandlerExtR(options, ErrorHandler, &file);
    TIFFOpenOptionsSetWarningHandlerExtR(options, WarningHandler, &file);
    // libtiff's own buffers (strips, tiles, tag arrays) stay far below a whole picture.
    TIFFOpenOptionsSetMaxSingleMemAlloc(options, 256 * 1024 * 1024);
    TIFF* tif = TIFFClientOpenExt("picture", mode, &file, ReadProc, WriteProc, SeekProc, CloseProc, SizeProc,
                                  MapProc, UnmapProc, options);
    TIFFOpenOptionsFree(options);
    return TiffPtr(tif);
}

[[noreturn]] void Corrupt(const MemoryFile& file) {
    Fail(kErrorCorrupt, QStringLiteral("Corrupt TIFF file: %1")
                            .arg(file.message.isEmpty() ? QStringLiteral("bad data") : file.message));
}

QString CompressionName(int compression) {
    switch (compression) {
    case COMPRESSION_NONE:
        return QStringLiteral("Uncompressed");
    case COMPRESSION_LZW:
        return QStringLiteral("LZW");
    case COMPRESSION_PACKBITS:
        return QStringLiteral("PackBits");
    case COMPRESSION_DEFLATE:
    case COMPRESSION_ADOBE_DEFLATE:
        return QStringLiteral("Deflate");
    case COMPRESSION_JPEG:
    case COMPRESSION_OJPEG:
        return QStringLiteral("JPEG");
    case COMPRESSION_CCITTRLE:
        return QStringLiteral("CCITT RLE");
    case COMPRESSION_CCITTFAX3:
        return QStringLiteral("CCITT Group 3");
    case COMPRESSION_CCITTFAX4:
        return QStringLiteral("CCITT Group 4");
    default:
        return QStringLiteral("Compressed");
    }
}

// Composites one RGBA pixel on white, the picture's background.
inline void PutRgba(unsigned char* dst, uint32_t p) {
    const int a = int(TIFFGetA(p));
    const int inv = 255 - a;
    dst[0] = static_cast<unsigned char>(std::min(255, int(TIFFGetB(p)) + inv));
    dst[1] = static_cast<unsigned char>(std::min(255, int(TIFFGetG(p)) + inv));
    dst[2] = static_cast<unsigned char>(std::min(255, int(TIFFGetR(p)) + inv));
}

} // namespace

LoadedPicture DecodeTiff(const QByteArray& bytes) {
    MemoryFile file;
    file.input = &bytes;
    TiffPtr tif = Open(file, "r");
    if (!tif)
        Corrupt(file);
    uint32_t width = 0, height = 0;
    uint16_t bitsPerSample = 1, samples = 1, photometric = PHOTOMETRIC_MINISWHITE,
             planar = PLANARCONFIG_CONTIG, compression = COMPRESSION_NONE;
    if (!TIFFGetField(tif.get(), TIFFTAG_IMAGEWIDTH, &width) ||
        !TIFFGetField(tif.get(), TIFFTAG_IMAGELENGTH, &height))
        Corrupt(file);
    Pixels::CheckSize(width, height);
    TIFFGetFieldDefaulted(tif.get(), TIFFTAG_BITSPERSAMPLE, &bitsPerSample);
    TIFFGetFieldDefaulted(tif.get(), TIFFTAG_SAMPLESPERPIXEL, &samples);
    TIFFGetFieldDefaulted(tif.get(), TIFFTAG_PLANARCONFIG, &planar);
    TIFFGetFieldDefaulted(tif.get(), TIFFTAG_COMPRESSION, &compression);
    TIFFGetField(tif.get(), TIFFTAG_PHOTOMETRIC, &photometric);

    char message[1024] = "";
    if (!TIFFRGBAImageOK(tif.get(), message))
        Fail(kErrorCorrupt, QStringLiteral("Unsupported TIFF file: %1").arg(QString::fromUtf8(message)));

    QImage image = Pixels::NewBitmap(int(width), int(height));
    const bool tiled = TIFFIsTiled(tif.get());
    const bool simple =
        !tiled && planar == PLANARCONFIG_CONTIG && bitsPerSample == 8 &&
        ((photometric == PHOTOMETRIC_RGB && samples == 3) ||
         ((photometric == PHOTOMETRIC_MINISBLACK || photometric == PHOTOMETRIC_MINISWHITE) && samples == 1));
    if (simple) {
        // The common files: scanline by scanline, so even a single-strip file needs one row buffer.
        std::vector<unsigned char> row(size_t(TIFFScanlineSize(tif.get())));
        for (uint32_t y = 0; y < height; ++y) {
            if (TIFFReadScanline(tif.get(), row.data(), y, 0) < 0)
                Corrupt(file);
            unsigned char* dst = image.scanLine(int(y));
            if (samples == 3) {
                for (uint32_t x = 0; x < width; ++x, dst += 3) {
                    dst[0] = row[3 * x + 2];
                    dst[1] = row[3 * x + 1];
                    dst[2] = row[3 * x];
                }
            } else {
                const bool invert = photometric == PHOTOMETRIC_MINISWHITE;
                for (uint32_t x = 0; x < width; ++x, dst += 3)
                    dst[0] = dst[1] = dst[2] = static_cast<unsigned char>(invert ? 255 - row[x] : row[x]);
            }
        }
    } else {
        // Everything else through libtiff's RGBA conversion, one band of strips or tiles at a time.
        TIFFRGBAImage rgba;
        if (!TIFFRGBAImageBegin(&rgba, tif.get(), 0, message))
            Fail(kErrorCorrupt, QStringLiteral("Unsupported TIFF file: %1").arg(QString::fromUtf8(message)));
        rgba.req_orientation = ORIENTATION_TOPLEFT;
        rgba.orientation = ORIENTATION_TOPLEFT;
        uint32_t band = 0;
        if (tiled)
            TIFFGetField(tif.get(), TIFFTAG_TILELENGTH, &band);
        else
            TIFFGetFieldDefaulted(tif.get(), TIFFTAG_ROWSPERSTRIP, &band);
        band = std::clamp<uint32_t>(band, 1, height);
        if (qint64(band) * width * 4 > 256LL * 1024 * 1024) {
            TIFFRGBAImageEnd(&rgba);
            Fail(kErrorTooLarge, QStringLiteral("TIFF strips of %1 rows are too large").arg(band));
        }
        std::vector<uint32_t> raster(size_t(band) * width);
        for (uint32_t y = 0; y < height; y += band) {
            const uint32_t rows = std::min(band, height - y);
            rgba.row_offset = int(y);
            rgba.col_offset = 0;
            if (!TIFFRGBAImageGet(&rgba, raster.data(), width, rows)) {
                TIFFRGBAImageEnd(&rgba);
                Corrupt(file);
            }
            for (uint32_t r = 0; r < rows; ++r) {
                unsigned char* dst = image.scanLine(int(y + r));
                const uint32_t* src = raster.data() + size_t(r) * width;
                for (uint32_t x = 0; x < width; ++x, dst += 3)
                    PutRgba(dst, src[x]);
            }
        }
        TIFFRGBAImageEnd(&rgba);
    }
    if (!file.message.isEmpty())
        Corrupt(file);

    LoadedPicture result;
    result.image = image;
    result.info.width = int(width);
    result.info.height = int(height);
    result.info.bits = int(bitsPerSample) * int(samples);
    result.info.format = compression == COMPRESSION_LZW ? kFormatTifLzw : kFormatTif;
    result.info.compression = CompressionName(compression);
    return result;
}

QByteArray EncodeTiff(const QImage& source) {
    const QImage image =
        source.format() == QImage::Format_BGR888 ? source : source.convertToFormat(QImage::Format_BGR888);
    QByteArray data;
    data.reserve(qsizetype(image.sizeInBytes() / 2));
    MemoryFile file;
    file.data = &data;
    file.input = &data;
    TiffPtr tif = Open(file, "w");
    if (!tif)
        Fail(kErrorFileWrite, QStringLiteral("Cannot start the TIFF encoder"));
    const int width = image.width(), height = image.height();
    // Strips of about 64 KiB: small enough for any reader, large enough to cost nothing.
    const uint32_t rowsPerStrip = uint32_t(std::clamp(65536 / (width * 3), 1, height));
    TIFFSetField(tif.get(), TIFFTAG_IMAGEWIDTH, uint32_t(width));
    TIFFSetField(tif.get(), TIFFTAG_IMAGELENGTH, uint32_t(height));
    TIFFSetField(tif.get(), TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(tif.get(), TIFFTAG_SAMPLESPERPIXEL, 3);
    TIFFSetField(tif.get(), TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
    TIFFSetField(tif.get(), TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tif.get(), TIFFTAG_COMPRESSION, COMPRESSION_LZW);
    TIFFSetField(tif.get(), TIFFTAG_PREDICTOR, PREDICTOR_HORIZONTAL);
    TIFFSetField(tif.get(), TIFFTAG_ROWSPERSTRIP, rowsPerStrip);
    TIFFSetField(tif.get(), TIFFTAG_ORIENTATION, ORIENTATION_TOPLEFT);
    std::vector<unsigned char> row(size_t(width) * 3);
    for (int y = 0; y < height; ++y) {
        const unsigned char* src = image.constScanLine(y);
        for (int x = 0; x < width; ++x) {
            row[3 * x] = src[3 * x + 2];
            row[3 * x + 1] = src[3 * x + 1];
            row[3 * x + 2] = src[3 * x];
        }
        if (TIFFWriteScanline(tif.get(), row.data(), uint32_t(y), 0) < 0)
            Fail(kErrorFileWrite, QStringLiteral("TIFF encoding failed: %1").arg(file.message));
    }
    if (!TIFFWriteDirectory(tif.get()))
        Fail(kErrorFileWrite, QStringLiteral("TIFF encoding failed: %1").arg(file.message));
    tif.reset();
    return data;
}

} // namespace Codecs::Detail
