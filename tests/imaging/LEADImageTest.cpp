// The imaging control: errors, display and zoom, regions, the marking tool, the frame timer and
// the floater, driven as the program drives them.
#include "LEADImage.h"
#include "Codecs.h"
#include "Pixels.h"
#include "TempDir.h"

#include <QApplication>
#include <QMouseEvent>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

QImage Gradient(int width, int height) {
    QImage picture = Pixels::NewBitmap(width, height);
    for (int y = 0; y < height; ++y) {
        uchar* p = picture.scanLine(y);
        for (int x = 0; x < width; ++x, p += 3) {
            p[0] = uchar(x * 255 / std::max(1, width - 1));
            p[1] = uchar(y * 255 / std::max(1, height - 1));
            p[2] = uchar((x + y) % 256);
        }
    }
    return picture;
}

// A control of a given client size holding a picture, at 100 % in the top left corner.
struct Control {
    Control(QSize client, QSize picture) {
        view.setObjectName(QStringLiteral("ViewLEADImage"));
        view.resize(client);
        view.SetBitmap(Gradient(picture.width(), picture.height()));
    }
    TLEADImage view;
};

void Send(QWidget& widget, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
    QMouseEvent event(type, QPointF(at), widget.mapToGlobal(QPointF(at)), button, held, Qt::NoModifier);
    QApplication::sendEvent(&widget, &event);
}

void Drag(QWidget& widget, QPoint from, QPoint to, Qt::MouseButton button = Qt::LeftButton) {
    Send(widget, QEvent::MouseButtonPress, from, button, button);
    Send(widget, QEvent::MouseMove, (from + to) / 2, Qt::NoButton, button);
    Send(widget, QEvent::MouseMove, to, Qt::NoButton, button);
    Send(widget, QEvent::MouseButtonRelease, to, button, Qt::NoButton);
}

QRect Bounds(const TLEADImage& view) {
    return QRect(view.RgnLeft(), view.RgnTop(), view.RgnWidth(), view.RgnHeight());
}

std::string ErrorOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const ELeadImageError& error) {
        return error.what();
    }
    return "no error";
}

TEST(LEADImageErrors, NameTheControlAndTheOperation) {
    TLEADImage view;
    view.setObjectName(QStringLiteral("ThumbLEADImage"));
    EXPECT_EQ(ErrorOf([&] { view.Save(QStringLiteral("/tmp/x.jpg"), 23, 24, 2); }),
              "ThumbLEADImage \nSave: Image not allocated.");
    EXPECT_EQ(ErrorOf([&] { view.Size(10, 10, 4); }), "ThumbLEADImage \nSize: Image not allocated.");
    EXPECT_EQ(ErrorOf([&] { view.Rotate(9000, 1, Qt::white); }),
              "ThumbLEADImage \nRotate: Image not allocated.");
    EXPECT_EQ(ErrorOf([&] { view.SetPaintZoomFactor(-1); }), "PaintZoomFactor: Invalid value passed.");
    EXPECT_EQ(ErrorOf([&] { view.SetHScrollStep(0); }),
              "ThumbLEADImage \nHScrollStep: Scroll step out of range.");
    EXPECT_EQ(ErrorOf([&] { view.SetVScrollStep(-3); }),
              "ThumbLEADImage \nVScrollStep: Scroll step out of range.");
    EXPECT_EQ(view.HScrollStep(), 10);
}

TEST(LEADImageFiles, LoadFailuresRaiseTheControlsError) {
    TempDir dir;
    QFile junk(dir.File(QStringLiteral("kaputt.jpg")));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("\xFF\xD8\xFF\xE0 this is no picture");
    junk.close();
    TLEADImage view;
    view.setObjectName(QStringLiteral("ViewLEADImage"));
    for (const QString& name : {dir.File(QStringLiteral("fehlt.jpg")), junk.fileName()}) {
        const std::string text = ErrorOf([&] { view.Load(name); });
        EXPECT_EQ(text.rfind("ViewLEADImage \nError code: ", 0), 0u) << text;
        EXPECT_NE(text.find("\nLoad: "), std::string::npos) << text;
    }
}

TEST(LEADImageFiles, SaveAndLoadKeepSizeAndFireOnChange) {
    TempDir dir;
    Control control({200, 200}, {64, 48});
    const QString file = dir.File(QStringLiteral("Bild mit Ümlaut.jpg"));
    control.view.Save(file, 23, 24, 2);
    TLEADImage other;
    QSignalSpy changes(&other, &TLEADImage::OnChange);
    other.Load(file);
    EXPECT_EQ(changes.count(), 1);
    EXPECT_EQ(QSize(other.BitmapWidth(), other.BitmapHeight()), QSize(64, 48));
    EXPECT_EQ(other.BitmapBits(), 24);
    EXPECT_EQ(other.FileFormat(), int(Codecs::kFormatJpeg422));
}

TEST(LEADImageGeometry, QuarterTurnsSwapTheSizeAndEveryChangeFiresOnChange) {
    Control control({100, 100}, {640, 480});
    QSignalSpy changes(&control.view, &TLEADImage::OnChange);
    control.view.Rotate(9000, 1, Qt::white);
    EXPECT_EQ(QSize(control.view.BitmapWidth(), control.view.BitmapHeight()), QSize(480, 640));
    control.view.Rotate(18000, 1, Qt::white);
    EXPECT_EQ(QSize(control.view.BitmapWidth(), control.view.BitmapHeight()), QSize(480, 640));
    control.view.Flip();
    control.view.Reverse();
    control.view.Size(105, 70, 4);
    control.view.GrayScale(8);
    EXPECT_EQ(control.view.BitmapBits(), 8);
    EXPECT_EQ(changes.count(), 6);
}

TEST(LEADImageDisplay, FitGivesTheFittedZoomAndNormalResets) {
    struct Case {
        QSize picture;
        int percent;
    };
    for (const Case& c : {Case{{2000, 1500}, 25}, Case{{200, 100}, 250}}) {
        Control control({500, 375}, c.picture);
        control.view.SetPaintSizeMode(smFit);
        EXPECT_EQ(control.view.PaintZoomFactor(), c.percent);
        EXPECT_EQ(control.view.DisplayWidth(), c.picture.width() * c.percent / 100);
    }
    Control control({300, 200}, {1000, 800});
    control.view.SetPaintZoomFactor(50);
    EXPECT_EQ(control.view.PaintSizeMode(), smZoom);
    control.view.ScrollTo(QPoint(100, 40));
    EXPECT_EQ(control.view.DisplayRect().topLeft(), QPoint(-100, -40));
    control.view.SetPaintSizeMode(smNormal);
    EXPECT_EQ(control.view.PaintZoomFactor(), 100);
    EXPECT_EQ(control.view.DisplayRect(), QRect(0, 0, 1000, 800));
}

TEST(LEADImageRegion, RectanglesAreMappedNormalisedAndClipped) {
    Control control({300, 200}, {1000, 800});
    TLEADImage& view = control.view;
    view.SetRgnRect(0, 0, 0, 0, 1);
    EXPECT_FALSE(view.HasRgn());
    view.SetRgnRect(400, 350, -300, -250, 1);
    EXPECT_EQ(Bounds(view), QRect(100, 100, 300, 250));
    view.SetRgnRect(900, 700, 300, 300, 1);
    EXPECT_EQ(Bounds(view), QRect(900, 700, 100, 100));

    view.SetPaintZoomFactor(50);
    view.SetRgnRect(10, 10, 100, 50, 1);
    EXPECT_EQ(Bounds(view), QRect(20, 20, 200, 100));
    QSignalSpy scrolls(&view, &TLEADImage::OnScroll);
    view.ScrollTo(QPoint(100, 40));
    EXPECT_GE(scrolls.count(), 1);
    view.SetRgnRect(10, 10, 100, 50, 1);
    EXPECT_EQ(Bounds(view), QRect(220, 100, 200, 100));
    view.SetRgnRect(0, 0, 0, 0, 1);
    EXPECT_FALSE(view.HasRgn());
    EXPECT_EQ(view.RgnWidth(), 0);
}

TEST(LEADImageRegion, HandlesMoveTheRegionAndBitmapsCarryIt) {
    Control control({300, 300}, {200, 200});
    TLEADImage& view = control.view;
    view.SetRgnRect(10, 20, 30, 40, 1);
    HRGN handle = view.GetRgnHandle();
    view.FreeRgn();
    EXPECT_FALSE(view.HasRgn());
    view.SetRgnHandle(handle, 5, -10, 1);
    TLEADImage::DeleteRgnHandle(handle);
    EXPECT_EQ(Bounds(view), QRect(15, 10, 30, 40));

    TLEADImage other;
    other.SetBitmap(view.Bitmap());
    EXPECT_EQ(Bounds(other), QRect(15, 10, 30, 40));
    other.Fill(Qt::red); // the copy's pixels are its own
    EXPECT_NE(other.Bitmap().Pixels, view.Bitmap().Pixels);
}

TEST(LEADImageMarking, AnEllipseDragMarksAnEllipseAndEventsComeInOrder) {
    Control control({400, 300}, {400, 300});
    TLEADImage& view = control.view;
    view.SetRgnRect(0, 0, 50, 50, 1);
    view.SetMarkingTool(mtEllipse);
    bool regionAtPress = false;
    bool regionAtRelease = false;
    QObject::connect(&view, &TLEADImage::OnMouseDown, [&] { regionAtPress = view.HasRgn(); });
    QObject::connect(&view, &TLEADImage::OnMouseUp, [&] { regionAtRelease = view.HasRgn(); });
    Drag(view, {100, 50}, {300, 150});
    EXPECT_TRUE(regionAtPress) << "the program's press handler runs before the control removes the region";
    EXPECT_TRUE(regionAtRelease) << "the control sets the region before the program's release handler";
    EXPECT_EQ(Bounds(view), QRect(100, 50, 200, 100));
    const QRegion& region = view.Region();
    EXPECT_TRUE(region.contains(QPoint(200, 100)));
    EXPECT_FALSE(region.contains(QPoint(102, 52))); // the box's corner lies outside an ellipse
    EXPECT_FALSE(region.contains(QPoint(297, 147)));

    // Right-button drags and presses beside the picture mark nothing.
    view.FreeRgn();
    Drag(view, {100, 50}, {300, 150}, Qt::RightButton);
    EXPECT_FALSE(view.HasRgn());
}

TEST(LEADImageMarking, DragsAreClampedToTheDisplayedPicture) {
    Control control({400, 300}, {200, 100});
    TLEADImage& view = control.view; // picture at the top left, 100 %
    view.SetMarkingTool(mtRectangle);
    Drag(view, {150, 50}, {390, 290});
    EXPECT_EQ(Bounds(view), QRect(150, 50, 50, 50));
    Drag(view, {250, 50}, {390, 290}); // press beside the picture: ignored, the region stays
    EXPECT_EQ(Bounds(view), QRect(150, 50, 50, 50));
}

TEST(LEADImageFrame, TheTimerRunsOnlyForTheAnimatedFrame) {
    Control control({100, 100}, {100, 100});
    EXPECT_FALSE(control.view.FrameTimerActive());
    control.view.SetRgnFrameType(kFrameAnimated);
    EXPECT_TRUE(control.view.FrameTimerActive());
    EXPECT_EQ(control.view.RgnFrameType(), kFrameAnimated);
    control.view.SetRgnFrameType(kFrameNone);
    EXPECT_FALSE(control.view.FrameTimerActive());
}

TEST(LEADImageFloater, HoldsTheRegionsPixelsAndShape) {
    Control control({300, 300}, {200, 150});
    TLEADImage& view = control.view;
    EXPECT_TRUE(view.Floater().IsNull());
    QRegion ellipse(QRect(20, 30, 60, 40), QRegion::Ellipse);
    view.SetRgnHandle(&ellipse, 0, 0, 1);
    const TBitmap lifted = view.Floater();
    EXPECT_EQ(lifted.Pixels, view.Bitmap().Pixels.copy(
                                 QRect(view.RgnLeft(), view.RgnTop(), view.RgnWidth(), view.RgnHeight())));
    EXPECT_EQ(lifted.Rgn, view.Region().translated(-view.RgnLeft(), -view.RgnTop()));

    view.SetFloater(view.Bitmap());
    EXPECT_FALSE(view.AutoFloater());
    EXPECT_TRUE(view.HasFloater());
    EXPECT_EQ(view.Floater().Pixels, lifted.Pixels);
    EXPECT_EQ(view.Floater().Rgn, lifted.Rgn);
    view.SetFloater(TBitmap());
    EXPECT_FALSE(view.HasFloater());
    view.SetAutoFloater(true);
    EXPECT_EQ(view.Floater().Pixels, lifted.Pixels);
}

} // namespace
