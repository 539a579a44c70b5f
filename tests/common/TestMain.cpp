// Shared test entry point: one application object on the offscreen platform, German number
// formats. Window tests build it as the program's own application class (KORVELLE_TEST_APP_CLASS).
#include <QApplication>
#include <QLocale>
#include <gtest/gtest.h>

#ifdef KORVELLE_TEST_APP_CLASS
#include "KorvelleApplication.h"
using TestApplication = KORVELLE_TEST_APP_CLASS;
#else
using TestApplication = QApplication;
#endif

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    TestApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
