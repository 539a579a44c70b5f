#include "KorvelleApplication.h"

#include "Prompts.h"

#include <exception>

KorvelleApplication::KorvelleApplication(int& argc, char** argv) : QApplication(argc, argv) {}

void ShowGeneralError(Prompts& prompts, const QString& text) {
    prompts.Message(Prompts::Kind::Error, text, QStringLiteral("Korvelle"));
}

bool KorvelleApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        if (errorPrompts)
            ShowGeneralError(*errorPrompts, QString::fromUtf8(error.what()));
        else
            qWarning("%s", error.what());
    }
    return false;
}
