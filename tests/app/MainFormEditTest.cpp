// The edit cycle on a real main window: turning and mirroring, undo copies, committing to the
// series copy with a renewed thumbnail, and undo back to the picture as first stored.
#include "Codecs.h"
#include "FakePrompts.h"
#include "HTMListBox.h"
#include "LEADImage.h"
#include "OperationsPanel.h"
#include "SeriesFixtures.h"
#include "SeriesNames.h"
#include "TempDir.h"
#include "fMain.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// Left quarter red, the rest blue, the top quarter brighter: every turn and mirror tells.
QImage Marked(int width, int height) {
    QImage image(width, height, QImage::Format_BGR888);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const int light = y < height / 4 ? 120 : 0;
            image.setPixelColor(x, y, x < width / 4 ? QColor(230, light, light) : QColor(light, light, 230));
        }
    return image;
}

bool Reddish(const QImage& image, int x, int y) {
    const QColor c = image.pixelColor(x, y);
    return c.red() > 150 && c.blue() < 100;
}

bool Bright(const QImage& image, int x, int y) {
    const QColor c = image.pixelColor(x, y);
    return std::min({c.red(), c.green(), c.blue()}) > 60;
}

class EditTest : public MainWindowTest {
protected:
    EditTest() {
        for (const char* name : {"a.jpg", "b.jpg"})
            Codecs::WritePicture(Marked(640, 480), source.File(QString::fromLatin1(name)),
                                 Codecs::kFormatJpeg422, 24, 2);
        Codecs::WritePicture(Marked(640, 480), source.File(QStringLiteral("c.tif")), Codecs::kFormatTifLzw,
                             24, 2);
        prompts.openAnswers.enqueue({source.File(QStringLiteral("a.jpg"))});
        form.OpenSpeedButtonClick();
        form.Timer2Timer();
    }

    QImage View() const { return form.ViewLEADImage->Bitmap().Pixels; }
    QImage SeriesCopy(const char* name) const {
        return Codecs::ReadPicture(form.TempFolder + QString::fromLatin1(name)).image;
    }
    TOperationPicture* UndoImage() const { return form.EffectsPanel->Picture(QStringLiteral("UndoImage")); }
    void Select(int index) {
        form.FileListBox->SetItemIndex(index);
        form.FileListBoxClick();
        form.Timer2Timer();
    }
};

TEST_F(EditTest, EachOperationTurnsOrMirrorsAndRecordsOneUndoStep) {
    struct Case {
        const char* code;
        QSize size;
        QPoint red;    // a pixel of the red quarter afterwards
        QPoint bright; // a pixel of the bright band afterwards
    } cases[] = {
        {"90", {480, 640}, {240, 40}, {470, 320}},    // red at the top, bright at the right
        {"-90", {480, 640}, {240, 600}, {10, 320}},   // red at the bottom, bright at the left
        {"180", {640, 480}, {620, 240}, {320, 470}},  // red at the right, bright at the bottom
        {"FlipV", {640, 480}, {630, 240}, {320, 10}}, // left and right exchanged
        {"FlipH", {640, 480}, {10, 240}, {320, 470}}, // top and bottom exchanged
    };
    int steps = 0;
    for (const Case& c : cases) {
        const QImage before = View();
        ASSERT_EQ(before.size(), QSize(640, 480)) << c.code;
        const int counter = form.UndoCounter;
        form.RotateFlip(QString::fromLatin1(c.code));
        ++steps;
        EXPECT_EQ(form.UndoCounter, counter + 1) << c.code;
        EXPECT_EQ(View().size(), c.size) << c.code;
        EXPECT_TRUE(Reddish(View(), c.red.x(), c.red.y())) << c.code;
        EXPECT_TRUE(Bright(View(), c.bright.x(), c.bright.y())) << c.code;
        // The series copy holds what the view shows, and the entry points to a new thumbnail.
        EXPECT_EQ(SeriesCopy("a.jpg"), View()) << c.code;
        EXPECT_EQ(form.CurrentFile, form.TempFolder + QStringLiteral("a.jpg"));
        EXPECT_TRUE(form.Changed);
        // Undo restores the picture as it was written before the change.
        const QImage undoCopy =
            Codecs::ReadPicture(form.ProgramFolder + QStringLiteral("UNDO_%1.jpg").arg(form.UndoCounter))
                .image;
        form.UndoImageClick();
        EXPECT_EQ(View(), undoCopy) << c.code;
        EXPECT_TRUE(Reddish(View(), 10, 240)) << c.code;
        EXPECT_TRUE(Bright(View(), 320, 10)) << c.code;
    }
    EXPECT_EQ(steps, 5);
}

TEST_F(EditTest, ThreeTurnsAndThreeUndosGiveBackTheFirstPicture) {
    const QImage start = View();
    EXPECT_FALSE(UndoImage()->isEnabled());
    EXPECT_EQ(UndoImage()->Picture(), form.DisabledPic);
    for (int i = 0; i < 3; ++i)
        form.RotateFlip(QStringLiteral("90"));
    EXPECT_EQ(form.UndoCounter, 3);
    EXPECT_TRUE(UndoImage()->isEnabled());
    EXPECT_EQ(UndoImage()->Picture(), form.EnabledPic);
    EXPECT_TRUE(form.Bearbeitungrckgnig1->isEnabled());
    EXPECT_EQ(View().size(), QSize(480, 640));
    // The thumbnail was renewed three times, and is a portrait one now.
    const QString entry = form.FileListBox->ItemText(0);
    EXPECT_EQ(entry, SeriesNames::EntryText(form.ThumbFolder, 4, QStringLiteral("a.jpg")));
    EXPECT_EQ(Codecs::ReadPicture(form.ThumbFolder + QStringLiteral("_THUMB_4a.jpg")).image.size(),
              QSize(52, 70));

    form.Changed = false;
    form.Bearbeitungrckgnig1->trigger();
    EXPECT_TRUE(form.Changed); // an undo commits
    form.UndoImageClick();
    QTest::mouseClick(form.RedeyeUndoBitBtn, Qt::LeftButton);
    EXPECT_EQ(form.UndoCounter, 0);
    EXPECT_FALSE(UndoImage()->isEnabled());
    EXPECT_EQ(UndoImage()->Picture(), form.DisabledPic);
    EXPECT_FALSE(form.Bearbeitungrckgnig1->isEnabled());
    EXPECT_FALSE(form.RedeyeUndoBitBtn->isEnabled());
    // The first picture as written before the first turn, which is close to what was shown.
    EXPECT_EQ(View(), Codecs::ReadPicture(form.ProgramFolder + QStringLiteral("UNDO_1.jpg")).image);
    EXPECT_EQ(View().size(), start.size());
    EXPECT_TRUE(Reddish(View(), 10, 240));
    // After an undo the region frame shows again and a drag marks instead of panning.
    EXPECT_EQ(form.ViewLEADImage->RgnFrameType(), kFrameAnimated);

    // Nothing left to undo: the counter stays at 0.
    form.UndoImageClick();
    EXPECT_EQ(form.UndoCounter, 0);
}

TEST_F(EditTest, SelectingAnotherPictureStartsItsOwnUndoSteps) {
    form.RotateFlip(QStringLiteral("90"));
    form.RotateFlip(QStringLiteral("90"));
    const QImage aEdited = SeriesCopy("a.jpg");
    Select(1);
    EXPECT_EQ(form.UndoCounter, 0);
    EXPECT_FALSE(UndoImage()->isEnabled());
    form.RotateFlip(QStringLiteral("-90"));
    EXPECT_EQ(form.UndoCounter, 1);
    // Undo copy 1 now holds b before its turn, and undo restores b, not a.
    EXPECT_EQ(Codecs::ReadPicture(form.ProgramFolder + QStringLiteral("UNDO_1.jpg")).image.size(),
              QSize(640, 480));
    form.UndoImageClick();
    EXPECT_EQ(form.CurrentFile, form.TempFolder + QStringLiteral("b.jpg"));
    EXPECT_EQ(SeriesCopy("b.jpg").size(), QSize(640, 480));
    EXPECT_EQ(SeriesCopy("a.jpg"), aEdited);
}

TEST_F(EditTest, TheRotationMenuReturnsToTheOperationsPanelFirst) {
    for (QWidget* panel : {form.ZuschneidenPanel, form.RedeyePanel}) {
        form.EffectsPanel->hide();
        panel->show();
        const QSize before = View().size();
        form.findChild<QAction*>(QStringLiteral("Bildnachlinksdrehen1"))->trigger();
        EXPECT_TRUE(form.ZuschneidenPanel->isHidden());
        EXPECT_TRUE(form.RedeyePanel->isHidden());
        EXPECT_FALSE(form.EffectsPanel->isHidden());
        EXPECT_EQ(View().size(), before.transposed());
    }
    // The panel's picture does the same.
    QTest::mouseClick(form.EffectsPanel->Picture(QStringLiteral("Image5")), Qt::LeftButton);
    EXPECT_EQ(form.UndoCounter, 3);
}

TEST_F(EditTest, AFailingStepShowsTheErrorBoxAndCommitsNothing) {
    // The undo copy cannot be written where a folder stands in its place.
    ASSERT_TRUE(QDir().mkpath(form.ProgramFolder + QStringLiteral("UNDO_1.jpg")));
    const QByteArray stored = [&] {
        QFile file(form.TempFolder + QStringLiteral("a.jpg"));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }();
    form.RotateFlip(QStringLiteral("90"));
    ASSERT_EQ(prompts.messages.size(), 1);
    EXPECT_EQ(prompts.messages[0].text, QStringLiteral("An error occured in your application LeadImage2"));
    EXPECT_EQ(prompts.messages[0].caption, QStringLiteral("Error"));
    EXPECT_EQ(prompts.messages[0].kind, Prompts::Kind::Error);
    EXPECT_FALSE(form.Changed);
    QFile file(form.TempFolder + QStringLiteral("a.jpg"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), stored);
    EXPECT_EQ(View().size(), QSize(640, 480));
}

TEST_F(EditTest, AnEditOfAConvertedPictureIsCommittedToItsSeriesCopy) {
    Select(2);
    EXPECT_EQ(form.CurrentFile, form.SourceFolder + QStringLiteral("c.tif"));
    form.RotateFlip(QStringLiteral("180"));
    EXPECT_EQ(form.CurrentFile, form.TempFolder + QStringLiteral("c_tiff.jpg"));
    EXPECT_EQ(SeriesCopy("c_tiff.jpg"), View());
    EXPECT_TRUE(Reddish(View(), 630, 240));
    EXPECT_EQ(form.FileListBox->ItemText(2),
              SeriesNames::EntryText(form.ThumbFolder, 2, QStringLiteral("c_tiff.jpg")));
    EXPECT_EQ(form.FileListBox->ItemIndex(), 2);
}

TEST_F(EditTest, APictureThatCannotBeShownIsNotEditedWithTheOneBefore) {
    QFile broken(form.TempFolder + QStringLiteral("b.jpg"));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly | QIODevice::Truncate));
    broken.write("\xff\xd8\xff");
    broken.close();
    Select(1);
    EXPECT_FALSE(form.ViewLEADImage->HasBitmap());
    EXPECT_TRUE(form.StatusBar1->currentMessage().startsWith(
        QStringLiteral("Dieses Bild kann nicht angezeigt werden")));
    form.RotateFlip(QStringLiteral("90"));
    ASSERT_EQ(prompts.messages.size(), 1);
    EXPECT_EQ(prompts.messages[0].text, QStringLiteral("Es ist kein Bild zum Bearbeiten geladen."));
    EXPECT_EQ(form.UndoCounter, 0);
    EXPECT_FALSE(form.Changed);
    EXPECT_EQ(QFileInfo(form.TempFolder + QStringLiteral("b.jpg")).size(), 3);
}

} // namespace
