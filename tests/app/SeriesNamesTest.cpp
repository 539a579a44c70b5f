// The naming rules of the image series, as tables of names.
#include "SeriesNames.h"

#include <gtest/gtest.h>

namespace {

using namespace SeriesNames;

TEST(SeriesNames, PathsGetOneTrailingSlash) {
    EXPECT_EQ(WithBackslash(QString()), QString());
    EXPECT_EQ(WithBackslash(QStringLiteral("/home/anna")), QStringLiteral("/home/anna/"));
    EXPECT_EQ(WithBackslash(QStringLiteral("/home/anna/")), QStringLiteral("/home/anna/"));
    EXPECT_EQ(FolderOf(QStringLiteral("/home/anna/Bild 1.jpg")), QStringLiteral("/home/anna"));
    EXPECT_EQ(FolderOf(QStringLiteral("/wurzel.jpg")), QStringLiteral("/"));
    EXPECT_EQ(FileNamePart(QStringLiteral("/home/anna/Bild 1.jpg")), QStringLiteral("Bild 1.jpg"));
}

TEST(SeriesNames, CopyAndDisplayNamesOfASeries) {
    struct Case {
        const char* source;
        const char* copy;
        const char* display;
    };
    const Case cases[] = {
        {"a.jpg", "a.jpg", "a.jpg"},
        {"FOTO.JPG", "FOTO.JPG", "FOTO.JPG"},
        {"b.JPEG", "b_jpeg.jpg", "b.jpeg"},
        {"c.tif", "c_tiff.jpg", "c.tif"},
        {"d.tiff", "d_tiff.jpg", "d.tif"},
        {"e.bmp", "e_bmp.jpg", "e.bmp"},
        {"f.gif", "f_gif.jpg", "f.gif"},
        {"urlaub 2024.mit.punkten.tif", "urlaub 2024.mit.punkten_tiff.jpg", "urlaub 2024.mit.punkten.tif"},
        {"bild.jpg.bak", "bild.jpg.bak", "bild.jpg.bak"}, // ".JPG" anywhere in the name counts
        {"Ärger <1> | 2.gif", "Ärger <1> | 2_gif.jpg", "Ärger <1> | 2.gif"},
    };
    for (const Case& c : cases) {
        const QString copy = CopyName(QString::fromUtf8(c.source));
        EXPECT_EQ(copy, QString::fromUtf8(c.copy)) << c.source;
        EXPECT_EQ(DisplayName(copy), QString::fromUtf8(c.display)) << c.source;
    }
    EXPECT_TRUE(CopyName(QStringLiteral("g.png")).isEmpty());
    EXPECT_TRUE(CopyName(QStringLiteral("notizen.txt")).isEmpty());
}

TEST(SeriesNames, OnePictureKeepsTheTextBeforeTheFirstJpeg) {
    EXPECT_EQ(CopyName(QStringLiteral("x.jpeg.jpeg"), true), QStringLiteral("x_jpeg.jpg"));
    EXPECT_EQ(CopyName(QStringLiteral("x.jpeg.jpeg"), false), QStringLiteral("x.jpeg_jpeg.jpg"));
}

TEST(SeriesNames, EntriesLeadBackToTheirSeriesCopies) {
    const QString thumbs = QStringLiteral("/opt/korvelle/thumb/");
    const QString entry = EntryText(thumbs, 3, QStringLiteral("c_tiff.jpg"));
    EXPECT_EQ(entry, QStringLiteral(
                         "<IMG src=\"file:///opt/korvelle/thumb/_THUMB_3c_tiff.jpg\" align=\"top\">c.tif"));
    EXPECT_EQ(EntryFileName(entry), QStringLiteral("c.tif"));
    EXPECT_EQ(EntryFileName(QStringLiteral("a.jpg")), QStringLiteral("a.jpg"));

    // Showing an entry, or a path that ends in one, leads to its series copy, also when the
    // names hold the characters that delimit an entry.
    for (const char* copy : {"c_tiff.jpg", "b_jpeg.jpg", "e_bmp.jpg", "f_gif.jpg", "a.jpg", "x>y.jpg",
                             "Ärger <1> | 2_gif.jpg", "p|q_tiff.jpg"}) {
        const QString text = EntryText(thumbs, 12, QString::fromUtf8(copy));
        EXPECT_EQ(ShownCopyName(text), QString::fromUtf8(copy)) << copy;
        EXPECT_EQ(ShownCopyName(QStringLiteral("/opt/korvelle/temp/") + FileNamePart(text)),
                  QString::fromUtf8(copy))
            << copy;
        EXPECT_EQ(EntryFileName(text), DisplayName(QString::fromUtf8(copy))) << copy;
    }
    EXPECT_EQ(ShownCopyName(QStringLiteral("/quelle/c.tif")), QStringLiteral("c_tiff.jpg"));
    EXPECT_EQ(ShownCopyName(QStringLiteral("/temp/a>b.jpg")), QStringLiteral("a>b.jpg"));
    EXPECT_EQ(SeriesCopyOf(QStringLiteral("/x/d.tiff")), QStringLiteral("d_tiff.jpg"));
}

TEST(SeriesNames, ProgressRoundsHalvesToEven) {
    EXPECT_EQ(ProgressPercent(0, 0), 0);
    EXPECT_EQ(ProgressPercent(1, 8), 12); // 12.5
    EXPECT_EQ(ProgressPercent(3, 8), 38); // 37.5
    EXPECT_EQ(ProgressPercent(7, 7), 100);
}

} // namespace
