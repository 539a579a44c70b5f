// Decodes made ahead on worker threads: handed out by name, with their finishing step, and
// nothing lost or blocked when names are skipped, unknown or unreadable.
#include "ReducedDecoder.h"
#include "Codecs.h"
#include "TempDir.h"
#include "Thumbnail.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

QImage Plain(int width, int height, QColor colour) {
    QImage image(width, height, QImage::Format_BGR888);
    image.fill(colour);
    return image;
}

TEST(ReducedDecoder, HandsOutDecodesByNameAndDropsTheSkippedOnes) {
    TempDir dir;
    std::vector<TReducedDecoder::Job> jobs;
    const auto width = [](const Codecs::LoadedPicture& picture) {
        return Plain(picture.info.width, 1, Qt::red);
    };
    for (int i = 0; i < 12; ++i) {
        const QString path = dir.File(QStringLiteral("p%1.jpg").arg(i));
        Codecs::WritePicture(Plain(800 + i, 600, Qt::blue), path, Codecs::kFormatJpeg422, 24, 2);
        jobs.push_back({QStringLiteral("p%1").arg(i), path, QSize(1, 70), width});
    }
    QFile broken(dir.File(QStringLiteral("kaputt.jpg")));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("\xff\xd8\xff");
    broken.close();
    jobs.push_back({QStringLiteral("kaputt"), broken.fileName(), QSize(1, 70), width});
    jobs.push_back({QStringLiteral("voll"), dir.File(QStringLiteral("p11.jpg")), QSize(), nullptr});

    TReducedDecoder decoder(std::move(jobs));
    const std::optional<TPreparedPicture> first = decoder.Take(QStringLiteral("p0"));
    ASSERT_TRUE(first);
    EXPECT_EQ(first->picture.info.width, 800);
    EXPECT_LT(first->picture.image.height(), 600); // reduced, yet still covering 70 rows
    EXPECT_GE(first->picture.image.height(), 70);
    EXPECT_EQ(first->made.width(), 800); // the finishing step ran on the worker

    EXPECT_FALSE(decoder.Take(QStringLiteral("unbekannt")));
    const std::optional<TPreparedPicture> later = decoder.Take(QStringLiteral("p10"));
    ASSERT_TRUE(later);
    EXPECT_EQ(later->picture.info.width, 810);
    EXPECT_FALSE(decoder.Take(QStringLiteral("p5"))); // skipped over, so dropped
    EXPECT_FALSE(decoder.Take(QStringLiteral("kaputt")));
    const std::optional<TPreparedPicture> full = decoder.Take(QStringLiteral("voll"));
    ASSERT_TRUE(full);
    EXPECT_EQ(full->picture.image.size(), QSize(811, 600));
    EXPECT_TRUE(full->made.isNull());
}

TEST(ReducedDecoder, StopsWithDecodesStillRunning) {
    TempDir dir;
    std::vector<TReducedDecoder::Job> jobs;
    for (int i = 0; i < 6; ++i) {
        const QString path = dir.File(QStringLiteral("p%1.jpg").arg(i));
        Codecs::WritePicture(Plain(1200, 900, Qt::green), path, Codecs::kFormatJpeg422, 24, 2);
        jobs.push_back({path, path, QSize(), nullptr});
    }
    { TReducedDecoder decoder(std::move(jobs)); }
    SUCCEED();
}

TEST(Thumbnail, KeepsTheProportionsOfTheFileNotOfTheReducedDecode) {
    struct Case {
        QSize original;
        int width;
    } cases[] = {{{3000, 4000}, 52}, {{4000, 3000}, 93}, {{4001, 3000}, 93}, {{1, 1000}, 0}, {{0, 0}, 0}};
    for (const Case& c : cases)
        EXPECT_EQ(Thumbnail::WidthFor(c.original, 70), c.width)
            << c.original.width() << "x" << c.original.height();
    // A decode at an eighth of 4001 x 3000 is 501 x 375, whose own proportions would give 94.
    EXPECT_EQ(Thumbnail::Framed(Plain(501, 375, Qt::gray), QSize(4001, 3000), 70, {}).size(), QSize(93, 70));
    EXPECT_TRUE(Thumbnail::Framed(Plain(1, 1000, Qt::gray), QSize(), 70, {}).isNull());
}

} // namespace
