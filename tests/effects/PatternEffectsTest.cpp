// Neighbourhood and pattern effects: relief, diagonal average and soften, mosaic, tiles, seam blend.
#include "EffectsTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

TEST(Relief, UniformPictureTurnsMidGreyButTheLastRowAndColumns) {
    QImage picture = MakePicture(6, 4, [](int, int) { return Grey(40); });
    TtavPaintFX().Relief(picture);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x)
            EXPECT_EQ(PixelAt(picture, x, y), Grey(y == 3 || x >= 3 ? 40 : 127)) << x << "," << y;
}

TEST(Relief, EachPixelMixesWithTheInverseOfItsLowerRightNeighbourBeforeItChanges) {
    const QImage original = Varied(7, 5);
    QImage picture = original;
    TtavPaintFX().Relief(picture);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x) {
            TBgrPixel want = PixelAt(original, x, y);
            if (y < 4 && x < 4) {
                const TBgrPixel a = PixelAt(original, x, y), b = PixelAt(original, x + 3, y + 1);
                want = {uchar((255 - b.Blue + a.Blue) / 2), uchar((255 - b.Green + a.Green) / 2),
                        uchar((255 - b.Red + a.Red) / 2)};
            }
            EXPECT_EQ(PixelAt(picture, x, y), want) << x << "," << y;
        }
    for (auto [w, h] : {std::pair{3, 5}, std::pair{7, 1}}) {
        const QImage small = Varied(w, h);
        QImage copy = small;
        TtavPaintFX().Relief(copy);
        EXPECT_EQ(copy, small) << w << "x" << h;
    }
}

// The diagonal average as the rules state it, one pixel at a time on the current picture, with
// neighbours outside a tiny picture held to its last row and column.
void ReferenceDiagonalAverage(QImage& picture, int a) {
    const int w = picture.width(), h = picture.height();
    for (int y = 0; y < h; ++y) {
        const int up = y - a >= 0 ? y - a : y;
        const int low = std::min(y + a < h ? y + a : h - y, h - 1);
        for (int x = 0; x < w; ++x) {
            const int left = x - a >= 0 ? x - a : x;
            const int right = std::min(x + a < w ? x + a : w - x, w - 1);
            for (int k = 0; k < 3; ++k) {
                auto at = [&](int px, int py) { return int(picture.constScanLine(py)[px * 3 + k]); };
                const int v = (at(left, up) + at(left, low) + at(right, up) + at(right, low)) / 4;
                picture.scanLine(y)[x * 3 + k] = uchar(v);
            }
        }
    }
}

TEST(DiagonalAverage, MatchesTheRulesInPlaceWithMirroredBottomRowsAndRightColumns) {
    // In a 9 x 8 picture rows 5, 6, 7 take their lower neighbours from rows 3, 2, 1 and columns 6, 7, 8
    // their right ones from columns 3, 2, 1; the smaller pictures exercise the held neighbours.
    for (auto [w, h] :
         {std::pair{9, 8}, std::pair{4, 4}, std::pair{3, 3}, std::pair{2, 5}, std::pair{1, 1}}) {
        QImage actual = Varied(w, h);
        QImage expected = actual;
        TtavPaintFX().DiagonalAverage(actual, 3);
        ReferenceDiagonalAverage(expected, 3);
        EXPECT_EQ(actual, expected) << w << "x" << h;
    }
}

TEST(DiagonalAverage, UniformPictureAndDistanceZeroStayUnchanged) {
    const QImage uniform = MakePicture(6, 5, [](int, int) { return TBgrPixel{10, 20, 30}; });
    QImage copy = uniform;
    TtavPaintFX().DiagonalAverage(copy, 3);
    EXPECT_EQ(copy, uniform);
    const QImage varied = Varied(6, 5);
    copy = varied;
    TtavPaintFX().DiagonalAverage(copy, 0);
    EXPECT_EQ(copy, varied);
}

TEST(Soften, RunsOneMorePassThanItsCount) {
    for (int extra : {-1, 0, 2}) {
        QImage actual = Varied(8, 7);
        QImage expected = actual;
        TtavPaintFX().Soften(actual, extra);
        for (int pass = 0; pass <= extra; ++pass)
            ReferenceDiagonalAverage(expected, 3);
        EXPECT_EQ(actual, expected) << extra;
    }
}

TEST(Mosaic, BlocksTakeTheColourOfTheirTopLeftPixel) {
    const QImage original = Varied(3, 3);
    QImage picture = original;
    TtavPaintFX().Mosaic(picture, 2);
    const int source[3][3][2] = {
        {{0, 0}, {0, 0}, {2, 0}}, {{0, 0}, {0, 0}, {2, 0}}, {{0, 2}, {0, 2}, {2, 2}}};
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(PixelAt(picture, x, y), PixelAt(original, source[y][x][0], source[y][x][1]))
                << x << "," << y;
    EXPECT_THROW(TtavPaintFX().Mosaic(picture, 0), std::invalid_argument);
}

// Pixels that tell their own position.
QImage Positions(int w, int h) {
    return MakePicture(w, h, [](int x, int y) {
        return TBgrPixel{uchar(x % 256), uchar(y), uchar(x / 256)};
    });
}

TEST(Tiles, TileSizeAndStepOnThePreview) {
    const struct {
        bool Overlap;
        int Requested;
        int Size;
        int Step;
    } cases[] = {
        {false, 3, 3, 3}, {false, 500, 74, 74}, {true, 500, 74, 49}, {true, 10, 10, 7}, {true, 3, 3, 2}};
    const QImage original = Positions(199, 149);
    for (const auto& c : cases) {
        QImage picture = original;
        if (c.Overlap)
            TtavPaintFX().TileOverlap(picture, c.Requested);
        else
            TtavPaintFX().TileSplit(picture, c.Requested);
        int faults = 0;
        for (int y = 0; y < 149; ++y)
            for (int x = 0; x < 199; ++x) {
                // The last tile drawn over (x, y) starts at the step multiple at or before it; the
                // tile is the whole picture in a plain m x m stretch.
                const int tx = x % c.Step, ty = y % c.Step;
                const TBgrPixel want = PixelAt(original, tx * 199 / c.Size, ty * 149 / c.Size);
                faults += PixelAt(picture, x, y) == want ? 0 : 1;
            }
        EXPECT_EQ(faults, 0) << (c.Overlap ? "overlap " : "split ") << c.Requested;
    }
}

TEST(Tiles, PicturesTooSmallForATileStayUnchanged) {
    for (auto [w, h, n] :
         {std::tuple{1, 5, 3}, std::tuple{5, 1, 3}, std::tuple{6, 6, 0}, std::tuple{6, 6, -4}}) {
        const QImage original = Varied(w, h);
        QImage split = original, overlap = original;
        TtavPaintFX().TileSplit(split, n);
        TtavPaintFX().TileOverlap(overlap, n);
        EXPECT_EQ(split, original) << w << "x" << h << " " << n;
        EXPECT_EQ(overlap, original) << w << "x" << h << " " << n;
    }
}

TEST(SeamBlend, TopRowsContinueTheBottomEdgeAndFadeIntoTheBand) {
    // Four columns: W div 5 = 0, so only the last column is replaced by the first.
    const QImage original = MakePicture(4, 100, [](int x, int y) {
        return TBgrPixel{uchar(y), uchar(2 * y), uchar(x == 3 ? 0 : 255 - y)};
    });
    QImage picture = original;
    TtavPaintFX().SeamBlend(picture, 5);
    EXPECT_EQ(PixelAt(picture, 0, 0), (TBgrPixel{99, 198, 156}));
    // Row 10: (20 - 99) / 20 * 10 + 99 = 59.5 -> 60; (40 - 198) / 20 * 10 + 198 = 119;
    // (235 - 156) / 20 * 10 + 156 = 195.5 -> 196.
    EXPECT_EQ(PixelAt(picture, 1, 10), (TBgrPixel{60, 119, 196}));
    for (int y = 0; y < 100; ++y) {
        EXPECT_EQ(PixelAt(picture, 3, y), PixelAt(picture, 0, y)) << y;
        if (y >= 20) {
            EXPECT_EQ(PixelAt(picture, 1, y), PixelAt(original, 1, y)) << y;
        } else if (y >= 1) {
            const int blue = int(std::nearbyint((20.0 - 99.0) / 20 * y + 99));
            EXPECT_EQ(PixelAt(picture, 2, y).Blue, blue) << y;
        }
    }
}

TEST(SeamBlend, RightColumnsContinueTheLeftEdge) {
    // Ten columns, divisor 5: xs = 2, so column 8 blends halfway between column 9 (now column 0) and 8.
    QImage picture = MakePicture(10, 3, [](int x, int) { return Grey(x * 20); });
    TtavPaintFX().SeamBlend(picture, 5);
    for (int y = 0; y < 3; ++y) {
        EXPECT_EQ(PixelAt(picture, 9, y), Grey(0));
        EXPECT_EQ(PixelAt(picture, 8, y), Grey(80)); // (160 - 0) / 2 * 1 + 0
        EXPECT_EQ(PixelAt(picture, 7, y), Grey(140));
    }
    EXPECT_THROW(TtavPaintFX().SeamBlend(picture, 0), std::invalid_argument);
}

} // namespace
