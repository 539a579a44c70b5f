// A scripted stand-in for the program's Prompts: it records every text shown and answers from
// queues that a test fills beforehand. An unscripted question gets a neutral answer (the box's
// first button, a cancelled dialog) so that no test ever blocks in a modal loop.
#pragma once

#include "Prompts.h"

#include <QList>
#include <QQueue>

#include <functional>

class FakePrompts : public Prompts {
public:
    struct Shown {
        Kind kind;
        QString text;
        QString caption;
        QMessageBox::StandardButtons buttons;
    };

    int Message(Kind kind, const QString& text, const QString& caption,
                QMessageBox::StandardButtons buttons = QMessageBox::Ok) override;
    QStringList OpenFiles(QWidget* parent, const FileRequest& request) override;
    QString SaveFile(QWidget* parent, const FileRequest& request) override;
    QString ChooseFolder(QWidget* parent, const QString& caption, const QString& folder) override;
    std::optional<QColor> ChooseColor(QWidget* parent, const QColor& initial) override;
    int ShowModal(QDialog* dialog) override;
    bool OpenDocument(const QUrl& url) override;
    QString DefaultPrinterName() override { return printerName; }

    // What was shown, in order.
    QList<Shown> messages;
    QList<FileRequest> fileRequests;
    QList<QDialog*> dialogsShown;
    QList<QUrl> documentsOpened;

    // Scripted answers, taken in order.
    QQueue<int> messageAnswers;
    QQueue<QStringList> openAnswers;
    QQueue<QString> saveAnswers;
    QQueue<QString> folderAnswers;
    QQueue<std::optional<QColor>> colourAnswers;
    // Each scripted dialog step may work the dialog's controls and returns its result code.
    QQueue<std::function<int(QDialog*)>> dialogSteps;
    bool openDocumentSucceeds = true;
    QString printerName = QStringLiteral("Testdrucker");

    QStringList Texts() const;
};
