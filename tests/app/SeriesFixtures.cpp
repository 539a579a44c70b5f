#include "SeriesFixtures.h"

#include "Codecs.h"

#include <QDir>
#include <QFile>
#include <QStatusBar>
#include <QTest>

#include <algorithm>

QImage GradientPicture(int width, int height) {
    QImage image(width, height, QImage::Format_BGR888);
    for (int y = 0; y < height; ++y) {
        uchar* row = image.scanLine(y);
        for (int x = 0; x < width; ++x) {
            row[3 * x] = uchar(x * 255 / std::max(1, width - 1));
            row[3 * x + 1] = uchar(y * 255 / std::max(1, height - 1));
            row[3 * x + 2] = 90;
        }
    }
    return image;
}

void WriteTestPicture(const QString& path, int width, int height) {
    const QString upper = path.toUpper();
    const int format = upper.contains(QLatin1String(".TIF"))   ? Codecs::kFormatTifLzw
                       : upper.contains(QLatin1String(".GIF")) ? Codecs::kFormatGif
                       : upper.contains(QLatin1String(".BMP")) ? Codecs::kFormatBmp
                                                               : Codecs::kFormatJpeg422;
    Codecs::WritePicture(GradientPicture(width, height), path, format, format == Codecs::kFormatGif ? 8 : 24,
                         2);
}

QByteArray FileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList FilesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

MainWindowTest::MainWindowTest() : form(program.Path(), {}, prompts) {
    QObject::connect(form.StatusBar1, &QStatusBar::messageChanged,
                     [this](const QString& text) { statusTexts.append(text); });
    form.resize(1000, 700);
    form.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&form));
}
