// TtavPaintFX: the program's own pixel effects on 24-bit bitmaps (tone and colour operations,
// neighbourhood and pattern effects, geometric distortions).
#pragma once

#include "Bitmap24.h"
#include "RandomGenerator.h"

#include <QImage>

#include <cstdint>

// One pixel as the bitmap stores it.
struct TBgrPixel {
    std::uint8_t Blue = 0;
    std::uint8_t Green = 0;
    std::uint8_t Red = 0;
    friend bool operator==(const TBgrPixel&, const TBgrPixel&) = default;
};

// Angle of (x, y) in single precision, -pi/2 .. 3pi/2.
float PolarAngle(float x, float y);

// Bilinear sample of a 24-bit bitmap that wraps around the picture's edges.
TBgrPixel SampleWrapped(const QImage& source, float sx, float sy);

// The effects keep no state. A bitmap that is not 24 bits per pixel is converted first. Every operation walks
// the rows in order; the ones whose result does not depend on the visiting order (each destination pixel
// computed from unchanged pixels) may split the rows over Threads threads, with results identical to a single
// thread.
class TtavPaintFX {
public:
    explicit TtavPaintFX(int threads = 2) : Threads(threads < 1 ? 1 : threads) {}

    void ApplyBrightness(QImage& bitmap, int amount) const;
    void ApplyContrast(QImage& bitmap, int amount) const;
    void ApplySaturation(QImage& bitmap, int amount) const;
    void ColorNoise(QImage& bitmap, std::uint32_t amount, TRandomGenerator& random = ProcessRandom()) const;
    void MonoNoise(QImage& bitmap, std::uint32_t amount, TRandomGenerator& random = ProcessRandom()) const;

    // One channel becomes 255 where lo < value < hi and 0 elsewhere; the plain members clear the
    // other two channels, the "only" members keep them.
    void ChannelBandRed(QImage& bitmap, int lo, int hi) const;
    void ChannelBandGreen(QImage& bitmap, int lo, int hi) const;
    void ChannelBandBlue(QImage& bitmap, int lo, int hi) const;
    void ChannelBandRedOnly(QImage& bitmap, int lo, int hi) const;
    void ChannelBandGreenOnly(QImage& bitmap, int lo, int hi) const;
    void ChannelBandBlueOnly(QImage& bitmap, int lo, int hi) const;

    // Source and destination may be the same bitmap; otherwise they must be of equal size.
    void Solarize(QImage& source, QImage& destination, int threshold) const;
    void Posterize(QImage& source, QImage& destination, int step) const;

    void Relief(QImage& bitmap) const;
    void DiagonalAverage(QImage& bitmap, int distance) const;
    void Soften(QImage& bitmap, int extraPasses) const;
    void Mosaic(QImage& bitmap, int blockSize) const;
    void TileSplit(QImage& bitmap, int tileSize) const;
    void TileOverlap(QImage& bitmap, int tileSize) const;
    void SeamBlend(QImage& bitmap, int divisor) const;

    // Source and destination must be distinct bitmaps of equal size.
    void Swirl(const QImage& source, QImage& destination, int amount) const;
    void FishEyeDistort(const QImage& source, QImage& destination, float amount) const;
    void PlasmaDisplace(const QImage& displacementSource, const QImage& lookupSource, QImage& destination,
                        double scale, double turbulence) const;

    int Threads;

private:
    enum class BandChannel { Blue = 0, Green = 1, Red = 2 };
    void ChannelBand(QImage& bitmap, BandChannel channel, bool clearOthers, int lo, int hi) const;
    void Tiles(QImage& bitmap, int tileSize, bool overlap) const;
    template <typename RowRange> void ForRows(QImage& written, long long pixels, RowRange&& rowRange) const;
};
