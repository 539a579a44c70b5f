// TLEADImage: the imaging control. It holds one 24-bit picture with its file information, an
// optional region in picture pixels and the display state, paints the picture into its window, and
// runs every raster operation of the program through the engine's functions.
#pragma once

#include "LeadImageError.h"
#include "Raster.h"

#include <QColor>
#include <QImage>
#include <QRegion>
#include <QWidget>

#include <memory>

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

// One balancing record: the shares of red, green and blue that make one output channel.
struct TBalance {
    double Red = 0;
    double Green = 0;
    double Blue = 0;
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
    QString FileCompression() const { return fileCompression; }
    // The picture (a null image when there is none); shares pixels until either side changes.
    QImage Bitmap() const { return picture; }
    // Replaces the picture by a copy of the given one (a null image removes it).
    void SetBitmap(const QImage& bitmap);

    // Files. bits 0 keeps the file's depth; page 1 is the first picture of the file.
    void Load(const QString& file, int bits = 0, int page = 1, int pages = 1);
    // Loads the picture at a reduced size that still covers minWidth x minHeight, where the
    // decoder can reduce cheaply (JPEG); the file information describes the file as usual.
    void LoadReduced(const QString& file, int minWidth, int minHeight);
    void Save(const QString& file, int format, int bits, int quality, int flags = 0);

    // Geometry
    void Size(int width, int height, int flags);
    void Rotate(int angle, int flags, QColor fill);
    void Flip();
    void Reverse();

    // Pixels
    void Fill(QColor colour);
    void Combine(int x, int y, int width, int height, const QImage& source, int sourceX, int sourceY, int flags);
    void DrawShape(int shape, const QImage& background);
    void Sharpen(int amount);
    void GaussianFilter(int radius);
    void GrayScale(int bits);
    void BalanceColors(const TBalance& red, const TBalance& green, const TBalance& blue);
    void RemoveRedeye(QColor colour, int threshold, int lightness);

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

    // Display
    TPaintSizeMode PaintSizeMode() const { return paintSizeMode; }
    void SetPaintSizeMode(TPaintSizeMode mode);
    int PaintZoomFactor() const;
    void SetPaintZoomFactor(int percent);
    bool AutoRepaint() const { return autoRepaint; }
    void SetAutoRepaint(bool on);
    bool AutoSetRects() const { return autoSetRects; }
    void SetAutoSetRects(bool on) { autoSetRects = on; }
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
    QColor BackColor() const { return backColor; }
    void SetBackColor(QColor colour);
    bool CenterImage() const { return centerImage; }
    void SetCenterImage(bool on);

    // Mapping between client and picture pixels through the display rectangle.
    QPointF ClientToPicture(QPointF client) const;
    QPointF PictureToClient(QPointF picture) const;

signals:
    void OnChange();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    [[noreturn]] void Fail(const char* operation, int code, const QString& message) const;
    [[noreturn]] void NotAllocated(const char* operation) const;
    void RequirePicture(const char* operation) const;
    template <typename Call> void EngineCall(const char* operation, Call&& call) const;
    // After every change of the picture: bounds of the region, display rectangles, repaint, OnChange.
    void PictureChanged();
    void SetRegion(const QRegion& newRegion);
    void UpdateRects();
    void RepaintIfAuto();

    QImage picture;
    int bitmapBits = 24;
    int fileFormat = 0;
    QString fileCompression;

    QRegion region;
    QRect rgnBounds;

    TPaintSizeMode paintSizeMode = smNormal;
    double scale = 1.0;
    bool autoRepaint = true;
    bool autoSetRects = true;
    bool centerImage = false;
    QColor backColor = Qt::white;
    QRect displayRect;
    QRect displayClipRect;
};
