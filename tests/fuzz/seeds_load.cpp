// Seeds for fuzz_load: small valid pictures of every format and variant the decoders know.
#include "Codecs.h"
#include "FuzzSeeds.h"

#include <QDir>
#include <QFile>
#include <tiffio.h>
#include <turbojpeg.h>

#include <vector>

namespace {

QImage Picture(int width, int height) {
    QImage image(width, height, QImage::Format_BGR888);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            uchar* p = image.scanLine(y) + 3 * x;
            p[0] = uchar(x * 8);
            p[1] = uchar(y * 8);
            p[2] = uchar((x ^ y) * 8);
        }
    return image;
}

void WriteTurbo(const QString& path, const unsigned char* pixels, int pitch, int format, int subsamp,
                int flags) {
    tjhandle handle = tjInitCompress();
    unsigned char* out = nullptr;
    unsigned long size = 0;
    if (tjCompress2(handle, pixels, 24, pitch, 16, format, &out, &size, subsamp, 85, flags) == 0) {
        QFile f(path);
        if (f.open(QIODevice::WriteOnly))
            f.write(reinterpret_cast<const char*>(out), qint64(size));
    }
    tjFree(out);
    tjDestroy(handle);
}

void WriteTiff(const QString& path, int compression, int bits, int photometric, bool tiled) {
    TIFF* tif = TIFFOpen(QFile::encodeName(path).constData(), "w");
    if (!tif)
        return;
    const int samples = photometric == PHOTOMETRIC_RGB ? 3 : 1;
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, 16);
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, 16);
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, bits);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, samples);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, photometric);
    TIFFSetField(tif, TIFFTAG_COMPRESSION, compression);
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    if (photometric == PHOTOMETRIC_PALETTE) {
        std::vector<uint16_t> r(size_t(1) << bits), g(r.size()), b(r.size());
        for (size_t i = 0; i < r.size(); ++i)
            r[i] = g[i] = b[i] = uint16_t(i * 65535 / (r.size() - 1));
        TIFFSetField(tif, TIFFTAG_COLORMAP, r.data(), g.data(), b.data());
    }
    std::vector<unsigned char> data(size_t(16 * 16 * samples * bits / 8 + 16), 0);
    for (size_t i = 0; i < data.size(); ++i)
        data[i] = uchar(i * 7);
    if (tiled) {
        TIFFSetField(tif, TIFFTAG_TILEWIDTH, 16);
        TIFFSetField(tif, TIFFTAG_TILELENGTH, 16);
        TIFFWriteEncodedTile(tif, 0, data.data(), tmsize_t(TIFFTileSize(tif)));
    } else {
        TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, 4);
        const tmsize_t rowBytes = TIFFScanlineSize(tif);
        for (uint32_t y = 0; y < 16; ++y)
            TIFFWriteScanline(tif, data.data() + y * rowBytes, y, 0);
    }
    TIFFClose(tif);
}

void WriteSeeds(const QString& folder) {
    const QDir dir(folder);
    const QImage picture = Picture(24, 16);
    Codecs::WritePicture(picture, dir.filePath("a.jpg"), 23, 24, 4);
    Codecs::WritePicture(picture, dir.filePath("a.tif"), 17, 24, 4);
    Codecs::WritePicture(picture, dir.filePath("a.gif"), 2, 8, 4);
    Codecs::WritePicture(picture, dir.filePath("a.bmp"), 6, 24, 4);
    QImage indexed = picture.convertToFormat(QImage::Format_Indexed8);
    indexed.save(dir.filePath("indexed.bmp"), "BMP");

    const uchar* bgr = picture.constBits();
    const int pitch = int(picture.bytesPerLine());
    WriteTurbo(dir.filePath("444.jpg"), bgr, pitch, TJPF_BGR, TJSAMP_444, 0);
    WriteTurbo(dir.filePath("420.jpg"), bgr, pitch, TJPF_BGR, TJSAMP_420, 0);
    WriteTurbo(dir.filePath("progressive.jpg"), bgr, pitch, TJPF_BGR, TJSAMP_420, TJFLAG_PROGRESSIVE);
    std::vector<uchar> grey(24 * 16), cmyk(24 * 16 * 4);
    for (size_t i = 0; i < grey.size(); ++i)
        grey[i] = uchar(i);
    for (size_t i = 0; i < cmyk.size(); ++i)
        cmyk[i] = uchar(i * 3);
    WriteTurbo(dir.filePath("grey.jpg"), grey.data(), 24, TJPF_GRAY, TJSAMP_GRAY, 0);
    WriteTurbo(dir.filePath("cmyk.jpg"), cmyk.data(), 24 * 4, TJPF_CMYK, TJSAMP_444, 0);

    WriteTiff(dir.filePath("bilevel.tif"), COMPRESSION_CCITTFAX4, 1, PHOTOMETRIC_MINISWHITE, false);
    WriteTiff(dir.filePath("grey.tif"), COMPRESSION_PACKBITS, 8, PHOTOMETRIC_MINISBLACK, false);
    WriteTiff(dir.filePath("palette.tif"), COMPRESSION_LZW, 4, PHOTOMETRIC_PALETTE, false);
    WriteTiff(dir.filePath("rgb16.tif"), COMPRESSION_ADOBE_DEFLATE, 16, PHOTOMETRIC_RGB, false);
    WriteTiff(dir.filePath("tiled.tif"), COMPRESSION_NONE, 8, PHOTOMETRIC_RGB, true);
}

const bool registered = RegisterSeedWriter("fuzz_load", WriteSeeds);

} // namespace
