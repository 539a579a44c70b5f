// The output format of saving, by the target's name and by the series copy's name.
#include "SaveFormats.h"
#include "Codecs.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

using SaveFormats::Output;

const Output kTiff{false, Codecs::kFormatTifLzw, 24, 4};
const Output kGif{false, Codecs::kFormatGif, 8, 4};
const Output kBmp{false, Codecs::kFormatBmp, 24, 4};
const Output kCopy{true, 0, 0, 0};

struct Case {
    const char* name;
    std::optional<Output> expected;
};

std::string Describe(const std::optional<Output>& output) {
    if (!output)
        return "nothing";
    return output->byteCopy
               ? "copy"
               : "format " + std::to_string(output->format) + ", " + std::to_string(output->bits) +
                     " bits, factor " + std::to_string(output->qualityFactor);
}

void Check(std::optional<Output> (*rule)(const QString&), std::initializer_list<Case> cases) {
    for (const Case& c : cases) {
        const std::optional<Output> got = rule(QString::fromUtf8(c.name));
        EXPECT_EQ(got, c.expected) << c.name << ": got " << Describe(got) << ", expected "
                                   << Describe(c.expected);
    }
}

TEST(SaveFormats, TheTargetsNameChoosesTheOutput) {
    Check(SaveFormats::ForTarget, {
                                      {"foto.tif", kTiff},
                                      {"foto.tiff", kTiff},
                                      {"FOTO.TIF", kTiff},
                                      {"foto.gif", kGif},
                                      {"foto.GIF", kGif},
                                      {"foto.bmp", kBmp},
                                      {"foto.jpeg", kCopy},
                                      {"foto.JPG", kCopy},
                                      {"foto.jpg", kCopy},
                                      // Anywhere in the name, and the earlier row wins.
                                      {"foto.tif.jpg", kTiff},
                                      {"foto.jpg.gif", kGif},
                                      {"foto.gif.bmp", kGif},
                                      {"foto.bmp.jpeg", kBmp},
                                      {"foto.jpg.bak", kCopy},
                                      {"foto.png", std::nullopt},
                                      {"foto", std::nullopt},
                                      {"foto_tiff", std::nullopt}, // only the series copy's marker
                                      {"", std::nullopt},
                                  });
}

TEST(SaveFormats, TheSeriesCopysNameChoosesTheOutput) {
    Check(SaveFormats::ForSeriesCopy, {
                                          {"a.jpg", kCopy},
                                          {"A.JPG", kCopy},
                                          {"b_tiff.jpg", kTiff},
                                          {"B_TIFF.JPG", kTiff},
                                          {"c_gif.jpg", kGif},
                                          {"d_bmp.jpg", kBmp},
                                          {"e_jpeg.jpg", kCopy},
                                          // The earlier row wins, wherever the marker stands.
                                          {"x_gif_tiff.jpg", kTiff},
                                          {"x_bmp_gif.jpg", kGif},
                                          {"x_jpeg_bmp.jpg", kBmp},
                                          {"rand_tiff", kTiff},
                                          // A name ending in ".tif" is no series copy.
                                          {"foto.tif", std::nullopt},
                                          {".", std::nullopt},
                                          {"..", std::nullopt},
                                          {"notiz.txt", std::nullopt},
                                      });
}

} // namespace
