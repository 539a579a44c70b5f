// The main window's view: zoom strip, fit, scroll steps and panning.
#include "FakePrompts.h"
#include "LEADImage.h"
#include "Pixels.h"
#include "TempDir.h"
#include "fMain.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <gtest/gtest.h>

namespace {

struct Window {
    explicit Window(QSize picture, QSize client = QSize(800, 600)) : form(program.Path(), {}, prompts) {
        form.ViewLEADImage->resize(client);
        QImage pixels = Pixels::NewBitmap(picture.width(), picture.height());
        pixels.fill(Qt::gray);
        form.ViewLEADImage->SetBitmap(pixels);
    }
    TempDir program;
    FakePrompts prompts;
    TMainForm form;
};

void Send(QWidget* widget, QEvent::Type type, QPoint at, Qt::MouseButtons held) {
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, QPointF(at), widget->mapToGlobal(QPointF(at)), button, held, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

TEST(MainFormView, FitSetsTheBarOneBelowTheFittedZoom) {
    Window window({4000, 3000});
    QTest::mouseClick(window.form.EinpassenBitBtn, Qt::LeftButton);
    EXPECT_EQ(window.form.ZoomTrackBar->value(), 19);
    EXPECT_EQ(window.form.ZoomLabel->text(), QStringLiteral("Zoom: 19%"));
    EXPECT_EQ(window.form.ViewLEADImage->PaintZoomFactor(), 19);
    QTest::mouseClick(window.form.Button1, Qt::LeftButton);
    EXPECT_EQ(window.form.ZoomLabel->text(), QStringLiteral("Zoom: 100%"));
    EXPECT_EQ(window.form.ViewLEADImage->PaintZoomFactor(), 100);

    Window small({100, 80});
    QTest::mouseClick(small.form.EinpassenBitBtn, Qt::LeftButton);
    EXPECT_GT(small.form.ZoomTrackBar->value(), 100); // fitting enlarges small pictures

    Window tiny({4000, 3000}, {60, 45}); // fitted 1.5 %: the bar stays at its minimum
    QTest::mouseClick(tiny.form.EinpassenBitBtn, Qt::LeftButton);
    EXPECT_EQ(tiny.form.ZoomTrackBar->value(), 2);
}

TEST(MainFormView, ScrollStepsAreAFifthOfThePicture) {
    Window window({1000, 750});
    EXPECT_EQ(window.form.ViewLEADImage->HScrollStep(), 201);
    EXPECT_EQ(window.form.ViewLEADImage->VScrollStep(), 151);
}

TEST(MainFormView, ADragPansOnlyWhileNoFrameIsShown) {
    Window window({2000, 1500});
    TLEADImage* view = window.form.ViewLEADImage;
    const QPoint before = view->DisplayRect().topLeft();
    Send(view, QEvent::MouseMove, {10, 10}, Qt::NoButton);
    Send(view, QEvent::MouseButtonPress, {10, 10}, Qt::LeftButton);
    Send(view, QEvent::MouseMove, {30, 25}, Qt::LeftButton);
    Send(view, QEvent::MouseButtonRelease, {30, 25}, Qt::NoButton);
    EXPECT_EQ(view->DisplayRect().topLeft(), before + QPoint(20, 15));
    EXPECT_FALSE(window.form.Panning);

    view->SetRgnFrameType(kFrameAnimated);
    const QPoint marked = view->DisplayRect().topLeft();
    Send(view, QEvent::MouseButtonPress, {30, 25}, Qt::LeftButton);
    Send(view, QEvent::MouseMove, {80, 60}, Qt::LeftButton);
    Send(view, QEvent::MouseButtonRelease, {80, 60}, Qt::NoButton);
    EXPECT_EQ(view->DisplayRect().topLeft(), marked);
}

} // namespace
