// Small pictures and file helpers shared by the main window's tests.
#pragma once

#include "FakePrompts.h"
#include "TempDir.h"
#include "fMain.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>

// A gradient, so that every format keeps something to compare.
QImage GradientPicture(int width, int height);

// Writes a gradient picture in the format its name asks for (JPEG unless .tif, .gif or .bmp).
void WriteTestPicture(const QString& path, int width = 64, int height = 48);

QByteArray FileBytes(const QString& path);

// The files of a folder, hidden ones too, by name.
QStringList FilesIn(const QString& folder);

// A shown main window on a temporary program folder with scripted prompts, a folder for the
// user's pictures, and every status text the window showed.
class MainWindowTest : public ::testing::Test {
protected:
    MainWindowTest();

    QString Source(const QString& name) const { return source.File(name); }

    TempDir program;
    TempDir source;
    FakePrompts prompts;
    TMainForm form;
    QStringList statusTexts;
};
