#include "SeriesNames.h"

#include <QStringList>

#include <cmath>

namespace SeriesNames {
namespace {

bool Contains(const QString& text, const char* part) {
    return text.contains(QLatin1String(part), Qt::CaseInsensitive);
}

// The name without its extension: the text before the last ".".
QString Base(const QString& name) {
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? name : name.left(dot);
}

// Cuts the text before the first occurrence of marker and appends the extension.
QString CutBefore(const QString& text, const char* marker, const char* extension) {
    const qsizetype at = text.indexOf(QLatin1String(marker), 0, Qt::CaseInsensitive);
    return at < 0 ? text : text.left(at) + QLatin1String(extension);
}

const QString kTagStart = QStringLiteral("<IMG src=\"file://");
const QString kTagEnd = QStringLiteral("\" align=\"top\">");

} // namespace

QString WithBackslash(const QString& path) {
    if (path.isEmpty() || path.endsWith(QLatin1Char('/')))
        return path;
    return path + QLatin1Char('/');
}

QString FolderOf(const QString& path) {
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    if (slash < 0)
        return QString();
    return slash == 0 ? QStringLiteral("/") : path.left(slash);
}

QString FileNamePart(const QString& path) {
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

QString CopyName(const QString& sourceName, bool singlePicture) {
    if (Contains(sourceName, ".JPEG")) {
        const QString base =
            singlePicture
                ? sourceName.left(sourceName.indexOf(QLatin1String(".JPEG"), 0, Qt::CaseInsensitive))
                : Base(sourceName);
        return base + QStringLiteral("_jpeg.jpg");
    }
    if (Contains(sourceName, ".JPG"))
        return sourceName;
    if (Contains(sourceName, ".TIF"))
        return Base(sourceName) + QStringLiteral("_tiff.jpg");
    if (Contains(sourceName, ".BMP"))
        return Base(sourceName) + QStringLiteral("_bmp.jpg");
    if (Contains(sourceName, ".GIF"))
        return Base(sourceName) + QStringLiteral("_gif.jpg");
    return QString();
}

QString DisplayName(const QString& copyName) {
    QString name = CutBefore(copyName, "_TIF", ".tif");
    name = CutBefore(name, "_GIF", ".gif");
    name = CutBefore(name, "_BMP", ".bmp");
    return CutBefore(name, "_JPEG", ".jpeg");
}

QString SeriesCopyOf(const QString& name) {
    // Each test works on the result of the one before, as the names were made.
    QString result = name;
    const struct {
        const char* marker;
        const char* suffix;
    } steps[] = {{".TIF", "_tiff.jpg"}, {".BMP", "_bmp.jpg"}, {".GIF", "_gif.jpg"}, {".JPEG", "_jpeg.jpg"}};
    for (const auto& step : steps)
        if (Contains(result, step.marker))
            result = Base(FileNamePart(result)) + QLatin1String(step.suffix);
    return result;
}

QString EntryText(const QString& thumbFolder, int number, const QString& copyName) {
    return kTagStart + thumbFolder + QStringLiteral("_THUMB_") + QString::number(number) + copyName +
           kTagEnd + DisplayName(copyName);
}

QString EntryFileName(const QString& entryText) {
    if (!entryText.startsWith(kTagStart))
        return entryText;
    const qsizetype end = entryText.indexOf(kTagEnd, kTagStart.size());
    return end < 0 ? entryText : entryText.mid(end + kTagEnd.size());
}

QString ShownCopyName(const QString& name) {
    // An entry's text, or a path ending in one, names its picture after the IMG tag.
    const qsizetype end = name.indexOf(kTagEnd);
    const QString file = end < 0 ? FileNamePart(name) : name.mid(end + kTagEnd.size());
    return FileNamePart(SeriesCopyOf(file));
}

int ProgressPercent(int done, int total) {
    if (total == 0)
        return 0;
    return int(std::nearbyint(double(done) / total * 100.0));
}

} // namespace SeriesNames
