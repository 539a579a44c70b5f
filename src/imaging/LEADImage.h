// TLEADImage: the imaging control. It holds one 24-bit picture with its file information, an
// optional region in picture pixels and the display state; it paints the picture into its window
// with zoom and scrolling, lets the user mark a region with the mouse, shows a floater above the
// picture, and runs every raster operation of the program through the engine's functions.
#pragma once

#include "LeadImageError.h"
#include "Raster.h"

#include <QColor>
#include <QImage>
#include <QPainterPath>
#include <QPolygon>
#include <QRegion>
#include <QTimer>
#include <QWidget>

class QScrollBar;
class QPainter;
namespace Codecs {
struct LoadedPicture;
}

// Size modes of the display.
enum TPaintSizeMode { smNormal = 0, smStretch = 1, smFitSides = 2, smFit = 3, smZoom = 4 };

// Shape styles the program uses.
enum TShapeBackgroundStyle { sbsOpaque, sbsTransparent };
enum TShapeBorderStyle { sbrNone, sbrSolid };
enum TShapeInnerBandStyle { sibNone, sibRaised, sibLowered };
enum TShapeOuterBandStyle { sobNone, sobRaised, sobLowered };
enum TPatternStyle { epsSolid, epsTransparent };

// Shape code of the framed rectangle.
constexpr int kShapeRectangle = 2000;

// Marking tools: the shape a drag on the control marks as the region.
enum TMarkingTool { mtNone = 0, mtRectangle = 1, mtRoundRect = 2, mtEllipse = 3, mtFreehand = 4 };

// Region frame types.
constexpr int kFrameNone = 0;
constexpr int kFrameAnimated = 2;

// One balancing record: the shares of red, green and blue that make one output channel.
struct TBalance {
    double Red = 0;
    double Green = 0;
    double Blue = 0;
};

// The engine's picture handle: pixels with the region they carry (in their own pixels). Copying
// a picture or assigning it to a control carries the region along.
struct TBitmap {
    TBitmap() = default;
    TBitmap(const QImage& pixels, const QRegion& region = QRegion()) : Pixels(pixels), Rgn(region) {}
    bool IsNull() const { return Pixels.isNull(); }
    QImage Pixels;
    QRegion Rgn;
};

// A system region handle: an owned copy of a region in picture pixels.
using HRGN = QRegion*;

class TLEADImage : public QWidget {
    Q_OBJECT

public:
    explicit TLEADImage(QWidget* parent = nullptr);
    ~TLEADImage() override;

    // Picture
    bool HasBitmap() const { return !picture.isNull(); }
    int BitmapWidth() const { return picture.width(); }
    int BitmapHeight() const { return picture.height(); }
    int BitmapBits() const { return HasBitmap() ? bitmapBits : 0; }
    int FileFormat() const { return fileFormat; }
    // The picture's size in its file; smaller than the bitmap's after a reduced load.
    QSize FileSize() const { return fileSize; }
    QString FileCompression() const { return fileCompression; }
    // The picture with its region (null when there is none); shares pixels until either changes.
    TBitmap Bitmap() const;
    // Replaces the picture (and region) by a copy of the given one; a null bitmap removes it.
    void SetBitmap(const TBitmap& bitmap);

    // Files. bits 0 keeps the file's depth; page 1 is the first picture of the file.
    void Load(const QString& file, int bits = 0, int page = 1, int pages = 1);
    // Loads the picture at a reduced size that still covers minWidth x minHeight, where the
    // decoder can reduce cheaply (JPEG); the file information describes the file as usual.
    void LoadReduced(const QString& file, int minWidth, int minHeight);
    // Takes a picture that was already read from its file, for example a reduced decode made on a
    // worker thread; the same as loading that file.
    void LoadFrom(const Codecs::LoadedPicture& loaded);
    void Save(const QString& file, int format, int bits, int quality, int flags = 0);
    // Save in two halves, so a picture that goes to several files is encoded once.
    QByteArray Encode(int format, int bits, int quality) const;
    void SaveEncoded(const QString& file, const QByteArray& data) const;

    // Geometry
    void Size(int width, int height, int flags);
    void Rotate(int angle, int flags, QColor fill);
    void Flip();
    void Reverse();

    // Pixels
    void Fill(QColor colour);
    void Combine(int x, int y, int width, int height, const TBitmap& source, int sourceX, int sourceY,
                 int flags);
    void DrawShape(int shape, const TBitmap& background);
    void Sharpen(int amount);
    void GaussianFilter(int radius);
    void GrayScale(int bits);
    void BalanceColors(const TBalance& red, const TBalance& green, const TBalance& blue);
    void RemoveRedeye(QColor colour, int threshold, int lightness);

    // The shape properties as the engine draws them (the rectangle from ShapeLeft .. ShapeHeight).
    Raster::ShapeSettings ShapeSettings() const;

    // Shape properties used by DrawShape.
    int ShapeLeft = 0;
    int ShapeTop = 0;
    int ShapeWidth = 0;
    int ShapeHeight = 0;
    TShapeBackgroundStyle ShapeBackgroundStyle = sbsOpaque;
    QColor ShapeBorderColor = Qt::black;
    TShapeBorderStyle ShapeBorderStyle = sbrSolid;
    int ShapeBorderThickness = 1;
    QColor ShapeInnerBandHiliteColor = Qt::white;
    QColor ShapeInnerBandShadowColor = Qt::gray;
    TShapeInnerBandStyle ShapeInnerBandStyle = sibNone;
    int ShapeInnerBandThickness = 2;
    QColor ShapeOuterBandHiliteColor = Qt::white;
    QColor ShapeOuterBandShadowColor = Qt::gray;
    TShapeOuterBandStyle ShapeOuterBandStyle = sobNone;
    int ShapeOuterBandThickness = 2;
    QColor ShadowColor = Qt::black;
    int ShadowXDepth = 0;
    int ShadowYDepth = 0;
    TPatternStyle PatternStyle = epsSolid;
    QColor PatternForeColor = Qt::black;
    QColor PatternBackColor = Qt::white;
    bool DrawPersistence = false;

    // Region, in picture pixels.
    bool HasRgn() const { return !region.isEmpty(); }
    // The region as a rectangle given in client pixels; mode 1 replaces any region.
    void SetRgnRect(int left, int top, int width, int height, int mode);
    HRGN GetRgnHandle() const;
    void SetRgnHandle(HRGN handle, int xOffset, int yOffset, int mode);
    static void DeleteRgnHandle(HRGN handle);
    void FreeRgn();
    int RgnLeft() const { return rgnBounds.left(); }
    int RgnTop() const { return rgnBounds.top(); }
    int RgnWidth() const { return rgnBounds.width(); }
    int RgnHeight() const { return rgnBounds.height(); }
    const QRegion& Region() const { return region; }
    void SetRgnFrameType(int type);
    int RgnFrameType() const { return frameType; }
    bool FrameTimerActive() const { return frameTimer.isActive(); }
    TMarkingTool MarkingTool() const { return markingTool; }
    void SetMarkingTool(TMarkingTool tool);

    // Floater
    // With AutoFloater on: a new bitmap of the region's bounding box with the region as its
    // shape; otherwise the current floater (null when there is none).
    TBitmap Floater() const;
    // Switches AutoFloater off and replaces the floater by the pixels inside the bitmap's region
    // bounds (the whole bitmap when it has no region), keeping the region's shape.
    void SetFloater(const TBitmap& bitmap);
    bool HasFloater() const { return !floater.IsNull(); }
    bool AutoFloater() const { return autoFloater; }
    void SetAutoFloater(bool on);
    bool FloaterVisible() const { return floaterVisible; }
    void SetFloaterVisible(bool on);
    void SetFloaterRect(int left, int top, int width, int height);
    void SetFloaterClipRect(int left, int top, int width, int height);
    void SetFloaterLeft(int x);
    void SetFloaterTop(int y);
    QRect FloaterRect() const { return floaterRect; }
    QRect FloaterClipRect() const { return floaterClipRect; }

    // Display
    TPaintSizeMode PaintSizeMode() const { return paintSizeMode; }
    void SetPaintSizeMode(TPaintSizeMode mode);
    int PaintZoomFactor() const;
    void SetPaintZoomFactor(int percent);
    bool AutoRepaint() const { return autoRepaint; }
    void SetAutoRepaint(bool on);
    bool AutoSetRects() const { return autoSetRects; }
    void SetAutoSetRects(bool on);
    void RepaintPicture();
    QRect DisplayRect() const { return displayRect; }
    QRect DisplayClipRect() const { return displayClipRect; }
    int DisplayLeft() const { return displayRect.left(); }
    int DisplayTop() const { return displayRect.top(); }
    int DisplayWidth() const { return displayRect.width(); }
    int DisplayHeight() const { return displayRect.height(); }
    int DisplayClipLeft() const { return displayClipRect.left(); }
    int DisplayClipTop() const { return displayClipRect.top(); }
    int DisplayClipWidth() const { return displayClipRect.width(); }
    int DisplayClipHeight() const { return displayClipRect.height(); }
    void SetDisplayRect(int left, int top, int width, int height);
    void SetDisplayClipRect(int left, int top, int width, int height);
    int HScrollStep() const;
    int VScrollStep() const;
    void SetHScrollStep(int step);
    void SetVScrollStep(int step);
    // Scroll position in display pixels.
    QPoint ScrollPosition() const;
    void ScrollTo(QPoint position);
    QSize ClientSize() const { return clientSize; }
    QColor BackColor() const { return backColor; }
    void SetBackColor(QColor colour);
    bool CenterImage() const { return centerImage; }
    void SetCenterImage(bool on);

    // The mapping between client and picture pixels through the display rectangle; every region
    // and floater operation goes through these two.
    QPointF ClientToPicture(QPointF client) const;
    QPointF PictureToClient(QPointF point) const;

public slots:
    // Moves the dashes of the animated region frame one step (the frame timer's tick).
    void AdvanceFrame();

signals:
    void OnChange();
    void OnScroll();
    void OnResize();
    void OnMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    void OnMouseMove(Qt::KeyboardModifiers shift, int x, int y);
    void OnMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    [[noreturn]] void Fail(const char* operation, int code, const QString& message) const;
    [[noreturn]] void NotAllocated(const char* operation) const;
    void RequirePicture(const char* operation) const;
    template <typename Call> void EngineCall(const char* operation, Call&& call) const;
    // After every change of the picture: bounds of the region, display rectangles, repaint, OnChange.
    void PictureChanged();
    // outline: the region's shape in picture pixels when it is known; derived otherwise.
    void SetRegion(const QRegion& newRegion, const QPainterPath& outline = QPainterPath());
    void UpdateRects();
    void RepaintIfAuto();
    void ScrollBarMoved();
    void SetScrollStep(QScrollBar* bar, int step, const char* property);
    QRect DisplayedPictureRect() const;
    QPoint ClampToPicture(QPoint client) const;
    void FinishMarking(QPoint end);
    void PaintPicture(QPainter& painter, const QRect& area);
    void PaintRegionFrame(QPainter& painter);
    void PaintFloater(QPainter& painter);
    void PaintRubberBand(QPainter& painter);

    QImage picture;
    int bitmapBits = 24;
    QSize fileSize;
    int fileFormat = 0;
    QString fileCompression;

    QRegion region;
    QRect rgnBounds;
    mutable QPainterPath regionOutline; // picture pixels; derived from the region when empty
    int frameType = kFrameNone;
    int frameDashOffset = 0;
    QTimer frameTimer;

    TMarkingTool markingTool = mtNone;
    bool marking = false;
    QPoint markStart;
    QPoint markEnd;
    QPolygon markTrail; // the freehand outline, client pixels

    TBitmap floater;
    bool autoFloater = true;
    bool floaterVisible = false;
    QRect floaterRect;
    QRect floaterClipRect;

    TPaintSizeMode paintSizeMode = smNormal;
    double scale = 1.0;
    bool autoRepaint = true;
    bool autoSetRects = true;
    bool centerImage = false;
    QColor backColor = Qt::white;
    QRect displayRect;
    QRect displayClipRect;
    QSize clientSize;
    QScrollBar* horizontalBar = nullptr;
    QScrollBar* verticalBar = nullptr;
    bool layingOut = false;

    // The picture in the painter's pixel format: at the display size while the view is reduced,
    // at full size otherwise; rebuilt when the picture or the reduced size changes.
    QImage displayCache;
    qint64 displayCacheKey = 0;
    // The visible part of an enlarged view, as last painted.
    QImage enlargedCache;
    QRect enlargedVisible;
    QRect enlargedDisplay;
    qint64 enlargedKey = 0;
};
