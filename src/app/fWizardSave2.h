// TSaveWizzard2: the prompt shown before an existing file is replaced. The caller sets the question
// and whether "Alle Bilder" is offered; the box reports its tick to the caller at once.
#pragma once

#include "fWizardSave.h"

class QCheckBox;

class TSaveWizzard2 : public TSavePrompt {
    Q_OBJECT

public:
    explicit TSaveWizzard2(const QString& programFolder, QWidget* parent = nullptr);

    QLabel* InfoLabel;
    QCheckBox* AskForSaveCheckBox;

    // The question as the caller gave it; a carriage return in it starts a new line on screen.
    void SetInfo(const QString& text);
    QString Info() const { return info; }
    // The single-picture save has no other files to answer for, so it hides "Alle Bilder".
    void SetAskForAllVisible(bool visible);

signals:
    // Emitted whenever "Alle Bilder" changes, by the user or by the reset at showing: ask is the
    // opposite of the tick, the new value of the caller's AskBeforeReplace.
    void AskBeforeReplaceChanged(bool ask);

protected:
    // Each showing starts with "Alle Bilder" unticked.
    void showEvent(QShowEvent* event) override;

private:
    QString info;
};
