// The sine tone curve and the shear of the canvas component.
#include "CanvasTone.h"

#include "Bitmap24.h"

#include <cmath>
#include <numbers>
#include <stdexcept>

TSineCurveTable SineCurveTable() {
    TSineCurveTable table{};
    for (int i = 0; i < 256; ++i) {
        // Extended precision, then double: in double alone entry 85 misses its exact half (127.5).
        const long double v =
            255.0L * std::sin(static_cast<long double>(i) / 255.0L * std::numbers::pi_v<long double> / 2.0L);
        table[i] = static_cast<std::uint8_t>(Round(static_cast<double>(v)));
    }
    return table;
}

void SineCurve(QImage& bitmap, const TSineCurveTable& table, int passes) {
    if (passes <= 0)
        return;
    Make24Bit(bitmap);
    // n passes of one table are one pass of the table applied n times.
    TSineCurveTable combined;
    for (int c = 0; c < 256; ++c) {
        int v = c;
        for (int pass = 0; pass < passes && v != table[v]; ++pass)
            v = table[v];
        combined[c] = static_cast<std::uint8_t>(v);
    }
    const int bytes = bitmap.width() * 3;
    for (int y = 0; y < bitmap.height(); ++y) {
        std::uint8_t* row = ScanLine(bitmap, y);
        for (int i = 0; i < bytes; ++i)
            row[i] = combined[row[i]];
    }
}

void Slant(QImage& bitmap, int amount) {
    if (amount < 0)
        throw std::invalid_argument("Die Stärke der Schräge darf nicht negativ sein");
    const int width = bitmap.width();
    const int height = bitmap.height();
    if (width <= 0 || height <= 0)
        return;
    Make24Bit(bitmap);
    const long double share = static_cast<long double>(amount) / 100.0L;
    const long double scale = width / (share * height + width);
    QImage slanted = NewWhiteBitmap(width, height);
    for (int y = 0; y < height; ++y) {
        const long double shift = std::nearbyint(share * y);
        const std::uint8_t* source = ScanLine(static_cast<const QImage&>(bitmap), y);
        std::uint8_t* target = ScanLine(slanted, y);
        for (int x = 0; x < width; ++x) {
            long long column = static_cast<long long>(std::nearbyint((shift + x) * scale));
            // Rounding can land the last pixel one past the row; it belongs in the last column.
            if (column > width - 1)
                column = width - 1;
            std::copy_n(source + x * 3, 3, target + column * 3);
        }
    }
    bitmap = slanted;
}
