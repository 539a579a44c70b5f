// korvelle_make_content: paints the program folder's installed content, or a folder of
// camera-sized pictures for the benchmarks.
//   korvelle_make_content --content DIR
//   korvelle_make_content --photos DIR COUNT WIDTH HEIGHT
#include "Content.h"

#include <QGuiApplication>
#include <QStringList>

#include <cstdio>
#include <exception>

namespace {

int Usage() {
    std::fputs("usage: korvelle_make_content --content DIR\n"
               "       korvelle_make_content --photos DIR COUNT WIDTH HEIGHT\n",
               stderr);
    return 2;
}

int PositiveNumber(const QString& text) {
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok && value > 0 ? value : 0;
}

} // namespace

int main(int argc, char** argv) {
    // Drawing the banner's text needs the font system, but never a screen: builds run headless.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    try {
        if (args.size() == 3 && args[1] == QLatin1String("--content")) {
            Content::WriteContent(args[2]);
            return 0;
        }
        if (args.size() == 6 && args[1] == QLatin1String("--photos")) {
            const int count = PositiveNumber(args[3]);
            const int width = PositiveNumber(args[4]);
            const int height = PositiveNumber(args[5]);
            if (count == 0 || width == 0 || height == 0)
                return Usage();
            Content::WritePhotos(args[2], count, QSize(width, height));
            return 0;
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "korvelle_make_content: %s\n", error.what());
        return 1;
    }
    return Usage();
}
