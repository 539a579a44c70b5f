// The TLEADImage control: files and raster operations through the engine, region bookkeeping,
// the display with zoom and scroll bars, region marking with the mouse, and the floater.
#include "LEADImage.h"

#include "Codecs.h"
#include "ViewGeometry.h"

#include <opencv2/core.hpp>

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>

#include <cmath>
#include <cstring>
#include <new>
#include <vector>

namespace {

// Engine error number of the control itself (the codec layer has its own).
constexpr int kErrorInvalidParameter = -1;
// Corner ellipse of the rounded-rectangle marking tool, picture pixels.
constexpr int kRoundCorner = 50;

Raster::SizeKind SizeKindOf(int flags) {
    if (flags & 4)
        return Raster::SizeKind::Bicubic;
    if (flags & 2)
        return Raster::SizeKind::Resample;
    return Raster::SizeKind::Plain;
}

Raster::BandStyle BandStyleOf(TShapeInnerBandStyle style) {
    return style == sibRaised    ? Raster::BandStyle::Raised
           : style == sibLowered ? Raster::BandStyle::Lowered
                                 : Raster::BandStyle::None;
}

Raster::BandStyle BandStyleOf(TShapeOuterBandStyle style) {
    return style == sobRaised    ? Raster::BandStyle::Raised
           : style == sobLowered ? Raster::BandStyle::Lowered
                                 : Raster::BandStyle::None;
}

QImage As24Bit(const QImage& image) {
    return image.format() == QImage::Format_BGR888 ? image : image.convertToFormat(QImage::Format_BGR888);
}

} // namespace

TLEADImage::TLEADImage(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    horizontalBar = new QScrollBar(Qt::Horizontal, this);
    verticalBar = new QScrollBar(Qt::Vertical, this);
    horizontalBar->hide();
    verticalBar->hide();
    horizontalBar->setSingleStep(10);
    verticalBar->setSingleStep(10);
    connect(horizontalBar, &QScrollBar::valueChanged, this, [this] { ScrollBarMoved(); });
    connect(verticalBar, &QScrollBar::valueChanged, this, [this] { ScrollBarMoved(); });
    frameTimer.setInterval(1000);
    connect(&frameTimer, &QTimer::timeout, this, &TLEADImage::AdvanceFrame);
    clientSize = size();
    displayClipRect = rect();
}

TLEADImage::~TLEADImage() = default;

void TLEADImage::Fail(const char* operation, int code, const QString& message) const {
    throw ELeadImageError(QStringLiteral("%1 \nError code: %2\n%3: %4 ")
                              .arg(objectName())
                              .arg(code)
                              .arg(QLatin1String(operation), message));
}

void TLEADImage::NotAllocated(const char* operation) const {
    throw ELeadImageError(
        QStringLiteral("%1 \n%2: Image not allocated.").arg(objectName(), QLatin1String(operation)));
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

TBitmap TLEADImage::Bitmap() const {
    return TBitmap(picture, region);
}

void TLEADImage::SetBitmap(const TBitmap& bitmap) {
    if (bitmap.IsNull()) {
        picture = QImage();
        region = QRegion();
    } else {
        picture = As24Bit(bitmap.Pixels);
        // Detach now, so that later edits of either side never reach the other.
        picture.detach();
        region = bitmap.Rgn;
        regionOutline = QPainterPath();
    }
    PictureChanged();
}

void TLEADImage::LoadFrom(const Codecs::LoadedPicture& loaded) {
    picture = loaded.image;
    fileSize = QSize(loaded.info.width, loaded.info.height);
    bitmapBits = loaded.info.bits;
    fileFormat = loaded.info.format;
    fileCompression = loaded.info.compression;
    PictureChanged();
}

void TLEADImage::Load(const QString& file, int /*bits*/, int /*page*/, int /*pages*/) {
    Codecs::LoadedPicture loaded;
    EngineCall("Load", [&] { loaded = Codecs::ReadPicture(file); });
    LoadFrom(loaded);
}

void TLEADImage::LoadReduced(const QString& file, int minWidth, int minHeight) {
    Codecs::LoadedPicture loaded;
    EngineCall("Load", [&] { loaded = Codecs::ReadPicture(file, QSize(minWidth, minHeight)); });
    LoadFrom(loaded);
}

void TLEADImage::Save(const QString& file, int format, int bits, int quality, int /*flags*/) {
    RequirePicture("Save");
    EngineCall("Save", [&] { Codecs::WritePicture(picture, file, format, bits, quality); });
}

QByteArray TLEADImage::Encode(int format, int bits, int quality) const {
    RequirePicture("Save");
    QByteArray data;
    EngineCall("Save", [&] { data = Codecs::EncodePicture(picture, format, bits, quality); });
    return data;
}

void TLEADImage::SaveEncoded(const QString& file, const QByteArray& data) const {
    EngineCall("Save", [&] { Codecs::WriteFile(file, data); });
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

void TLEADImage::Combine(int x, int y, int width, int height, const TBitmap& source, int sourceX, int sourceY,
                         int /*flags*/) {
    RequirePicture("Combine");
    if (source.IsNull())
        Fail("Combine", kErrorInvalidParameter, QStringLiteral("Invalid bitmap handle"));
    Raster::Combine(picture, region, QRect(x, y, width, height), As24Bit(source.Pixels),
                    QPoint(sourceX, sourceY));
    PictureChanged();
}

Raster::ShapeSettings TLEADImage::ShapeSettings() const {
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
    return settings;
}

void TLEADImage::DrawShape(int shape, const TBitmap& /*background*/) {
    RequirePicture("DrawShape");
    if (shape != kShapeRectangle)
        Fail("DrawShape", kErrorInvalidParameter, QStringLiteral("Shape not supported"));
    // Without persistence a shape would live on the screen only; the program always draws into
    // the picture, and a transparent background means the picture itself is the background.
    if (!DrawPersistence)
        return;
    const Raster::ShapeSettings settings = ShapeSettings();
    if (ShapeBackgroundStyle == sbsOpaque) {
        const QRect face(ShapeLeft, ShapeTop, ShapeWidth - ShadowXDepth, ShapeHeight - ShadowYDepth);
        Raster::Fill(picture, QRegion(face) & picture.rect(), PatternBackColor);
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

// ---- Region ----

void TLEADImage::SetRgnRect(int left, int top, int width, int height, int /*mode*/) {
    RequirePicture("SetRgnRect");
    const QRect rect = ViewGeometry::ClientRectToPicture(
        QPoint(left, top), QPoint(left + width, top + height), displayRect, picture.size());
    QPainterPath outline;
    outline.addRect(QRectF(rect));
    SetRegion(rect.isEmpty() ? QRegion() : QRegion(rect), outline);
}

HRGN TLEADImage::GetRgnHandle() const {
    return new QRegion(region);
}

void TLEADImage::SetRgnHandle(HRGN handle, int xOffset, int yOffset, int /*mode*/) {
    RequirePicture("SetRgnHandle");
    SetRegion(handle ? handle->translated(xOffset, yOffset) : QRegion());
}

void TLEADImage::DeleteRgnHandle(HRGN handle) {
    delete handle;
}

void TLEADImage::FreeRgn() {
    SetRegion(QRegion());
}

void TLEADImage::SetRegion(const QRegion& newRegion, const QPainterPath& outline) {
    region = newRegion.intersected(QRect(QPoint(0, 0), picture.size()));
    // A known outline holds only while clipping left the shape whole.
    regionOutline = region == newRegion ? outline : QPainterPath();
    rgnBounds = region.boundingRect();
    if (rgnBounds.isEmpty()) {
        region = QRegion();
        rgnBounds = QRect();
        regionOutline = QPainterPath();
    }
    RepaintIfAuto();
}

void TLEADImage::SetRgnFrameType(int type) {
    frameType = type;
    if (type == kFrameAnimated)
        frameTimer.start();
    else
        frameTimer.stop();
    RepaintIfAuto();
}

void TLEADImage::AdvanceFrame() {
    frameDashOffset = (frameDashOffset + 1) % 8;
    if (HasRgn())
        update();
}

void TLEADImage::SetMarkingTool(TMarkingTool tool) {
    markingTool = tool;
    marking = false;
}

// ---- Floater ----

TBitmap TLEADImage::Floater() const {
    if (!autoFloater)
        return floater;
    if (!HasBitmap() || !HasRgn())
        return TBitmap();
    return TBitmap(picture.copy(rgnBounds), region.translated(-rgnBounds.topLeft()));
}

void TLEADImage::SetFloater(const TBitmap& bitmap) {
    autoFloater = false;
    floater = TBitmap();
    if (!bitmap.IsNull()) {
        const QRect whole = bitmap.Pixels.rect();
        const QRect bounds = bitmap.Rgn.isEmpty() ? whole : bitmap.Rgn.boundingRect() & whole;
        if (!bounds.isEmpty()) {
            const QRegion shape = bitmap.Rgn.isEmpty() ? QRegion(whole) : bitmap.Rgn.intersected(whole);
            floater = TBitmap(As24Bit(bitmap.Pixels).copy(bounds), shape.translated(-bounds.topLeft()));
        }
    }
    RepaintIfAuto();
}

void TLEADImage::SetAutoFloater(bool on) {
    autoFloater = on;
    if (on)
        floater = TBitmap();
    RepaintIfAuto();
}

void TLEADImage::SetFloaterVisible(bool on) {
    floaterVisible = on;
    RepaintIfAuto();
}

void TLEADImage::SetFloaterRect(int left, int top, int width, int height) {
    floaterRect = QRect(left, top, width, height);
    RepaintIfAuto();
}

void TLEADImage::SetFloaterClipRect(int left, int top, int width, int height) {
    floaterClipRect = QRect(left, top, width, height);
    RepaintIfAuto();
}

void TLEADImage::SetFloaterLeft(int x) {
    floaterRect.moveLeft(x);
    RepaintIfAuto();
}

void TLEADImage::SetFloaterTop(int y) {
    floaterRect.moveTop(y);
    RepaintIfAuto();
}

// ---- Display ----

void TLEADImage::PictureChanged() {
    SetRegion(region, regionOutline);
    UpdateRects();
    RepaintIfAuto();
    emit OnChange();
}

void TLEADImage::SetPaintSizeMode(TPaintSizeMode mode) {
    paintSizeMode = mode;
    if (mode == smNormal) {
        scale = 1.0;
        ScrollTo(QPoint(0, 0));
    }
    UpdateRects();
    RepaintIfAuto();
}

int TLEADImage::PaintZoomFactor() const {
    return int(std::nearbyint(scale * 100.0));
}

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

void TLEADImage::SetAutoSetRects(bool on) {
    autoSetRects = on;
    if (on)
        UpdateRects();
}

void TLEADImage::RepaintPicture() {
    repaint();
}

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

int TLEADImage::HScrollStep() const {
    return horizontalBar->singleStep();
}
int TLEADImage::VScrollStep() const {
    return verticalBar->singleStep();
}
void TLEADImage::SetHScrollStep(int step) {
    SetScrollStep(horizontalBar, step, "HScrollStep");
}
void TLEADImage::SetVScrollStep(int step) {
    SetScrollStep(verticalBar, step, "VScrollStep");
}

void TLEADImage::SetScrollStep(QScrollBar* bar, int step, const char* property) {
    if (step < 1)
        throw ELeadImageError(
            QStringLiteral("%1 \n%2: Scroll step out of range.").arg(objectName(), QLatin1String(property)));
    bar->setSingleStep(step);
    ScrollTo(QPoint(0, 0));
    UpdateRects();
}

QPoint TLEADImage::ScrollPosition() const {
    return QPoint(horizontalBar->value(), verticalBar->value());
}

void TLEADImage::ScrollTo(QPoint position) {
    horizontalBar->setValue(position.x());
    verticalBar->setValue(position.y());
}

void TLEADImage::ScrollBarMoved() {
    if (layingOut)
        return;
    UpdateRects();
    RepaintIfAuto();
    emit OnScroll();
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
    if (!HasBitmap()) {
        horizontalBar->hide();
        verticalBar->hide();
        clientSize = size();
        displayRect = QRect();
        displayClipRect = rect();
        return;
    }
    const bool fit = paintSizeMode == smFit;
    if (fit)
        scale = ViewGeometry::FitScale(picture.size(), size());
    else if (paintSizeMode == smNormal)
        scale = 1.0;
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    const ViewGeometry::Layout layout =
        ViewGeometry::LayOut(picture.size(), size(), scale, centerImage || fit, ScrollPosition(), bar);
    // Setting the bars' ranges may move them; that is part of this layout, not a user's scroll.
    layingOut = true;
    horizontalBar->setRange(0, layout.horizontalMaximum);
    horizontalBar->setPageStep(std::max(1, layout.client.width()));
    horizontalBar->setValue(layout.scroll.x());
    horizontalBar->setGeometry(0, height() - bar, layout.client.width(), bar);
    horizontalBar->setVisible(layout.horizontalBar);
    verticalBar->setRange(0, layout.verticalMaximum);
    verticalBar->setPageStep(std::max(1, layout.client.height()));
    verticalBar->setValue(layout.scroll.y());
    verticalBar->setGeometry(width() - bar, 0, bar, layout.client.height());
    verticalBar->setVisible(layout.verticalBar);
    layingOut = false;
    clientSize = layout.client;
    displayRect = layout.display;
    displayClipRect = QRect(QPoint(0, 0), layout.client);
}

QPointF TLEADImage::ClientToPicture(QPointF client) const {
    return ViewGeometry::ClientToPicture(client, displayRect, picture.size());
}

QPointF TLEADImage::PictureToClient(QPointF point) const {
    return ViewGeometry::PictureToClient(point, displayRect, picture.size());
}

QRect TLEADImage::DisplayedPictureRect() const {
    return displayRect & QRect(QPoint(0, 0), clientSize);
}

QPoint TLEADImage::ClampToPicture(QPoint client) const {
    const QRect shown = DisplayedPictureRect();
    // The far edge is exclusive: a drag to the last pixel still takes it in.
    return QPoint(std::clamp(client.x(), shown.left(), shown.right() + 1),
                  std::clamp(client.y(), shown.top(), shown.bottom() + 1));
}

// ---- Mouse ----

void TLEADImage::mousePressEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    // The program's handler sees a press before the control starts marking.
    emit OnMouseDown(event->button(), event->modifiers(), at.x(), at.y());
    if (markingTool == mtNone || event->button() == Qt::RightButton || !HasBitmap() ||
        !DisplayedPictureRect().contains(at))
        return;
    FreeRgn();
    marking = true;
    markStart = markEnd = at;
    markTrail = QPolygon({at});
    update();
}

void TLEADImage::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (marking) {
        markEnd = ClampToPicture(at);
        if (markingTool == mtFreehand)
            markTrail << markEnd;
        update();
    }
    emit OnMouseMove(event->modifiers(), at.x(), at.y());
}

void TLEADImage::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (marking && event->button() != Qt::RightButton)
        FinishMarking(ClampToPicture(at));
    emit OnMouseUp(event->button(), event->modifiers(), at.x(), at.y());
}

void TLEADImage::FinishMarking(QPoint end) {
    marking = false;
    markEnd = end;
    const QRect box = ViewGeometry::ClientRectToPicture(markStart, markEnd, displayRect, picture.size());
    QPainterPath outline;
    QRegion shape;
    if (!box.isEmpty()) {
        switch (markingTool) {
        case mtRectangle:
            outline.addRect(QRectF(box));
            shape = QRegion(box);
            break;
        case mtRoundRect: {
            outline.addRoundedRect(QRectF(box), kRoundCorner / 2.0, kRoundCorner / 2.0);
            shape = QRegion(outline.toFillPolygon().toPolygon());
            break;
        }
        case mtEllipse:
            outline.addEllipse(QRectF(box));
            shape = QRegion(box, QRegion::Ellipse);
            break;
        case mtFreehand: {
            QPolygonF polygon;
            for (const QPoint& point : markTrail)
                polygon << ClientToPicture(point);
            outline.addPolygon(polygon);
            outline.closeSubpath();
            shape = QRegion(polygon.toPolygon());
            break;
        }
        case mtNone:
            break;
        }
    }
    markTrail.clear();
    SetRegion(shape, outline);
    update();
}

// ---- Painting ----

void TLEADImage::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    // The background only where the picture does not cover it.
    painter.setClipRegion(QRegion(event->rect()).subtracted(displayRect & displayClipRect));
    painter.fillRect(event->rect(), backColor);
    painter.setClipping(false);
    if (!HasBitmap())
        return;
    PaintPicture(painter, event->rect());
    PaintFloater(painter);
    PaintRegionFrame(painter);
    PaintRubberBand(painter);
}

void TLEADImage::PaintPicture(QPainter& painter, const QRect& area) {
    const QRect visible = displayRect & displayClipRect & area & QRect(QPoint(0, 0), clientSize);
    if (visible.isEmpty() || displayRect.isEmpty())
        return;
    // The painter's own pixel format, kept beside the picture: reduced to the display size when
    // the view is reduced (averaged once, not on every paint), at full size otherwise.
    const bool reduced = displayRect.width() < picture.width() || displayRect.height() < picture.height();
    const QSize cacheSize = reduced ? displayRect.size() : picture.size();
    if (displayCache.isNull() || displayCacheKey != picture.cacheKey() || displayCache.size() != cacheSize) {
        const QImage source = reduced ? Raster::Resize(picture, cacheSize.width(), cacheSize.height(),
                                                       Raster::SizeKind::Resample)
                                      : picture;
        displayCache = source.convertToFormat(QImage::Format_RGB32);
        displayCacheKey = picture.cacheKey();
    }
    if (reduced) {
        painter.drawImage(visible, displayCache, visible.translated(-displayRect.topLeft()));
        return;
    }
    // 1:1 or enlarged: only the source pixels under the visible part are drawn.
    if (displayRect.size() == picture.size()) {
        painter.drawImage(visible.topLeft(), displayCache, visible.translated(-displayRect.topLeft()));
        return;
    }
    // Enlarged: the visible part is blown up once by pixel replication and kept, so repaints
    // (the frame's tick, exposes) are plain copies; a pan or zoom builds it anew.
    if (enlargedCache.isNull() || enlargedVisible != visible || enlargedDisplay != displayRect ||
        enlargedKey != displayCacheKey) {
        enlargedCache = QImage(visible.size(), QImage::Format_RGB32);
        std::vector<int> columns(size_t(visible.width()));
        for (int x = 0; x < visible.width(); ++x)
            columns[size_t(x)] = std::clamp(
                int(qint64(visible.left() + x - displayRect.left()) * picture.width() / displayRect.width()),
                0, picture.width() - 1);
        int previousRow = -1;
        for (int y = 0; y < visible.height(); ++y) {
            const int row = std::clamp(
                int(qint64(visible.top() + y - displayRect.top()) * picture.height() / displayRect.height()),
                0, picture.height() - 1);
            auto* to = reinterpret_cast<quint32*>(enlargedCache.scanLine(y));
            if (row == previousRow) {
                std::memcpy(to, enlargedCache.constScanLine(y - 1), size_t(visible.width()) * 4);
                continue;
            }
            const auto* from = reinterpret_cast<const quint32*>(displayCache.constScanLine(row));
            for (int x = 0; x < visible.width(); ++x)
                to[x] = from[columns[size_t(x)]];
            previousRow = row;
        }
        enlargedVisible = visible;
        enlargedDisplay = displayRect;
        enlargedKey = displayCacheKey;
    }
    painter.drawImage(visible.topLeft(), enlargedCache);
}

void TLEADImage::PaintFloater(QPainter& painter) {
    if (!floaterVisible || floater.IsNull() || floaterRect.isEmpty())
        return;
    painter.save();
    if (!floaterClipRect.isEmpty())
        painter.setClipRect(floaterClipRect);
    // The floater's shape, scaled from its pixels onto its rectangle.
    const QTransform toScreen = QTransform::fromTranslate(floaterRect.left(), floaterRect.top())
                                    .scale(double(floaterRect.width()) / floater.Pixels.width(),
                                           double(floaterRect.height()) / floater.Pixels.height());
    QPainterPath shape;
    shape.addRegion(floater.Rgn);
    painter.setClipPath(toScreen.map(shape), floaterClipRect.isEmpty() ? Qt::ReplaceClip : Qt::IntersectClip);
    painter.drawImage(floaterRect, floater.Pixels.convertToFormat(QImage::Format_RGB32));
    painter.restore();
}

void TLEADImage::PaintRegionFrame(QPainter& painter) {
    if (frameType != kFrameAnimated || !HasRgn())
        return;
    if (regionOutline.isEmpty()) {
        QPainterPath path;
        path.addRegion(region);
        regionOutline = path.simplified();
    }
    const QTransform toScreen = QTransform::fromTranslate(displayRect.left(), displayRect.top())
                                    .scale(double(displayRect.width()) / picture.width(),
                                           double(displayRect.height()) / picture.height());
    const QPainterPath outline = toScreen.map(regionOutline);
    painter.save();
    painter.setClipRect(QRect(QPoint(0, 0), clientSize));
    painter.setPen(QPen(Qt::white, 1));
    painter.drawPath(outline);
    // Marching dashes: black over white, shifted on every tick of the frame timer.
    QPen dashes(Qt::black, 1, Qt::CustomDashLine);
    dashes.setDashPattern({4, 4});
    dashes.setDashOffset(frameDashOffset);
    painter.setPen(dashes);
    painter.drawPath(outline);
    painter.restore();
}

void TLEADImage::PaintRubberBand(QPainter& painter) {
    if (!marking)
        return;
    painter.save();
    // An inverting one-pixel pen: white in difference mode turns every pixel it covers around.
    painter.setCompositionMode(QPainter::CompositionMode_Difference);
    painter.setPen(QPen(Qt::white, 1));
    painter.setBrush(Qt::NoBrush);
    const QRect box = QRect(markStart, markEnd).normalized();
    switch (markingTool) {
    case mtRectangle:
        painter.drawRect(box);
        break;
    case mtRoundRect: {
        const double corner = kRoundCorner / 2.0 * displayRect.width() / std::max(1, picture.width());
        painter.drawRoundedRect(box, corner, corner);
        break;
    }
    case mtEllipse:
        painter.drawEllipse(box);
        break;
    case mtFreehand:
        painter.drawPolyline(markTrail);
        break;
    case mtNone:
        break;
    }
    painter.restore();
}

void TLEADImage::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    UpdateRects();
    emit OnResize();
}
