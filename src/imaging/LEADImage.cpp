// The TLEADImage control: files and raster operations through the engine, region bookkeeping, and
// the display rectangle through which the picture is painted and client pixels are mapped.
#include "LEADImage.h"

#include "Codecs.h"

#include <opencv2/core.hpp>

#include <QPainter>
#include <QPaintEvent>

#include <cmath>
#include <new>

namespace {

// Engine error numbers of the control itself (the codec layer has its own).
constexpr int kErrorInvalidParameter = -1;

Raster::SizeKind SizeKindOf(int flags) {
    if (flags & 4)
        return Raster::SizeKind::Bicubic;
    if (flags & 2)
        return Raster::SizeKind::Resample;
    return Raster::SizeKind::Plain;
}

Raster::BandStyle BandStyleOf(TShapeInnerBandStyle style) {
    return style == sibRaised ? Raster::BandStyle::Raised
           : style == sibLowered ? Raster::BandStyle::Lowered
                                 : Raster::BandStyle::None;
}

Raster::BandStyle BandStyleOf(TShapeOuterBandStyle style) {
    return style == sobRaised ? Raster::BandStyle::Raised
           : style == sobLowered ? Raster::BandStyle::Lowered
                                 : Raster::BandStyle::None;
}

} // namespace

TLEADImage::TLEADImage(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

TLEADImage::~TLEADImage() = default;

void TLEADImage::Fail(const char* operation, int code, const QString& message) const {
    throw ELeadImageError(QStringLiteral("%1 \nError code: %2\n%3: %4 ")
                              .arg(objectName())
                              .arg(code)
                              .arg(QLatin1String(operation), message));
}

void TLEADImage::NotAllocated(const char* operation) const {
    throw ELeadImageError(QStringLiteral("%1 \n%2: Image not allocated.").arg(objectName(), QLatin1String(operation)));
}

void TLEADImage::RequirePicture(const char* operation) const {
    if (!HasBitmap())
        NotAllocated(operation);
}

// Runs an engine call and turns its failures into the control's error for that operation.
template <typename Call> void TLEADImage::EngineCall(const char* operation, Call&& call) const {
    try {
        call();
    } catch (const Codecs::CodecError& error) {
        Fail(operation, error.Code(), QString::fromUtf8(error.what()));
    } catch (const std::bad_alloc&) {
        Fail(operation, Codecs::kErrorMemory, QStringLiteral("Not enough memory"));
    } catch (const cv::Exception& error) {
        Fail(operation, kErrorInvalidParameter, QString::fromStdString(error.msg));
    }
}

void TLEADImage::SetBitmap(const QImage& bitmap) {
    if (bitmap.isNull()) {
        picture = QImage();
    } else {
        picture = bitmap.format() == QImage::Format_BGR888 ? bitmap : bitmap.convertToFormat(QImage::Format_BGR888);
        // Detach now, so that later edits of either side never reach the other.
        picture.detach();
    }
    PictureChanged();
}

void TLEADImage::Load(const QString& file, int /*bits*/, int /*page*/, int /*pages*/) {
    Codecs::LoadedPicture loaded;
    EngineCall("Load", [&] { loaded = Codecs::ReadPicture(file); });
    picture = loaded.image;
    bitmapBits = loaded.info.bits;
    fileFormat = loaded.info.format;
    fileCompression = loaded.info.compression;
    PictureChanged();
}

void TLEADImage::LoadReduced(const QString& file, int minWidth, int minHeight) {
    Codecs::LoadedPicture loaded;
    EngineCall("Load", [&] { loaded = Codecs::ReadPicture(file, QSize(minWidth, minHeight)); });
    picture = loaded.image;
    bitmapBits = loaded.info.bits;
    fileFormat = loaded.info.format;
    fileCompression = loaded.info.compression;
    PictureChanged();
}

void TLEADImage::Save(const QString& file, int format, int bits, int quality, int /*flags*/) {
    RequirePicture("Save");
    EngineCall("Save", [&] { Codecs::WritePicture(picture, file, format, bits, quality); });
}

void TLEADImage::Size(int width, int height, int flags) {
    RequirePicture("Size");
    if (width <= 0 || height <= 0)
        Fail("Size", kErrorInvalidParameter, QStringLiteral("Invalid parameter passed"));
    EngineCall("Size", [&] { picture = Raster::Resize(picture, width, height, SizeKindOf(flags)); });
    PictureChanged();
}

void TLEADImage::Rotate(int angle, int flags, QColor fill) {
    RequirePicture("Rotate");
    EngineCall("Rotate", [&] { picture = Raster::Rotate(picture, angle, (flags & 1) != 0, fill); });
    PictureChanged();
}

void TLEADImage::Flip() {
    RequirePicture("Flip");
    Raster::Flip(picture);
    PictureChanged();
}

void TLEADImage::Reverse() {
    RequirePicture("Reverse");
    Raster::Reverse(picture);
    PictureChanged();
}

void TLEADImage::Fill(QColor colour) {
    RequirePicture("Fill");
    Raster::Fill(picture, region, colour);
    PictureChanged();
}

void TLEADImage::Combine(int x, int y, int width, int height, const QImage& source, int sourceX, int sourceY,
                         int /*flags*/) {
    RequirePicture("Combine");
    if (source.isNull())
        Fail("Combine", kErrorInvalidParameter, QStringLiteral("Invalid bitmap handle"));
    const QImage from = source.format() == QImage::Format_BGR888 ? source : source.convertToFormat(QImage::Format_BGR888);
    Raster::Combine(picture, region, QRect(x, y, width, height), from, QPoint(sourceX, sourceY));
    PictureChanged();
}

void TLEADImage::DrawShape(int shape, const QImage& /*background*/) {
    RequirePicture("DrawShape");
    if (shape != kShapeRectangle)
        Fail("DrawShape", kErrorInvalidParameter, QStringLiteral("Shape not supported"));
    // Without persistence a shape would live on the screen only; the program always draws into
    // the picture, and a transparent background means the picture itself is the background.
    if (!DrawPersistence)
        return;
    Raster::ShapeSettings settings;
    settings.rect = QRect(ShapeLeft, ShapeTop, ShapeWidth, ShapeHeight);
    settings.borderColor = ShapeBorderColor;
    settings.borderThickness = ShapeBorderStyle == sbrNone ? 0 : ShapeBorderThickness;
    settings.innerBandStyle = BandStyleOf(ShapeInnerBandStyle);
    settings.innerBandThickness = ShapeInnerBandThickness;
    settings.innerBandHilite = ShapeInnerBandHiliteColor;
    settings.innerBandShadow = ShapeInnerBandShadowColor;
    settings.outerBandStyle = BandStyleOf(ShapeOuterBandStyle);
    settings.outerBandThickness = ShapeOuterBandThickness;
    settings.outerBandHilite = ShapeOuterBandHiliteColor;
    settings.outerBandShadow = ShapeOuterBandShadowColor;
    settings.shadowColor = ShadowColor;
    settings.shadowX = ShadowXDepth;
    settings.shadowY = ShadowYDepth;
    if (ShapeBackgroundStyle == sbsOpaque) {
        const int inset = (settings.outerBandStyle == Raster::BandStyle::None ? 0 : ShapeOuterBandThickness) +
                          settings.borderThickness;
        const QRect face(ShapeLeft, ShapeTop, ShapeWidth - ShadowXDepth, ShapeHeight - ShadowYDepth);
        Raster::Fill(picture, QRegion(face.adjusted(inset, inset, -inset, -inset)) & picture.rect(),
                     PatternBackColor);
    }
    Raster::Draw3dShape(picture, settings);
    PictureChanged();
}

void TLEADImage::Sharpen(int amount) {
    RequirePicture("Sharpen");
    EngineCall("Sharpen", [&] { Raster::Sharpen(picture, amount); });
    PictureChanged();
}

void TLEADImage::GaussianFilter(int radius) {
    RequirePicture("GaussianFilter");
    EngineCall("GaussianFilter", [&] { Raster::GaussianFilter(picture, radius); });
    PictureChanged();
}

void TLEADImage::GrayScale(int bits) {
    RequirePicture("GrayScale");
    if (bits != 8)
        Fail("GrayScale", kErrorInvalidParameter, QStringLiteral("Invalid bits per pixel"));
    Raster::GrayScale(picture);
    bitmapBits = 8;
    PictureChanged();
}

void TLEADImage::BalanceColors(const TBalance& red, const TBalance& green, const TBalance& blue) {
    RequirePicture("BalanceColors");
    const float matrix[3][3] = {{float(red.Red), float(red.Green), float(red.Blue)},
                                {float(green.Red), float(green.Green), float(green.Blue)},
                                {float(blue.Red), float(blue.Green), float(blue.Blue)}};
    EngineCall("BalanceColors", [&] { Raster::BalanceColors(picture, matrix); });
    bitmapBits = 24;
    PictureChanged();
}

void TLEADImage::RemoveRedeye(QColor colour, int threshold, int lightness) {
    RequirePicture("RemoveRedeye");
    Raster::RemoveRedeye(picture, region, colour, threshold, lightness);
    PictureChanged();
}

void TLEADImage::SetRgnRect(int left, int top, int width, int height, int /*mode*/) {
    RequirePicture("SetRgnRect");
    // Client corners to picture corners; a negative size swaps them.
    const QPointF a = ClientToPicture(QPointF(left, top));
    const QPointF b = ClientToPicture(QPointF(left + width, top + height));
    const QRect rect = QRect(QPoint(int(std::lround(std::min(a.x(), b.x()))), int(std::lround(std::min(a.y(), b.y())))),
                             QPoint(int(std::lround(std::max(a.x(), b.x()))) - 1,
                                    int(std::lround(std::max(a.y(), b.y()))) - 1));
    SetRegion(rect.isValid() ? QRegion(rect) : QRegion());
}

HRGN TLEADImage::GetRgnHandle() const { return new QRegion(region); }

void TLEADImage::SetRgnHandle(HRGN handle, int xOffset, int yOffset, int /*mode*/) {
    RequirePicture("SetRgnHandle");
    SetRegion(handle ? handle->translated(xOffset, yOffset) : QRegion());
}

void TLEADImage::DeleteRgnHandle(HRGN handle) { delete handle; }

void TLEADImage::FreeRgn() { SetRegion(QRegion()); }

void TLEADImage::SetRegion(const QRegion& newRegion) {
    region = newRegion.intersected(picture.rect());
    rgnBounds = region.boundingRect();
    if (rgnBounds.isEmpty()) {
        region = QRegion();
        rgnBounds = QRect();
    }
    RepaintIfAuto();
}

void TLEADImage::PictureChanged() {
    SetRegion(region);
    UpdateRects();
    RepaintIfAuto();
    emit OnChange();
}

void TLEADImage::SetPaintSizeMode(TPaintSizeMode mode) {
    paintSizeMode = mode;
    if (mode == smNormal)
        scale = 1.0;
    UpdateRects();
    RepaintIfAuto();
}

int TLEADImage::PaintZoomFactor() const { return int(std::nearbyint(scale * 100.0)); }

void TLEADImage::SetPaintZoomFactor(int percent) {
    if (percent < 0)
        throw ELeadImageError(QStringLiteral("PaintZoomFactor: Invalid value passed."));
    paintSizeMode = smZoom;
    scale = percent / 100.0;
    UpdateRects();
    RepaintIfAuto();
}

void TLEADImage::SetAutoRepaint(bool on) {
    autoRepaint = on;
    if (on)
        RepaintPicture();
}

void TLEADImage::RepaintPicture() { repaint(); }

void TLEADImage::RepaintIfAuto() {
    if (autoRepaint)
        update();
}

void TLEADImage::SetDisplayRect(int left, int top, int width, int height) {
    displayRect = QRect(left, top, width, height);
    RepaintIfAuto();
}

void TLEADImage::SetDisplayClipRect(int left, int top, int width, int height) {
    displayClipRect = QRect(left, top, width, height);
    RepaintIfAuto();
}

void TLEADImage::SetBackColor(QColor colour) {
    backColor = colour;
    RepaintIfAuto();
}

void TLEADImage::SetCenterImage(bool on) {
    centerImage = on;
    UpdateRects();
    RepaintIfAuto();
}

void TLEADImage::UpdateRects() {
    if (!autoSetRects)
        return;
    const QSize client = size();
    if (!HasBitmap()) {
        displayRect = QRect();
        displayClipRect = rect();
        return;
    }
    if (paintSizeMode == smFit) {
        scale = std::min(double(client.width()) / picture.width(), double(client.height()) / picture.height());
        if (!(scale > 0))
            scale = 1.0;
    } else if (paintSizeMode == smNormal) {
        scale = 1.0;
    }
    const int width = std::max(1, int(std::lround(picture.width() * scale)));
    const int height = std::max(1, int(std::lround(picture.height() * scale)));
    int left = 0;
    int top = 0;
    if (centerImage || paintSizeMode == smFit) {
        if (width < client.width())
            left = (client.width() - width) / 2;
        if (height < client.height())
            top = (client.height() - height) / 2;
    }
    displayRect = QRect(left, top, width, height);
    displayClipRect = rect();
}

QPointF TLEADImage::ClientToPicture(QPointF client) const {
    if (!HasBitmap() || displayRect.width() <= 0 || displayRect.height() <= 0)
        return client;
    return QPointF((client.x() - displayRect.left()) * picture.width() / displayRect.width(),
                   (client.y() - displayRect.top()) * picture.height() / displayRect.height());
}

QPointF TLEADImage::PictureToClient(QPointF point) const {
    if (!HasBitmap())
        return point;
    return QPointF(displayRect.left() + point.x() * displayRect.width() / picture.width(),
                   displayRect.top() + point.y() * displayRect.height() / picture.height());
}

void TLEADImage::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(event->rect(), backColor);
    if (!HasBitmap())
        return;
    painter.setClipRect(displayClipRect & rect());
    if (displayRect.width() < picture.width())
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(displayRect, picture);
}

void TLEADImage::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    UpdateRects();
}
