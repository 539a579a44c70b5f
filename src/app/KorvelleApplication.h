// The application object: any exception that escapes an event handler ends that handler and is
// shown as an error box through the program's Prompts; the program runs on.
#pragma once

#include <QApplication>

class Prompts;

class KorvelleApplication : public QApplication {
public:
    KorvelleApplication(int& argc, char** argv);

    // The prompts that show the general error display; not owned.
    void SetPrompts(Prompts* prompts) { errorPrompts = prompts; }

    bool notify(QObject* receiver, QEvent* event) override;

private:
    Prompts* errorPrompts = nullptr;
};

// Shows an error that reached the general error display: the error's text in an error box.
void ShowGeneralError(Prompts& prompts, const QString& text);
