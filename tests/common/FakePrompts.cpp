#include "FakePrompts.h"

#include <QDialog>

int FakePrompts::Message(Kind kind, const QString& text, const QString& caption,
                         QMessageBox::StandardButtons buttons) {
    messages.append({kind, text, caption, buttons});
    if (!messageAnswers.isEmpty())
        return messageAnswers.dequeue();
    // The box's first button, in Qt's order of standard buttons.
    for (int bit = 0; bit < 32; ++bit)
        if (buttons & QMessageBox::StandardButton(1u << bit))
            return int(1u << bit);
    return QMessageBox::Ok;
}

QStringList FakePrompts::OpenFiles(QWidget*, const FileRequest& request) {
    fileRequests.append(request);
    return openAnswers.isEmpty() ? QStringList() : openAnswers.dequeue();
}

QString FakePrompts::SaveFile(QWidget*, const FileRequest& request) {
    fileRequests.append(request);
    return saveAnswers.isEmpty() ? QString() : saveAnswers.dequeue();
}

QString FakePrompts::ChooseFolder(QWidget*, const QString&, const QString&) {
    return folderAnswers.isEmpty() ? QString() : folderAnswers.dequeue();
}

std::optional<QColor> FakePrompts::ChooseColor(QWidget*, const QColor&) {
    return colourAnswers.isEmpty() ? std::nullopt : colourAnswers.dequeue();
}

int FakePrompts::ShowModal(QDialog* dialog) {
    dialogsShown.append(dialog);
    if (dialogSteps.isEmpty())
        return QDialog::Rejected;
    return dialogSteps.dequeue()(dialog);
}

bool FakePrompts::OpenDocument(const QUrl& url) {
    documentsOpened.append(url);
    return openDocumentSucceeds;
}

QStringList FakePrompts::Texts() const {
    QStringList texts;
    for (const Shown& shown : messages)
        texts.append(shown.text);
    return texts;
}
