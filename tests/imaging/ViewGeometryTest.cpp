// View geometry: the fit scale, the layout with scroll bars, and the client <-> picture mapping.
#include "ViewGeometry.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(ViewGeometryFit, FitsAndEnlarges) {
    struct Case {
        QSize picture, client;
        int percent;
    };
    const Case cases[] = {
        {{2000, 1500}, {500, 375}, 25},
        {{200, 100}, {500, 375}, 250},
        {{4000, 3000}, {800, 600}, 20},
        {{100, 400}, {500, 200}, 50},
    };
    for (const Case& c : cases)
        EXPECT_EQ(int(std::nearbyint(ViewGeometry::FitScale(c.picture, c.client) * 100)), c.percent)
            << c.picture.width() << "x" << c.picture.height();
}

TEST(ViewGeometryLayout, CentresSmallPicturesAndScrollsLargeOnes) {
    // Small: centred, no bars.
    auto small = ViewGeometry::LayOut({100, 80}, {500, 400}, 1.0, true, {0, 0}, 15);
    EXPECT_EQ(small.display, QRect(200, 160, 100, 80));
    EXPECT_FALSE(small.horizontalBar || small.verticalBar);
    // Without centring it sits at the top left.
    EXPECT_EQ(ViewGeometry::LayOut({100, 80}, {500, 400}, 1.0, false, {0, 0}, 15).display.topLeft(),
              QPoint(0, 0));

    // Wider than the window: a horizontal bar, which takes height from the client area.
    auto wide = ViewGeometry::LayOut({1000, 300}, {500, 400}, 1.0, true, {120, 0}, 15);
    EXPECT_TRUE(wide.horizontalBar);
    EXPECT_FALSE(wide.verticalBar);
    EXPECT_EQ(wide.client, QSize(500, 385));
    EXPECT_EQ(wide.horizontalMaximum, 500);
    EXPECT_EQ(wide.display, QRect(-120, (385 - 300) / 2, 1000, 300));

    // Just fits in height until the horizontal bar appears: then both bars are needed.
    auto both = ViewGeometry::LayOut({1000, 395}, {500, 400}, 1.0, true, {0, 999}, 15);
    EXPECT_TRUE(both.horizontalBar && both.verticalBar);
    EXPECT_EQ(both.client, QSize(485, 385));
    EXPECT_EQ(both.scroll, QPoint(0, 10)); // clamped to the range
}

TEST(ViewGeometryMapping, ClientRectanglesBecomeClippedPictureRectangles) {
    const QSize picture(1000, 800);
    const QRect half(0, 0, 500, 400);          // zoom 50 %
    const QRect scrolled(-100, -40, 500, 400); // zoom 50 %, scrolled by (100, 40)
    struct Case {
        QRect display;
        QPoint a, b;
        QRect expected;
    };
    const Case cases[] = {
        {QRect(0, 0, 1000, 800), {100, 100}, {400, 300}, QRect(100, 100, 300, 200)},
        {QRect(0, 0, 1000, 800), {400, 300}, {100, 100}, QRect(100, 100, 300, 200)}, // swapped corners
        {half, {10, 10}, {110, 60}, QRect(20, 20, 200, 100)},
        {scrolled, {10, 10}, {110, 60}, QRect(220, 100, 200, 100)},
        {QRect(50, 50, 1000, 800), {0, 0}, {150, 100}, QRect(0, 0, 100, 50)}, // over the margin
        {QRect(0, 0, 1000, 800), {900, 700}, {1200, 900}, QRect(900, 700, 100, 100)},
        {QRect(0, 0, 1000, 800), {0, 0}, {0, 0}, QRect()},
        {QRect(0, 0, 1000, 800), {1100, 0}, {1200, 50}, QRect()}, // wholly beside the picture
    };
    for (const Case& c : cases)
        EXPECT_EQ(ViewGeometry::ClientRectToPicture(c.a, c.b, c.display, picture), c.expected)
            << c.a.x() << "," << c.a.y() << " " << c.b.x() << "," << c.b.y();
}

TEST(ViewGeometryMapping, BothDirectionsAgree) {
    const QSize picture(640, 480);
    const QRect display(-30, 12, 1280, 960);
    const QPointF p(123.5, 77.25);
    const QPointF back =
        ViewGeometry::ClientToPicture(ViewGeometry::PictureToClient(p, display, picture), display, picture);
    EXPECT_DOUBLE_EQ(back.x(), p.x());
    EXPECT_DOUBLE_EQ(back.y(), p.y());
    EXPECT_EQ(ViewGeometry::PictureRectToClient(QRect(10, 20, 30, 40), display, picture),
              QRect(-10, 52, 60, 80));
}

} // namespace
