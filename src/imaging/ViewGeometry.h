// View geometry of the imaging control: where the picture is painted for a size mode, zoom,
// centring and scroll position, and the mapping between client and picture pixels. Pure functions.
#pragma once

#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QSize>

namespace ViewGeometry {

// The scale that fits the picture into the client area with its aspect ratio kept (small
// pictures are enlarged). 1 for an empty picture or client area.
double FitScale(QSize picture, QSize client);

struct Layout {
    QRect display; // where the whole picture is painted, client pixels
    QSize client;  // the client area left beside the scroll bars
    bool horizontalBar = false;
    bool verticalBar = false;
    int horizontalMaximum = 0; // scroll ranges, in display pixels
    int verticalMaximum = 0;
    QPoint scroll; // the scroll position, clamped to the ranges
};

// Lays the picture out in a widget of the given size. Scroll bars (of the given thickness) appear
// when the scaled picture is larger than the space beside them; a smaller picture is centred when
// center is on, otherwise it starts at the top left.
Layout LayOut(QSize picture, QSize widget, double scale, bool center, QPoint scroll, int barThickness);

// x_client = DisplayLeft + x_picture * DisplayWidth / BitmapWidth, and the inverse.
QPointF PictureToClient(QPointF point, const QRect& display, QSize picture);
QPointF ClientToPicture(QPointF point, const QRect& display, QSize picture);

// A client rectangle (any corner order) in picture pixels, clipped to the picture; empty when
// nothing of it lies on the picture.
QRect ClientRectToPicture(QPoint corner, QPoint oppositeCorner, const QRect& display, QSize picture);

// A rectangle of picture pixels on the screen (integer arithmetic, truncating).
QRect PictureRectToClient(const QRect& rect, const QRect& display, QSize picture);

} // namespace ViewGeometry
