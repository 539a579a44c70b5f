// Tone and colour effects, the random generator, the sine curve and the bitmap's row error.
#include "CanvasTone.h"
#include "EffectsTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct ToneCase {
    const char* Operation;
    int Amount;
    int Before;
    int After;
};

TEST(ToneEffects, BrightnessAndContrastMapChannelValues) {
    const std::vector<ToneCase> cases = {
        {"brightness", 100, 200, 221}, {"brightness", -255, 200, 145}, {"brightness", -255, 100, 0},
        {"brightness", 255, 0, 255},   {"brightness", 0, 77, 77},      {"contrast", 100, 200, 228},
        {"contrast", 100, 50, 20},     {"contrast", 255, 127, 127},    {"contrast", 255, 128, 129},
        {"contrast", -255, 200, 127},  {"contrast", -255, 50, 127},
    };
    const TtavPaintFX fx;
    for (const ToneCase& c : cases) {
        QImage picture = MakePicture(3, 2, [&](int, int) { return Grey(c.Before); });
        if (std::string(c.Operation) == "brightness")
            fx.ApplyBrightness(picture, c.Amount);
        else
            fx.ApplyContrast(picture, c.Amount);
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 3; ++x)
                EXPECT_EQ(PixelAt(picture, x, y), Grey(c.After))
                    << c.Operation << " " << c.Amount << " on " << c.Before;
    }
}

TEST(ToneEffects, SaturationSpreadsOrJoinsChannelsAroundTheirMean) {
    const struct {
        int Amount;
        TBgrPixel After;
    } cases[] = {{350, {26, 95, 231}}, {250, {52, 101, 198}}, {0, {116, 116, 116}}, {255, {50, 100, 200}}};
    for (const auto& c : cases) {
        QImage picture = MakePicture(2, 1, [](int, int) { return TBgrPixel{50, 100, 200}; });
        TtavPaintFX().ApplySaturation(picture, c.Amount);
        EXPECT_EQ(PixelAt(picture, 1, 0), c.After) << c.Amount;
    }
}

TEST(RandomGenerator, FirstDrawsFromSeedZero) {
    TRandomGenerator random;
    const std::uint32_t expected[] = {0, 3, 86, 20, 27, 67};
    for (std::uint32_t e : expected)
        EXPECT_EQ(random.Draw(100), e);
}

TEST(RandomGenerator, ProcessGeneratorIsOneObjectAndDrawsOfRangeZeroAdvanceIt) {
    EXPECT_EQ(&ProcessRandom(), &ProcessRandom());
    TRandomGenerator random(12345);
    EXPECT_EQ(random.Draw(0), 0u);
    EXPECT_EQ(random.Seed(), 12345u * 134775813u + 1u);
}

TEST(NoiseEffects, AddDrawsAroundHalfTheAmountInPixelAndChannelOrder) {
    // Draws of range 100 from seed 0 are 0, 3, 86, 20, 27, 67; the offset is 50.
    QImage colour = MakePicture(2, 1, [](int, int) { return Grey(100); });
    TRandomGenerator random;
    TtavPaintFX().ColorNoise(colour, 100, random);
    EXPECT_EQ(PixelAt(colour, 0, 0), (TBgrPixel{50, 53, 136}));
    EXPECT_EQ(PixelAt(colour, 1, 0), (TBgrPixel{70, 77, 117}));

    QImage mono = MakePicture(1, 2, [](int, int) { return Grey(100); });
    TRandomGenerator monoRandom;
    TtavPaintFX().MonoNoise(mono, 100, monoRandom);
    EXPECT_EQ(PixelAt(mono, 0, 0), Grey(50));
    EXPECT_EQ(PixelAt(mono, 0, 1), Grey(53));

    QImage clamped = MakePicture(1, 1, [](int, int) { return TBgrPixel{0, 255, 10}; });
    TRandomGenerator clampRandom(7);
    TtavPaintFX().ColorNoise(clamped, 200, clampRandom);
    TRandomGenerator replay(7);
    const int b = int(replay.Draw(200)) - 100, g = int(replay.Draw(200)) - 100,
              r = int(replay.Draw(200)) - 100;
    EXPECT_EQ(PixelAt(clamped, 0, 0),
              (TBgrPixel{uchar(ClampByte(b)), uchar(ClampByte(255 + g)), uchar(ClampByte(10 + r))}));
}

TEST(NoiseEffects, AmountZeroKeepsThePictureButAdvancesTheGenerator) {
    const QImage original = Varied(4, 3);
    for (int perPixel : {3, 1}) {
        QImage picture = original;
        TRandomGenerator random(99);
        if (perPixel == 3)
            TtavPaintFX().ColorNoise(picture, 0, random);
        else
            TtavPaintFX().MonoNoise(picture, 0, random);
        EXPECT_EQ(picture, original);
        TRandomGenerator expected(99);
        for (int i = 0; i < 12 * perPixel; ++i)
            expected.Draw(0);
        EXPECT_EQ(random.Seed(), expected.Seed()) << perPixel;
    }
}

TEST(ToneEffects, ChannelBandMembersMarkTheOpenBand) {
    using Member = void (TtavPaintFX::*)(QImage&, int, int) const;
    const struct {
        Member Operation;
        int Channel;
        bool ClearsOthers;
    } members[] = {
        {&TtavPaintFX::ChannelBandBlue, 0, true},       {&TtavPaintFX::ChannelBandGreen, 1, true},
        {&TtavPaintFX::ChannelBandRed, 2, true},        {&TtavPaintFX::ChannelBandBlueOnly, 0, false},
        {&TtavPaintFX::ChannelBandGreenOnly, 1, false}, {&TtavPaintFX::ChannelBandRedOnly, 2, false},
    };
    const int values[] = {0, 1, 2, 127, 128, 255};
    const int expected[] = {0, 0, 255, 255, 0, 0};
    const TtavPaintFX fx;
    for (const auto& m : members) {
        QImage picture = MakePicture(6, 1, [&](int x, int) {
            uchar c[3] = {40, 41, 42};
            c[m.Channel] = uchar(values[x]);
            return TBgrPixel{c[0], c[1], c[2]};
        });
        (fx.*m.Operation)(picture, 1, 128);
        for (int x = 0; x < 6; ++x) {
            const uchar* p = picture.constScanLine(0) + x * 3;
            for (int k = 0; k < 3; ++k) {
                const int want = k == m.Channel ? expected[x] : (m.ClearsOthers ? 0 : 40 + k);
                EXPECT_EQ(p[k], want) << "channel " << m.Channel << " value " << values[x] << " byte " << k;
            }
        }
    }
}

TEST(ToneEffects, SolarizeInvertsPixelsWhoseMeanIsAboveTheThreshold) {
    const TBgrPixel before[] = {{0, 0, 0}, {1, 1, 1}, {0, 0, 5}, {3, 2, 1}, {200, 100, 10}};
    const TBgrPixel after[] = {{0, 0, 0}, {1, 1, 1}, {0, 0, 5}, {252, 253, 254}, {55, 155, 245}};
    QImage picture = MakePicture(5, 1, [&](int x, int) { return before[x]; });
    QImage separate(5, 1, QImage::Format_RGB32);
    TtavPaintFX().Solarize(picture, separate, 1);
    TtavPaintFX().Solarize(picture, picture, 1);
    EXPECT_EQ(separate.format(), QImage::Format_BGR888);
    for (int x = 0; x < 5; ++x) {
        EXPECT_EQ(PixelAt(picture, x, 0), after[x]) << x;
        EXPECT_EQ(PixelAt(separate, x, 0), after[x]) << x;
    }
}

TEST(ToneEffects, PosterizeRoundsToEvenMultiplesAndHoldsTheTopAt255) {
    const struct {
        int Step;
        int Before;
        int After;
    } cases[] = {{100, 149, 100}, {100, 150, 200}, {100, 250, 200}, {100, 251, 255}, {64, 223, 192},
                 {64, 224, 255},  {64, 32, 0},     {1, 77, 77},     {255, 128, 255}, {255, 127, 0}};
    for (const auto& c : cases) {
        QImage picture = MakePicture(1, 1, [&](int, int) { return Grey(c.Before); });
        TtavPaintFX().Posterize(picture, picture, c.Step);
        EXPECT_EQ(PixelAt(picture, 0, 0), Grey(c.After)) << c.Step << " " << c.Before;
    }
    QImage picture(1, 1, QImage::Format_BGR888);
    EXPECT_THROW(TtavPaintFX().Posterize(picture, picture, 0), std::invalid_argument);
}

TEST(SineCurve, TableEntries) {
    const TSineCurveTable table = SineCurveTable();
    const std::pair<int, int> entries[] = {{0, 0},    {1, 2},     {10, 16},   {64, 98},   {85, 128},
                                           {98, 145}, {128, 181}, {192, 236}, {250, 255}, {255, 255}};
    for (auto [index, value] : entries)
        EXPECT_EQ(table[index], value) << index;
}

TEST(SineCurve, PassesRepeatTheCurve) {
    const TSineCurveTable table = SineCurveTable();
    const struct {
        int Passes;
        int Before;
        int After;
    } cases[] = {{2, 64, 145}, {1, 64, 98}, {0, 64, 64}, {-3, 64, 64}, {10, 0, 0}, {10, 255, 255}};
    for (const auto& c : cases) {
        QImage picture = MakePicture(2, 2, [&](int, int) { return Grey(c.Before); });
        SineCurve(picture, table, c.Passes);
        EXPECT_EQ(PixelAt(picture, 1, 1), Grey(c.After)) << c.Passes << " " << c.Before;
    }
}

TEST(Bitmap, PicturesOfOtherFormatsAreConvertedBeforeTheEffect) {
    QImage picture(5, 4, QImage::Format_Grayscale8);
    picture.fill(200);
    TtavPaintFX().ApplyBrightness(picture, 100);
    EXPECT_EQ(picture.format(), QImage::Format_BGR888);
    EXPECT_EQ(PixelAt(picture, 4, 3), Grey(221));
    QImage mono(5, 4, QImage::Format_Mono);
    mono.fill(0);
    TtavPaintFX().Relief(mono);
    EXPECT_EQ(mono.format(), QImage::Format_BGR888);
}

TEST(Bitmap, RowOutsideThePictureRaisesTheRowError) {
    QImage picture(3, 2, QImage::Format_BGR888);
    EXPECT_NO_THROW(ScanLine(picture, 1));
    for (int row : {-1, 2}) {
        try {
            ScanLine(picture, row);
            ADD_FAILURE() << row;
        } catch (const std::exception& error) {
            EXPECT_STREQ(error.what(), "Bereichsüberschreitung bei Zeilenindex");
        }
    }
}

} // namespace
