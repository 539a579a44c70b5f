#include "ViewGeometry.h"

#include <algorithm>
#include <cmath>

namespace ViewGeometry {

double FitScale(QSize picture, QSize client) {
    if (picture.isEmpty() || client.isEmpty())
        return 1.0;
    return std::min(double(client.width()) / picture.width(), double(client.height()) / picture.height());
}

Layout LayOut(QSize picture, QSize widget, double scale, bool center, QPoint scroll, int barThickness) {
    Layout layout;
    const int width = std::max(1, int(std::lround(picture.width() * scale)));
    const int height = std::max(1, int(std::lround(picture.height() * scale)));
    // A bar takes room from the other direction, which may call for the other bar too.
    QSize client = widget;
    for (int pass = 0; pass < 2; ++pass) {
        layout.horizontalBar = width > client.width();
        layout.verticalBar = height > client.height();
        client = QSize(widget.width() - (layout.verticalBar ? barThickness : 0),
                       widget.height() - (layout.horizontalBar ? barThickness : 0));
    }
    layout.client = client.expandedTo(QSize(0, 0));
    layout.horizontalMaximum = std::max(0, width - layout.client.width());
    layout.verticalMaximum = std::max(0, height - layout.client.height());
    layout.scroll = QPoint(std::clamp(scroll.x(), 0, layout.horizontalMaximum),
                           std::clamp(scroll.y(), 0, layout.verticalMaximum));
    const int left = layout.horizontalBar ? -layout.scroll.x()
                     : center             ? (layout.client.width() - width) / 2
                                          : 0;
    const int top = layout.verticalBar ? -layout.scroll.y()
                    : center           ? (layout.client.height() - height) / 2
                                       : 0;
    layout.display = QRect(left, top, width, height);
    return layout;
}

QPointF PictureToClient(QPointF point, const QRect& display, QSize picture) {
    if (picture.isEmpty())
        return point;
    return QPointF(display.left() + point.x() * display.width() / picture.width(),
                   display.top() + point.y() * display.height() / picture.height());
}

QPointF ClientToPicture(QPointF point, const QRect& display, QSize picture) {
    if (picture.isEmpty() || display.isEmpty())
        return point;
    return QPointF((point.x() - display.left()) * picture.width() / display.width(),
                   (point.y() - display.top()) * picture.height() / display.height());
}

QRect ClientRectToPicture(QPoint corner, QPoint oppositeCorner, const QRect& display, QSize picture) {
    const QPointF a = ClientToPicture(corner, display, picture);
    const QPointF b = ClientToPicture(oppositeCorner, display, picture);
    const int left = int(std::floor(std::min(a.x(), b.x()) + 1e-9));
    const int top = int(std::floor(std::min(a.y(), b.y()) + 1e-9));
    const int right = int(std::floor(std::max(a.x(), b.x()) + 1e-9)); // exclusive
    const int bottom = int(std::floor(std::max(a.y(), b.y()) + 1e-9));
    const QRect rect(QPoint(left, top), QPoint(right - 1, bottom - 1));
    if (right <= left || bottom <= top)
        return QRect();
    return rect & QRect(QPoint(0, 0), picture);
}

QRect PictureRectToClient(const QRect& rect, const QRect& display, QSize picture) {
    if (picture.isEmpty())
        return rect;
    const qint64 w = picture.width(), h = picture.height();
    return QRect(int(rect.left() * qint64(display.width()) / w + display.left()),
                 int(rect.top() * qint64(display.height()) / h + display.top()),
                 int(rect.width() * qint64(display.width()) / w),
                 int(rect.height() * qint64(display.height()) / h));
}

} // namespace ViewGeometry
