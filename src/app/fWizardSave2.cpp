// The file-exists prompt TSaveWizzard2.
#include "fWizardSave2.h"

#include <QCheckBox>
#include <QLabel>

TSaveWizzard2::TSaveWizzard2(const QString& programFolder, QWidget* parent)
    : TSavePrompt(programFolder, QStringLiteral("Abbrechen"), parent) {
    setObjectName(QStringLiteral("TSaveWizzard2"));

    InfoLabel = new QLabel(this);
    InfoLabel->setObjectName(QStringLiteral("InfoLabel"));
    InfoLabel->setWordWrap(true);
    InfoLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // Paths are shown as typed, never read as markup.
    InfoLabel->setTextFormat(Qt::PlainText);
    InfoLabel->setGeometry(kTextLeft, 48, kTextWidth, 57);

    AskForSaveCheckBox = new QCheckBox(QStringLiteral("Alle Bilder"), this);
    AskForSaveCheckBox->setObjectName(QStringLiteral("AskForSaveCheckBox"));
    // Only as wide as its label: a click into the empty space beside it should not tick it.
    AskForSaveCheckBox->move(kTextLeft, 116);
    AskForSaveCheckBox->resize(AskForSaveCheckBox->sizeHint());
    connect(AskForSaveCheckBox, &QCheckBox::toggled, this,
            [this](bool checked) { emit AskBeforeReplaceChanged(!checked); });
}

void TSaveWizzard2::SetInfo(const QString& text) {
    info = text;
    // Callers break the question with a carriage return, which a label would run together.
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    InfoLabel->setText(shown);
}

void TSaveWizzard2::SetAskForAllVisible(bool visible) {
    AskForSaveCheckBox->setVisible(visible);
}

void TSaveWizzard2::showEvent(QShowEvent* event) {
    AskForSaveCheckBox->setChecked(false);
    TSavePrompt::showEvent(event);
}
