// Tests of the picture file codecs: round trips, the written files' structure, damaged and
// oversized files, reduced JPEG loads, file names and failing writes.
#include "Codecs.h"
#include "Pixels.h"
#include "TempDir.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <tiffio.h>
#include <turbojpeg.h>
#include <unistd.h>

#include <cmath>
#include <functional>

namespace {

using Codecs::CodecError;

// A picture of smooth gradients with a few hard edges, built pixel by pixel.
QImage TestPicture(int width, int height) {
    QImage image(width, height, QImage::Format_BGR888);
    for (int y = 0; y < height; ++y) {
        uchar* p = image.scanLine(y);
        for (int x = 0; x < width; ++x, p += 3) {
            const bool block = (x / 16 + y / 16) % 5 == 0;
            p[0] = uchar(block ? 30 : 255 * y / std::max(1, height - 1));
            p[1] = uchar(255 * x / std::max(1, width - 1));
            p[2] = uchar(block ? 220 : (x + y) * 255 / std::max(1, width + height - 2));
        }
    }
    return image;
}

double Psnr(const QImage& a, const QImage& b) {
    double sum = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width() * 3; ++x) {
            const double d = double(a.constScanLine(y)[x]) - double(b.constScanLine(y)[x]);
            sum += d * d;
        }
    const double mse = sum / (double(a.width()) * a.height() * 3);
    return mse == 0 ? 99 : 10 * std::log10(255.0 * 255.0 / mse);
}

// Averages of 4 x 4 blocks: what the eye sees of a dithered picture.
QImage BlockMeans(const QImage& image) {
    QImage out(image.width() / 4, image.height() / 4, QImage::Format_BGR888);
    for (int y = 0; y < out.height(); ++y)
        for (int x = 0; x < out.width(); ++x)
            for (int c = 0; c < 3; ++c) {
                int sum = 0;
                for (int dy = 0; dy < 4; ++dy)
                    for (int dx = 0; dx < 4; ++dx)
                        sum += image.constScanLine(4 * y + dy)[3 * (4 * x + dx) + c];
                out.scanLine(y)[3 * x + c] = uchar((sum + 8) / 16);
            }
    return out;
}

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    return f.readAll();
}

void WriteAll(const QString& path, const QByteArray& data) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(data);
}

int ErrorCodeOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const CodecError& e) {
        return e.Code();
    }
    return 0;
}

struct FormatCase {
    const char* name;
    int format;
    int bits;
    int expectedFormat;
    int expectedBits;
    double minPsnr;
};

const FormatCase kFormats[] = {
    {"picture.jpg", Codecs::kFormatJpeg422, 24, Codecs::kFormatJpeg422, 24, 32},
    {"picture.tif", Codecs::kFormatTifLzw, 24, Codecs::kFormatTifLzw, 24, 99},
    {"picture.bmp", Codecs::kFormatBmp, 24, Codecs::kFormatBmp, 24, 99},
    {"picture.gif", Codecs::kFormatGif, 8, Codecs::kFormatGif, 8, 29},
};

TEST(CodecsTest, EveryWrittenFormatReadsBackWithItsInfo) {
    TempDir dir;
    const QImage picture = TestPicture(203, 101); // odd width: padded rows
    for (const FormatCase& c : kFormats) {
        SCOPED_TRACE(c.name);
        const QString path = dir.File(c.name);
        Codecs::WritePicture(picture, path, c.format, c.bits, 4);
        const Codecs::LoadedPicture loaded = Codecs::ReadPicture(path);
        EXPECT_EQ(loaded.image.format(), QImage::Format_BGR888);
        EXPECT_EQ(loaded.image.size(), picture.size());
        EXPECT_EQ(loaded.info.width, 203);
        EXPECT_EQ(loaded.info.height, 101);
        EXPECT_EQ(loaded.info.format, c.expectedFormat);
        EXPECT_EQ(loaded.info.bits, c.expectedBits);
        EXPECT_FALSE(loaded.info.compression.isEmpty());
        EXPECT_GE(Psnr(picture, loaded.image), c.minPsnr);
    }
}

TEST(CodecsTest, JpegIsBaselineJfifWith422Sampling) {
    TempDir dir;
    const QString path = dir.File("a.jpg");
    Codecs::WritePicture(TestPicture(64, 48), path, 23, 24, 2);
    const QByteArray data = ReadAll(path);
    // APP0 "JFIF" right after SOI.
    EXPECT_EQ(data.mid(0, 4), QByteArray("\xFF\xD8\xFF\xE0", 4));
    EXPECT_EQ(data.mid(6, 5), QByteArray("JFIF\0", 5));
    const qsizetype sof = data.indexOf(QByteArray("\xFF\xC0", 2));
    ASSERT_GT(sof, 0);
    EXPECT_EQ(data.indexOf(QByteArray("\xFF\xC2", 2)), -1);
    EXPECT_EQ(uchar(data[sof + 9]), 3);     // components
    EXPECT_EQ(uchar(data[sof + 11]), 0x21); // luma: 2 x 1
    EXPECT_EQ(uchar(data[sof + 14]), 0x11);
    EXPECT_EQ(uchar(data[sof + 17]), 0x11);
}

TEST(CodecsTest, QualityFactorsGiveFinerFilesForSmallerFactors) {
    TempDir dir;
    const QImage picture = TestPicture(160, 120);
    qint64 sizes[3];
    const int factors[3] = {2, 4, 22};
    for (int i = 0; i < 3; ++i) {
        const QString path = dir.File(QString("q%1.jpg").arg(factors[i]));
        Codecs::WritePicture(picture, path, 23, 24, factors[i]);
        sizes[i] = QFileInfo(path).size();
    }
    EXPECT_GT(sizes[0], sizes[1]);
    EXPECT_GT(sizes[1], sizes[2]);
}

TEST(CodecsTest, TiffIsLzwWithHorizontalPredictor) {
    TempDir dir;
    const QString path = dir.File("a.tif");
    Codecs::WritePicture(TestPicture(50, 40), path, 17, 24, 4);
    TIFF* tif = TIFFOpen(QFile::encodeName(path).constData(), "r");
    ASSERT_NE(tif, nullptr);
    uint16_t compression = 0, predictor = 0, samples = 0, bits = 0, photometric = 0;
    TIFFGetField(tif, TIFFTAG_COMPRESSION, &compression);
    TIFFGetField(tif, TIFFTAG_PREDICTOR, &predictor);
    TIFFGetField(tif, TIFFTAG_SAMPLESPERPIXEL, &samples);
    TIFFGetField(tif, TIFFTAG_BITSPERSAMPLE, &bits);
    TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &photometric);
    TIFFClose(tif);
    EXPECT_EQ(compression, COMPRESSION_LZW);
    EXPECT_EQ(predictor, PREDICTOR_HORIZONTAL);
    EXPECT_EQ(samples, 3);
    EXPECT_EQ(bits, 8);
    EXPECT_EQ(photometric, PHOTOMETRIC_RGB);
}

TEST(CodecsTest, GifDithersASmoothGradient) {
    TempDir dir;
    // Far more colours than a palette holds, no edges: banding shows unless the error is diffused.
    QImage gradient(256, 256, QImage::Format_BGR888);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x) {
            uchar* p = gradient.scanLine(y) + 3 * x;
            p[0] = uchar((x + y) / 2);
            p[1] = uchar(y);
            p[2] = uchar(x);
        }
    const QString path = dir.File("g.gif");
    Codecs::WritePicture(gradient, path, 2, 8, 4);
    const Codecs::LoadedPicture loaded = Codecs::ReadPicture(path);
    EXPECT_EQ(loaded.info.bits, 8);
    EXPECT_GE(Psnr(gradient, loaded.image), 29);

    // The same palette mapped plainly to the nearest colour, for comparison.
    QList<QRgb> palette;
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x) {
            const uchar* p = loaded.image.constScanLine(y) + 3 * x;
            const QRgb c = qRgb(p[2], p[1], p[0]);
            if (!palette.contains(c))
                palette.append(c);
        }
    ASSERT_LE(palette.size(), 256);
    QImage nearest(256, 256, QImage::Format_BGR888);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x) {
            const uchar* s = gradient.constScanLine(y) + 3 * x;
            QRgb best = 0;
            int bestD = INT32_MAX;
            for (QRgb c : palette) {
                const int d = (qRed(c) - s[2]) * (qRed(c) - s[2]) + (qGreen(c) - s[1]) * (qGreen(c) - s[1]) +
                              (qBlue(c) - s[0]) * (qBlue(c) - s[0]);
                if (d < bestD) {
                    bestD = d;
                    best = c;
                }
            }
            uchar* d = nearest.scanLine(y) + 3 * x;
            d[0] = uchar(qBlue(best));
            d[1] = uchar(qGreen(best));
            d[2] = uchar(qRed(best));
        }
    // Dithering keeps the local averages far closer to the original than plain mapping does.
    EXPECT_GT(Psnr(BlockMeans(gradient), BlockMeans(loaded.image)),
              Psnr(BlockMeans(gradient), BlockMeans(nearest)) + 3);
}

TEST(CodecsTest, TruncatedOrDamagedFilesRaiseAnError) {
    TempDir dir;
    const QImage picture = TestPicture(120, 90);
    for (const FormatCase& c : kFormats) {
        SCOPED_TRACE(c.name);
        const QString path = dir.File(c.name);
        Codecs::WritePicture(picture, path, c.format, c.bits, 4);
        const QByteArray data = ReadAll(path);
        // Cut in the middle of the pixel data, and cut right after the signature.
        for (const qsizetype length : {data.size() / 2, qsizetype(8)})
            EXPECT_NE(ErrorCodeOf([&] { Codecs::DecodePicture(data.left(length)); }), 0) << length;
    }
    // A damaged JPEG entropy stream is an error, not a grey-filled picture.
    const QString jpeg = dir.File("damaged.jpg");
    Codecs::WritePicture(picture, jpeg, 23, 24, 4);
    QByteArray data = ReadAll(jpeg);
    const qsizetype sos = data.indexOf(QByteArray("\xFF\xDA", 2));
    data.truncate(sos + 200);
    data.append("\xFF\xD9", 2);
    EXPECT_EQ(ErrorCodeOf([&] { Codecs::DecodePicture(data); }), Codecs::kErrorCorrupt);
}

// Rewrites a SHORT or LONG entry of the first directory of a little-endian TIFF.
void PatchTiffTag(QByteArray& data, int tag, quint32 value) {
    auto u16 = [&](qsizetype at) { return int(uchar(data[at])) | int(uchar(data[at + 1])) << 8; };
    const qsizetype ifd = qsizetype(uchar(data[4])) | qsizetype(uchar(data[5])) << 8 |
                          qsizetype(uchar(data[6])) << 16 | qsizetype(uchar(data[7])) << 24;
    const int count = u16(ifd);
    for (int i = 0; i < count; ++i) {
        const qsizetype entry = ifd + 2 + 12 * i;
        if (u16(entry) != tag)
            continue;
        if (u16(entry + 2) == 3) {
            data[entry + 8] = char(value & 0xFF);
            data[entry + 9] = char(value >> 8);
        } else {
            for (int b = 0; b < 4; ++b)
                data[entry + 8 + b] = char((value >> (8 * b)) & 0xFF);
        }
        return;
    }
    FAIL() << "tag " << tag << " missing";
}

TEST(CodecsTest, HeadersAnnouncingMoreThan250MegapixelsAreRefused) {
    TempDir dir;
    const QImage picture = TestPicture(16, 16);
    auto written = [&](const char* name, int format, int bits) {
        const QString path = dir.File(name);
        Codecs::WritePicture(picture, path, format, bits, 4);
        return ReadAll(path);
    };
    auto put16 = [](QByteArray& d, qsizetype at, int v, bool bigEndian) {
        d[at] = char(bigEndian ? v >> 8 : v & 0xFF);
        d[at + 1] = char(bigEndian ? v & 0xFF : v >> 8);
    };
    // 20000 x 15000 = 300 megapixels, in each format's own header.
    QByteArray jpeg = written("a.jpg", 23, 24);
    const qsizetype sof = jpeg.indexOf(QByteArray("\xFF\xC0", 2));
    put16(jpeg, sof + 5, 15000, true);
    put16(jpeg, sof + 7, 20000, true);

    QByteArray tiff = written("a.tif", 17, 24);
    PatchTiffTag(tiff, TIFFTAG_IMAGEWIDTH, 20000);
    PatchTiffTag(tiff, TIFFTAG_IMAGELENGTH, 15000);

    QByteArray gif = written("a.gif", 2, 8);
    put16(gif, 6, 20000, false);
    put16(gif, 8, 15000, false);
    const qsizetype frame = 13 + 3 * 256; // after the global colour table
    ASSERT_EQ(gif[frame], ',');
    put16(gif, frame + 5, 20000, false);
    put16(gif, frame + 7, 15000, false);

    QByteArray bmp = written("a.bmp", 6, 24);
    put16(bmp, 18, 20000, false);
    put16(bmp, 22, 15000, false);

    for (const QByteArray* data : {&jpeg, &tiff, &gif, &bmp})
        EXPECT_EQ(ErrorCodeOf([&] { Codecs::DecodePicture(*data); }), Codecs::kErrorTooLarge);
}

TEST(CodecsTest, ReducedJpegLoadUsesTheSmallestCoveringDctScale) {
    TempDir dir;
    const QString path = dir.File("big.jpg");
    Codecs::WritePicture(TestPicture(400, 300), path, 23, 24, 4);
    struct {
        QSize minSize;
        QSize expected;
    } const cases[] = {
        {QSize(0, 70), QSize(100, 75)},    // 1/4
        {QSize(0, 30), QSize(50, 38)},     // 1/8, sizes rounded up
        {QSize(150, 0), QSize(200, 150)},  // 1/2
        {QSize(201, 10), QSize(400, 300)}, // no reduction covers it
        {QSize(), QSize(400, 300)},
    };
    for (const auto& c : cases) {
        const Codecs::LoadedPicture loaded = Codecs::ReadPicture(path, c.minSize);
        EXPECT_EQ(loaded.image.size(), c.expected) << c.minSize.width() << "x" << c.minSize.height();
        EXPECT_EQ(loaded.info.width, 400);
        EXPECT_EQ(loaded.info.height, 300);
    }
}

TEST(CodecsTest, GreyAndCmykJpegsAreRead) {
    tjhandle handle = tjInitCompress();
    std::vector<uchar> grey(32 * 16, 77);
    uchar* out = nullptr;
    unsigned long size = 0;
    ASSERT_EQ(tjCompress2(handle, grey.data(), 32, 32, 16, TJPF_GRAY, &out, &size, TJSAMP_GRAY, 95, 0), 0);
    const QByteArray greyFile(reinterpret_cast<char*>(out), qsizetype(size));
    tjFree(out);
    // Stored CMYK values as inverted-CMYK writers store them: red = C * K / 255 = 255 * 200 / 255.
    std::vector<uchar> cmyk(32 * 16 * 4);
    for (size_t i = 0; i < cmyk.size(); i += 4) {
        cmyk[i] = 255;
        cmyk[i + 1] = 0;
        cmyk[i + 2] = 255;
        cmyk[i + 3] = 200;
    }
    out = nullptr;
    ASSERT_EQ(tjCompress2(handle, cmyk.data(), 32, 32 * 4, 16, TJPF_CMYK, &out, &size, TJSAMP_444, 95, 0), 0);
    const QByteArray cmykFile(reinterpret_cast<char*>(out), qsizetype(size));
    tjFree(out);
    tjDestroy(handle);

    const Codecs::LoadedPicture g = Codecs::DecodePicture(greyFile);
    EXPECT_EQ(g.info.bits, 8);
    EXPECT_EQ(g.info.format, Codecs::kFormatJpeg);
    const uchar* p = g.image.constScanLine(8) + 3 * 8;
    EXPECT_NEAR(p[0], 77, 1);
    EXPECT_NEAR(p[2], 77, 1);

    const Codecs::LoadedPicture c = Codecs::DecodePicture(cmykFile);
    EXPECT_EQ(c.info.bits, 32);
    const uchar* q = c.image.constScanLine(8) + 3 * 8;
    EXPECT_NEAR(q[2], 200, 3); // red
    EXPECT_NEAR(q[1], 0, 3);   // green
    EXPECT_NEAR(q[0], 200, 3); // blue
}

TEST(CodecsTest, TiffVariantsAreRead) {
    TempDir dir;
    // A bilevel strip file (white is 0) and a tiled RGB file, written with libtiff itself.
    const QString bilevel = dir.File("bilevel.tif");
    TIFF* tif = TIFFOpen(QFile::encodeName(bilevel).constData(), "w");
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, 16);
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, 2);
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 1);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 1);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISWHITE);
    TIFFSetField(tif, TIFFTAG_COMPRESSION, COMPRESSION_PACKBITS);
    uchar rows[2][2] = {{0xF0, 0x00}, {0x0F, 0xFF}};
    TIFFWriteScanline(tif, rows[0], 0, 0);
    TIFFWriteScanline(tif, rows[1], 1, 0);
    TIFFClose(tif);

    const QString tiled = dir.File("tiled.tif");
    tif = TIFFOpen(QFile::encodeName(tiled).constData(), "w");
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, 20);
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, 20);
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 3);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tif, TIFFTAG_TILEWIDTH, 16);
    TIFFSetField(tif, TIFFTAG_TILELENGTH, 16);
    std::vector<uchar> tile(16 * 16 * 3);
    for (int t = 0; t < 4; ++t) {
        for (size_t i = 0; i < tile.size(); i += 3) {
            tile[i] = uchar(60 * t);
            tile[i + 1] = 10;
            tile[i + 2] = 250;
        }
        TIFFWriteEncodedTile(tif, uint32_t(t), tile.data(), tmsize_t(tile.size()));
    }
    TIFFClose(tif);

    const Codecs::LoadedPicture b = Codecs::ReadPicture(bilevel);
    EXPECT_EQ(b.info.bits, 1);
    EXPECT_EQ(b.info.format, Codecs::kFormatTif);
    EXPECT_EQ(b.info.compression, "PackBits");
    EXPECT_EQ(b.image.constScanLine(0)[0], 0);       // set bit: black
    EXPECT_EQ(b.image.constScanLine(0)[3 * 4], 255); // clear bit: white
    EXPECT_EQ(b.image.constScanLine(1)[3 * 4], 0);

    const Codecs::LoadedPicture t = Codecs::ReadPicture(tiled);
    EXPECT_EQ(t.info.bits, 24);
    EXPECT_EQ(t.info.compression, "Uncompressed");
    const uchar* p = t.image.constScanLine(18) + 3 * 18; // fourth tile
    EXPECT_EQ(p[2], 180);
    EXPECT_EQ(p[1], 10);
    EXPECT_EQ(p[0], 250);
}

TEST(CodecsTest, MissingFilesAndUnknownContent) {
    TempDir dir;
    EXPECT_EQ(ErrorCodeOf([&] { Codecs::ReadPicture(dir.File("none.jpg")); }), Codecs::kErrorFileNotFound);
    WriteAll(dir.File("text.jpg"), "just some text");
    EXPECT_EQ(ErrorCodeOf([&] { Codecs::ReadPicture(dir.File("text.jpg")); }), Codecs::kErrorFormat);
    // Content decides, not the name.
    Codecs::WritePicture(TestPicture(8, 8), dir.File("really_gif.jpg"), 2, 8, 4);
    EXPECT_EQ(Codecs::ReadPicture(dir.File("really_gif.jpg")).info.format, Codecs::kFormatGif);
}

TEST(CodecsTest, OnlyTheListedFormatCombinationsAreWritten) {
    TempDir dir;
    const QString path = dir.File("keep.jpg");
    Codecs::WritePicture(TestPicture(8, 8), path, 23, 24, 4);
    const QByteArray before = ReadAll(path);
    for (const auto& [format, bits] : {std::pair{23, 8}, {17, 8}, {6, 8}, {2, 24}, {10, 24}, {3, 24}})
        EXPECT_EQ(ErrorCodeOf([&] { Codecs::WritePicture(TestPicture(8, 8), path, format, bits, 4); }),
                  Codecs::kErrorUnsupported);
    EXPECT_EQ(ReadAll(path), before);
}

TEST(CodecsTest, OddFileNamesAndReplacingAFile) {
    TempDir dir;
    for (const char* name : {"Bild mit Ümlaut.jpg", "a > b.tif", "x | y.gif", "  blanks  .bmp"}) {
        const QString path = dir.File(QString::fromUtf8(name));
        Codecs::WritePicture(TestPicture(10, 10), path, 23, 24, 4);
        Codecs::WritePicture(TestPicture(30, 20), path, 23, 24, 4); // replaces the first
        EXPECT_EQ(Codecs::ReadPicture(path).image.size(), QSize(30, 20)) << name;
    }
    EXPECT_EQ(QDir(dir.Path()).entryList(QDir::Files).size(), 4); // no temporary file left
}

TEST(CodecsTest, FailingWritesNameTheFile) {
    TempDir dir;
    QDir(dir.Path()).mkdir("folder.jpg");
    const QString targets[] = {dir.File("folder.jpg"), dir.File("missing/a.jpg")};
    for (const QString& target : targets) {
        try {
            Codecs::WritePicture(TestPicture(8, 8), target, 23, 24, 4);
            ADD_FAILURE() << "no error for " << target.toStdString();
        } catch (const CodecError& e) {
            EXPECT_EQ(e.Code(), Codecs::kErrorFileWrite);
            EXPECT_NE(QString::fromStdString(e.what()).indexOf(target), -1) << e.what();
        }
    }
}

TEST(CodecsTest, ReadOnlyFolderRefusesTheWriteAndKeepsTheFile) {
    if (geteuid() == 0)
        GTEST_SKIP() << "root ignores permission bits";
    TempDir dir;
    const QString path = dir.File("a.jpg");
    Codecs::WritePicture(TestPicture(8, 8), path, 23, 24, 4);
    const QByteArray before = ReadAll(path);
    QFile::setPermissions(dir.Path(), QFile::ReadOwner | QFile::ExeOwner);
    EXPECT_EQ(ErrorCodeOf([&] { Codecs::WritePicture(TestPicture(9, 9), path, 23, 24, 4); }),
              Codecs::kErrorFileWrite);
    QFile::setPermissions(dir.Path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(ReadAll(path), before);
}

} // namespace
