// The pixel effects of TtavPaintFX. Pixels are blue, green, red; rows are visited top to bottom and
// pixels left to right, which the in-place effects rely on.
#include "tavPaintFX.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <stdexcept>
#include <thread>
#include <vector>

namespace {

constexpr float kHalfPi = 1.5707964f;
constexpr float kPi = 3.14159265358979f;
// Below this many pixels a second thread costs more than it saves.
constexpr long long kParallelPixels = 1 << 16;

using TByteTable = std::array<std::uint8_t, 256>;

void ApplyTable(QImage& bitmap, const TByteTable& table, int y0, int y1) {
    const int bytes = bitmap.width() * 3;
    for (int y = y0; y < y1; ++y) {
        std::uint8_t* row = ScanLine(bitmap, y);
        for (int i = 0; i < bytes; ++i)
            row[i] = table[row[i]];
    }
}

void RequireSameSize(const QImage& a, const QImage& b) {
    if (a.size() != b.size())
        throw std::invalid_argument("Quell- und Zielbild müssen gleich groß sein");
}

// Trunc for positions that may lie far outside the picture (or be infinite): the wrap only needs the
// value modulo the size, so it is kept within 64 bits.
long long TruncPosition(float v) {
    if (std::isnan(v))
        return 0;
    constexpr float kLimit = 4.0e18f;
    if (v >= kLimit)
        return static_cast<long long>(kLimit);
    if (v <= -kLimit)
        return -static_cast<long long>(kLimit);
    return static_cast<long long>(v);
}

// Round (halves to even) of a weighted sum of bytes. Adding and taking away 2^23 rounds a float in
// 0..2^23 to an integer in the current rounding mode, without a library call per channel.
inline std::uint8_t SumToByte(float sum) {
    if (!(sum > 0.0f))
        return 0;
    if (sum >= 255.0f)
        return 255;
    constexpr float kRoundingShift = 8388608.0f;
    const float shifted = sum + kRoundingShift;
    const float rounded = shifted - kRoundingShift;
    return static_cast<std::uint8_t>(rounded);
}

// The base wrap of SampleWrapped; positions just past an edge, the common case, avoid the division.
inline long long WrapBase(long long i, long long size) {
    if (i < 0) {
        const long long m = -i < size ? -i : (-i) % size;
        return (size - 1) - m;
    }
    if (i > size - 1)
        return i < 2 * size ? i - size : i % size;
    return i;
}

// The sample of SampleWrapped on raw rows; width and height are non-zero.
inline TBgrPixel Sample(const std::uint8_t* bits, qsizetype stride, long long width, long long height,
                        float sx, float sy) {
    long long ix = TruncPosition(sx);
    long long iy = TruncPosition(sy);
    float wx[2];
    float wy[2];
    if (sx >= 0.0f) {
        const float g = sx - static_cast<float>(ix);
        wx[0] = 1.0f - g;
        wx[1] = g;
    } else {
        const float g = static_cast<float>(ix) - sx;
        wx[0] = g;
        wx[1] = 1.0f - g;
    }
    if (sy >= 0.0f) {
        const float g = sy - static_cast<float>(iy);
        wy[0] = 1.0f - g;
        wy[1] = g;
    } else {
        const float g = static_cast<float>(iy) - sy;
        wy[0] = g;
        wy[1] = 1.0f - g;
    }
    ix = WrapBase(ix, width);
    iy = WrapBase(iy, height);

    float sumB = 0.0f;
    float sumG = 0.0f;
    float sumR = 0.0f;
    for (int i = 0; i < 2; ++i) {
        long long column = ix + i;
        if (column > width - 1)
            column = width - ix - i;
        for (int j = 0; j < 2; ++j) {
            long long row = iy + j;
            if (row > height - 1)
                row = height - iy - j;
            const float weight = wx[i] * wy[j];
            const std::uint8_t* p = bits + row * stride + column * 3;
            const float b = static_cast<float>(p[0]) * weight;
            const float g = static_cast<float>(p[1]) * weight;
            const float r = static_cast<float>(p[2]) * weight;
            sumB = sumB + b;
            sumG = sumG + g;
            sumR = sumR + r;
        }
    }
    return {SumToByte(sumB), SumToByte(sumG), SumToByte(sumR)};
}

// The source and destination of a distortion, checked and in 24 bits.
const QImage& PrepareDistortion(const QImage& source, QImage& destination, QImage& converted) {
    if (&source == &destination)
        throw std::invalid_argument("Quell- und Zielbild müssen verschiedene Bitmaps sein");
    RequireSameSize(source, destination);
    Make24Bit(destination);
    if (source.format() == QImage::Format_BGR888)
        return source;
    converted = source.convertToFormat(QImage::Format_BGR888);
    return converted;
}

// Visits rows y0..y1-1 in strips of a few rows and, within a strip, in blocks of columns, so that
// a distortion's reads stay in a small part of the source. Only for effects whose pixels do not
// depend on the visiting order.
template <typename Run> void ForBlocks(int y0, int y1, int width, Run&& run) {
    constexpr int kStripRows = 16;
    constexpr int kBlockColumns = 64;
    for (int strip = y0; strip < y1; strip += kStripRows)
        for (int x0 = 0; x0 < width; x0 += kBlockColumns)
            for (int y = strip; y < std::min(y1, strip + kStripRows); ++y)
                run(y, x0, std::min(width, x0 + kBlockColumns));
}

} // namespace

TRandomGenerator& ProcessRandom() {
    static TRandomGenerator generator;
    return generator;
}

float PolarAngle(float x, float y) {
    if (x == 0.0f)
        return y > 0.0f ? kHalfPi : -kHalfPi;
    const float q = y / x;
    float angle = std::atan(q);
    if (x < 0.0f)
        angle = angle + kPi;
    return angle;
}

TBgrPixel SampleWrapped(const QImage& source, float sx, float sy) {
    if (source.width() <= 0 || source.height() <= 0)
        throw std::invalid_argument("Das Bild ist leer");
    if (source.format() != QImage::Format_BGR888) {
        const QImage converted = source.convertToFormat(QImage::Format_BGR888);
        return Sample(converted.constBits(), converted.bytesPerLine(), converted.width(), converted.height(),
                      sx, sy);
    }
    return Sample(source.constBits(), source.bytesPerLine(), source.width(), source.height(), sx, sy);
}

template <typename RowRange>
void TtavPaintFX::ForRows(QImage& written, long long pixels, RowRange&& rowRange) const {
    // A picture that shares its pixels must get its own copy here, before threads write rows.
    written.bits();
    const int height = written.height();
    const int threads = std::min(Threads, height);
    if (threads <= 1 || pixels < kParallelPixels) {
        rowRange(0, height);
        return;
    }
    std::vector<std::thread> workers;
    for (int t = 1; t < threads; ++t)
        workers.emplace_back([&, t] {
            rowRange(static_cast<int>(static_cast<long long>(height) * t / threads),
                     static_cast<int>(static_cast<long long>(height) * (t + 1) / threads));
        });
    rowRange(0, static_cast<int>(height / threads));
    for (std::thread& worker : workers)
        worker.join();
}

void TtavPaintFX::ApplyBrightness(QImage& bitmap, int amount) const {
    Make24Bit(bitmap);
    TByteTable table;
    for (int c = 0; c < 256; ++c)
        table[c] = static_cast<std::uint8_t>(
            ClampByte(c + static_cast<int>((static_cast<long long>(amount) * (255 - c)) / 255)));
    ForRows(bitmap, 1LL * bitmap.width() * bitmap.height(),
            [&](int y0, int y1) { ApplyTable(bitmap, table, y0, y1); });
}

void TtavPaintFX::ApplyContrast(QImage& bitmap, int amount) const {
    Make24Bit(bitmap);
    TByteTable table;
    for (int c = 0; c < 256; ++c) {
        const long long d = (static_cast<long long>(std::abs(127 - c)) * amount) / 255;
        const long long v = c > 127 ? c + d : c - d;
        table[c] = static_cast<std::uint8_t>(v < 0 ? 0 : (v > 255 ? 255 : v));
    }
    ForRows(bitmap, 1LL * bitmap.width() * bitmap.height(),
            [&](int y0, int y1) { ApplyTable(bitmap, table, y0, y1); });
}

void TtavPaintFX::ApplySaturation(QImage& bitmap, int amount) const {
    Make24Bit(bitmap);
    const int width = bitmap.width();
    ForRows(bitmap, 1LL * width * bitmap.height(), [&](int y0, int y1) {
        for (int y = y0; y < y1; ++y) {
            std::uint8_t* p = ScanLine(bitmap, y);
            for (int x = 0; x < width; ++x, p += 3) {
                const int grey = (p[0] + p[1] + p[2]) / 3;
                for (int k = 0; k < 3; ++k) {
                    const long long v = grey + (static_cast<long long>(p[k] - grey) * amount) / 255;
                    p[k] = static_cast<std::uint8_t>(v < 0 ? 0 : (v > 255 ? 255 : v));
                }
            }
        }
    });
}

void TtavPaintFX::ColorNoise(QImage& bitmap, std::uint32_t amount, TRandomGenerator& random) const {
    Make24Bit(bitmap);
    const long long offset = amount >> 1;
    const int width = bitmap.width();
    for (int y = 0; y < bitmap.height(); ++y) {
        std::uint8_t* p = ScanLine(bitmap, y);
        for (int x = 0; x < width; ++x, p += 3)
            for (int k = 0; k < 3; ++k) {
                const long long v = p[k] + static_cast<long long>(random.Draw(amount)) - offset;
                p[k] = static_cast<std::uint8_t>(v < 0 ? 0 : (v > 255 ? 255 : v));
            }
    }
}

void TtavPaintFX::MonoNoise(QImage& bitmap, std::uint32_t amount, TRandomGenerator& random) const {
    Make24Bit(bitmap);
    const long long offset = amount >> 1;
    const int width = bitmap.width();
    for (int y = 0; y < bitmap.height(); ++y) {
        std::uint8_t* p = ScanLine(bitmap, y);
        for (int x = 0; x < width; ++x, p += 3) {
            const long long n = static_cast<long long>(random.Draw(amount)) - offset;
            for (int k = 0; k < 3; ++k) {
                const long long v = p[k] + n;
                p[k] = static_cast<std::uint8_t>(v < 0 ? 0 : (v > 255 ? 255 : v));
            }
        }
    }
}

void TtavPaintFX::ChannelBand(QImage& bitmap, BandChannel channel, bool clearOthers, int lo, int hi) const {
    Make24Bit(bitmap);
    const int k = static_cast<int>(channel);
    const int width = bitmap.width();
    ForRows(bitmap, 1LL * width * bitmap.height(), [&](int y0, int y1) {
        for (int y = y0; y < y1; ++y) {
            std::uint8_t* p = ScanLine(bitmap, y);
            for (int x = 0; x < width; ++x, p += 3) {
                const int v = p[k];
                if (clearOthers)
                    p[0] = p[1] = p[2] = 0;
                p[k] = (lo < v && v < hi) ? 255 : 0;
            }
        }
    });
}

void TtavPaintFX::ChannelBandRed(QImage& b, int lo, int hi) const {
    ChannelBand(b, BandChannel::Red, true, lo, hi);
}
void TtavPaintFX::ChannelBandGreen(QImage& b, int lo, int hi) const {
    ChannelBand(b, BandChannel::Green, true, lo, hi);
}
void TtavPaintFX::ChannelBandBlue(QImage& b, int lo, int hi) const {
    ChannelBand(b, BandChannel::Blue, true, lo, hi);
}
void TtavPaintFX::ChannelBandRedOnly(QImage& b, int lo, int hi) const {
    ChannelBand(b, BandChannel::Red, false, lo, hi);
}
void TtavPaintFX::ChannelBandGreenOnly(QImage& b, int lo, int hi) const {
    ChannelBand(b, BandChannel::Green, false, lo, hi);
}
void TtavPaintFX::ChannelBandBlueOnly(QImage& b, int lo, int hi) const {
    ChannelBand(b, BandChannel::Blue, false, lo, hi);
}

void TtavPaintFX::Solarize(QImage& source, QImage& destination, int threshold) const {
    Make24Bit(source);
    if (&source != &destination) {
        Make24Bit(destination);
        RequireSameSize(source, destination);
    }
    const int width = source.width();
    ForRows(destination, 1LL * width * source.height(), [&](int y0, int y1) {
        for (int y = y0; y < y1; ++y) {
            const std::uint8_t* s = ScanLine(static_cast<const QImage&>(source), y);
            std::uint8_t* d = &source == &destination ? ScanLine(source, y) : ScanLine(destination, y);
            for (int i = 0; i < width * 3; i += 3) {
                const int mean = (s[i] + s[i + 1] + s[i + 2]) / 3;
                for (int k = 0; k < 3; ++k)
                    d[i + k] = static_cast<std::uint8_t>(mean > threshold ? 255 - s[i + k] : s[i + k]);
            }
        }
    });
}

void TtavPaintFX::Posterize(QImage& source, QImage& destination, int step) const {
    if (step == 0)
        throw std::invalid_argument("Die Stufe des Poster-Effekts darf nicht 0 sein");
    Make24Bit(source);
    if (&source != &destination) {
        Make24Bit(destination);
        RequireSameSize(source, destination);
    }
    // A nearest multiple above 255 is stored as 255, the closest value a byte can hold.
    TByteTable table;
    for (int c = 0; c < 256; ++c) {
        const double v = Round(static_cast<double>(c) / step) * step;
        table[c] = static_cast<std::uint8_t>(v > 255.0 ? 255 : (v < 0.0 ? 0 : static_cast<int>(v)));
    }
    const int bytes = source.width() * 3;
    ForRows(destination, 1LL * source.width() * source.height(), [&](int y0, int y1) {
        for (int y = y0; y < y1; ++y) {
            const std::uint8_t* s = ScanLine(static_cast<const QImage&>(source), y);
            std::uint8_t* d = &source == &destination ? ScanLine(source, y) : ScanLine(destination, y);
            for (int i = 0; i < bytes; ++i)
                d[i] = table[s[i]];
        }
    });
}

void TtavPaintFX::Relief(QImage& bitmap) const {
    Make24Bit(bitmap);
    const int width = bitmap.width();
    for (int y = 0; y + 1 < bitmap.height(); ++y) {
        std::uint8_t* row = ScanLine(bitmap, y);
        const std::uint8_t* below = ScanLine(static_cast<const QImage&>(bitmap), y + 1);
        for (int i = 0; i < (width - 3) * 3; ++i)
            row[i] = static_cast<std::uint8_t>(((255 - below[i + 9]) + row[i]) >> 1);
    }
}

void TtavPaintFX::DiagonalAverage(QImage& bitmap, int distance) const {
    Make24Bit(bitmap);
    if (distance == 0)
        return;
    const int width = bitmap.width();
    const int height = bitmap.height();
    // On pictures no larger than the distance the mirrored neighbour would lie outside; it is held to
    // the last row or column instead.
    auto clampTo = [](long long v, int size) {
        return static_cast<int>(std::clamp<long long>(v, 0, size - 1));
    };
    std::vector<int> left(width);
    std::vector<int> right(width);
    for (int x = 0; x < width; ++x) {
        left[x] = clampTo(1LL * x - distance >= 0 ? 1LL * x - distance : x, width);
        right[x] = clampTo(1LL * x + distance < width ? 1LL * x + distance : 1LL * width - x, width);
    }
    for (int y = 0; y < height; ++y) {
        const int upperRow = clampTo(1LL * y - distance >= 0 ? 1LL * y - distance : y, height);
        const int lowerRow =
            clampTo(1LL * y + distance < height ? 1LL * y + distance : 1LL * height - y, height);
        // Rows are read in their current state: the upper row may already be rewritten, or be this row.
        std::uint8_t* row = ScanLine(bitmap, y);
        const std::uint8_t* upper = ScanLine(static_cast<const QImage&>(bitmap), upperRow);
        const std::uint8_t* lower = ScanLine(static_cast<const QImage&>(bitmap), lowerRow);
        for (int x = 0; x < width; ++x) {
            const int l = left[x] * 3;
            const int r = right[x] * 3;
            for (int k = 0; k < 3; ++k)
                row[x * 3 + k] = static_cast<std::uint8_t>(
                    (upper[l + k] + lower[l + k] + upper[r + k] + lower[r + k]) >> 2);
        }
    }
}

void TtavPaintFX::Soften(QImage& bitmap, int extraPasses) const {
    for (int pass = 0; pass <= extraPasses; ++pass)
        DiagonalAverage(bitmap, 3);
}

void TtavPaintFX::Mosaic(QImage& bitmap, int blockSize) const {
    Make24Bit(bitmap);
    if (blockSize < 1)
        throw std::invalid_argument("Die Blockgröße des Mosaiks muss mindestens 1 sein");
    const int width = bitmap.width();
    const int height = bitmap.height();
    for (int band = 0; band < height; band += blockSize) {
        const std::uint8_t* source = ScanLine(static_cast<const QImage&>(bitmap), band);
        for (int y = band; y < std::min(height, band + blockSize); ++y) {
            std::uint8_t* row = ScanLine(bitmap, y);
            for (int block = 0; block < width; block += blockSize) {
                const std::uint8_t b = source[block * 3];
                const std::uint8_t g = source[block * 3 + 1];
                const std::uint8_t r = source[block * 3 + 2];
                for (int x = block; x < std::min(width, block + blockSize); ++x) {
                    row[x * 3] = b;
                    row[x * 3 + 1] = g;
                    row[x * 3 + 2] = r;
                }
            }
        }
    }
}

void TtavPaintFX::Tiles(QImage& bitmap, int tileSize, bool overlap) const {
    Make24Bit(bitmap);
    const int width = bitmap.width();
    const int height = bitmap.height();
    const int m = std::min({width / 2, tileSize, height / 2});
    // A tile of no pixels would never advance the drawing loops; the picture stays as it is.
    if (m <= 0)
        return;
    // The plain stretch: tile pixel (tx, ty) is the picture's pixel (tx * W / m, ty * H / m).
    std::vector<std::uint8_t> tile(static_cast<std::size_t>(m) * m * 3);
    for (int ty = 0; ty < m; ++ty) {
        const std::uint8_t* row =
            ScanLine(static_cast<const QImage&>(bitmap), static_cast<int>(1LL * ty * height / m));
        for (int tx = 0; tx < m; ++tx) {
            const std::uint8_t* p = row + (1LL * tx * width / m) * 3;
            std::copy(p, p + 3, tile.begin() + (static_cast<std::size_t>(ty) * m + tx) * 3);
        }
    }
    const int step = overlap ? static_cast<int>(Round(2.0 * m / 3.0)) : m;
    for (int y = 0; y < height; y += step)
        for (int x = 0; x < width; x += step) {
            const int columns = std::min(m, width - x);
            for (int ty = 0; ty < m && y + ty < height; ++ty)
                std::copy_n(tile.begin() + static_cast<std::size_t>(ty) * m * 3, columns * 3,
                            ScanLine(bitmap, y + ty) + x * 3);
        }
}

void TtavPaintFX::TileSplit(QImage& bitmap, int tileSize) const {
    Tiles(bitmap, tileSize, false);
}
void TtavPaintFX::TileOverlap(QImage& bitmap, int tileSize) const {
    Tiles(bitmap, tileSize, true);
}

void TtavPaintFX::SeamBlend(QImage& bitmap, int divisor) const {
    Make24Bit(bitmap);
    if (divisor == 0)
        throw std::invalid_argument("Der Teiler der Bewegung darf nicht 0 sein");
    const int width = bitmap.width();
    const int height = bitmap.height();
    if (width <= 0 || height <= 0)
        return;
    const int ys = height / divisor;
    const int xs = width / divisor;
    std::uint8_t* top = ScanLine(bitmap, 0);
    std::copy_n(ScanLine(static_cast<const QImage&>(bitmap), height - 1), width * 3, top);
    for (int y = 1; y < ys; ++y) {
        const std::uint8_t* band = ScanLine(static_cast<const QImage&>(bitmap), ys);
        std::uint8_t* row = ScanLine(bitmap, y);
        for (int i = 0; i < width * 3; ++i) {
            const double v = static_cast<double>(band[i] - top[i]) / ys * y + top[i];
            row[i] = static_cast<std::uint8_t>(ClampByte(static_cast<int>(Round(v))));
        }
    }
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = ScanLine(bitmap, y);
        std::uint8_t* edge = row + (width - 1) * 3;
        std::copy_n(row, 3, edge);
        if (xs <= 1)
            continue;
        const std::uint8_t* inner = row + (width - xs) * 3;
        for (int x = 1; x < xs; ++x) {
            std::uint8_t* p = row + (width - 1 - x) * 3;
            for (int k = 0; k < 3; ++k) {
                const double v = static_cast<double>(inner[k] - edge[k]) / xs * x + edge[k];
                p[k] = static_cast<std::uint8_t>(ClampByte(static_cast<int>(Round(v))));
            }
        }
    }
}

void TtavPaintFX::Swirl(const QImage& source, QImage& destination, int amount) const {
    if (amount == 0)
        throw std::invalid_argument("Die Stärke des Wirbels darf nicht 0 sein");
    QImage converted;
    const QImage& src = PrepareDistortion(source, destination, converted);
    const int width = src.width();
    const int height = src.height();
    if (width <= 0 || height <= 0)
        return;
    const std::uint8_t* bits = src.constBits();
    const qsizetype stride = src.bytesPerLine();
    const float cx = static_cast<float>(width - 1) / 2.0f;
    const float cy = static_cast<float>(height - 1) / 2.0f;
    const float a = static_cast<float>(amount);
    ForRows(destination, 1LL * width * height, [&](int y0, int y1) {
        ForBlocks(y0, y1, width, [&](int ty, int x0, int x1) {
            std::uint8_t* out = ScanLine(destination, ty) + x0 * 3;
            const float fy = static_cast<float>(ty) - cy;
            const float fy2 = fy * fy;
            for (int tx = x0; tx < x1; ++tx, out += 3) {
                const float fx = static_cast<float>(tx) - cx;
                const float fx2 = fx * fx;
                const float sum = fx2 + fy2;
                const float r = std::sqrt(sum);
                float sx = cx;
                float sy = cy;
                if (r != 0.0f) {
                    const float angle = PolarAngle(fx, fy);
                    const float turn = r / a;
                    const float less = angle - turn;
                    const float theta = less + kHalfPi;
                    const float c = std::cos(theta);
                    const float s = std::sin(theta);
                    const float rc = r * c;
                    const float rs = r * s;
                    sx = cx + rc;
                    sy = cy + rs;
                }
                const TBgrPixel p = Sample(bits, stride, width, height, sx, sy);
                out[0] = p.Blue;
                out[1] = p.Green;
                out[2] = p.Red;
            }
        });
    });
}

namespace {

// The fish-eye's k and d carry over from pixel to pixel where they are not recomputed.
struct TFishEyeState {
    float K = 0.0f;
    float D = 0.0f;
};

struct TFishEyeGeometry {
    float Cx;
    float Cy;
    float R;

    // Updates state for the pixel at (x, y); returns false where the pixel is the centre.
    bool Step(int x, int y, TFishEyeState& state, float& fx, float& fy, float& r) const {
        fx = static_cast<float>(x) - Cx;
        fy = static_cast<float>(y) - Cy;
        const float fx2 = fx * fx;
        const float fy2 = fy * fy;
        const float sum = fx2 + fy2;
        r = std::sqrt(sum);
        if (r == 0.0f)
            return false;
        if (R != 0.0f && r != R) {
            const float q = r / R;
            const float o = 1.0f - q;
            const float inverse = 1.0f / o;
            state.K = inverse - 1.0f;
            if (state.K != 0.0f) {
                const float half = R / 2.0f;
                state.D = half * state.K;
            }
        }
        return true;
    }
};

// The state for the pixel at (x, y) in visiting order: what this pixel sets, and for what it leaves
// unset, what the last pixel before it that set it left (k = 0 and d = 0 before the first pixel).
// Almost every pixel sets both itself, so the walk back is rare and short.
TFishEyeState FishEyeStateAt(const TFishEyeGeometry& geometry, int width, int x, int y, float& fx, float& fy,
                             float& r, bool& centre) {
    const float unset = std::numeric_limits<float>::quiet_NaN();
    TFishEyeState state{unset, unset};
    centre = !geometry.Step(x, y, state, fx, fy, r);
    if (!std::isnan(state.K) && !std::isnan(state.D))
        return state;
    bool haveK = !std::isnan(state.K);
    bool haveD = !std::isnan(state.D);
    long long index = 1LL * y * width + x;
    while (!(haveK && haveD) && --index >= 0) {
        TFishEyeState probe{unset, unset};
        float px, py, pr;
        geometry.Step(static_cast<int>(index % width), static_cast<int>(index / width), probe, px, py, pr);
        if (!haveK && !std::isnan(probe.K)) {
            state.K = probe.K;
            haveK = true;
        }
        if (!haveD && !std::isnan(probe.D)) {
            state.D = probe.D;
            haveD = true;
        }
    }
    if (!haveK)
        state.K = 0.0f;
    if (!haveD)
        state.D = 0.0f;
    return state;
}

// The walk back of FishEyeStateAt is short only where nearly every pixel sets k and d. k grows with
// the distance, so it is enough that the pixels nearest the centre set a non-zero k; otherwise (no
// radius, or an amount so large that k rounds to 0 near the centre) the pixels are visited in plain
// order with the state carried along.
bool NeedsPlainOrder(const TFishEyeGeometry& geometry, int width, int height) {
    if (geometry.R == 0.0f)
        return true;
    const int x0 = std::max(0, static_cast<int>(geometry.Cx) - 1);
    const int y0 = std::max(0, static_cast<int>(geometry.Cy) - 1);
    for (int y = y0; y < std::min(height, y0 + 3); ++y)
        for (int x = x0; x < std::min(width, x0 + 3); ++x) {
            TFishEyeState probe{1.0f, std::numeric_limits<float>::quiet_NaN()};
            float fx, fy, r;
            if (geometry.Step(x, y, probe, fx, fy, r) && r != geometry.R && probe.K == 0.0f)
                return true;
        }
    return false;
}

} // namespace

void TtavPaintFX::FishEyeDistort(const QImage& source, QImage& destination, float amount) const {
    if (!std::isfinite(amount))
        throw std::invalid_argument("Die Stärke des Fischauges muss endlich sein");
    QImage converted;
    const QImage& src = PrepareDistortion(source, destination, converted);
    const int width = src.width();
    const int height = src.height();
    if (width <= 0 || height <= 0)
        return;
    const std::uint8_t* bits = src.constBits();
    const qsizetype stride = src.bytesPerLine();
    const TFishEyeGeometry geometry{static_cast<float>(width) / 2.0f, static_cast<float>(height) / 2.0f,
                                    static_cast<float>(destination.width()) * amount};
    auto pixel = [&](const TFishEyeState& state, float fx, float fy, float r, bool centre,
                     std::uint8_t* out) {
        float sx = geometry.Cx;
        float sy = geometry.Cy;
        if (!centre) {
            const float tx = fx * state.D;
            const float ty = fy * state.D;
            const float ux = tx / r;
            const float uy = ty / r;
            sx = geometry.Cx + ux;
            sy = geometry.Cy + uy;
        }
        const TBgrPixel p = Sample(bits, stride, width, height, sx, sy);
        out[0] = p.Blue;
        out[1] = p.Green;
        out[2] = p.Red;
    };
    if (NeedsPlainOrder(geometry, width, height)) {
        TFishEyeState state;
        for (int y = 0; y < height; ++y) {
            std::uint8_t* out = ScanLine(destination, y);
            for (int x = 0; x < width; ++x, out += 3) {
                float fx, fy, r;
                const bool centre = !geometry.Step(x, y, state, fx, fy, r);
                pixel(state, fx, fy, r, centre, out);
            }
        }
        return;
    }
    ForRows(destination, 1LL * width * height, [&](int y0, int y1) {
        ForBlocks(y0, y1, width, [&](int y, int x0, int x1) {
            std::uint8_t* out = ScanLine(destination, y) + x0 * 3;
            for (int x = x0; x < x1; ++x, out += 3) {
                float fx, fy, r;
                bool centre;
                const TFishEyeState state = FishEyeStateAt(geometry, width, x, y, fx, fy, r, centre);
                pixel(state, fx, fy, r, centre, out);
            }
        });
    });
}

void TtavPaintFX::PlasmaDisplace(const QImage& displacementSource, const QImage& lookupSource,
                                 QImage& destination, double scale, double turbulence) const {
    if (!std::isfinite(scale) || !std::isfinite(turbulence))
        throw std::invalid_argument("Stärke und Turbulenz des Plasmas müssen endlich sein");
    if (&displacementSource == &destination)
        throw std::invalid_argument("Quell- und Zielbild müssen verschiedene Bitmaps sein");
    RequireSameSize(displacementSource, lookupSource);
    RequireSameSize(displacementSource, destination);
    Make24Bit(destination);
    QImage convertedDisplacement;
    QImage convertedLookup;
    const QImage& displacement =
        displacementSource.format() == QImage::Format_BGR888
            ? displacementSource
            : (convertedDisplacement = displacementSource.convertToFormat(QImage::Format_BGR888));
    const QImage& lookup = lookupSource.format() == QImage::Format_BGR888
                               ? lookupSource
                               : (convertedLookup = lookupSource.convertToFormat(QImage::Format_BGR888));

    long double s = scale;
    long double t = turbulence;
    if (t < 10)
        t = 10;
    if (s < 5)
        s = 5;
    // Displacements beyond any picture size all fall outside alike; holding them keeps them in range.
    auto toOffset = [](long double v) {
        return static_cast<long long>(std::clamp(std::nearbyint(v), -1.0e12L, 1.0e12L));
    };
    std::array<long long, 256> dx;
    std::array<long long, 256> dy;
    for (int i = 0; i < 256; ++i) {
        const long double angle = static_cast<long double>(i) / t;
        dx[i] = toOffset(-s * std::sin(angle));
        dy[i] = toOffset(s * std::cos(angle));
    }
    const int width = displacement.width();
    const int height = displacement.height();
    ForRows(destination, 1LL * width * height, [&](int y0, int y1) {
        for (int y = y0; y < y1; ++y) {
            const std::uint8_t* look = ScanLine(lookup, y);
            std::uint8_t* out = ScanLine(destination, y);
            for (int x = 0; x < width; ++x) {
                const int v = look[x * 3];
                const long long nx = x + dx[v];
                const long long ny = y + dy[v];
                if (nx >= 0 && nx < width && ny >= 0 && ny < height) {
                    const std::uint8_t* p = ScanLine(displacement, static_cast<int>(ny)) + nx * 3;
                    std::copy_n(p, 3, out + x * 3);
                }
            }
        }
    });
}
