// Every modal interaction of the program goes through one Prompts object: message boxes, file and
// colour dialogs, our own modal dialogs, opening documents, the default printer. The program uses
// QtPrompts; tests install a scripted fake so that no test ever blocks in a modal loop.
#pragma once

#include <QColor>
#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <optional>

class QDialog;
class QWidget;

class Prompts {
public:
    enum class Kind { Plain, Information, Warning, Error, Question };

    // A file dialog request; the answer is the chosen path or paths (empty when cancelled).
    struct FileRequest {
        QString caption;
        QString folder;   // initial folder
        QString fileName; // proposed name
        QString filter;   // Qt filter list, ";;"-separated
        QString defaultSuffix;
        int filterIndex = 0; // preselected filter
        bool multiple = false;
    };

    virtual ~Prompts() = default;

    // Shows a message box; returns the button pressed (QMessageBox::StandardButton).
    virtual int Message(Kind kind, const QString& text, const QString& caption,
                        QMessageBox::StandardButtons buttons = QMessageBox::Ok) = 0;
    virtual QStringList OpenFiles(QWidget* parent, const FileRequest& request) = 0;
    virtual QString SaveFile(QWidget* parent, const FileRequest& request) = 0;
    virtual QString ChooseFolder(QWidget* parent, const QString& caption, const QString& folder) = 0;
    virtual std::optional<QColor> ChooseColor(QWidget* parent, const QColor& initial) = 0;
    // Shows one of the program's dialogs modally and returns its result code.
    virtual int ShowModal(QDialog* dialog) = 0;
    // Opens a local document or an address with the desktop's program; false when that failed.
    virtual bool OpenDocument(const QUrl& url) = 0;
    virtual QString DefaultPrinterName() = 0;
};

// The real dialogs of Qt.
class QtPrompts : public Prompts {
public:
    int Message(Kind kind, const QString& text, const QString& caption,
                QMessageBox::StandardButtons buttons = QMessageBox::Ok) override;
    QStringList OpenFiles(QWidget* parent, const FileRequest& request) override;
    QString SaveFile(QWidget* parent, const FileRequest& request) override;
    QString ChooseFolder(QWidget* parent, const QString& caption, const QString& folder) override;
    std::optional<QColor> ChooseColor(QWidget* parent, const QColor& initial) override;
    int ShowModal(QDialog* dialog) override;
    bool OpenDocument(const QUrl& url) override;
    QString DefaultPrinterName() override;
};
