// Opening pictures into the series: series copies, thumbnails and list entries, the folder check,
// the display step after a selection, and what the commands allow afterwards.
#include "Codecs.h"
#include "FakePrompts.h"
#include "HTMListBox.h"
#include "KorvelleApplication.h"
#include "LEADImage.h"
#include "OperationsPanel.h"
#include "SeriesFixtures.h"
#include "SeriesNames.h"
#include "TempDir.h"
#include "fMain.h"

#include <QDir>
#include <QFile>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

class SeriesTest : public MainWindowTest {
protected:
    void OpenSeries(const QString& chosen) {
        prompts.openAnswers.enqueue({chosen});
        form.OpenSpeedButtonClick();
    }

    void OpenOne(const QString& chosen) {
        prompts.openAnswers.enqueue({chosen});
        form.OpenOneSpeedButtonClick();
    }

    QStringList Captions() const {
        QStringList captions;
        for (int i = 0; i < form.FileListBox->Count(); ++i)
            captions.append(ParseHTMEntry(form.FileListBox->ItemText(i)).Caption);
        return captions;
    }

    // Every command that needs an open picture: true when all are on, false when all are off.
    std::optional<bool> PictureCommands() const {
        QList<bool> states{form.SaveSpeedButton->isEnabled(),
                           form.PrintSpeedButton->isEnabled(),
                           form.Bilderspeichern1->isEnabled(),
                           form.Bilderdrucken1->isEnabled(),
                           form.EffectsPanel->isEnabled(),
                           form.EffectsPanel->Picture(QStringLiteral("Image3"))->isEnabled()};
        for (QMenu* menu : {form.Rotation1, form.Bildmanipulation1, form.Bildeffekte1,
                            form.RoteAugenentfernen1, form.Stapelbearbeitung1, form.EXIF1})
            states.append(menu->isEnabled());
        if (states.count(true) == states.size())
            return true;
        if (states.count(false) == states.size())
            return false;
        return std::nullopt;
    }
};

TEST_F(SeriesTest, AFolderBecomesSeriesCopiesAndEntriesOfEveryPictureFormat) {
    for (const char* name : {"a.jpg", "b.JPEG", "c.tif", "d.tiff", "e.bmp", "f.gif"})
        WriteTestPicture(Source(QString::fromLatin1(name)));
    GradientPicture(8, 8).save(Source(QStringLiteral("g.png")));
    QDir().mkpath(Source(QStringLiteral("ordner.jpg"))); // a folder named like a picture
    QFile::setPermissions(Source(QStringLiteral("a.jpg")), QFileDevice::ReadOwner);

    OpenSeries(Source(QStringLiteral("e.bmp")));

    EXPECT_EQ(form.SourceFolder, source.Path() + QStringLiteral("/"));
    EXPECT_EQ(FilesIn(form.TempFolder),
              (QStringList{"a.jpg", "b_jpeg.jpg", "c_tiff.jpg", "d_tiff.jpg", "e_bmp.jpg", "f_gif.jpg"}));
    EXPECT_EQ(Captions(), (QStringList{"a.jpg", "b.jpeg", "c.tif", "d.tif", "e.bmp", "f.gif"}));
    // A JPEG is copied byte for byte and made writable; the others are converted to JPEG.
    EXPECT_EQ(FileBytes(form.TempFolder + QStringLiteral("a.jpg")),
              FileBytes(Source(QStringLiteral("a.jpg"))));
    EXPECT_TRUE(QFile::permissions(form.TempFolder + QStringLiteral("a.jpg")) & QFileDevice::WriteOwner);
    EXPECT_EQ(Codecs::ReadPicture(form.TempFolder + QStringLiteral("c_tiff.jpg")).info.format,
              Codecs::kFormatJpeg422);
    EXPECT_EQ(form.FileListBox->ItemText(2),
              SeriesNames::EntryText(form.ThumbFolder, 1, QStringLiteral("c_tiff.jpg")));
    EXPECT_TRUE(QFile::exists(form.ThumbFolder + QStringLiteral("_THUMB_c_tiff.jpg")));
    EXPECT_TRUE(QFile::exists(form.ThumbFolder + QStringLiteral("_THUMB_1c_tiff.jpg")));

    // The first entry is current and the only one selected; its picture follows after the delay.
    EXPECT_EQ(form.FileListBox->ItemIndex(), 0);
    EXPECT_EQ(form.FileListBox->selectedItems().size(), 1);
    EXPECT_TRUE(form.FileListBox->Selected(0));
    EXPECT_EQ(form.CurrentFile, form.SourceFolder + QStringLiteral("a.jpg"));
    EXPECT_TRUE(form.Timer2->isActive());
    form.Timer2Timer();
    EXPECT_EQ(form.ShownFile, QStringLiteral("a.jpg"));
    EXPECT_EQ(form.ViewLEADImage->BitmapWidth(), 64);
    EXPECT_EQ(form.ViewLEADImage->PaintZoomFactor(), 99); // a picture that fits shows at 99 %
    EXPECT_TRUE(form.StatusBar1->currentMessage().startsWith(
        QStringLiteral("   JPEG  4:2:2     64x48     24Bit Farben       ")));

    // Progress: ten folder entries counting ".", ".." and the sub-folder, then the thumbnails
    // against the same total.
    ASSERT_GE(statusTexts.size(), 15);
    EXPECT_EQ(statusTexts[0], QStringLiteral("Dateien werden geöffnet: 0%   .   Bitte warten..."));
    EXPECT_EQ(statusTexts[2], QStringLiteral("Dateien werden geöffnet: 20%   a.jpg   Bitte warten..."));
    EXPECT_TRUE(statusTexts.contains(
        QStringLiteral("Vorschaubilder (Thumbnails) werden erzeugt! 10 %  Bitte warten...")));
    EXPECT_TRUE(statusTexts.contains(
        QStringLiteral("Vorschaubilder (Thumbnails) werden erzeugt! 60 %  Bitte warten...")));
    EXPECT_TRUE(form.PicProgressBar->isHidden());
    EXPECT_EQ(PictureCommands(), true);
    EXPECT_TRUE(form.Save_All_SpeedButton->isEnabled());
    EXPECT_FALSE(form.Bearbeitungrckgnig1->isEnabled());
    EXPECT_TRUE(prompts.messages.isEmpty());
}

TEST_F(SeriesTest, TwoSourcesOfOneCopyNameGiveOneEntry) {
    WriteTestPicture(Source(QStringLiteral("bild.tif")), 40, 30);
    WriteTestPicture(Source(QStringLiteral("bild.tiff")), 50, 30);
    OpenSeries(Source(QStringLiteral("bild.tif")));
    EXPECT_EQ(Captions(), QStringList{QStringLiteral("bild.tif")});
    // The later one in the listing replaced the earlier.
    EXPECT_EQ(Codecs::ReadPicture(form.TempFolder + QStringLiteral("bild_tiff.jpg")).image.width(), 50);
}

TEST_F(SeriesTest, TheProgramsOwnFoldersAreRefusedAndTheSeriesStays) {
    WriteTestPicture(Source(QStringLiteral("a.jpg")));
    OpenSeries(Source(QStringLiteral("a.jpg")));
    const QStringList before = Captions();
    WriteTestPicture(form.ProgramFolder + QStringLiteral("x.jpg"));

    struct Case {
        bool series;
        QString chosen;
        const char* message;
    } cases[] = {
        {true, form.TempFolder + QStringLiteral("a.jpg"),
         "Dies ist der Ordner für bearbeitete Bilder. Sie können keine berabeiteten Bilder nochmals zum "
         "Bearbeiten "
         "öffnen! Bitte wählen Sie einen anderen Ordner!"},
        {false, form.ProgramFolder + QStringLiteral("x.jpg"),
         "Dies ist der Ordner für bearbeitete Bilder. Sie können keine berabeiteten Bilder nochmals zum "
         "bearbeiten "
         "öffnen! Bitte wählen Sie einen anderen Ordner!"},
    };
    for (const Case& c : cases) {
        prompts.messages.clear();
        c.series ? OpenSeries(c.chosen) : OpenOne(c.chosen);
        ASSERT_EQ(prompts.messages.size(), 1);
        EXPECT_EQ(prompts.messages[0].kind, Prompts::Kind::Information);
        EXPECT_EQ(prompts.messages[0].text, QString::fromUtf8(c.message));
        EXPECT_EQ(Captions(), before);
        EXPECT_EQ(form.SourceFolder, source.Path() + QStringLiteral("/"));
        EXPECT_TRUE(QFile::exists(form.TempFolder + QStringLiteral("a.jpg")));
        EXPECT_EQ(PictureCommands(), true);
    }
}

TEST_F(SeriesTest, OnePictureIsOpenedAloneAndTheSeriesSaveIsOff) {
    WriteTestPicture(Source(QStringLiteral("foto.JPEG")));
    WriteTestPicture(Source(QStringLiteral("anderes.jpg")));
    OpenOne(Source(QStringLiteral("foto.JPEG")));

    EXPECT_EQ(FilesIn(form.TempFolder), QStringList{QStringLiteral("foto_jpeg.jpg")});
    EXPECT_EQ(FileBytes(form.TempFolder + QStringLiteral("foto_jpeg.jpg")),
              FileBytes(Source(QStringLiteral("foto.JPEG"))));
    EXPECT_EQ(Captions(), QStringList{QStringLiteral("foto.jpeg")});
    EXPECT_EQ(form.SaveSpeedButton->text(), QStringLiteral("Bild speichern"));
    EXPECT_EQ(form.Bilderspeichern1->text(), QStringLiteral("Bild speichern"));
    EXPECT_EQ(PictureCommands(), true);
    EXPECT_FALSE(form.Save_All_SpeedButton->isEnabled());
    // No per-file progress when one picture is opened; the thumbnail shows 0 %.
    EXPECT_FALSE(statusTexts.join(QLatin1Char('\n')).contains(QStringLiteral("Dateien werden geöffnet")));
    EXPECT_TRUE(statusTexts.contains(
        QStringLiteral("Vorschaubilder (Thumbnails) werden erzeugt! 0 %  Bitte warten...")));
}

TEST_F(SeriesTest, ThumbnailsAreSeventyPixelsHighWithWhiteCorners) {
    struct Case {
        int width, height, thumbWidth;
    } cases[] = {{3000, 4000, 52}, {4000, 3000, 93}, {4001, 3000, 93}};
    for (const Case& c : cases) {
        const QString name = QStringLiteral("p%1x%2.jpg").arg(c.width).arg(c.height);
        WriteTestPicture(Source(name), c.width, c.height);
        OpenOne(Source(name));
        const QImage thumb = Codecs::ReadPicture(form.ThumbFolder + QStringLiteral("_THUMB_1") + name).image;
        ASSERT_EQ(thumb.size(), QSize(c.thumbWidth, 70)) << name.toStdString();
        const int w = thumb.width();
        for (QPoint corner : {QPoint(0, 68), QPoint(1, 69), QPoint(w - 2, 0), QPoint(w - 1, 1)}) {
            const QColor pixel = thumb.pixelColor(corner);
            EXPECT_GE(std::min({pixel.red(), pixel.green(), pixel.blue()}), 235)
                << name.toStdString() << " " << corner.x() << "," << corner.y();
        }
        // The drop shadow at the bottom right is light grey, the frame's line silver.
        const QColor shadow = thumb.pixelColor(w - 1, 69);
        EXPECT_NEAR(shadow.red(), 234, 12) << name.toStdString();
    }
}

TEST_F(SeriesTest, AFolderWithoutPicturesLeavesAnEmptyListAndTheCommandsOff) {
    WriteTestPicture(Source(QStringLiteral("a.jpg")));
    OpenSeries(Source(QStringLiteral("a.jpg")));
    form.Timer2Timer();
    TempDir empty;
    QFile notes(empty.File(QStringLiteral("notizen.txt")));
    ASSERT_TRUE(notes.open(QIODevice::WriteOnly));
    notes.close();

    OpenSeries(empty.File(QStringLiteral("notizen.txt")));
    EXPECT_EQ(form.FileListBox->Count(), 0);
    EXPECT_FALSE(form.ViewLEADImage->HasBitmap());
    EXPECT_TRUE(FilesIn(form.TempFolder).isEmpty());
    EXPECT_EQ(PictureCommands(), false);
    EXPECT_FALSE(form.Save_All_SpeedButton->isEnabled());
    ASSERT_EQ(prompts.messages.size(), 1);
    EXPECT_EQ(prompts.messages[0].text, QStringLiteral("Im gewählten Ordner wurden keine Bilder gefunden."));
    EXPECT_EQ(prompts.messages[0].kind, Prompts::Kind::Information);
}

TEST_F(SeriesTest, NamesWithEntryDelimitersOpenAndShowUnderTheirOwnNames) {
    const QStringList names{QStringLiteral("Ärger >1< am See.jpg"), QStringLiteral("p|q 2.tif")};
    for (const QString& name : names)
        WriteTestPicture(Source(name), 30 + int(name.size()), 20);
    OpenSeries(Source(names[0]));
    ASSERT_EQ(Captions(), (QStringList{names[0], QStringLiteral("p|q 2.tif")}));

    for (int index : {1, 0}) {
        form.FileListBox->SetItemIndex(index);
        form.FileListBoxClick();
        EXPECT_EQ(form.CurrentFile, form.SourceFolder + names[index]);
        form.Timer2Timer();
        EXPECT_EQ(form.ViewLEADImage->BitmapWidth(), 30 + int(names[index].size())) << index;
    }
    EXPECT_EQ(form.ShownFile, names[0]);
}

TEST_F(SeriesTest, AnUnreadableSourceEndsTheOpeningWithAGermanError) {
    WriteTestPicture(Source(QStringLiteral("a.jpg")));
    QFile broken(Source(QStringLiteral("kaputt.tif")));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("II*\0\x08\0\0\0\xff\xff", 10);
    broken.close();

    prompts.openAnswers.enqueue({Source(QStringLiteral("a.jpg"))});
    try {
        form.OpenSpeedButtonClick();
        ADD_FAILURE() << "the opening went on";
    } catch (const ELeadImageError& error) {
        EXPECT_TRUE(error.Message().startsWith(QStringLiteral("Das Bild \"") +
                                               Source(QStringLiteral("kaputt.tif")) +
                                               QStringLiteral("\" kann nicht geöffnet werden.")))
            << error.what();
    }
    EXPECT_EQ(form.FileListBox->Count(), 0);
    EXPECT_TRUE(form.PicProgressBar->isHidden());
    EXPECT_EQ(PictureCommands(), false);
    EXPECT_TRUE(prompts.messages.isEmpty()); // the error alone, no claim that there were no pictures
}

TEST_F(SeriesTest, TheDisplayStepShowsTheEntryChosenLastAndTheExifOfTheUsersFile) {
    for (const char* name : {"a.jpg", "b.bmp", "c.jpg"})
        WriteTestPicture(Source(QString::fromLatin1(name)), 40, 30);
    OpenSeries(Source(QStringLiteral("a.jpg")));
    form.EXIF1Click();
    EXPECT_EQ(form.EXIFMemo->toPlainText().split(QLatin1Char('\n')).size(), 4);

    // Two clicks within the delay: one display step, for the entry chosen last.
    form.FileListBox->SetItemIndex(2);
    form.FileListBoxClick();
    QTest::qWait(50);
    form.FileListBox->SetItemIndex(1);
    form.FileListBoxClick();
    QTest::qWait(100);
    EXPECT_TRUE(form.Timer2->isActive());
    QTest::qWait(250);
    EXPECT_FALSE(form.Timer2->isActive());
    EXPECT_EQ(form.ShownFile, QStringLiteral("b_bmp.jpg"));
    EXPECT_EQ(form.CurrentFile, form.SourceFolder + QStringLiteral("b.bmp"));
    // A BMP has no EXIF data: eight empty lines and the orientation "Normal".
    EXPECT_EQ(form.EXIFMemo->toPlainText(), QStringLiteral("\n\n\nNormal\n\n\n\n\n"));

    // Hiding and showing the panel again brings back the explanation.
    form.EXIF1Click();
    EXPECT_TRUE(form.EXIFMemo->isHidden());
    form.EXIF1Click();
    EXPECT_TRUE(form.EXIFMemo->toPlainText().startsWith(QStringLiteral("EXIF sind Daten welche")));
}

TEST_F(SeriesTest, AnExifReadingErrorReachesTheErrorDisplayOnce) {
    auto* app = dynamic_cast<KorvelleApplication*>(QCoreApplication::instance());
    ASSERT_NE(app, nullptr);
    app->SetPrompts(&prompts);
    WriteTestPicture(Source(QStringLiteral("a.jpg")), 40, 30);
    OpenSeries(Source(QStringLiteral("a.jpg")));
    form.EXIF1Click();
    // The user's file is cut short after the series copy was made.
    QFile cut(Source(QStringLiteral("a.jpg")));
    ASSERT_TRUE(cut.open(QIODevice::WriteOnly | QIODevice::Truncate));
    cut.write("\xff\xd8\xff\xe1\x00", 5);
    cut.close();

    form.FileListBoxClick();
    QTest::qWait(700);
    app->SetPrompts(nullptr);
    ASSERT_EQ(prompts.messages.size(), 1);
    EXPECT_EQ(prompts.messages[0].kind, Prompts::Kind::Error);
    EXPECT_TRUE(prompts.messages[0].text.startsWith(QStringLiteral("E/A-Fehler")))
        << prompts.messages[0].text.toStdString();
    EXPECT_FALSE(form.Timer2->isActive());
    EXPECT_EQ(form.ShownFile, QStringLiteral("a.jpg"));
}

TEST_F(SeriesTest, LeftoverSeriesCopiesGoWhenPicturesAreOpened) {
    WriteTestPicture(form.TempFolder + QStringLiteral("alt.jpg"));
    WriteTestPicture(Source(QStringLiteral("neu.jpg")));
    OpenSeries(Source(QStringLiteral("neu.jpg")));
    EXPECT_EQ(FilesIn(form.TempFolder), QStringList{QStringLiteral("neu.jpg")});
}

} // namespace
