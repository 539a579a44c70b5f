// The 24-bit bitmap the effects work on (QImage::Format_BGR888), its checked row access and the
// number helpers (Round, Trunc, ClampByte) that define the effects' results.
#pragma once

#include <QImage>

#include <cmath>
#include <cstdint>
#include <stdexcept>

// Raised when a row outside the bitmap is asked for.
class ERowIndexError : public std::out_of_range {
public:
    ERowIndexError() : std::out_of_range("Bereichsüberschreitung bei Zeilenindex") {}
};

// Row y of a 24-bit bitmap: blue, green, red per pixel.
inline std::uint8_t* ScanLine(QImage& bitmap, int y) {
    if (y < 0 || y >= bitmap.height())
        throw ERowIndexError();
    return bitmap.scanLine(y);
}

inline const std::uint8_t* ScanLine(const QImage& bitmap, int y) {
    if (y < 0 || y >= bitmap.height())
        throw ERowIndexError();
    return bitmap.constScanLine(y);
}

// Converts the bitmap to 24 bits per pixel unless it is already.
inline void Make24Bit(QImage& bitmap) {
    if (bitmap.format() != QImage::Format_BGR888)
        bitmap = bitmap.convertToFormat(QImage::Format_BGR888);
}

// A freshly sized 24-bit bitmap is white.
inline QImage NewWhiteBitmap(int width, int height) {
    QImage bitmap(width, height, QImage::Format_BGR888);
    if (bitmap.isNull() && width > 0 && height > 0)
        throw std::bad_alloc();
    bitmap.fill(Qt::white);
    return bitmap;
}

// Halves go to the even neighbour (the default rounding mode).
inline double Round(double v) {
    return std::nearbyint(v);
}
inline int Trunc(double v) {
    return static_cast<int>(v);
}

inline int ClampByte(int v) {
    return v < 0 ? 0 : (v > 255 ? 255 : v);
}
