// How a picture is written back when it is saved: the output format chosen by the target's name
// (saving one picture) or by the series copy's name (saving the series). Pure functions.
#pragma once

#include <QString>

#include <optional>

namespace SaveFormats {

struct Output {
    // A JPEG target gets the series copy's bytes unchanged; the others are converted.
    bool byteCopy = false;
    int format = 0; // Codecs::FormatCode of a conversion
    int bits = 0;
    int qualityFactor = 0;

    bool operator==(const Output&) const = default;
};

// By the target's file name: ".TIF" (so also ".tiff"), ".GIF", ".BMP", ".JPEG", ".JPG", tested
// case-insensitively anywhere in the name, in this order. Nothing when none matches.
std::optional<Output> ForTarget(const QString& targetName);

// By the series copy's name: "_TIF", "_GIF", "_BMP", "_JPEG", then ".JPG", in this order.
std::optional<Output> ForSeriesCopy(const QString& copyName);

} // namespace SaveFormats
