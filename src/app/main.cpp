// Program start: the application object with German standard dialogs, then the main window.
#include "KorvelleApplication.h"
#include "Prompts.h"
#include "fMain.h"

#include <QLibraryInfo>
#include <QScreen>
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

    TMainForm window(QCoreApplication::applicationDirPath(), QCoreApplication::arguments().mid(1), prompts);
    // Maximised; the screen's size first, for desktops without a window manager to maximise it.
    window.setGeometry(window.screen()->availableGeometry());
    window.showMaximized();
    return QApplication::exec();
}
