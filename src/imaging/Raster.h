// Raster operations of the imaging engine: pure functions on 24-bit pictures (Format_BGR888).
// The imaging control calls them; tests and benchmarks call them directly.
#pragma once

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QRegion>

namespace Raster {

// Resampling kinds, by the control's Size flags.
enum class SizeKind {
    Plain = 0,    // nearest neighbour
    Resample = 2, // area-averaging when reducing, linear when enlarging
    Bicubic = 4,  // antialiased bicubic
};

QImage Resize(const QImage& source, int width, int height, SizeKind kind);

// Turns clockwise by a multiple of 90 degrees (hundredths: 9000, 18000, 27000). With grow the
// picture takes the rotated size; otherwise it keeps its size and uncovered pixels get fill.
QImage Rotate(const QImage& source, int hundredths, bool grow, QColor fill);

void Flip(QImage& picture);    // top to bottom
void Reverse(QImage& picture); // left to right

// Paints the region (picture pixels), or the whole picture when the region is empty.
void Fill(QImage& picture, const QRegion& region, QColor colour);

// Copies the rectangle of source at sourceTopLeft to target at targetRect; with a non-empty
// region only the target pixels inside it change.
void Combine(QImage& target, const QRegion& region, const QRect& targetRect, const QImage& source,
             QPoint sourceTopLeft);

// The settings of a framed three-dimensional shape with a drop shadow.
enum class BandStyle { None, Raised, Lowered };
struct ShapeSettings {
    QRect rect; // the shape and its shadow together
    QColor borderColor = Qt::black;
    int borderThickness = 1; // a thickness of 0 draws no border
    BandStyle innerBandStyle = BandStyle::None;
    int innerBandThickness = 0;
    QColor innerBandHilite = Qt::white;
    QColor innerBandShadow = Qt::gray;
    BandStyle outerBandStyle = BandStyle::None;
    int outerBandThickness = 0;
    QColor outerBandHilite = Qt::white;
    QColor outerBandShadow = Qt::gray;
    QColor shadowColor = Qt::gray;
    int shadowX = 0;
    int shadowY = 0;
};

// Draws the shape into the picture with a transparent background: the face covers rect less the
// shadow depths at its top left, the shadow the same size offset by the depths; the picture stays
// visible inside the frame and in the two corners that neither covers.
void Draw3dShape(QImage& picture, const ShapeSettings& shape);

// Unsharp masking; amount 0..1000 (0 leaves the picture unchanged).
void Sharpen(QImage& picture, int amount);

// Gaussian blur whose kernel reaches radius pixels (sigma = radius / 3), by a cascade of three box
// filters, so the cost does not grow with the radius. Radius 0 leaves the picture unchanged.
void GaussianFilter(QImage& picture, int radius);
double GaussianSigma(int radius);

// Grey levels (ITU-R BT.601 weights), kept as 24-bit pixels with equal channels.
void GrayScale(QImage& picture);

// out = matrix * (r, g, b): row i gives channel i's shares of red, green and blue.
void BalanceColors(QImage& picture, const float matrix[3][3]);

// Replaces the red pixels inside the region by the eye colour. A pixel counts as red when its red
// value is at least threshold / 60 times the mean of its green and blue (threshold 60..190: 60
// takes any reddish pixel, the default 140 a red more than twice as strong as the rest, which
// leaves skin alone); the new pixel follows the original's lightness, scaled by lightness percent
// (0..200, where 0 paints the flat eye colour). Nothing outside the region changes.
void RemoveRedeye(QImage& picture, const QRegion& region, QColor eyeColor, int threshold, int lightness);

} // namespace Raster
