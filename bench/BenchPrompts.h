// The prompts of a benchmark's main window: the open dialog answers with one chosen file, any
// message ends the run (it would mean the measured path failed), everything else is cancelled.
#pragma once

#include "Prompts.h"

#include <QtGlobal>

class BenchPrompts : public Prompts {
public:
    explicit BenchPrompts(QString chosen) : chosen(std::move(chosen)) {}
    int Message(Kind, const QString& text, const QString&, QMessageBox::StandardButtons) override {
        qFatal("unexpected message: %s", qPrintable(text));
    }
    QStringList OpenFiles(QWidget*, const FileRequest&) override { return {chosen}; }
    QString SaveFile(QWidget*, const FileRequest&) override { return QString(); }
    QString ChooseFolder(QWidget*, const QString&, const QString&) override { return QString(); }
    std::optional<QColor> ChooseColor(QWidget*, const QColor&) override { return std::nullopt; }
    int ShowModal(QDialog*) override { return 0; }
    bool OpenDocument(const QUrl&) override { return false; }
    QString DefaultPrinterName() override { return QString(); }

private:
    QString chosen;
};
