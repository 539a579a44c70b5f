#include "SaveFormats.h"

#include "Codecs.h"

namespace SaveFormats {
namespace {

const Output kTiff{false, Codecs::kFormatTifLzw, 24, 4};
const Output kGif{false, Codecs::kFormatGif, 8, 4};
const Output kBmp{false, Codecs::kFormatBmp, 24, 4};
const Output kCopy{true, 0, 0, 0};

struct Row {
    const char* marker;
    const Output* output;
};

std::optional<Output> FirstMatch(const QString& name, std::initializer_list<Row> rows) {
    for (const Row& row : rows)
        if (name.contains(QLatin1String(row.marker), Qt::CaseInsensitive))
            return *row.output;
    return std::nullopt;
}

} // namespace

std::optional<Output> ForTarget(const QString& targetName) {
    return FirstMatch(
        targetName,
        {{".TIF", &kTiff}, {".GIF", &kGif}, {".BMP", &kBmp}, {".JPEG", &kCopy}, {".JPG", &kCopy}});
}

std::optional<Output> ForSeriesCopy(const QString& copyName) {
    return FirstMatch(
        copyName, {{"_TIF", &kTiff}, {"_GIF", &kGif}, {"_BMP", &kBmp}, {"_JPEG", &kCopy}, {".JPG", &kCopy}});
}

} // namespace SaveFormats
