// The scenes are built from QPainter gradients and paths (the raster engine's fast paths) and
// finished by one pass over the scan lines that adds noise while converting to 24 bits. Shapes
// are placed in units of the picture's height, so a scene looks alike at every size.
#include "Scenes.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <vector>

namespace Scenes {
namespace {

// SplitMix64: tiny, fast and the same on every platform, unlike the standard distributions.
class Rng {
public:
    explicit Rng(std::uint64_t seed) : State(seed * 0x9E3779B97F4A7C15ull + 0x2545F4914F6CDD1Dull) {}
    std::uint64_t Next() {
        std::uint64_t z = (State += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    double Uniform(double lo, double hi) { return lo + (hi - lo) * double(Next() >> 11) * 0x1.0p-53; }
    int Int(int lo, int hi) { return lo + int(Next() % std::uint64_t(hi - lo + 1)); }
    bool Chance(double p) { return Uniform(0, 1) < p; }

private:
    std::uint64_t State;
};

QColor Mix(const QColor& a, const QColor& b, double t) {
    auto channel = [t](int x, int y) { return int(std::lround(x + (y - x) * t)); };
    return QColor(channel(a.red(), b.red()), channel(a.green(), b.green()), channel(a.blue(), b.blue()),
                  channel(a.alpha(), b.alpha()));
}

QColor WithAlpha(QColor color, int alpha) {
    color.setAlpha(alpha);
    return color;
}

QColor Jitter(Rng& rng, const QColor& color, int amount) {
    auto channel = [&](int x) { return std::clamp(x + rng.Int(-amount, amount), 0, 255); };
    return QColor(channel(color.red()), channel(color.green()), channel(color.blue()), color.alpha());
}

// Adds sensor-like noise (mostly luminance, a little colour) and converts to the codecs' format.
// One xorshift step per pixel keeps the pass cheap; each row has its own seed.
QImage Finish(const QImage& canvas, std::uint64_t seed, int amplitude) {
    QImage out(canvas.size(), QImage::Format_BGR888);
    const int width = canvas.width();
    for (int y = 0; y < canvas.height(); ++y) {
        const auto* src = reinterpret_cast<const QRgb*>(canvas.constScanLine(y));
        uchar* dst = out.scanLine(y);
        std::uint32_t state = std::uint32_t(Rng(seed ^ (std::uint64_t(y) << 20)).Next()) | 1u;
        for (int x = 0; x < width; ++x) {
            state ^= state << 13;
            state ^= state >> 17;
            state ^= state << 5;
            // The sum of two bytes is triangular, which looks more like grain than flat noise.
            const int luma = ((int(state & 0xFF) + int((state >> 8) & 0xFF) - 255) * amplitude) >> 8;
            const int red = luma + int((state >> 16) & 3) - 1;
            const int blue = luma + int((state >> 18) & 3) - 1;
            const QRgb pixel = src[x];
            dst[3 * x] = uchar(std::clamp(qBlue(pixel) + blue, 0, 255));
            dst[3 * x + 1] = uchar(std::clamp(qGreen(pixel) + luma, 0, 255));
            dst[3 * x + 2] = uchar(std::clamp(qRed(pixel) + red, 0, 255));
        }
    }
    return out;
}

// A ridge line: a few summed sine waves, evaluated only at the outline's sample points.
struct Ridge {
    double Base = 0;
    std::array<double, 4> Amplitude{};
    std::array<double, 4> Frequency{};
    std::array<double, 4> Phase{};

    Ridge(Rng& rng, double base, double height, double width) : Base(base) {
        for (int i = 0; i < 4; ++i) {
            Amplitude[i] = height * rng.Uniform(0.2, 1.0) / double(1 << i);
            Frequency[i] = rng.Uniform(1.0, 2.5) * double(1 << i) * 2 * std::numbers::pi / width;
            Phase[i] = rng.Uniform(0, 2 * std::numbers::pi);
        }
    }
    double Y(double x) const {
        double y = Base;
        for (int i = 0; i < 4; ++i)
            y -= Amplitude[i] * std::sin(Frequency[i] * x + Phase[i]);
        return y;
    }
    // The area under the ridge down to bottom.
    QPainterPath Area(double width, double bottom) const {
        constexpr int kSamples = 96;
        QPainterPath path(QPointF(0, bottom));
        for (int i = 0; i <= kSamples; ++i) {
            const double x = width * i / kSamples;
            path.lineTo(x, Y(x));
        }
        path.lineTo(width, bottom);
        path.closeSubpath();
        return path;
    }
};

struct Light {
    QPointF Sun;
    bool Golden = false;
    QColor SkyTop, SkyHorizon, SunColor;
};

void PaintSky(QPainter& painter, Rng& rng, const Light& light, double width, double horizon, double unit) {
    QLinearGradient sky(0, 0, 0, horizon);
    sky.setColorAt(0, light.SkyTop);
    sky.setColorAt(0.6, Mix(light.SkyTop, light.SkyHorizon, 0.55));
    sky.setColorAt(1, light.SkyHorizon);
    // The gradient pads below the horizon, so no gap shows between the layers painted over it.
    painter.fillRect(QRectF(0, 0, width, painter.device()->height()), sky);

    const double glowRadius = unit * rng.Uniform(0.3, 0.5);
    QRadialGradient glow(light.Sun, glowRadius);
    glow.setColorAt(0, WithAlpha(light.SunColor, 170));
    glow.setColorAt(0.25, WithAlpha(light.SunColor, 60));
    glow.setColorAt(1, WithAlpha(light.SunColor, 0));
    const QRectF glowRect(light.Sun.x() - glowRadius, light.Sun.y() - glowRadius, 2 * glowRadius,
                          2 * glowRadius);
    painter.fillRect(glowRect.intersected(QRectF(0, 0, width, horizon)), glow);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 252, 235));
    const double sunRadius = unit * 0.03;
    painter.drawEllipse(light.Sun, sunRadius, sunRadius);

    // Clouds: clusters of soft puffs, lit a little from the sun's side.
    const int clouds = rng.Int(1, 5);
    for (int c = 0; c < clouds; ++c) {
        const QPointF centre(rng.Uniform(0, width), rng.Uniform(0.08, 0.7) * horizon);
        const double size = unit * rng.Uniform(0.025, 0.06);
        const QColor tint = light.Golden ? QColor(255, 220, 200) : QColor(250, 250, 252);
        const int puffs = rng.Int(5, 9);
        for (int p = 0; p < puffs; ++p) {
            const QPointF at = centre + QPointF(rng.Uniform(-2.5, 2.5) * size, rng.Uniform(-0.5, 0.4) * size);
            const double rx = size * rng.Uniform(0.8, 1.6);
            const double ry = rx * rng.Uniform(0.45, 0.7);
            QRadialGradient puff(at, rx);
            puff.setColorAt(0, WithAlpha(tint, rng.Int(120, 190)));
            puff.setColorAt(0.6, WithAlpha(Mix(tint, light.SkyHorizon, 0.3), 90));
            puff.setColorAt(1, WithAlpha(tint, 0));
            painter.setBrush(puff);
            painter.drawEllipse(at, rx, ry);
        }
    }
}

void PaintHill(QPainter& painter, const Ridge& ridge, double width, double bottom, const QColor& top,
               const QColor& foot) {
    QLinearGradient fill(0, ridge.Base - 2 * ridge.Amplitude[0], 0, bottom);
    fill.setColorAt(0, top);
    fill.setColorAt(1, foot);
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawPath(ridge.Area(width, bottom));
}

void PaintWater(QPainter& painter, Rng& rng, const Light& light, double width, double top, double bottom) {
    QLinearGradient water(0, top, 0, bottom);
    water.setColorAt(0, Mix(light.SkyHorizon, QColor(40, 70, 90), 0.35));
    water.setColorAt(1, Mix(light.SkyTop, QColor(10, 30, 50), 0.5));
    painter.fillRect(QRectF(0, top, width, bottom - top), water);

    // The sun's reflection: a soft vertical streak below it.
    const double streak = (bottom - top) * 0.06 + width * 0.02;
    QLinearGradient glitter(light.Sun.x() - streak, 0, light.Sun.x() + streak, 0);
    glitter.setColorAt(0, WithAlpha(light.SunColor, 0));
    glitter.setColorAt(0.5, WithAlpha(light.SunColor, 110));
    glitter.setColorAt(1, WithAlpha(light.SunColor, 0));
    painter.fillRect(QRectF(light.Sun.x() - streak, top, 2 * streak, bottom - top), glitter);

    // Ripples: short light and dark lines, longer and further apart towards the viewer.
    const int ripples = int((bottom - top) / 3);
    for (int i = 0; i < ripples; ++i) {
        const double depth = rng.Uniform(0, 1);
        const double y = top + (bottom - top) * depth * depth;
        const double length = width * rng.Uniform(0.01, 0.06) * (0.3 + depth);
        const double x = rng.Uniform(-length, width);
        const bool bright = rng.Chance(0.5);
        painter.setPen(QPen(bright ? QColor(255, 255, 255, 40) : QColor(0, 20, 40, 45), 1 + 2 * depth));
        painter.drawLine(QPointF(x, y), QPointF(x + length, y));
    }
}

void PaintTree(QPainter& painter, Rng& rng, const Light& light, QPointF foot, double height) {
    const double trunkWidth = height * 0.06;
    const QColor bark = Jitter(rng, QColor(80, 55, 35), 12);
    painter.setPen(Qt::NoPen);
    painter.setBrush(bark);
    painter.drawRect(QRectF(foot.x() - trunkWidth / 2, foot.y() - height * 0.45, trunkWidth, height * 0.46));

    const QColor leaf = Jitter(rng, light.Golden ? QColor(70, 95, 35) : QColor(50, 105, 40), 18);
    const double lightSide = light.Sun.x() < foot.x() ? -1 : 1;
    if (rng.Chance(0.35)) {
        // A conifer: stacked triangles, darker at the bottom of each tier.
        for (int tier = 0; tier < 4; ++tier) {
            const double tierTop = foot.y() - height * (1.0 - tier * 0.18);
            const double tierBottom = tierTop + height * 0.34;
            const double half = height * (0.13 + 0.05 * tier);
            QLinearGradient shade(foot.x() - half * lightSide, 0, foot.x() + half * lightSide, 0);
            shade.setColorAt(0, leaf.lighter(125));
            shade.setColorAt(1, leaf.darker(170));
            painter.setBrush(shade);
            const QPointF points[3] = {QPointF(foot.x(), tierTop), QPointF(foot.x() + half, tierBottom),
                                       QPointF(foot.x() - half, tierBottom)};
            painter.drawPolygon(points, 3);
        }
        return;
    }
    // A broadleaf crown: overlapping blobs, each lit towards the sun.
    const QPointF crown(foot.x(), foot.y() - height * 0.68);
    const int blobs = rng.Int(7, 12);
    for (int i = 0; i < blobs; ++i) {
        const QPointF at =
            crown + QPointF(rng.Uniform(-0.22, 0.22) * height, rng.Uniform(-0.22, 0.16) * height);
        const double radius = height * rng.Uniform(0.13, 0.21);
        QRadialGradient blob(at + QPointF(lightSide * radius * 0.35, -radius * 0.35), radius * 1.3);
        const QColor tone = Jitter(rng, leaf, 10);
        blob.setColorAt(0, tone.lighter(135));
        blob.setColorAt(0.7, tone);
        blob.setColorAt(1, tone.darker(160));
        painter.setBrush(blob);
        painter.drawEllipse(at, radius, radius * 0.9);
    }
}

void PaintHouse(QPainter& painter, Rng& rng, const Light& light, QPointF foot, double height) {
    const double width = height * rng.Uniform(1.0, 1.6);
    const double wall = height * 0.6;
    const QRectF body(foot.x() - width / 2, foot.y() - wall, width, wall + height * 0.04);
    const QColor plaster = Jitter(rng, QColor(225, 215, 195), 20);
    const bool litFromLeft = light.Sun.x() < foot.x();
    QLinearGradient walls(body.left(), 0, body.right(), 0);
    walls.setColorAt(0, litFromLeft ? plaster.lighter(108) : plaster.darker(125));
    walls.setColorAt(1, litFromLeft ? plaster.darker(125) : plaster.lighter(108));
    painter.setPen(Qt::NoPen);
    painter.setBrush(walls);
    painter.drawRect(body);

    const QColor tiles = Jitter(rng, rng.Chance(0.6) ? QColor(150, 60, 45) : QColor(80, 80, 90), 15);
    QLinearGradient roofShade(0, body.top() - height * 0.4, 0, body.top());
    roofShade.setColorAt(0, tiles.lighter(115));
    roofShade.setColorAt(1, tiles.darker(140));
    painter.setBrush(roofShade);
    const double eaves = width * 0.08;
    const QPointF roof[3] = {QPointF(body.left() - eaves, body.top()),
                             QPointF(foot.x(), body.top() - height * 0.4),
                             QPointF(body.right() + eaves, body.top())};
    painter.drawPolygon(roof, 3);

    // Windows with a light frame and a sky reflection; a door off centre.
    const double pane = height * 0.13;
    const int windows = width > height * 1.3 ? 3 : 2;
    for (int i = 0; i < windows; ++i) {
        const double x = body.left() + width * (i + 0.5) / windows - pane / 2;
        const QRectF glass(x, body.top() + wall * 0.18, pane, pane * 1.2);
        painter.setBrush(QColor(245, 240, 230));
        painter.drawRect(glass.adjusted(-pane * 0.12, -pane * 0.12, pane * 0.12, pane * 0.12));
        QLinearGradient reflection(glass.topLeft(), glass.bottomRight());
        reflection.setColorAt(0, Mix(light.SkyHorizon, Qt::white, 0.3));
        reflection.setColorAt(1, QColor(30, 45, 70));
        painter.setBrush(reflection);
        painter.drawRect(glass);
    }
    painter.setBrush(Jitter(rng, QColor(95, 60, 40), 15));
    painter.drawRect(QRectF(foot.x() + width * 0.12, foot.y() - wall * 0.5, pane, wall * 0.5));
}

// Darkens the corners a little, as lenses do.
void PaintVignette(QPainter& painter, double width, double height, int strength) {
    const QPointF centre(width / 2, height / 2);
    QRadialGradient vignette(centre, std::hypot(width, height) / 2);
    vignette.setColorAt(0, QColor(0, 0, 0, 0));
    vignette.setColorAt(0.6, QColor(0, 0, 0, 0));
    vignette.setColorAt(1, QColor(0, 0, 0, strength));
    painter.fillRect(QRectF(0, 0, width, height), vignette);
}

QImage NewCanvas(QSize size) {
    QImage canvas(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    canvas.fill(Qt::black);
    return canvas;
}

} // namespace

QImage PaintLandscape(QSize size, std::uint32_t seed) {
    QImage canvas = NewCanvas(size);
    const double width = canvas.width();
    const double height = canvas.height();
    const double unit = std::min(width, height * 1.5);
    Rng rng(seed);

    Light light;
    light.Golden = rng.Chance(0.3);
    light.SkyTop = Jitter(rng, light.Golden ? QColor(70, 85, 150) : QColor(45, 105, 185), 15);
    light.SkyHorizon = Jitter(rng, light.Golden ? QColor(250, 190, 130) : QColor(195, 218, 236), 10);
    light.SunColor = light.Golden ? QColor(255, 200, 120) : QColor(255, 246, 215);
    const double horizon = height * rng.Uniform(0.45, 0.6);
    light.Sun = QPointF(width * rng.Uniform(0.15, 0.85), horizon * rng.Uniform(0.15, 0.6));

    QPainter painter(&canvas);
    painter.setRenderHint(QPainter::Antialiasing);
    PaintSky(painter, rng, light, width, horizon, unit);

    // Far hills take on the sky's haze; near ones are greener and darker.
    const QColor farHill = Mix(Jitter(rng, QColor(70, 100, 120), 10), light.SkyHorizon, 0.55);
    const Ridge far(rng, horizon - height * 0.04, height * rng.Uniform(0.05, 0.12), width);
    PaintHill(painter, far, width, height, farHill.lighter(105), Mix(farHill, light.SkyHorizon, 0.3));

    const bool water = rng.Chance(0.6);
    const QColor grass = Jitter(rng, light.Golden ? QColor(105, 120, 45) : QColor(80, 135, 55), 15);
    double groundTop = horizon;
    if (water) {
        groundTop = height * rng.Uniform(0.72, 0.85);
        PaintWater(painter, rng, light, width, horizon, height);
    } else {
        const Ridge middle(rng, horizon + height * 0.04, height * rng.Uniform(0.03, 0.07), width);
        const QColor midHill = Mix(grass, farHill, 0.45);
        PaintHill(painter, middle, width, height, midHill, midHill.darker(130));
        groundTop = horizon + height * rng.Uniform(0.12, 0.22);
    }
    const Ridge ground(rng, groundTop, height * rng.Uniform(0.01, 0.04), width);
    PaintHill(painter, ground, width, height, grass.lighter(112), grass.darker(150));

    // Houses and trees stand on the near ground, drawn left to right with jittered sizes.
    const int houses = rng.Int(0, 3);
    for (int i = 0; i < houses; ++i) {
        const double x = width * rng.Uniform(0.1, 0.9);
        PaintHouse(painter, rng, light, QPointF(x, ground.Y(x) + height * 0.01),
                   height * rng.Uniform(0.07, 0.12));
    }
    const int trees = rng.Int(3, 10);
    for (int i = 0; i < trees; ++i) {
        const double x = width * rng.Uniform(-0.05, 1.05);
        PaintTree(painter, rng, light, QPointF(x, ground.Y(x) + height * rng.Uniform(0.0, 0.05)),
                  height * rng.Uniform(0.12, 0.3));
    }

    // Blades of grass along the bottom give the foreground texture and fine detail.
    const int blades = int(width / 2);
    for (int i = 0; i < blades; ++i) {
        const double x = rng.Uniform(0, width);
        const double y = rng.Uniform(std::max(ground.Y(x), height * 0.8), height);
        const double length = height * rng.Uniform(0.01, 0.035);
        painter.setPen(QPen(WithAlpha(Jitter(rng, grass, 35), 150), std::max(1.0, height * 0.0015)));
        painter.drawLine(QPointF(x, y), QPointF(x + rng.Uniform(-0.4, 0.4) * length, y - length));
    }

    PaintVignette(painter, width, height, 70);
    painter.end();
    return Finish(canvas, seed, 10);
}

Portrait PaintPortrait(QSize size, std::uint32_t seed, bool redEyes) {
    QImage canvas = NewCanvas(size);
    const double width = canvas.width();
    const double height = canvas.height();
    Rng rng(std::uint64_t(seed) + 0x5eed);

    QPainter painter(&canvas);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);

    // A warm indoor backdrop with out-of-focus lights.
    const QColor wall = Jitter(rng, QColor(120, 95, 80), 20);
    QLinearGradient backdrop(0, 0, width, height);
    backdrop.setColorAt(0, wall.lighter(130));
    backdrop.setColorAt(1, wall.darker(170));
    painter.fillRect(canvas.rect(), backdrop);
    const int lights = rng.Int(6, 12);
    for (int i = 0; i < lights; ++i) {
        const QPointF at(rng.Uniform(0, width), rng.Uniform(0, height * 0.6));
        const double radius = std::min(width, height) * rng.Uniform(0.03, 0.09);
        QRadialGradient bokeh(at, radius);
        const QColor glow = Jitter(rng, QColor(255, 215, 160), 30);
        bokeh.setColorAt(0, WithAlpha(glow, 110));
        bokeh.setColorAt(0.8, WithAlpha(glow, 70));
        bokeh.setColorAt(1, WithAlpha(glow, 0));
        painter.setBrush(bokeh);
        painter.drawEllipse(at, radius, radius);
    }

    const double faceWidth = std::min(width * 0.42, height * 0.3);
    const double faceHeight = faceWidth * 1.32;
    const QPointF face(width / 2 + rng.Uniform(-0.03, 0.03) * width, height * 0.4);
    const QColor skin = Jitter(rng, QColor(225, 175, 145), 12);
    const QColor hair = Jitter(rng, rng.Chance(0.5) ? QColor(70, 45, 30) : QColor(170, 130, 80), 15);
    const QColor shirt = Jitter(rng, QColor(50, 80, 120), 40);

    // Shoulders and shirt.
    QPainterPath body(QPointF(face.x() - faceWidth * 1.6, height));
    body.cubicTo(QPointF(face.x() - faceWidth * 1.5, face.y() + faceHeight * 0.75),
                 QPointF(face.x() - faceWidth * 0.6, face.y() + faceHeight * 0.7),
                 QPointF(face.x(), face.y() + faceHeight * 0.72));
    body.cubicTo(QPointF(face.x() + faceWidth * 0.6, face.y() + faceHeight * 0.7),
                 QPointF(face.x() + faceWidth * 1.5, face.y() + faceHeight * 0.75),
                 QPointF(face.x() + faceWidth * 1.6, height));
    body.closeSubpath();
    QLinearGradient cloth(face.x() - faceWidth * 1.6, 0, face.x() + faceWidth * 1.6, 0);
    cloth.setColorAt(0, shirt.lighter(120));
    cloth.setColorAt(1, shirt.darker(160));
    painter.setBrush(cloth);
    painter.drawPath(body);

    // Hair behind the head, the neck, then the face itself lit from the upper left.
    painter.setBrush(hair.darker(120));
    painter.drawEllipse(face + QPointF(0, -faceHeight * 0.05), faceWidth * 0.62, faceHeight * 0.6);
    QLinearGradient neck(face.x() - faceWidth * 0.2, 0, face.x() + faceWidth * 0.2, 0);
    neck.setColorAt(0, skin.darker(115));
    neck.setColorAt(1, skin.darker(145));
    painter.setBrush(neck);
    painter.drawRect(
        QRectF(face.x() - faceWidth * 0.2, face.y() + faceHeight * 0.3, faceWidth * 0.4, faceHeight * 0.45));
    painter.setBrush(skin.darker(112));
    painter.drawEllipse(face + QPointF(-faceWidth * 0.5, faceHeight * 0.02), faceWidth * 0.08,
                        faceHeight * 0.1);
    painter.drawEllipse(face + QPointF(faceWidth * 0.5, faceHeight * 0.02), faceWidth * 0.08,
                        faceHeight * 0.1);
    QRadialGradient faceLight(face + QPointF(-faceWidth * 0.15, -faceHeight * 0.15), faceHeight * 0.65);
    faceLight.setColorAt(0, skin.lighter(112));
    faceLight.setColorAt(0.7, skin);
    faceLight.setColorAt(1, skin.darker(135));
    painter.setBrush(faceLight);
    painter.drawEllipse(face, faceWidth / 2, faceHeight / 2);

    // Rosy cheeks.
    for (const double side : {-1.0, 1.0}) {
        const QPointF cheek = face + QPointF(side * faceWidth * 0.25, faceHeight * 0.1);
        QRadialGradient blush(cheek, faceWidth * 0.14);
        blush.setColorAt(0, QColor(220, 120, 110, 70));
        blush.setColorAt(1, QColor(220, 120, 110, 0));
        painter.setBrush(blush);
        painter.drawEllipse(cheek, faceWidth * 0.14, faceWidth * 0.14);
    }

    // A fringe across the top of the forehead.
    QPainterPath fringe(face + QPointF(-faceWidth * 0.52, -faceHeight * 0.02));
    fringe.cubicTo(face + QPointF(-faceWidth * 0.55, -faceHeight * 0.6),
                   face + QPointF(faceWidth * 0.55, -faceHeight * 0.6),
                   face + QPointF(faceWidth * 0.52, -faceHeight * 0.02));
    fringe.cubicTo(face + QPointF(faceWidth * 0.4, -faceHeight * 0.3),
                   face + QPointF(-faceWidth * 0.1, -faceHeight * 0.25),
                   face + QPointF(-faceWidth * 0.52, -faceHeight * 0.02));
    QLinearGradient hairShine(0, face.y() - faceHeight * 0.55, 0, face.y());
    hairShine.setColorAt(0, hair.lighter(125));
    hairShine.setColorAt(1, hair.darker(130));
    painter.setBrush(hairShine);
    painter.drawPath(fringe);

    // Eyes: white, iris, pupil (the flash's red when asked) and a catch-light.
    Portrait result;
    result.PupilRadius = faceWidth * 0.03;
    const QColor iris = Jitter(rng, rng.Chance(0.5) ? QColor(90, 60, 35) : QColor(70, 110, 150), 15);
    const double eyeY = face.y() - faceHeight * 0.06;
    for (int i = 0; i < 2; ++i) {
        const QPointF eye(face.x() + (i == 0 ? -1 : 1) * faceWidth * 0.2, eyeY);
        result.Pupils[i] = eye;
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(238, 232, 226));
        painter.drawEllipse(eye, faceWidth * 0.095, faceWidth * 0.05);
        painter.setBrush(iris);
        painter.drawEllipse(eye, faceWidth * 0.048, faceWidth * 0.048);
        if (redEyes) {
            QRadialGradient flash(eye, result.PupilRadius);
            flash.setColorAt(0, QColor(215, 40, 38));
            flash.setColorAt(0.8, QColor(195, 36, 34));
            flash.setColorAt(1, QColor(160, 30, 30));
            painter.setBrush(flash);
        } else {
            painter.setBrush(QColor(18, 14, 14));
        }
        painter.drawEllipse(eye, result.PupilRadius, result.PupilRadius);
        painter.setBrush(QColor(255, 255, 255, 230));
        const double spark = result.PupilRadius * 0.22;
        painter.drawEllipse(eye + QPointF(-result.PupilRadius * 0.55, -result.PupilRadius * 0.55), spark,
                            spark);
        // Brow and upper lid line.
        painter.setPen(QPen(hair.darker(140), faceWidth * 0.022, Qt::SolidLine, Qt::RoundCap));
        painter.setBrush(Qt::NoBrush);
        painter.drawArc(QRectF(eye.x() - faceWidth * 0.11, eye.y() - faceWidth * 0.12, faceWidth * 0.22,
                               faceWidth * 0.12),
                        20 * 16, 140 * 16);
        painter.setPen(QPen(QColor(60, 40, 35, 180), faceWidth * 0.008));
        painter.drawArc(QRectF(eye.x() - faceWidth * 0.095, eye.y() - faceWidth * 0.05, faceWidth * 0.19,
                               faceWidth * 0.1),
                        10 * 16, 160 * 16);
    }

    // Nose shadow, nostrils and mouth.
    painter.setPen(QPen(skin.darker(135), faceWidth * 0.012, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(face + QPointF(faceWidth * 0.03, -faceHeight * 0.02),
                     face + QPointF(faceWidth * 0.05, faceHeight * 0.12));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(110, 60, 50, 140));
    for (const double side : {-1.0, 1.0})
        painter.drawEllipse(face + QPointF(side * faceWidth * 0.045, faceHeight * 0.14), faceWidth * 0.022,
                            faceWidth * 0.012);
    const QPointF mouth = face + QPointF(0, faceHeight * 0.27);
    QLinearGradient lips(0, mouth.y() - faceWidth * 0.04, 0, mouth.y() + faceWidth * 0.04);
    lips.setColorAt(0, QColor(170, 85, 85));
    lips.setColorAt(1, QColor(140, 65, 65));
    painter.setBrush(lips);
    painter.drawEllipse(mouth, faceWidth * 0.15, faceWidth * 0.045);
    painter.setPen(QPen(QColor(90, 40, 40), faceWidth * 0.008));
    painter.drawLine(mouth - QPointF(faceWidth * 0.14, 0), mouth + QPointF(faceWidth * 0.14, 0));

    PaintVignette(painter, width, height, 80);
    painter.end();
    result.Image = Finish(canvas, seed, 6);
    return result;
}

QImage PaintBanner(QSize size) {
    QImage canvas = NewCanvas(size);
    const double width = canvas.width();
    const double height = canvas.height();
    QPainter painter(&canvas);
    QLinearGradient band(0, 0, width, 0);
    band.setColorAt(0, QColor(236, 242, 250));
    band.setColorAt(0.5, QColor(214, 228, 244));
    band.setColorAt(1, QColor(188, 210, 236));
    painter.fillRect(canvas.rect(), band);
    // A faint lighter top half gives the band a little depth.
    QLinearGradient sheen(0, 0, 0, height);
    sheen.setColorAt(0, QColor(255, 255, 255, 90));
    sheen.setColorAt(0.5, QColor(255, 255, 255, 0));
    sheen.setColorAt(1, QColor(0, 40, 90, 25));
    painter.fillRect(canvas.rect(), sheen);

    painter.setRenderHint(QPainter::TextAntialiasing);
    QFont font(QStringLiteral("Liberation Sans"));
    font.setBold(true);
    font.setPixelSize(std::max(1, int(height * 0.62)));
    painter.setFont(font);
    painter.setPen(QColor(20, 45, 110));
    painter.drawText(QRectF(height * 0.35, 0, width, height), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("Korvelle"));
    painter.end();
    return canvas.convertToFormat(QImage::Format_RGB888);
}

} // namespace Scenes
