// Saving the current picture and the series: the proposed names, the formats written, the
// file-exists prompt, the save offer before closing, and what a failed save tells the user.
#include "Codecs.h"
#include "FakePrompts.h"
#include "LEADImage.h"
#include "SeriesFixtures.h"
#include "TempDir.h"
#include "fMain.h"
#include "fWizardSave.h"
#include "fWizardSave2.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProgressBar>
#include <QStatusBar>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

#include <functional>

namespace {

void WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

// One answer of the file-exists prompt: optionally tick "Alle Bilder", then close it with result.
// The prompt is shown for real meanwhile, so its reset at showing takes part.
struct Answer {
    bool tickAll;
    int result;
};

class SaveTest : public MainWindowTest {
protected:
    QString Target(const QString& name) const { return target.File(name); }
    QString Copy(const QString& name) const { return form.TempFolder + name; }

    void OpenSeries(const QString& chosen) {
        prompts.openAnswers.enqueue({chosen});
        form.OpenSpeedButtonClick();
        form.Timer2Timer();
        prompts.messages.clear();
        prompts.fileRequests.clear();
        statusTexts.clear();
    }

    void ScriptReplace(const QList<Answer>& answers) {
        for (const Answer& answer : answers)
            prompts.dialogSteps.enqueue([this, answer](QDialog* dialog) {
                auto* prompt = qobject_cast<TSaveWizzard2*>(dialog);
                EXPECT_NE(prompt, nullptr);
                if (!prompt)
                    return int(QDialog::Rejected);
                prompt->show();
                questions.append(prompt->Info());
                allOffered.append(!prompt->AskForSaveCheckBox->isHidden());
                if (answer.tickAll)
                    prompt->AskForSaveCheckBox->setChecked(true);
                prompt->hide();
                return answer.result;
            });
    }

    QString Question(const QString& file) const {
        return QStringLiteral("Bild ") + file +
               QStringLiteral(" exitiert bereits.\rMöchten Sie es ersetzen?");
    }

    TempDir target;
    QStringList questions;
    QList<bool> allOffered;
};

TEST_F(SaveTest, TheCurrentPictureIsProposedUnderItsSourceNameAndWrittenInItsFormat) {
    // The dialog as designed, before either save has set it.
    EXPECT_EQ(form.SaveDialog2.caption, QStringLiteral("Alle Bilder in einen Ordner speichern"));
    EXPECT_EQ(form.SaveDialog2.fileName,
              QStringLiteral("Bitte wählen Sie einen Ordner in welchen alle Bilder gespeichert werden!"));
    EXPECT_EQ(form.SaveDialog2.filter, QStringLiteral("ORDNER (*.Ordner)"));
    EXPECT_EQ(form.SaveDialog2.defaultSuffix, QStringLiteral("jpg"));

    WriteTestPicture(Source(QStringLiteral("foto.tif")));
    OpenSeries(Source(QStringLiteral("foto.tif")));
    // An edit: the series copy holds a new picture and is the current file.
    WriteTestPicture(Copy(QStringLiteral("foto_tiff.jpg")), 32, 24);
    form.CurrentFile = Copy(QStringLiteral("foto_tiff.jpg"));
    form.Changed = true;

    prompts.saveAnswers.enqueue(Target(QStringLiteral("foto.tif")));
    form.SaveSpeedButton->click();

    ASSERT_EQ(prompts.fileRequests.size(), 1);
    const Prompts::FileRequest& request = prompts.fileRequests[0];
    EXPECT_EQ(request.caption, QStringLiteral("Bild speichern"));
    EXPECT_EQ(request.fileName, QStringLiteral("foto.tif"));
    EXPECT_EQ(request.filter, QStringLiteral("Alle Bilddateien (*.jpg *.jpeg *.bmp *.tif *.tiff *.gif "
                                             "*.JPG *.JPEG *.BMP *.TIF *.TIFF *.GIF)"));
    EXPECT_EQ(request.defaultSuffix, QStringLiteral("jpg"));
    const Codecs::LoadedPicture tiff = Codecs::ReadPicture(Target(QStringLiteral("foto.tif")));
    EXPECT_EQ(tiff.info.format, Codecs::kFormatTifLzw);
    EXPECT_EQ(tiff.image.size(), QSize(32, 24));
    EXPECT_FALSE(form.Changed);
    ASSERT_EQ(prompts.messages.size(), 1);
    EXPECT_EQ(prompts.messages[0].kind, Prompts::Kind::Information);
    EXPECT_EQ(prompts.messages[0].text, QStringLiteral("Bild wurde gespeichert!"));

    // The menu item saves too; the dialog starts in the folder chosen before, and a JPEG name
    // gets the series copy byte for byte.
    prompts.saveAnswers.enqueue(Target(QStringLiteral("foto.jpg")));
    form.Bilderspeichern1->trigger();
    ASSERT_EQ(prompts.fileRequests.size(), 2);
    EXPECT_EQ(prompts.fileRequests[1].fileName, Target(QStringLiteral("foto.tif")));
    EXPECT_EQ(FileBytes(Target(QStringLiteral("foto.jpg"))),
              FileBytes(Copy(QStringLiteral("foto_tiff.jpg"))));
    EXPECT_TRUE(prompts.dialogsShown.isEmpty());
}

TEST_F(SaveTest, TheCurrentPictureReplacesAnExistingFileOnlyAfterSpeichern) {
    WriteTestPicture(Source(QStringLiteral("foto.jpg")));
    OpenSeries(Source(QStringLiteral("foto.jpg")));
    const QByteArray old("alt");
    struct Case {
        int answer;
        bool replaced;
    } cases[] = {{QDialog::Rejected, false}, {QDialog::Accepted, true}};
    for (const Case& c : cases) {
        WriteBytes(Target(QStringLiteral("foto.jpg")), old);
        form.Changed = true;
        prompts.messages.clear();
        questions.clear();
        allOffered.clear();
        ScriptReplace({{false, c.answer}});
        prompts.saveAnswers.enqueue(Target(QStringLiteral("foto.jpg")));
        form.SaveCurrent();

        EXPECT_EQ(questions, QStringList{Question(Target(QStringLiteral("foto.jpg")))});
        EXPECT_EQ(allOffered, QList<bool>{false}); // one picture: no "Alle Bilder"
        EXPECT_EQ(FileBytes(Target(QStringLiteral("foto.jpg"))),
                  c.replaced ? FileBytes(Copy(QStringLiteral("foto.jpg"))) : old);
        EXPECT_EQ(form.Changed, !c.replaced);
        EXPECT_EQ(prompts.Texts(),
                  c.replaced ? QStringList{QStringLiteral("Bild wurde gespeichert!")} : QStringList());
    }
}

TEST_F(SaveTest, TheSeriesIsWrittenInItsSourceFormatsWhileTheViewKeepsTheCurrentPicture) {
    WriteTestPicture(Source(QStringLiteral("a.jpg")), 64, 48);
    WriteTestPicture(Source(QStringLiteral("b.tif")), 40, 30);
    WriteTestPicture(Source(QStringLiteral("c.gif")), 20, 10);
    OpenSeries(Source(QStringLiteral("a.jpg")));
    form.Changed = true;

    prompts.saveAnswers.enqueue(Target(QStringLiteral("egal.jpg")));
    form.Save_All_SpeedButton->click();

    ASSERT_EQ(prompts.fileRequests.size(), 1);
    EXPECT_EQ(prompts.fileRequests[0].caption, QStringLiteral("Alle Bilder in einen Ordner speichern"));
    EXPECT_EQ(prompts.fileRequests[0].fileName,
              QStringLiteral("Bitte wählen Sie den Ordner in welchen die Bilder gespeichert werden!"));
    EXPECT_EQ(FilesIn(target.Path()), (QStringList{"a.jpg", "b.tif", "c.gif"}));
    EXPECT_EQ(FileBytes(Target(QStringLiteral("a.jpg"))), FileBytes(Copy(QStringLiteral("a.jpg"))));
    const Codecs::LoadedPicture tiff = Codecs::ReadPicture(Target(QStringLiteral("b.tif")));
    EXPECT_EQ(tiff.info.format, Codecs::kFormatTifLzw);
    EXPECT_EQ(tiff.image.size(), QSize(40, 30));
    const Codecs::LoadedPicture gif = Codecs::ReadPicture(Target(QStringLiteral("c.gif")));
    EXPECT_EQ(gif.info.format, Codecs::kFormatGif);
    EXPECT_EQ(gif.info.bits, 8);
    EXPECT_EQ(gif.image.size(), QSize(20, 10));

    EXPECT_EQ(form.ShownFile, QStringLiteral("a.jpg"));
    EXPECT_EQ(form.ViewLEADImage->BitmapWidth(), 64);
    EXPECT_EQ(form.ViewLEADImage->BitmapHeight(), 48);

    // Five entries with "." and "..", so the percentage stays below 100.
    EXPECT_EQ(statusTexts.mid(0, 3), (QStringList{"Datei speichern: a.jpg  20 %  Bitte warten...",
                                                  "Datei speichern: b.tif  40 %  Bitte warten...",
                                                  "Datei speichern: c.gif  60 %  Bitte warten..."}));
    EXPECT_TRUE(form.StatusBar1->currentMessage().isEmpty());
    EXPECT_TRUE(form.PicProgressBar->isHidden());
    EXPECT_EQ(form.FileTotal, 0);
    EXPECT_EQ(form.FileDone, 0);
    EXPECT_FALSE(form.Changed);
    EXPECT_EQ(prompts.Texts(), QStringList{QStringLiteral("Alle Bilder wurde gespeichert!")});
    EXPECT_TRUE(prompts.dialogsShown.isEmpty());
}

TEST_F(SaveTest, ExistingFilesOfTheSeriesAreReplacedAsTheAnswersSay) {
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg"})
        WriteTestPicture(Source(QString::fromLatin1(name)));
    OpenSeries(Source(QStringLiteral("a.jpg")));
    const QByteArray old("alt");
    const QString a = Target(QStringLiteral("a.jpg"));
    const QString b = Target(QStringLiteral("b.jpg"));

    struct Case {
        const char* what;
        QList<Answer> answers;
        int questions;
        bool aReplaced, bReplaced;
    } cases[] = {
        {"asked each time", {{false, QDialog::Accepted}, {false, QDialog::Accepted}}, 2, true, true},
        {"Alle Bilder, Speichern", {{true, QDialog::Accepted}}, 1, true, true},
        {"Alle Bilder, Abbrechen", {{true, QDialog::Rejected}}, 1, false, true},
        {"Abbrechen twice", {{false, QDialog::Rejected}, {false, QDialog::Rejected}}, 2, false, false},
    };
    for (const Case& c : cases) {
        for (const char* name : {"a.jpg", "b.jpg", "c.jpg"})
            QFile::remove(Target(QString::fromLatin1(name)));
        WriteBytes(a, old);
        WriteBytes(b, old);
        form.Changed = true;
        prompts.messages.clear();
        prompts.dialogSteps.clear();
        questions.clear();
        allOffered.clear();
        ScriptReplace(c.answers);
        prompts.saveAnswers.enqueue(Target(QStringLiteral("ordner.jpg")));
        form.SaveSeries();

        ASSERT_EQ(questions.size(), c.questions) << c.what;
        EXPECT_EQ(questions[0], Question(a)) << c.what;
        if (c.questions == 2) {
            EXPECT_EQ(questions[1], Question(b)) << c.what;
        }
        EXPECT_FALSE(allOffered.contains(false)) << c.what;
        EXPECT_EQ(FileBytes(a), c.aReplaced ? FileBytes(Copy(QStringLiteral("a.jpg"))) : old) << c.what;
        EXPECT_EQ(FileBytes(b), c.bReplaced ? FileBytes(Copy(QStringLiteral("b.jpg"))) : old) << c.what;
        EXPECT_EQ(FileBytes(Target(QStringLiteral("c.jpg"))), FileBytes(Copy(QStringLiteral("c.jpg"))))
            << c.what;
        // Skipped files are the user's choice, not a failure.
        EXPECT_FALSE(form.Changed) << c.what;
        EXPECT_EQ(prompts.Texts(), QStringList{QStringLiteral("Alle Bilder wurde gespeichert!")}) << c.what;
    }
}

TEST_F(SaveTest, TheSaveOfferSavesTheSeriesOnlyAfterSpeichern) {
    WriteTestPicture(Source(QStringLiteral("a.jpg")));
    OpenSeries(Source(QStringLiteral("a.jpg")));

    // Nothing changed: no offer.
    form.OfferSave();
    EXPECT_TRUE(prompts.dialogsShown.isEmpty());

    form.Changed = true;
    prompts.dialogSteps.enqueue([](QDialog*) { return int(QDialog::Rejected); });
    form.OfferSave();
    ASSERT_EQ(prompts.dialogsShown.size(), 1);
    EXPECT_EQ(prompts.dialogsShown[0], form.SaveWizzard);
    EXPECT_TRUE(prompts.fileRequests.isEmpty());
    EXPECT_TRUE(form.Changed);

    prompts.dialogSteps.enqueue([](QDialog*) { return int(QDialog::Accepted); });
    prompts.saveAnswers.enqueue(Target(QStringLiteral("ordner.jpg")));
    form.OfferSave();
    ASSERT_EQ(prompts.fileRequests.size(), 1);
    EXPECT_EQ(prompts.fileRequests[0].caption, QStringLiteral("Alle Bilder in einen Ordner speichern"));
    EXPECT_EQ(FilesIn(target.Path()), QStringList{QStringLiteral("a.jpg")});
    EXPECT_FALSE(form.Changed);
}

TEST_F(SaveTest, ClosingWithNichtSpeichernSavesNothingAndClearsTheWorkingFiles) {
    WriteTestPicture(Source(QStringLiteral("a.jpg")));
    OpenSeries(Source(QStringLiteral("a.jpg")));
    for (const char* name : {"Temp.jpg", "UNDO_1.jpg", "UNDO_2.jpg"})
        WriteTestPicture(form.ProgramFolder + QLatin1String(name));
    form.Changed = true;
    prompts.dialogSteps.enqueue([](QDialog*) { return int(QDialog::Rejected); });

    form.close();

    EXPECT_EQ(prompts.dialogsShown, QList<QDialog*>{form.SaveWizzard});
    EXPECT_TRUE(prompts.fileRequests.isEmpty());
    EXPECT_TRUE(prompts.messages.isEmpty());
    for (const char* name : {"Temp.jpg", "UNDO_1.jpg", "UNDO_2.jpg"})
        EXPECT_FALSE(QFile::exists(form.ProgramFolder + QLatin1String(name))) << name;
    // The edits stay in the temp folder until the next opening.
    EXPECT_TRUE(QFile::exists(Copy(QStringLiteral("a.jpg"))));
}

TEST_F(SaveTest, AFailedWriteIsReportedAndTheEditsStayUnsaved) {
    WriteTestPicture(Source(QStringLiteral("foto.tif")));
    OpenSeries(Source(QStringLiteral("foto.tif")));
    QFile::setPermissions(target.Path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const bool writable = QFileInfo(target.Path()).isWritable();
    if (writable) {
        QFile::setPermissions(target.Path(),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        GTEST_SKIP() << "a read-only folder stays writable for this user";
    }
    for (const char* name : {"foto.tif", "foto.jpg"}) {
        const QString file = Target(QString::fromLatin1(name));
        form.Changed = true;
        prompts.messages.clear();
        prompts.saveAnswers.enqueue(file);
        form.SaveCurrent();
        ASSERT_EQ(prompts.messages.size(), 1) << name;
        EXPECT_EQ(prompts.messages[0].kind, Prompts::Kind::Error) << name;
        EXPECT_TRUE(prompts.messages[0].text.startsWith(
            QStringLiteral("Das Bild \"%1\" konnte nicht gespeichert werden.\n").arg(file)))
            << prompts.messages[0].text.toStdString();
        EXPECT_TRUE(form.Changed) << name;
        EXPECT_FALSE(QFile::exists(file)) << name;
    }
    QFile::setPermissions(target.Path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

TEST_F(SaveTest, ASeriesPictureThatCannotBeWrittenIsNamedAndTheOthersAreWritten) {
    for (const char* name : {"a.jpg", "b.tif", "c.gif", "d.bmp"})
        WriteTestPicture(Source(QString::fromLatin1(name)));
    OpenSeries(Source(QStringLiteral("a.jpg")));
    // b.tif cannot be written where a folder has its name; the series copy of c.gif is damaged,
    // so its conversion fails and the user's c.gif must survive unchanged.
    QDir().mkpath(Target(QStringLiteral("b.tif")));
    const QByteArray oldGif = FileBytes(Source(QStringLiteral("c.gif")));
    WriteBytes(Target(QStringLiteral("c.gif")), oldGif);
    WriteBytes(Copy(QStringLiteral("c_gif.jpg")), "kein Bild");
    form.Changed = true;
    ScriptReplace({{true, QDialog::Accepted}});
    prompts.saveAnswers.enqueue(Target(QStringLiteral("ordner.jpg")));

    form.SaveSeries();

    EXPECT_EQ(FileBytes(Target(QStringLiteral("a.jpg"))), FileBytes(Copy(QStringLiteral("a.jpg"))));
    EXPECT_EQ(Codecs::ReadPicture(Target(QStringLiteral("d.bmp"))).info.format, Codecs::kFormatBmp);
    EXPECT_TRUE(QFileInfo(Target(QStringLiteral("b.tif"))).isDir());
    EXPECT_EQ(FileBytes(Target(QStringLiteral("c.gif"))), oldGif);
    EXPECT_EQ(FilesIn(target.Path()), (QStringList{"a.jpg", "c.gif", "d.bmp"})); // no temporary left
    EXPECT_TRUE(form.Changed);
    ASSERT_EQ(prompts.messages.size(), 1);
    const QString text = prompts.messages[0].text;
    EXPECT_EQ(prompts.messages[0].kind, Prompts::Kind::Error);
    EXPECT_TRUE(text.startsWith(QStringLiteral("2 von 4 Bildern konnten nicht gespeichert werden:\n\n")))
        << text.toStdString();
    for (const char* name : {"b.tif", "c.gif"})
        EXPECT_TRUE(text.contains(QStringLiteral("Das Bild \"%1\" konnte nicht gespeichert werden.")
                                      .arg(Target(QString::fromLatin1(name)))))
            << name;
    EXPECT_FALSE(text.contains(Target(QStringLiteral("a.jpg"))));
    EXPECT_TRUE(form.PicProgressBar->isHidden());
    EXPECT_EQ(form.FileTotal, 0);
}

TEST_F(SaveTest, WhatCannotBeSavedIsWarnedAboutAndNothingIsWritten) {
    WriteTestPicture(Source(QStringLiteral("foto.tif")));
    OpenSeries(Source(QStringLiteral("foto.tif")));
    struct Case {
        const char* chosen;
        bool copyMissing;
        const char* warning;
    } cases[] = {
        {"foto.png", false,
         "Bitte wählen Sie einen Namen mit der Endung .jpg, .jpeg, .tif, .tiff, .bmp oder .gif."},
        {"foto.tif", true, "Seine bearbeitete Kopie"},
    };
    for (const Case& c : cases) {
        const QString file = Target(QString::fromLatin1(c.chosen));
        if (c.copyMissing)
            QFile::remove(Copy(QStringLiteral("foto_tiff.jpg")));
        WriteBytes(file, "alt");
        form.Changed = true;
        prompts.messages.clear();
        prompts.dialogsShown.clear();
        prompts.saveAnswers.enqueue(file);
        form.SaveCurrent();

        ASSERT_EQ(prompts.messages.size(), 1) << c.chosen;
        EXPECT_EQ(prompts.messages[0].kind, Prompts::Kind::Warning) << c.chosen;
        const QString text = prompts.messages[0].text;
        EXPECT_TRUE(text.startsWith(QStringLiteral("Das Bild \"%1\" wurde nicht gespeichert: ").arg(file)))
            << text.toStdString();
        EXPECT_TRUE(text.contains(QString::fromUtf8(c.warning))) << text.toStdString();
        // Nobody is asked to replace a file that would not be written.
        EXPECT_TRUE(prompts.dialogsShown.isEmpty()) << c.chosen;
        EXPECT_EQ(FileBytes(file), QByteArray("alt")) << c.chosen;
        EXPECT_TRUE(form.Changed) << c.chosen;
    }
}

} // namespace
