// The main window's view: zoom, fit, scroll steps and panning the picture with the mouse.
#include "fMain.h"

#include "LEADImage.h"

#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>

#include <algorithm>

void TMainForm::ConnectView() {
    connect(ZoomTrackBar, &QSlider::valueChanged, this, &TMainForm::ZoomTrackBarChange);
    connect(Button1, &QPushButton::clicked, this, &TMainForm::Button1Click);
    connect(EinpassenBitBtn, &QPushButton::clicked, this, &TMainForm::EinpassenBitBtnClick);
    connect(ViewLEADImage, &TLEADImage::OnChange, this, &TMainForm::ViewLEADImageChange);
    connect(ViewLEADImage, &TLEADImage::OnMouseDown, this, &TMainForm::ViewLEADImageMouseDown);
    connect(ViewLEADImage, &TLEADImage::OnMouseMove, this, &TMainForm::ViewLEADImageMouseMove);
    connect(ViewLEADImage, &TLEADImage::OnMouseUp, this, &TMainForm::ViewLEADImageMouseUp);
}

void TMainForm::ZoomTrackBarChange() {
    ViewLEADImage->SetPaintSizeMode(smZoom);
    ViewLEADImage->SetAutoRepaint(false);
    const int zoom = ZoomTrackBar->value();
    ViewLEADImage->SetAutoSetRects(true);
    ViewLEADImage->SetPaintSizeMode(smZoom);
    ViewLEADImage->SetPaintZoomFactor(zoom);
    ViewLEADImage->SetAutoRepaint(true);
    ZoomLabel->setText(QStringLiteral("Zoom: %1%").arg(zoom));
}

void TMainForm::Button1Click() {
    {
        // The change handler runs once, below, also when the bar already stands at 100.
        const QSignalBlocker quiet(ZoomTrackBar);
        ZoomTrackBar->setValue(100);
    }
    ZoomTrackBarChange();
}

void TMainForm::EinpassenBitBtnClick() {
    ViewLEADImage->SetPaintSizeMode(smFit);
    ViewLEADImage->RepaintPicture();
    const int fitted = ViewLEADImage->PaintZoomFactor();
    {
        const QSignalBlocker quiet(ZoomTrackBar);
        ZoomTrackBar->setValue(std::clamp(fitted - 1, ZoomTrackBar->minimum(), ZoomTrackBar->maximum()));
    }
    ZoomTrackBarChange();
}

void TMainForm::ViewLEADImageChange() {
    // An arrow click of a scroll bar moves about a fifth of the picture.
    const int horizontal = ViewLEADImage->BitmapWidth() / 5 + 1;
    const int vertical = ViewLEADImage->BitmapHeight() / 5 + 1;
    if (ViewLEADImage->HScrollStep() == horizontal && ViewLEADImage->VScrollStep() == vertical)
        return;
    ViewLEADImage->SetHScrollStep(horizontal);
    ViewLEADImage->SetVScrollStep(vertical);
}

void TMainForm::ViewLEADImageMouseDown(Qt::MouseButton, Qt::KeyboardModifiers, int, int) {
    Panning = true;
}

void TMainForm::ViewLEADImageMouseMove(Qt::KeyboardModifiers, int x, int y) {
    // While a region frame is shown a drag marks a region instead of moving the picture.
    if (ViewLEADImage->RgnFrameType() != kFrameNone)
        return;
    PanDeltaX = x - PanLastX;
    PanDeltaY = y - PanLastY;
    if (Panning) {
        PanRect = ViewLEADImage->DisplayRect().translated(PanDeltaX, PanDeltaY);
        PanClipRect = ViewLEADImage->DisplayClipRect().translated(PanDeltaX, PanDeltaY);
        ViewLEADImage->SetDisplayRect(PanRect.left(), PanRect.top(), PanRect.width(), PanRect.height());
        ViewLEADImage->SetDisplayClipRect(PanClipRect.left(), PanClipRect.top(), PanClipRect.width(),
                                          PanClipRect.height());
        ViewLEADImage->RepaintPicture();
    }
    PanLastX = x;
    PanLastY = y;
}

void TMainForm::ViewLEADImageMouseUp(Qt::MouseButton, Qt::KeyboardModifiers, int, int) {
    Panning = false;
}
