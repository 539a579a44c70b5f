// The two modal prompts of saving share one frame: TSavePrompt lays out the side picture, the
// "ACHTUNG:" heading and the two buttons. TSaveWizzard, the unsaved-changes prompt, lives here too.
#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QPushButton;

class TSavePrompt : public QDialog {
    Q_OBJECT

public:
    // The fixed client area of both prompts.
    static constexpr int kClientWidth = 475;
    static constexpr int kClientHeight = 224;
    // Where the texts right of the side picture start, and how wide they may run.
    static constexpr int kTextLeft = 119;
    static constexpr int kTextWidth = 337;

    QLabel* Image1;
    QLabel* Label1;
    QPushButton* SaveBitBtn;
    QPushButton* AbortBitBtn;

protected:
    // programFolder ends with "/"; the side picture comes from its recom/ folder.
    TSavePrompt(const QString& programFolder, const QString& abortCaption, QWidget* parent);

    // Each showing is centred on the screen, not over the main window.
    void showEvent(QShowEvent* event) override;
};

// Shown before unsaved edits would be lost: "Speichern" accepts, "Nicht speichern" rejects.
class TSaveWizzard : public TSavePrompt {
    Q_OBJECT

public:
    explicit TSaveWizzard(const QString& programFolder, QWidget* parent = nullptr);

    QLabel* Label3;
    QLabel* Label2;
};
