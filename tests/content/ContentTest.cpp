// Tests of the content generator: the installed example pictures, the dialogs' pictures and the
// banner are written once into a temporary program folder and then read back through the
// program's own codecs and EXIF reader.
#include "Content.h"
#include "Codecs.h"
#include "Exif.h"
#include "Scenes.h"
#include "TempDir.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace {

QByteArray ReadBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool RedDominant(QRgb pixel) {
    return qRed(pixel) >= 150 && qRed(pixel) - std::max(qGreen(pixel), qBlue(pixel)) >= 100;
}

// The share of pixels within half a pupil radius of each pupil's centre that are red-dominant.
double RedShare(const QImage& image, const Scenes::Portrait& portrait) {
    int red = 0;
    int total = 0;
    const double reach = portrait.PupilRadius / 2;
    for (const QPointF& pupil : portrait.Pupils) {
        for (int y = int(pupil.y() - reach); y <= int(pupil.y() + reach); ++y) {
            for (int x = int(pupil.x() - reach); x <= int(pupil.x() + reach); ++x) {
                if (std::hypot(x - pupil.x(), y - pupil.y()) > reach)
                    continue;
                ++total;
                red += RedDominant(image.pixel(x, y)) ? 1 : 0;
            }
        }
    }
    return total == 0 ? 0.0 : double(red) / total;
}

class InstalledContent : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        Folder = std::make_unique<TempDir>();
        Content::WriteContent(Folder->Path());
    }
    static void TearDownTestSuite() { Folder.reset(); }

    static QString Example(const QString& name) {
        return QDir(Folder->File(QStringLiteral("Beispiele"))).filePath(name);
    }

    static inline std::unique_ptr<TempDir> Folder;
};

TEST_F(InstalledContent, EightExamplesInEveryFormatDecodeWithOnePortrait) {
    const QStringList names = QDir(Folder->File(QStringLiteral("Beispiele"))).entryList(QDir::Files);
    ASSERT_EQ(names.size(), 8) << names.join(QLatin1Char(' ')).toStdString();

    QSet<QString> families;
    bool portraitJpeg = false;
    bool cameraSizedLandscape = false;
    for (const QString& name : names) {
        SCOPED_TRACE(name.toStdString());
        Codecs::LoadedPicture picture;
        ASSERT_NO_THROW(picture = Codecs::ReadPicture(Example(name)));
        ASSERT_FALSE(picture.image.isNull());
        EXPECT_EQ(picture.image.size(), QSize(picture.info.width, picture.info.height));
        const int format = picture.info.format;
        const bool jpeg = format == Codecs::kFormatJpeg || format == Codecs::kFormatJpeg411 ||
                          format == Codecs::kFormatJpeg422;
        const QString family = jpeg                              ? QStringLiteral("jpg")
                               : format == Codecs::kFormatTifLzw ? QStringLiteral("tif")
                               : format == Codecs::kFormatGif    ? QStringLiteral("gif")
                               : format == Codecs::kFormatBmp    ? QStringLiteral("bmp")
                                                                 : QStringLiteral("other");
        families.insert(family);
        // The extension must say what the file holds, or the open dialog's filters misfile it.
        EXPECT_TRUE(name.endsWith(QLatin1Char('.') + family));
        portraitJpeg = portraitJpeg || (jpeg && picture.info.height > picture.info.width);
        cameraSizedLandscape = cameraSizedLandscape || (jpeg && picture.info.width >= 2000 &&
                                                        picture.info.width > picture.info.height);
    }
    EXPECT_EQ(families, QSet<QString>({"jpg", "tif", "gif", "bmp"}));
    EXPECT_TRUE(portraitJpeg);
    EXPECT_TRUE(cameraSizedLandscape);
}

TEST_F(InstalledContent, CameraPictureNamesItsCameraInExifData) {
    const QString path = Example(QString::fromLatin1(Content::kCameraPicture));
    TExif exif;
    exif.Read(path);
    EXPECT_EQ(exif.Make, QByteArray(Content::kCameraMake));
    EXPECT_EQ(exif.Model, QByteArray(Content::kCameraModel));
    EXPECT_EQ(exif.Orientation, QByteArray("Normal"));
    EXPECT_EQ(exif.DateTime, QByteArray("2025:06:14 10:42:17"));
    EXPECT_EQ(exif.DateTimeOriginal, QByteArray("2025:06:14 10:42:17"));
    EXPECT_NO_THROW(Codecs::ReadPicture(path));
}

TEST_F(InstalledContent, ExifSegmentGoesFirstWhenTheFileHasNoJfifSegment) {
    const QByteArray withJfif = ReadBytes(Example(QStringLiteral("Bergsee.jpg")));
    ASSERT_EQ(withJfif.mid(2, 4), QByteArray("\xFF\xE0\x00\x10", 4));
    const QByteArray bare = withJfif.left(2) + withJfif.mid(20);
    for (const QByteArray& original : {withJfif, bare}) {
        const QByteArray bytes = Content::InsertExif(original, Content::CameraExifSegment(QSize(2400, 1600)));
        EXPECT_EQ(bytes.mid(original.startsWith("\xFF\xD8\xFF\xE0") ? 20 : 2, 2), QByteArray("\xFF\xE1"));
        TExif exif;
        exif.ReadData(bytes);
        EXPECT_EQ(exif.Model, QByteArray(Content::kCameraModel));
        EXPECT_EQ(Codecs::DecodePicture(bytes).image.size(), QSize(2400, 1600));
    }
}

TEST_F(InstalledContent, RedEyePortraitHasRedDominantPupils) {
    const Codecs::LoadedPicture picture =
        Codecs::ReadPicture(Example(QString::fromLatin1(Content::kRedEyePicture)));
    const Scenes::Portrait painted = Content::RedEyeExample();
    ASSERT_EQ(picture.image.size(), painted.Image.size());
    EXPECT_GT(picture.image.height(), picture.image.width());
    EXPECT_GE(RedShare(picture.image, painted), 0.9);
}

TEST_F(InstalledContent, DialogPicturesAndBannerHaveTheirSizes) {
    const struct {
        const char* Name;
        QSize Size;
    } expected[] = {{"save.jpg", {95, 158}},  {"resize.jpg", {95, 158}}, {"batch.jpg", {95, 158}},
                    {"print.jpg", {95, 148}}, {"about.jpg", {234, 89}},  {"tips.jpg", {65, 57}}};
    const QDir recom(Folder->File(QStringLiteral("recom")));
    EXPECT_EQ(recom.entryList(QDir::Files).size(), qsizetype(std::size(expected)));
    for (const auto& picture : expected) {
        SCOPED_TRACE(picture.Name);
        const Codecs::LoadedPicture loaded =
            Codecs::ReadPicture(recom.filePath(QString::fromLatin1(picture.Name)));
        EXPECT_EQ(loaded.image.size(), picture.Size);
        EXPECT_EQ(loaded.info.format, Codecs::kFormatJpeg422);
    }

    const QImage banner(Folder->File(QString::fromLatin1(Content::kBanner)));
    ASSERT_EQ(banner.height(), 41);
    EXPECT_GE(banner.width(), 1200);
    // The name is written at the left in dark blue; the rest of the band is a light gradient.
    auto darkBlue = [&](int fromX, int toX) {
        int count = 0;
        for (int y = 0; y < banner.height(); ++y)
            for (int x = fromX; x < toX; ++x) {
                const QRgb pixel = banner.pixel(x, y);
                count += qBlue(pixel) < 160 && qBlue(pixel) > qRed(pixel) + 40 ? 1 : 0;
            }
        return count;
    };
    EXPECT_GT(darkBlue(0, 200), 100);
    EXPECT_EQ(darkBlue(400, banner.width()), 0);
}

TEST(Scenes, SameSeedPaintsTheSamePicturesAndOthersDiffer) {
    const QSize size(160, 120);
    EXPECT_EQ(Scenes::PaintLandscape(size, 5), Scenes::PaintLandscape(size, 5));
    EXPECT_NE(Scenes::PaintLandscape(size, 5), Scenes::PaintLandscape(size, 6));
    EXPECT_EQ(Scenes::PaintLandscape(size, 5).format(), QImage::Format_BGR888);
    EXPECT_EQ(Scenes::PaintPortrait(size, 5, true).Image, Scenes::PaintPortrait(size, 5, true).Image);
}

TEST(Scenes, PupilsAreRedOnlyWhenAsked) {
    const QSize size(600, 800);
    const Scenes::Portrait red = Scenes::PaintPortrait(size, 9, true);
    const Scenes::Portrait dark = Scenes::PaintPortrait(size, 9, false);
    EXPECT_GE(RedShare(red.Image, red), 0.95);
    EXPECT_EQ(RedShare(dark.Image, dark), 0.0);
}

TEST(Scenes, PhotoFolderHoldsNumberedDistinctPictures) {
    TempDir dir;
    Content::WritePhotos(dir.Path(), 3, QSize(64, 48));
    EXPECT_EQ(QDir(dir.Path()).entryList(QDir::Files),
              QStringList({"IMG_0001.jpg", "IMG_0002.jpg", "IMG_0003.jpg"}));
    QSet<QByteArray> contents;
    for (int i = 1; i <= 3; ++i) {
        const QString path = dir.File(QStringLiteral("IMG_%1.jpg").arg(i, 4, 10, QLatin1Char('0')));
        EXPECT_EQ(Codecs::ReadPicture(path).image.size(), QSize(64, 48));
        contents.insert(ReadBytes(path));
    }
    EXPECT_EQ(contents.size(), 3);
}

} // namespace
