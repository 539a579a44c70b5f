// The frame of the save prompts and the unsaved-changes prompt TSaveWizzard.
#include "fWizardSave.h"

#include <QFont>
#include <QGuiApplication>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

TSavePrompt::TSavePrompt(const QString& programFolder, const QString& abortCaption, QWidget* parent)
    : QDialog(parent) {
    // A tool window with a close box only; CustomizeWindowHint makes the window manager drop the
    // decorations we did not ask for.
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setWindowTitle(QStringLiteral("Bilder speichern?"));
    setFixedSize(kClientWidth, kClientHeight);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(8, 8, 95, 158);
    // A missing picture leaves the place empty; the prompt still works.
    Image1->setPixmap(QPixmap(programFolder + QStringLiteral("recom/save.jpg")));

    Label1 = new QLabel(QStringLiteral("ACHTUNG:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont heading(QStringLiteral("Liberation Sans"));
    heading.setPixelSize(21);
    heading.setBold(true);
    Label1->setFont(heading);
    Label1->setGeometry(kTextLeft, 8, kTextWidth, 30);

    constexpr int kButtonWidth = 140;
    constexpr int kButtonHeight = 30;
    constexpr int kButtonTop = kClientHeight - 12 - kButtonHeight;
    AbortBitBtn = new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton), abortCaption, this);
    AbortBitBtn->setObjectName(QStringLiteral("AbortBitBtn"));
    AbortBitBtn->setGeometry(kClientWidth - 12 - kButtonWidth, kButtonTop, kButtonWidth, kButtonHeight);
    SaveBitBtn = new QPushButton(style()->standardIcon(QStyle::SP_DialogSaveButton),
                                 QStringLiteral("Speichern"), this);
    SaveBitBtn->setObjectName(QStringLiteral("SaveBitBtn"));
    SaveBitBtn->setGeometry(AbortBitBtn->x() - 8 - kButtonWidth, kButtonTop, kButtonWidth, kButtonHeight);
    SaveBitBtn->setDefault(true);
    // Tab order follows the reading order of the buttons.
    setTabOrder(SaveBitBtn, AbortBitBtn);

    connect(SaveBitBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(AbortBitBtn, &QPushButton::clicked, this, &QDialog::reject);
}

void TSavePrompt::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    const QScreen* shownOn = screen() ? screen() : QGuiApplication::primaryScreen();
    if (shownOn) {
        QRect frame = frameGeometry();
        frame.moveCenter(shownOn->availableGeometry().center());
        move(frame.topLeft());
    }
}

TSaveWizzard::TSaveWizzard(const QString& programFolder, QWidget* parent)
    : TSavePrompt(programFolder, QStringLiteral("Nicht speichern"), parent) {
    setObjectName(QStringLiteral("TSaveWizzard"));

    Label3 = new QLabel(QStringLiteral("Sie haben die bearbeiteten Bilder noch nicht gespeichert!"), this);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setWordWrap(true);
    Label3->setGeometry(kTextLeft, 52, kTextWidth, 40);

    Label2 = new QLabel(QStringLiteral("Was wollen Sie tun?"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setGeometry(kTextLeft, 104, kTextWidth, 24);
}
