// Painted stand-ins for photographs: landscapes and a portrait made from a seed, so the installed
// example pictures, the dialogs' side pictures and the benchmarks' picture folders are built from
// code in this repository. Every function is pure: the same size and seed give the same pixels.
#pragma once

#include <QImage>
#include <QPointF>
#include <QSize>

#include <cstdint>

namespace Scenes {

// A landscape: sky gradient, sun and clouds, layered hills, perhaps a lake, trees and houses, soft
// light and a little sensor noise so that JPEG files of it are as large as those of real photos.
// Returns Format_BGR888, the codecs' pixel format.
QImage PaintLandscape(QSize size, std::uint32_t seed);

struct Portrait {
    QImage Image;           // Format_BGR888
    QPointF Pupils[2];      // centres of the two pupils, in pixels
    double PupilRadius = 0; // in pixels
};

// A head-and-shoulders portrait in front of a blurred backdrop. With redEyes the pupils are the
// saturated red of a flash photograph (red about 200, green and blue about 40).
Portrait PaintPortrait(QSize size, std::uint32_t seed, bool redEyes);

// The main window's banner: a calm light gradient band with the product name in dark blue bold
// letters at the left. Format_RGB888, to be saved as PNG.
QImage PaintBanner(QSize size);

} // namespace Scenes
