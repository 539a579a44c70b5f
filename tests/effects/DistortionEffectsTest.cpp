// Geometric distortions: polar angle, wrapped sampling, swirl, fish-eye, plasma and slant, and the
// row split over threads giving the single-thread result.
#include "CanvasTone.h"
#include "EffectsTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(PolarAngle, QuadrantsAndAxes) {
    const struct {
        float X, Y, Angle;
    } cases[] = {{0, 0, -1.5707964f}, {0, 5, 1.5707964f},    {0, -5, -1.5707964f}, {-1, 0, 3.14159265f},
                 {1, 1, 0.78539816f}, {-1, -1, 3.92699082f}, {-1, 1, 2.35619449f}, {2, -2, -0.78539816f}};
    for (const auto& c : cases)
        EXPECT_FLOAT_EQ(PolarAngle(c.X, c.Y), c.Angle) << c.X << "," << c.Y;
}

TEST(SampleWrapped, WeightsAndWrapAtTheEdges) {
    // Blue tells the column (0, 100, 200, 40), green the row (0, 80).
    const int blues[] = {0, 100, 200, 40};
    const QImage picture = MakePicture(4, 2, [&](int x, int y) {
        return TBgrPixel{uchar(blues[x]), uchar(80 * y), 9};
    });
    const struct {
        float X, Y;
        TBgrPixel Expected;
    } cases[] = {
        {2, 1, {200, 80, 9}},                                // an integer position is that pixel
        {-0.25f, 0, {75, 0, 9}},                             // columns 0 and 1 weighted 0.25 and 0.75
        {3.5f, 0, {20, 0, 9}},                               // the last column and column 0 equally
        {3.5f, 1, {20, 80, 9}},  {1.5f, 1.5f, {150, 40, 9}}, // the last row and row 0 equally
        {-1.5f, 0, {120, 0, 9}},                             // wrapped to columns 2 and 3 equally
        {9, 4, {100, 0, 9}},                                 // folded back: column 9 mod 4, row 4 mod 2
    };
    for (const auto& c : cases)
        EXPECT_EQ(SampleWrapped(picture, c.X, c.Y), c.Expected) << c.X << "," << c.Y;
}

TEST(SampleWrapped, HalfwaySumsRoundToEven) {
    const QImage picture = MakePicture(2, 1, [](int x, int) {
        return x == 0 ? TBgrPixel{1, 0, 4} : TBgrPixel{2, 1, 1};
    });
    // 1.5 -> 2, 0.5 -> 0, 2.5 -> 2.
    EXPECT_EQ(SampleWrapped(picture, 0.5f, 0), (TBgrPixel{2, 0, 2}));
}

TEST(Swirl, CentreOfAnOddPictureStaysAndItsNeighboursTurnByNearlyAQuarter) {
    // Blue grows with the row, green with the column: a quarter turn shows as the pixel right of the
    // centre taking the colour from just below it.
    const QImage source = MakePicture(21, 21, [](int x, int y) {
        return TBgrPixel{uchar(10 * y), uchar(10 * x), 0};
    });
    QImage destination(21, 21, QImage::Format_BGR888);
    TtavPaintFX().Swirl(source, destination, 10);
    EXPECT_EQ(PixelAt(destination, 10, 10), PixelAt(source, 10, 10));
    // Right of the centre: source near (10 + 0.10, 10 + 0.99).
    const TBgrPixel right = PixelAt(destination, 11, 10);
    EXPECT_NEAR(right.Blue, 110, 1);
    EXPECT_NEAR(right.Green, 101, 1);
    // Below the centre: source near (10 - 0.99, 10 + 0.10).
    const TBgrPixel below = PixelAt(destination, 10, 11);
    EXPECT_NEAR(below.Blue, 101, 1);
    EXPECT_NEAR(below.Green, 90, 1);

    EXPECT_THROW(TtavPaintFX().Swirl(source, destination, 0), std::invalid_argument);
    QImage same = source;
    EXPECT_THROW(TtavPaintFX().Swirl(same, same, 10), std::invalid_argument);
}

TEST(FishEyeDistort, RingAtHalfTheRadiusMapsOntoItself) {
    // f = 0.5 on 200 pixels: R = 100; at distance 50, (R / 2) * (1 / (1 - 0.5) - 1) = 50.
    const QImage source = Varied(200, 200);
    QImage destination(200, 200, QImage::Format_BGR888);
    TtavPaintFX().FishEyeDistort(source, destination, 0.5f);
    for (auto [x, y] : {std::pair{150, 100}, std::pair{50, 100}, std::pair{100, 50}, std::pair{100, 150},
                        std::pair{130, 140}, std::pair{100, 100}})
        EXPECT_EQ(PixelAt(destination, x, y), PixelAt(source, x, y)) << x << "," << y;
}

TEST(FishEyeDistort, FirstPixelExactlyOnTheRadiusStartsWithoutDisplacement) {
    // 8 x 6 with f = 0.625: R = 5, and pixel (0, 0) lies at distance 5 from the centre (4, 3).
    const QImage source = Varied(8, 6);
    QImage destination(8, 6, QImage::Format_BGR888);
    TtavPaintFX().FishEyeDistort(source, destination, 0.625f);
    EXPECT_EQ(PixelAt(destination, 0, 0), PixelAt(source, 4, 3));
}

// The fish-eye as the rules state it: pixels in row order, k and d carried from pixel to pixel.
QImage ReferenceFishEye(const QImage& source, float f) {
    QImage out(source.size(), QImage::Format_BGR888);
    const float cx = source.width() / 2.0f, cy = source.height() / 2.0f, R = source.width() * f;
    float k = 0, d = 0;
    for (int y = 0; y < source.height(); ++y)
        for (int x = 0; x < source.width(); ++x) {
            const float fx = x - cx, fy = y - cy;
            const float fx2 = fx * fx, fy2 = fy * fy;
            const float sum = fx2 + fy2;
            const float r = std::sqrt(sum);
            float sx = cx, sy = cy;
            if (r != 0) {
                if (R != 0 && r != R) {
                    const float q = r / R;
                    const float o = 1 - q;
                    const float inv = 1 / o;
                    k = inv - 1;
                    if (k != 0) {
                        const float half = R / 2;
                        d = half * k;
                    }
                }
                const float tx = fx * d, ty = fy * d;
                const float ux = tx / r, uy = ty / r;
                sx = cx + ux;
                sy = cy + uy;
            }
            const TBgrPixel p = SampleWrapped(source, sx, sy);
            uchar* q = out.scanLine(y) + x * 3;
            q[0] = p.Blue;
            q[1] = p.Green;
            q[2] = p.Red;
        }
    return out;
}

TEST(FishEyeDistort, MatchesThePixelByPixelRuleWhateverTheVisitingOrder) {
    // f = 0.5 on 400 x 300 puts pixel (0, 150) exactly on the radius; f = 0 has no radius at all, and
    // an enormous f lets k round to 0 near the centre.
    const QImage source = Varied(400, 300);
    for (float f : {0.5f, 0.25f, 0.0f, 1.0e9f, -0.3f}) {
        QImage destination(400, 300, QImage::Format_BGR888);
        TtavPaintFX().FishEyeDistort(source, destination, f);
        EXPECT_EQ(destination, ReferenceFishEye(source, f)) << f;
    }
    QImage unused(4, 3, QImage::Format_BGR888);
    EXPECT_THROW(TtavPaintFX().FishEyeDistort(Varied(4, 3), unused, std::nanf("")), std::invalid_argument);
    QImage flat(6, 4, QImage::Format_BGR888);
    TtavPaintFX().FishEyeDistort(Varied(6, 4), flat, 0.0f);
    EXPECT_EQ(PixelAt(flat, 5, 0), PixelAt(Varied(6, 4), 3, 2));
}

TEST(PlasmaDisplace, ZeroBlueMovesEveryPixelUpByTheScale) {
    const QImage source = MakePicture(3, 12, [](int x, int y) {
        return TBgrPixel{0, uchar(10 * y), uchar(x)};
    });
    QImage destination = source;
    // Scale 1 and turbulence 1 are raised to 5 and 10.
    TtavPaintFX().PlasmaDisplace(source, source, destination, 1, 1);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(PixelAt(destination, x, y), PixelAt(source, x, y < 7 ? y + 5 : y)) << x << "," << y;
    EXPECT_THROW(TtavPaintFX().PlasmaDisplace(destination, source, destination, 5, 10),
                 std::invalid_argument);
}

TEST(PlasmaDisplace, BlueValueTurnsTheDisplacement) {
    // Blue 16 with turbulence 10 and scale 10: angle 1.6, offset (Round(-10 sin 1.6), Round(10 cos 1.6)) =
    // (-10, 0).
    const QImage lookup = MakePicture(12, 2, [](int x, int) { return TBgrPixel{16, 0, uchar(x)}; });
    const QImage displacement = MakePicture(12, 2, [](int x, int y) {
        return TBgrPixel{0, uchar(y), uchar(100 + x)};
    });
    QImage destination = lookup;
    TtavPaintFX().PlasmaDisplace(displacement, lookup, destination, 10, 10);
    for (int x = 0; x < 12; ++x)
        EXPECT_EQ(PixelAt(destination, x, 1),
                  x >= 10 ? PixelAt(displacement, x - 10, 1) : PixelAt(lookup, x, 1))
            << x;
}

TEST(Slant, FullAmountOnASquareSqueezesRowsIntoHalves) {
    const QImage original = Varied(4, 4);
    QImage picture = original;
    Slant(picture, 100);
    const TBgrPixel white{255, 255, 255};
    // Row 0: targets Round(x / 2) = 0, 0, 1, 2; row 3: Round((3 + x) / 2) = 2, 2, 2, 3.
    EXPECT_EQ(PixelAt(picture, 0, 0), PixelAt(original, 1, 0));
    EXPECT_EQ(PixelAt(picture, 1, 0), PixelAt(original, 2, 0));
    EXPECT_EQ(PixelAt(picture, 2, 0), PixelAt(original, 3, 0));
    EXPECT_EQ(PixelAt(picture, 3, 0), white);
    EXPECT_EQ(PixelAt(picture, 0, 3), white);
    EXPECT_EQ(PixelAt(picture, 1, 3), white);
    EXPECT_EQ(PixelAt(picture, 2, 3), PixelAt(original, 2, 3));
    EXPECT_EQ(PixelAt(picture, 3, 3), PixelAt(original, 3, 3));

    QImage unchanged = original;
    Slant(unchanged, 0);
    EXPECT_EQ(unchanged, original);
    EXPECT_THROW(Slant(unchanged, -1), std::invalid_argument);
}

TEST(Slant, TargetOnePastTheRowGoesIntoTheLastColumn) {
    // One column, ten rows, amount 100: row 9 computes Round(9 / 11) = 1, one past the row.
    const QImage original = Varied(1, 10);
    QImage picture = original;
    Slant(picture, 100);
    EXPECT_EQ(PixelAt(picture, 0, 9), PixelAt(original, 0, 9));
}

TEST(Threads, RowSplitGivesTheSingleThreadResult) {
    // 400 x 300 is large enough to be split; row 150, where the second thread starts, begins with a
    // pixel exactly on the fish-eye radius, whose state must carry over from row 149.
    const QImage source = Varied(400, 300);
    const TtavPaintFX one(1);
    const TtavPaintFX two(2);
    auto both = [&](const char* name, auto run) {
        QImage a = source, b = source;
        run(one, a);
        run(two, b);
        EXPECT_EQ(a, b) << name;
        EXPECT_NE(a, source) << name;
    };
    both("swirl", [&](const TtavPaintFX& fx, QImage& out) { fx.Swirl(source, out, 40); });
    both("fish-eye", [&](const TtavPaintFX& fx, QImage& out) { fx.FishEyeDistort(source, out, 0.5f); });
    both("plasma",
         [&](const TtavPaintFX& fx, QImage& out) { fx.PlasmaDisplace(source, source, out, 20, 30); });
    both("brightness", [](const TtavPaintFX& fx, QImage& out) { fx.ApplyBrightness(out, 60); });
    both("contrast", [](const TtavPaintFX& fx, QImage& out) { fx.ApplyContrast(out, 60); });
    both("saturation", [](const TtavPaintFX& fx, QImage& out) { fx.ApplySaturation(out, 400); });
    both("band", [](const TtavPaintFX& fx, QImage& out) { fx.ChannelBandGreen(out, 10, 100); });
    both("solarize", [](const TtavPaintFX& fx, QImage& out) { fx.Solarize(out, out, 100); });
    both("posterize", [](const TtavPaintFX& fx, QImage& out) { fx.Posterize(out, out, 40); });
}

} // namespace
