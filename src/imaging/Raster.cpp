// Raster operations of the imaging engine, on OpenCV views of the 24-bit pictures.
#include "Raster.h"

#include "Pixels.h"

#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>

namespace Raster {
namespace {

// A view of the picture's pixels; no copy. The picture must stay alive and keep its buffer.
cv::Mat View(QImage& picture) {
    return cv::Mat(picture.height(), picture.width(), CV_8UC3, picture.bits(),
                   size_t(picture.bytesPerLine()));
}

cv::Mat ConstView(const QImage& picture) {
    return cv::Mat(picture.height(), picture.width(), CV_8UC3, const_cast<uchar*>(picture.constBits()),
                   size_t(picture.bytesPerLine()));
}

void FillRect(QImage& picture, QRect rect, QColor colour) {
    rect &= picture.rect();
    if (rect.isEmpty())
        return;
    const uchar bgr[3] = {uchar(colour.blue()), uchar(colour.green()), uchar(colour.red())};
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        uchar* pixel = picture.scanLine(y) + rect.left() * 3;
        for (int x = 0; x < rect.width(); ++x, pixel += 3) {
            pixel[0] = bgr[0];
            pixel[1] = bgr[1];
            pixel[2] = bgr[2];
        }
    }
}

// The parts of the picture an operation may touch: the region's rectangles, or the whole picture.
QList<QRect> Area(const QImage& picture, const QRegion& region) {
    if (region.isEmpty())
        return {picture.rect()};
    QList<QRect> rects;
    for (const QRect& rect : region.intersected(picture.rect()))
        rects.append(rect);
    return rects;
}

// A ring of thickness t just inside rect, lit from the top left: the top and left edges get
// topLeft, the bottom and right edges bottomRight, meeting on the diagonal at the corners.
void DrawBand(QImage& picture, QRect rect, int thickness, QColor topLeft, QColor bottomRight) {
    for (int i = 0; i < thickness && rect.width() > 0 && rect.height() > 0; ++i) {
        FillRect(picture, QRect(rect.left(), rect.bottom(), rect.width(), 1), bottomRight);
        FillRect(picture, QRect(rect.right(), rect.top(), 1, rect.height()), bottomRight);
        FillRect(picture, QRect(rect.left(), rect.top(), rect.width() - 1, 1), topLeft);
        FillRect(picture, QRect(rect.left(), rect.top(), 1, rect.height() - 1), topLeft);
        rect.adjust(1, 1, -1, -1);
    }
}

void DrawStyledBand(QImage& picture, QRect rect, BandStyle style, int thickness, QColor hilite,
                    QColor shadow) {
    if (style == BandStyle::Raised)
        DrawBand(picture, rect, thickness, hilite, shadow);
    else if (style == BandStyle::Lowered)
        DrawBand(picture, rect, thickness, shadow, hilite);
}

int BandThickness(BandStyle style, int thickness) {
    return style == BandStyle::None ? 0 : std::max(0, thickness);
}

// Widths of n box filters whose cascade approximates a Gaussian of the given sigma.
std::vector<int> BoxWidths(double sigma, int n) {
    const double ideal = std::sqrt(12.0 * sigma * sigma / n + 1.0);
    int lower = int(std::floor(ideal));
    if (lower % 2 == 0)
        --lower;
    const int upper = lower + 2;
    const double m =
        (12.0 * sigma * sigma - n * lower * lower - 4.0 * n * lower - 3.0 * n) / (-4.0 * lower - 4.0);
    const int lowerCount = int(std::lround(m));
    std::vector<int> widths;
    for (int i = 0; i < n; ++i)
        widths.push_back(i < lowerCount ? lower : upper);
    return widths;
}

} // namespace

QImage Resize(const QImage& source, int width, int height, SizeKind kind) {
    QImage target = Pixels::NewBitmap(width, height);
    const cv::Mat from = ConstView(source);
    cv::Mat to = View(target);
    const bool reduces = width < source.width() || height < source.height();
    switch (kind) {
    case SizeKind::Plain:
        cv::resize(from, to, to.size(), 0, 0, cv::INTER_NEAREST);
        break;
    case SizeKind::Resample:
        cv::resize(from, to, to.size(), 0, 0, reduces ? cv::INTER_AREA : cv::INTER_LINEAR);
        break;
    case SizeKind::Bicubic: {
        // A 4-tap bicubic aliases when it reduces far; average down to about twice the target
        // first, then let the bicubic kernel do the last step.
        const int stepWidth = std::min(source.width(), 2 * width);
        const int stepHeight = std::min(source.height(), 2 * height);
        if (stepWidth < source.width() || stepHeight < source.height()) {
            if (stepWidth == width && stepHeight == height) {
                cv::resize(from, to, to.size(), 0, 0, cv::INTER_AREA);
            } else {
                cv::Mat between;
                cv::resize(from, between, cv::Size(stepWidth, stepHeight), 0, 0, cv::INTER_AREA);
                cv::resize(between, to, to.size(), 0, 0, cv::INTER_CUBIC);
            }
        } else {
            cv::resize(from, to, to.size(), 0, 0, cv::INTER_CUBIC);
        }
        break;
    }
    }
    return target;
}

QImage Rotate(const QImage& source, int hundredths, bool grow, QColor fill) {
    const int angle = ((hundredths % 36000) + 36000) % 36000;
    if (angle == 0)
        return source.copy();
    if (angle % 9000 == 0) {
        const bool quarter = angle != 18000;
        QImage turned = quarter ? Pixels::NewBitmap(source.height(), source.width())
                                : Pixels::NewBitmap(source.width(), source.height());
        cv::Mat to = View(turned);
        const int code = angle == 9000    ? cv::ROTATE_90_CLOCKWISE
                         : angle == 18000 ? cv::ROTATE_180
                                          : cv::ROTATE_90_COUNTERCLOCKWISE;
        cv::rotate(ConstView(source), to, code);
        if (grow || !quarter)
            return turned;
        // Keep the old size: the turned picture centred, the uncovered parts filled.
        QImage kept = Pixels::NewBitmap(source.width(), source.height());
        Fill(kept, QRegion(), fill);
        const QPoint offset((kept.width() - turned.width()) / 2, (kept.height() - turned.height()) / 2);
        const QRect placed = QRect(offset, turned.size()) & kept.rect();
        Combine(kept, QRegion(), placed, turned, placed.topLeft() - offset);
        return kept;
    }
    // Any other angle: an affine turn about the centre.
    const double degrees = angle / 100.0;
    const cv::Point2f centre(float(source.width() - 1) / 2.0f, float(source.height() - 1) / 2.0f);
    cv::Mat matrix = cv::getRotationMatrix2D(centre, -degrees, 1.0);
    int width = source.width();
    int height = source.height();
    if (grow) {
        const cv::Rect2f box =
            cv::RotatedRect(centre, cv::Size2f(float(width), float(height)), float(degrees)).boundingRect2f();
        width = int(std::lround(box.width));
        height = int(std::lround(box.height));
        matrix.at<double>(0, 2) += width / 2.0 - source.width() / 2.0;
        matrix.at<double>(1, 2) += height / 2.0 - source.height() / 2.0;
    }
    QImage turned = Pixels::NewBitmap(width, height);
    cv::Mat to = View(turned);
    cv::warpAffine(ConstView(source), to, matrix, to.size(), cv::INTER_LINEAR, cv::BORDER_CONSTANT,
                   cv::Scalar(fill.blue(), fill.green(), fill.red()));
    return turned;
}

void Flip(QImage& picture) {
    cv::Mat view = View(picture);
    cv::flip(view, view, 0);
}

void Reverse(QImage& picture) {
    cv::Mat view = View(picture);
    cv::flip(view, view, 1);
}

void Fill(QImage& picture, const QRegion& region, QColor colour) {
    for (const QRect& rect : Area(picture, region))
        FillRect(picture, rect, colour);
}

void Combine(QImage& target, const QRegion& region, const QRect& targetRect, const QImage& source,
             QPoint sourceTopLeft) {
    // Clip the rectangle to both pictures, keeping the two corners in step.
    QRect placed = targetRect & target.rect();
    const QRect fromSource = QRect(sourceTopLeft + (placed.topLeft() - targetRect.topLeft()), placed.size());
    const QRect available = fromSource & source.rect();
    placed = QRect(placed.topLeft() + (available.topLeft() - fromSource.topLeft()), available.size());
    if (placed.isEmpty())
        return;
    const QPoint shift = available.topLeft() - placed.topLeft();
    const QRegion allowed = region.isEmpty() ? QRegion(placed) : region.intersected(placed);
    for (const QRect& rect : allowed) {
        for (int y = rect.top(); y <= rect.bottom(); ++y) {
            const uchar* from = source.constScanLine(y + shift.y()) + (rect.left() + shift.x()) * 3;
            uchar* to = target.scanLine(y) + rect.left() * 3;
            std::copy(from, from + rect.width() * 3, to);
        }
    }
}

void Draw3dShape(QImage& picture, const ShapeSettings& shape) {
    const int shadowX = std::max(0, shape.shadowX);
    const int shadowY = std::max(0, shape.shadowY);
    const QRect face(shape.rect.left(), shape.rect.top(), shape.rect.width() - shadowX,
                     shape.rect.height() - shadowY);
    if (face.isEmpty())
        return;
    // The shadow shows only where the face does not cover it: the picture stays visible inside.
    const QRegion shadow = QRegion(face.translated(shadowX, shadowY)).subtracted(QRegion(face));
    Fill(picture, shadow.intersected(picture.rect()), shape.shadowColor);

    QRect ring = face;
    const int outer = BandThickness(shape.outerBandStyle, shape.outerBandThickness);
    DrawStyledBand(picture, ring, shape.outerBandStyle, outer, shape.outerBandHilite, shape.outerBandShadow);
    ring.adjust(outer, outer, -outer, -outer);
    const int border = std::max(0, shape.borderThickness);
    DrawBand(picture, ring, border, shape.borderColor, shape.borderColor);
    ring.adjust(border, border, -border, -border);
    const int inner = BandThickness(shape.innerBandStyle, shape.innerBandThickness);
    DrawStyledBand(picture, ring, shape.innerBandStyle, inner, shape.innerBandHilite, shape.innerBandShadow);
}

void Sharpen(QImage& picture, int amount) {
    amount = std::clamp(amount, 0, 1000);
    if (amount == 0 || picture.isNull())
        return;
    cv::Mat view = View(picture);
    cv::Mat blurred;
    cv::GaussianBlur(view, blurred, cv::Size(0, 0), 1.0, 1.0, cv::BORDER_REPLICATE);
    // Unsharp mask: amount 1000 adds four times the detail that a one-pixel blur removes.
    const double weight = amount / 250.0;
    cv::addWeighted(view, 1.0 + weight, blurred, -weight, 0.0, view);
}

double GaussianSigma(int radius) {
    return radius / 3.0;
}

void GaussianFilter(QImage& picture, int radius) {
    if (radius <= 0 || picture.isNull())
        return;
    cv::Mat view = View(picture);
    const double sigma = GaussianSigma(radius);
    if (sigma < 2.0) {
        cv::GaussianBlur(view, view, cv::Size(0, 0), sigma, sigma, cv::BORDER_REPLICATE);
        return;
    }
    for (int width : BoxWidths(sigma, 3))
        cv::blur(view, view, cv::Size(width, width), cv::Point(-1, -1), cv::BORDER_REPLICATE);
}

void GrayScale(QImage& picture) {
    for (int y = 0; y < picture.height(); ++y) {
        uchar* pixel = picture.scanLine(y);
        for (int x = 0; x < picture.width(); ++x, pixel += 3) {
            const uchar grey = uchar((pixel[2] * 299 + pixel[1] * 587 + pixel[0] * 114 + 500) / 1000);
            pixel[0] = pixel[1] = pixel[2] = grey;
        }
    }
}

void BalanceColors(QImage& picture, const float matrix[3][3]) {
    if (picture.isNull())
        return;
    // The pixels are stored blue, green, red: mirror the matrix into that order.
    cv::Matx33f bgr;
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column)
            bgr(row, column) = matrix[2 - row][2 - column];
    cv::Mat view = View(picture);
    cv::transform(view, view, bgr);
}

void RemoveRedeye(QImage& picture, const QRegion& region, QColor eyeColor, int threshold, int lightness) {
    if (region.isEmpty())
        return;
    const int eye[3] = {eyeColor.blue(), eyeColor.green(), eyeColor.red()};
    for (const QRect& rect : region.intersected(picture.rect())) {
        for (int y = rect.top(); y <= rect.bottom(); ++y) {
            uchar* pixel = picture.scanLine(y) + rect.left() * 3;
            for (int x = 0; x < rect.width(); ++x, pixel += 3) {
                const int blue = pixel[0], green = pixel[1], red = pixel[2];
                const int rest = (green + blue) / 2;
                // Dark pixels carry no colour worth judging.
                if (red < 40 || red * 60 < threshold * std::max(rest, 1))
                    continue;
                // Without the red cast a pupil's lightness is that of its green and blue; a
                // typical pupil (64) gets the eye colour itself, highlights stay brighter.
                const int shift = (std::max(green, blue) - 64) * lightness / 100;
                for (int c = 0; c < 3; ++c)
                    pixel[c] = uchar(std::clamp(eye[c] + shift, 0, 255));
            }
        }
    }
}

} // namespace Raster
