#include "Thumbnail.h"

#include <cmath>

namespace Thumbnail {

int WidthFor(QSize picture, int height) {
    if (picture.isEmpty())
        return 0;
    return int(std::nearbyint(double(height) * picture.width() / picture.height()));
}

QImage Framed(const QImage& pixels, QSize original, int height, Raster::ShapeSettings frame) {
    const int width = WidthFor(original.isEmpty() ? pixels.size() : original, height);
    if (width <= 0 || height <= 0 || pixels.isNull())
        return QImage();
    QImage thumbnail = Raster::Resize(pixels, width, height, Raster::SizeKind::Bicubic);
    frame.rect = QRect(0, 0, width, height);
    Raster::Draw3dShape(thumbnail, frame);
    Raster::Fill(thumbnail, QRegion(0, height - 2, 2, 2), Qt::white);
    Raster::Fill(thumbnail, QRegion(width - 2, 0, 2, 2), Qt::white);
    return thumbnail;
}

} // namespace Thumbnail
