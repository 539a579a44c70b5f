// Picture files: the engine's format codes mapped onto libjpeg-turbo, libtiff, giflib with
// libimagequant, and Qt's BMP codec. Pixels always come back as 24-bit QImage::Format_BGR888.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

#include <cstdint>
#include <stdexcept>

namespace Codecs {

// The engine's file format codes that this program reads or writes.
enum FormatCode : int {
    kFormatGif = 2,
    kFormatTif = 3,
    kFormatBmp = 6,
    kFormatJpeg = 10, // JFIF, 4:4:4 or grey
    kFormatTifLzw = 17,
    kFormatJpeg411 = 21, // 4:2:0 chroma subsampling
    kFormatJpeg422 = 23,
};

// A header announcing more pixels than this is refused before any pixel memory is taken.
constexpr std::int64_t kMaxPixels = 250'000'000;

// A failure of the codec layer: the engine's error number and its message.
class CodecError : public std::runtime_error {
public:
    CodecError(int code, const std::string& message) : std::runtime_error(message), code(code) {}
    int Code() const { return code; }

private:
    int code;
};

// Error numbers of the codec layer.
enum ErrorCode : int {
    kErrorFileNotFound = -10,
    kErrorFileRead = -11,
    kErrorFileWrite = -12,
    kErrorFormat = -13,      // not a picture this engine reads
    kErrorCorrupt = -14,     // truncated or damaged picture data
    kErrorTooLarge = -15,    // the 250-megapixel guard
    kErrorUnsupported = -16, // a format/bits combination this engine does not write
    kErrorMemory = -17,
};

struct PictureInfo {
    int width = 0;
    int height = 0;
    int bits = 0;   // depth of the file as stored: 1, 4, 8, 24 ...
    int format = 0; // FormatCode
    QString compression;
};

struct LoadedPicture {
    QImage image; // Format_BGR888
    PictureInfo info;
};

// Reads the first picture of a file. minSize, when valid, is the smallest size the caller needs:
// a JPEG is then decoded with DCT scaling (1/2, 1/4, 1/8) to the smallest scale that still covers
// it, so a thumbnail does not pay for the full decode. info describes the file, not the reduction.
LoadedPicture ReadPicture(const QString& path, QSize minSize = QSize());

// The same from bytes in memory (used by the fuzz targets and by ReadPicture itself).
LoadedPicture DecodePicture(const QByteArray& bytes, QSize minSize = QSize());

// Encodes a picture as WritePicture writes it, without writing it.
QByteArray EncodePicture(const QImage& image, int format, int bits, int qualityFactor);

// Writes bytes to a file safely: into a temporary file beside it, then renamed over it, so a
// failure leaves the old file as it was.
void WriteFile(const QString& path, const QByteArray& data);

// Writes a picture: format 23 (baseline JFIF, 4:2:2; quality factor 2 -> 95, 4 -> 90, 22 -> 75),
// 17 (24-bit LZW TIFF with horizontal predictor), 6 (24-bit BMP) or 2 (8-bit GIF, quantised and
// dithered). Other combinations raise kErrorUnsupported. The target is replaced.
void WritePicture(const QImage& image, const QString& path, int format, int bits, int qualityFactor);

} // namespace Codecs
