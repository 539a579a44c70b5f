// Program start: the application object with German standard dialogs, then the main window.
#include "KorvelleApplication.h"
#include "Prompts.h"

#include <QLibraryInfo>
#include <QMainWindow>
#include <QTranslator>

int main(int argc, char** argv) {
    KorvelleApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Korvelle"));

    // Qt's own German texts for the file, colour and message dialogs.
    QTranslator qtGerman;
    if (qtGerman.load(QLocale(QLocale::German, QLocale::Germany), QStringLiteral("qtbase"),
                      QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtGerman);

    QtPrompts prompts;
    app.SetPrompts(&prompts);

    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Korvelle"));
    window.showMaximized();
    return QApplication::exec();
}
