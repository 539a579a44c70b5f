// Small pictures of known pixels for the effect tests.
#pragma once

#include "tavPaintFX.h"

#include <QImage>

#include <functional>

inline QImage MakePicture(int width, int height, const std::function<TBgrPixel(int, int)>& pixel) {
    QImage picture(width, height, QImage::Format_BGR888);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const TBgrPixel p = pixel(x, y);
            uchar* q = picture.scanLine(y) + x * 3;
            q[0] = p.Blue;
            q[1] = p.Green;
            q[2] = p.Red;
        }
    return picture;
}

inline TBgrPixel PixelAt(const QImage& picture, int x, int y) {
    const uchar* q = picture.constScanLine(y) + x * 3;
    return {q[0], q[1], q[2]};
}

inline TBgrPixel Grey(int v) {
    return {uchar(v), uchar(v), uchar(v)};
}

// A picture in which every pixel differs from its neighbours.
inline QImage Varied(int width, int height) {
    return MakePicture(width, height, [](int x, int y) {
        return TBgrPixel{uchar((x * 37 + y * 11) % 256), uchar((x * 5 + y * 53 + 7) % 256),
                         uchar((x * y * 3 + 91) % 256)};
    });
}

inline void PrintTo(const TBgrPixel& p, std::ostream* os) {
    *os << "(" << int(p.Blue) << ", " << int(p.Green) << ", " << int(p.Red) << ")";
}
