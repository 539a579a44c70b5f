// Raster operations: geometry, region-bound fills and copies, the framed shape, filters, red-eye.
#include "Raster.h"
#include "Pixels.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace {

QColor PixelAt(const QImage& picture, int x, int y) {
    const uchar* p = picture.constScanLine(y) + x * 3;
    return QColor(p[2], p[1], p[0]);
}

void SetPixelAt(QImage& picture, int x, int y, QColor colour) {
    uchar* p = picture.scanLine(y) + x * 3;
    p[0] = uchar(colour.blue());
    p[1] = uchar(colour.green());
    p[2] = uchar(colour.red());
}

// A picture whose every pixel tells its position apart from its neighbours.
QImage Numbered(int width, int height) {
    QImage picture = Pixels::NewBitmap(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            SetPixelAt(picture, x, y, QColor(x % 256, y % 256, (x * 7 + y * 13) % 256));
    return picture;
}

QImage Uniform(int width, int height, QColor colour) {
    QImage picture = Pixels::NewBitmap(width, height);
    Raster::Fill(picture, QRegion(), colour);
    return picture;
}

void ForEachPixel(const QImage& picture, const std::function<void(int, int)>& check) {
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            check(x, y);
}

TEST(RasterGeometry, QuarterAndHalfTurnsMoveEveryPixel) {
    const int w = 64, h = 48;
    const QImage source = Numbered(w, h);
    struct Case {
        int angle;
        QSize size;
        std::function<QPoint(int, int)> target; // where source pixel (x, y) ends up
    };
    const Case cases[] = {
        {9000, QSize(h, w), [&](int x, int y) { return QPoint(h - 1 - y, x); }},
        {18000, QSize(w, h), [&](int x, int y) { return QPoint(w - 1 - x, h - 1 - y); }},
        {27000, QSize(h, w), [&](int x, int y) { return QPoint(y, w - 1 - x); }},
    };
    for (const Case& c : cases) {
        const QImage turned = Raster::Rotate(source, c.angle, true, Qt::white);
        ASSERT_EQ(turned.size(), c.size) << c.angle;
        ForEachPixel(source, [&](int x, int y) {
            const QPoint to = c.target(x, y);
            ASSERT_EQ(PixelAt(turned, to.x(), to.y()), PixelAt(source, x, y))
                << c.angle << " at " << x << "," << y;
        });
    }
}

TEST(RasterGeometry, FlipAndReverseMirror) {
    const QImage source = Numbered(20, 10);
    QImage flipped = source.copy();
    Raster::Flip(flipped);
    QImage reversed = source.copy();
    Raster::Reverse(reversed);
    ForEachPixel(source, [&](int x, int y) {
        ASSERT_EQ(PixelAt(flipped, x, 9 - y), PixelAt(source, x, y));
        ASSERT_EQ(PixelAt(reversed, 19 - x, y), PixelAt(source, x, y));
    });
}

TEST(RasterResize, GivesTheAskedSizeForEveryKind) {
    const QImage source = Numbered(300, 200);
    for (auto kind : {Raster::SizeKind::Plain, Raster::SizeKind::Resample, Raster::SizeKind::Bicubic}) {
        EXPECT_EQ(Raster::Resize(source, 105, 70, kind).size(), QSize(105, 70));
        EXPECT_EQ(Raster::Resize(source, 900, 601, kind).size(), QSize(900, 601));
    }
}

TEST(RasterResize, StrongReductionDoesNotAlias) {
    // A one-pixel checkerboard reduced 40 times must come out as even grey, not as a moire of
    // black and white samples.
    QImage board = Pixels::NewBitmap(1200, 800);
    ForEachPixel(board, [&](int x, int y) { SetPixelAt(board, x, y, (x + y) % 2 ? Qt::white : Qt::black); });
    for (auto kind : {Raster::SizeKind::Resample, Raster::SizeKind::Bicubic}) {
        const QImage small = Raster::Resize(board, 30, 20, kind);
        ForEachPixel(small, [&](int x, int y) { ASSERT_NEAR(PixelAt(small, x, y).green(), 128, 8); });
    }
}

struct RegionCase {
    const char* name;
    std::function<void(QImage&, const QRegion&)> apply;
    QColor expectedInside;
};

TEST(RasterRegion, FillAndCombineStayInsideAnEllipse) {
    const QRegion ellipse(QRect(10, 5, 41, 27), QRegion::Ellipse);
    const QImage other = Uniform(80, 60, QColor(1, 2, 3));
    const RegionCase cases[] = {
        {"Fill", [](QImage& p, const QRegion& r) { Raster::Fill(p, r, QColor(200, 10, 20)); },
         QColor(200, 10, 20)},
        {"Combine",
         [&](QImage& p, const QRegion& r) {
             Raster::Combine(p, r, QRect(0, 0, 60, 40), other, QPoint(5, 5));
         },
         QColor(1, 2, 3)},
    };
    for (const RegionCase& c : cases) {
        const QImage original = Numbered(60, 40);
        QImage picture = original.copy();
        c.apply(picture, ellipse);
        int inside = 0;
        ForEachPixel(picture, [&](int x, int y) {
            if (ellipse.contains(QPoint(x, y))) {
                ++inside;
                ASSERT_EQ(PixelAt(picture, x, y), c.expectedInside) << c.name;
            } else {
                ASSERT_EQ(PixelAt(picture, x, y), PixelAt(original, x, y))
                    << c.name << " outside at " << x << "," << y;
            }
        });
        EXPECT_GT(inside, 600) << c.name;
    }
}

TEST(RasterRegion, CombineCopiesTheSourceRectangleClippedToBothPictures) {
    const QImage source = Numbered(30, 30);
    QImage target = Uniform(20, 20, Qt::white);
    // Source rectangle (25,25)-(34,34) reaches past the source: only its 5 x 5 part arrives.
    Raster::Combine(target, QRegion(), QRect(2, 3, 10, 10), source, QPoint(25, 25));
    ForEachPixel(target, [&](int x, int y) {
        const bool copied = x >= 2 && x < 7 && y >= 3 && y < 8;
        ASSERT_EQ(PixelAt(target, x, y), copied ? PixelAt(source, x + 23, y + 22) : QColor(Qt::white))
            << x << "," << y;
    });
}

TEST(RasterShape, ThumbnailFrameLeavesExactlyTheTwoUncoveredCorners) {
    const int w = 93, h = 70;
    const QColor marker(10, 20, 30), silver(192, 192, 192), shadow(234, 234, 234);
    QImage picture = Uniform(w, h, marker);
    Raster::ShapeSettings shape;
    shape.rect = QRect(0, 0, w, h);
    shape.borderColor = silver;
    shape.borderThickness = 1;
    shape.innerBandStyle = Raster::BandStyle::Raised;
    shape.innerBandThickness = 5;
    shape.innerBandHilite = Qt::white;
    shape.innerBandShadow = Qt::white;
    shape.outerBandStyle = Raster::BandStyle::None;
    shape.outerBandThickness = 5;
    shape.shadowColor = shadow;
    shape.shadowX = 2;
    shape.shadowY = 2;
    Raster::Draw3dShape(picture, shape);

    const QRect face(0, 0, w - 2, h - 2);
    const QRect inside = face.adjusted(6, 6, -6, -6);
    const QRect topRight(w - 2, 0, 2, 2), bottomLeft(0, h - 2, 2, 2);
    ForEachPixel(picture, [&](int x, int y) {
        const QPoint p(x, y);
        QColor expected;
        if (inside.contains(p) || topRight.contains(p) || bottomLeft.contains(p))
            expected = marker;
        else if (!face.contains(p))
            expected = shadow;
        else if (!face.adjusted(1, 1, -1, -1).contains(p))
            expected = silver;
        else
            expected = Qt::white;
        ASSERT_EQ(PixelAt(picture, x, y), expected) << x << "," << y;
    });
}

TEST(RasterFilters, GaussianSpreadsALineWithTheSigmaOfItsRadius) {
    for (int radius : {30, 200}) {
        const int w = 2001;
        QImage picture = Uniform(w, 3, Qt::black);
        // A white band wide enough that its spread survives the 8-bit rounding of every pass.
        const int band = radius / 2 | 1;
        Raster::Fill(picture, QRegion(w / 2 - band / 2, 0, band, 3), Qt::white);
        Raster::GaussianFilter(picture, radius);
        double sum = 0, moment = 0;
        for (int x = 0; x < w; ++x) {
            const double v = PixelAt(picture, x, 1).green();
            sum += v;
            moment += v * (x - w / 2) * (x - w / 2);
        }
        const double sigma = Raster::GaussianSigma(radius);
        const double bandVariance = (double(band) * band - 1.0) / 12.0;
        EXPECT_NEAR(std::sqrt(moment / sum - bandVariance), sigma, 0.08 * sigma) << radius;
        EXPECT_NEAR(sum, band * 255.0, band * 255.0 * 0.02) << radius; // brightness is kept
    }
}

TEST(RasterFilters, ZeroStrengthsLeaveThePictureAlone) {
    const QImage original = Numbered(40, 30);
    QImage picture = original.copy();
    Raster::GaussianFilter(picture, 0);
    Raster::Sharpen(picture, 0);
    EXPECT_EQ(picture, original);
}

TEST(RasterFilters, SharpenSteepensAnEdge) {
    QImage picture = Uniform(40, 10, QColor(100, 100, 100));
    Raster::Fill(picture, QRegion(20, 0, 20, 10), QColor(150, 150, 150));
    Raster::Sharpen(picture, 500);
    EXPECT_LT(PixelAt(picture, 19, 5).green(), 100);
    EXPECT_GT(PixelAt(picture, 20, 5).green(), 150);
    EXPECT_EQ(PixelAt(picture, 5, 5).green(), 100); // flat parts stay
}

TEST(RasterColour, GreyAndBalance) {
    QImage picture = Uniform(4, 4, QColor(255, 0, 0));
    SetPixelAt(picture, 1, 0, QColor(200, 100, 50));
    QImage grey = picture.copy();
    Raster::GrayScale(grey);
    EXPECT_EQ(PixelAt(grey, 0, 0), QColor(76, 76, 76)); // 0.299 * 255
    EXPECT_EQ(PixelAt(grey, 1, 0), QColor(124, 124, 124));

    const float sepia[3][3] = {{1.0f, 0, 0}, {0, 0.83f, 0}, {0, 0, 0.34f}};
    Raster::BalanceColors(picture, sepia);
    EXPECT_EQ(PixelAt(picture, 1, 0), QColor(200, 83, 17));
    const float mix[3][3] = {{0, 0, 1.0f}, {0, 1.0f, 0}, {2.0f, 0, 0}}; // swap red and blue, double
    Raster::BalanceColors(picture, mix);
    EXPECT_EQ(PixelAt(picture, 1, 0), QColor(17, 83, 255)); // 400 saturates
}

TEST(RasterRedeye, ReplacesOnlyRedPixelsInsideTheRegion) {
    const QColor red(200, 50, 40), skin(200, 150, 120), eye(74, 141, 222);
    QImage picture = Uniform(40, 20, red);
    Raster::Fill(picture, QRegion(0, 10, 40, 10), skin);
    const QImage original = picture.copy();
    const QRegion region(QRect(5, 0, 20, 20), QRegion::Ellipse);
    Raster::RemoveRedeye(picture, region, eye, 140, 0);
    ForEachPixel(picture, [&](int x, int y) {
        const bool replaced = region.contains(QPoint(x, y)) && y < 10;
        ASSERT_EQ(PixelAt(picture, x, y), replaced ? eye : PixelAt(original, x, y)) << x << "," << y;
    });

    // With lightness the new pixels follow the original: a brighter red pixel stays brighter.
    QImage lit = Uniform(2, 1, QColor(200, 40, 40));
    SetPixelAt(lit, 1, 0, QColor(250, 120, 110));
    Raster::RemoveRedeye(lit, QRegion(0, 0, 2, 1), QColor(0, 0, 0), 100, 100);
    EXPECT_EQ(PixelAt(lit, 0, 0), QColor(0, 0, 0));
    EXPECT_EQ(PixelAt(lit, 1, 0), QColor(56, 56, 56));
}

TEST(RasterRedeye, ThresholdDecidesWhatCountsAsRed) {
    const QColor pale(180, 80, 80); // red 2.25 times its green and blue
    for (auto [threshold, replaced] : {std::pair{60, true}, {130, true}, {140, false}, {190, false}}) {
        QImage picture = Uniform(3, 3, pale);
        Raster::RemoveRedeye(picture, QRegion(0, 0, 3, 3), Qt::black, threshold, 0);
        EXPECT_EQ(PixelAt(picture, 1, 1) == QColor(Qt::black), replaced) << threshold;
    }
}

} // namespace
