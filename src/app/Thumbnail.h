// The thumbnail of a series picture: a fixed height with the picture's proportions, framed by a
// raised white band with a light drop shadow, the two corners the frame leaves uncovered white.
// A plain function, so worker threads can make thumbnails while the list is filled.
#pragma once

#include "Raster.h"

#include <QImage>
#include <QSize>

namespace Thumbnail {

// The width of a thumbnail of the given height for a picture of the given size (rounded, halves
// to even); 0 for an empty size.
int WidthFor(QSize picture, int height);

// The framed thumbnail of pixels, which may be a reduced decode of a picture of the size
// original; null when the thumbnail would be empty. frame: the shape settings, whose rectangle
// is set to the thumbnail.
QImage Framed(const QImage& pixels, QSize original, int height, Raster::ShapeSettings frame);

} // namespace Thumbnail
