#include "Prompts.h"

#include <QColorDialog>
#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QPrinterInfo>
#include <QStandardPaths>

int QtPrompts::Message(Kind kind, const QString& text, const QString& caption,
                       QMessageBox::StandardButtons buttons) {
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    switch (kind) {
    case Kind::Plain:
        icon = QMessageBox::NoIcon;
        break;
    case Kind::Information:
        icon = QMessageBox::Information;
        break;
    case Kind::Warning:
        icon = QMessageBox::Warning;
        break;
    case Kind::Error:
        icon = QMessageBox::Critical;
        break;
    case Kind::Question:
        icon = QMessageBox::Question;
        break;
    }
    QMessageBox box(icon, caption, text, buttons);
    return box.exec();
}

namespace {

// A file dialog without a folder of its own starts in the user's pictures, not in whatever
// folder the program was started from.
QString StartFolder(const QString& folder) {
    if (!folder.isEmpty())
        return folder;
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    return QFileInfo(pictures).isDir() ? pictures : QDir::homePath();
}

} // namespace

QStringList QtPrompts::OpenFiles(QWidget* parent, const FileRequest& request) {
    QFileDialog dialog(parent, request.caption, StartFolder(request.folder), request.filter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(request.multiple ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    const QStringList filters = request.filter.split(QStringLiteral(";;"));
    if (request.filterIndex >= 0 && request.filterIndex < filters.size())
        dialog.selectNameFilter(filters.at(request.filterIndex));
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles();
}

QString QtPrompts::SaveFile(QWidget* parent, const FileRequest& request) {
    QFileDialog dialog(parent, request.caption, StartFolder(request.folder), request.filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(request.defaultSuffix);
    const QStringList filters = request.filter.split(QStringLiteral(";;"));
    if (request.filterIndex >= 0 && request.filterIndex < filters.size())
        dialog.selectNameFilter(filters.at(request.filterIndex));
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

QString QtPrompts::ChooseFolder(QWidget* parent, const QString& caption, const QString& folder) {
    return QFileDialog::getExistingDirectory(parent, caption, folder);
}

std::optional<QColor> QtPrompts::ChooseColor(QWidget* parent, const QColor& initial) {
    const QColor colour = QColorDialog::getColor(initial, parent);
    if (!colour.isValid())
        return std::nullopt;
    return colour;
}

int QtPrompts::ShowModal(QDialog* dialog) {
    return dialog->exec();
}

bool QtPrompts::OpenDocument(const QUrl& url) {
    return QDesktopServices::openUrl(url);
}

QString QtPrompts::DefaultPrinterName() {
    return QPrinterInfo::defaultPrinter().printerName();
}
