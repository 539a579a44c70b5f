#include "OperationsPanel.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QVBoxLayout>

namespace {

constexpr int kPictureLeft = 7;
constexpr int kPictureWidth = 148;

struct PictureSpec {
    int top;
    const char* name;
    const char* label;
    TOperationPicture::Kind kind;
    QStyle::StandardPixmap icon;
};

// The panel's pictures, top to bottom.
const PictureSpec kPictures[] = {
    {8, "Image2", "Bildrotation", TOperationPicture::Kind::Heading, QStyle::SP_CustomBase},
    {30, "Image3", "Bild nach links drehen", TOperationPicture::Kind::Button, QStyle::SP_ArrowBack},
    {52, "Image4", "Bild nach rechts drehen", TOperationPicture::Kind::Button, QStyle::SP_ArrowForward},
    {73, "Image5", "Bild umdrehen", TOperationPicture::Kind::Button, QStyle::SP_BrowserReload},
    {94, "Image6", "Bild vertikal spiegeln", TOperationPicture::Kind::Button, QStyle::SP_ArrowDown},
    {115, "Image7", "Bild horizontal spiegeln", TOperationPicture::Kind::Button, QStyle::SP_ArrowRight},
    {140, "Image8", "Bildmanipulation", TOperationPicture::Kind::Heading, QStyle::SP_CustomBase},
    {163, "Image9", "Bild zuschneiden", TOperationPicture::Kind::Button, QStyle::SP_TitleBarNormalButton},
    {185, "Image10", "Größe verändern", TOperationPicture::Kind::Button, QStyle::SP_TitleBarMaxButton},
    {207, "Image11", "Papierabzüge vorbereiten", TOperationPicture::Kind::Button,
     QStyle::SP_FileDialogDetailedView},
    {229, "Image12", "Automatisch verbessern", TOperationPicture::Kind::Button, QStyle::SP_DialogApplyButton},
    {255, "Image13", "Bildeffekte", TOperationPicture::Kind::Heading, QStyle::SP_CustomBase},
    {278, "Image14", "Helligkeit/Kontrast/Farbe", TOperationPicture::Kind::Button, QStyle::SP_DesktopIcon},
    {300, "Image15", "Farbkorrektur RGB", TOperationPicture::Kind::Button, QStyle::SP_DriveDVDIcon},
    {322, "Image16", "Schärfer / Weichzeichner", TOperationPicture::Kind::Button,
     QStyle::SP_FileDialogContentsView},
    {344, "Image17", "weitere Bildeffekte", TOperationPicture::Kind::Button, QStyle::SP_FileDialogListView},
    {370, "Image18", "Zusatzfunktionen", TOperationPicture::Kind::Heading, QStyle::SP_CustomBase},
    {393, "Image19", "Rote Augen entfernen", TOperationPicture::Kind::Button, QStyle::SP_DialogNoButton},
    {415, "Image20", "Stapelbearbeitung", TOperationPicture::Kind::Button, QStyle::SP_DirIcon},
    {445, "UndoImage", "Bearbeitung rückgängig", TOperationPicture::Kind::Button, QStyle::SP_ArrowLeft},
};

// The heading bands: orange, red, blue, green.
QColor BandOf(const char* name) {
    const QString heading = QString::fromLatin1(name);
    if (heading == QLatin1String("Image2"))
        return QColor(255, 140, 0);
    if (heading == QLatin1String("Image8"))
        return QColor(200, 30, 30);
    if (heading == QLatin1String("Image13"))
        return QColor(30, 80, 190);
    if (heading == QLatin1String("Image18"))
        return QColor(30, 140, 50);
    return QColor();
}

bool FollowsThePanel(const QString& name) {
    return name != QLatin1String("Image2") && name != QLatin1String("Image13") &&
           name != QLatin1String("Image18") && name != QLatin1String("UndoImage");
}

// The label's font: the house sans serif at 11 pixels, smaller where a label would not fit.
QFont LabelFont(const QString& label, int room, bool bold) {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setBold(bold);
    for (int pixels = 11; pixels > 7; --pixels) {
        font.setPixelSize(pixels);
        if (QFontMetrics(font).horizontalAdvance(label) <= room)
            break;
    }
    return font;
}

} // namespace

TOperationPicture::TOperationPicture(Kind kind, const QString& label, const QColor& band, const QIcon& icon,
                                     QWidget* parent)
    : QWidget(parent), kind(kind), label(label), band(band), icon(icon) {
    setCursor(kind == Kind::Button ? Qt::PointingHandCursor : Qt::ForbiddenCursor);
    setToolTip(label);
}

QImage TOperationPicture::Look(bool enabled) const {
    QImage look(size(), QImage::Format_RGB32);
    QPainter painter(&look);
    Draw(painter, enabled);
    return look;
}

void TOperationPicture::SetPicture(const QImage& newPicture) {
    picture = newPicture;
    update();
}

void TOperationPicture::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!picture.isNull()) {
        painter.drawImage(0, 0, picture);
        return;
    }
    Draw(painter, isEnabled());
}

void TOperationPicture::Draw(QPainter& painter, bool enabled) const {
    painter.setRenderHint(QPainter::Antialiasing);
    const int side = height() - 4;
    const QFont font =
        LabelFont(label, kind == Kind::Heading ? width() - 8 : width() - side - 8, kind == Kind::Heading);
    if (kind == Kind::Heading) {
        painter.fillRect(rect(), band);
        painter.setFont(font);
        painter.setPen(Qt::white);
        painter.drawText(rect().adjusted(6, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft, label);
        return;
    }
    painter.fillRect(rect(), Qt::white);
    icon.paint(&painter, QRect(2, 2, side, side), Qt::AlignCenter, enabled ? QIcon::Normal : QIcon::Disabled);
    painter.setFont(font);
    painter.setPen(enabled ? QColor(0, 0, 128) : QColor(160, 160, 160));
    painter.drawText(rect().adjusted(side + 6, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft, label);
}

void TOperationPicture::mouseReleaseEvent(QMouseEvent* event) {
    // Headings never react; a disabled button gets no mouse events at all.
    if (kind == Kind::Button && event->button() == Qt::LeftButton &&
        rect().contains(event->position().toPoint()))
        emit Clicked();
}

void TOperationPicture::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange)
        update();
    QWidget::changeEvent(event);
}

TOperationsPanel::TOperationsPanel(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("EffectsPanel"));
    setFixedWidth(170);
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(3);
    setFocusPolicy(Qt::StrongFocus);
    selectVariablesPanel = new QWidget(this);
    selectVariablesPanel->setObjectName(QStringLiteral("SelectVariablesPanel"));
    selectVariablesPanel->setAutoFillBackground(true);
    QPalette white = selectVariablesPanel->palette();
    white.setColor(QPalette::Window, Qt::white);
    selectVariablesPanel->setPalette(white);
    auto* filling = new QVBoxLayout(this);
    filling->setContentsMargins(3, 3, 3, 3);
    filling->addWidget(selectVariablesPanel);
    for (const PictureSpec& spec : kPictures) {
        const QIcon icon =
            spec.kind == TOperationPicture::Kind::Button ? style()->standardIcon(spec.icon) : QIcon();
        auto* picture = new TOperationPicture(spec.kind, QString::fromUtf8(spec.label), BandOf(spec.name),
                                              icon, selectVariablesPanel);
        picture->setObjectName(QString::fromLatin1(spec.name));
        picture->setGeometry(kPictureLeft, spec.top, kPictureWidth,
                             spec.kind == TOperationPicture::Kind::Heading ? 20 : 21);
        pictures.insert(picture->objectName(), picture);
    }
}

void TOperationsPanel::EffectsPanelEnter() {
    for (TOperationPicture* picture : std::as_const(pictures))
        if (FollowsThePanel(picture->objectName()))
            picture->setEnabled(isEnabled());
}

void TOperationsPanel::focusInEvent(QFocusEvent* event) {
    QFrame::focusInEvent(event);
    EffectsPanelEnter();
}
