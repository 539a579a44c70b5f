// Tests of the format names, the status line and the EXIF panel lines.
#include "PictureInfoText.h"
#include "Exif.h"

#include <gtest/gtest.h>

namespace {

TEST(FormatName, NamesAndUnknownCodes) {
    const std::pair<int, const char*> cases[] = {
        {1, "ZSoft PCX"},
        {6, "Windows BMP"},
        {10, "Jpeg File Interchange Format"},
        {14, "OS/2 BMP "},
        {17, "TIF Format with LZW compression"},
        {20, "LEAD  Proprietary"},
        {21, "JPEG  4:1:1"},
        {22, "JPEG  4:1:1"},
        {23, "JPEG  4:2:2"},
        {24, "JPEG  4:2:2"},
        {25, "TIFF  CCITT"},
        {30, "LEAD  Proprietary Lossless"},
        {31, "old LEAD 1 bit, lossless compression"},
        {50, "FILE_CALS"},
        {83, "FlashPix, compression JPEG, specify qFactor"},
        {98, "JPEG 4:2:2 compressed Exif file"},
        {100, "for ISIS only! use the data as is, from the ISIS Scanner"},
        {101, "JPEG 4:1:1 compressed Exif file"},
        {119, "FILE_ANI"},
        {134, "FILE_FLC"},
        {0, "NOT SUPPORTED"},
        {7, "NOT SUPPORTED"},
        {12, "NOT SUPPORTED"},
        {32, "NOT SUPPORTED"},
        {49, "NOT SUPPORTED"},
        {102, "NOT SUPPORTED"},
        {118, "NOT SUPPORTED"},
        {120, "NOT SUPPORTED"},
        {135, "NOT SUPPORTED"},
        {-1, "NOT SUPPORTED"},
    };
    for (const auto& [code, name] : cases)
        EXPECT_EQ(FormatName(code), QString::fromLatin1(name)) << code;
}

TEST(FormatName, ExactlyTheListedCodesHaveNames) {
    // 1-6, 10, 11, 14-17, 20-31, 50-101, 119, 134.
    QList<int> named;
    for (int code = -10; code < 1000; ++code)
        if (FormatName(code) != "NOT SUPPORTED")
            named.append(code);
    QList<int> expected = {1, 2, 3, 4, 5, 6, 10, 11, 14, 15, 16, 17};
    for (int code = 20; code <= 31; ++code)
        expected.append(code);
    for (int code = 50; code <= 101; ++code)
        expected.append(code);
    expected << 119 << 134;
    EXPECT_EQ(named, expected);
}

TEST(PictureInfoLine, NamedAndUnnamedFormats) {
    EXPECT_EQ(PictureInfoLine(10, 1600, 1200, 24, "JPEG"),
              "   Jpeg File Interchange Format     1600x1200     24Bit Farben       JPEG");
    EXPECT_EQ(PictureInfoLine(12, 800, 600, 8, "keine"), "     12     800x600     8Bit Farben       keine");
    // Large numbers stay without digit grouping in the German locale.
    EXPECT_EQ(PictureInfoLine(14, 12000, 9000, 1, ""), "   OS/2 BMP      12000x9000     1Bit Farben       ");
}

TEST(ExifPanelLines, NineLinesInDisplayOrder) {
    TExif exif;
    exif.ImageDescription = "Urlaub";
    exif.Make = "Canon";
    exif.Model = "A70";
    exif.Orientation = "Rotated 90 left";
    exif.Copyright = "(c) Berg";
    exif.DateTime = "2004:07:18 14:05:33";
    exif.DateTimeOriginal = "2004:07:17 10:00:00";
    exif.DateTimeDigitized = "2004:07:19 09:00:01";
    exif.UserComment = "Gr\xFC\xDF";
    EXPECT_EQ(ExifPanelLines(exif),
              QStringList({"Urlaub", "Canon", "A70", "Rotated 90 left", "(c) Berg", "2004:07:18 14:05:33",
                           "2004:07:17 10:00:00", "2004:07:19 09:00:01", QString::fromUtf8("Grüß")}));
    EXPECT_EQ(ExifPanelLines(TExif()), QStringList({"", "", "", "Normal", "", "", "", "", ""}));
}

} // namespace
