// The two prompts of saving: their face, the "Alle Bilder" hook and the result of every way out.
#include "Prompts.h"
#include "TempDir.h"
#include "fWizardSave.h"
#include "fWizardSave2.h"

#include <QCheckBox>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QList>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

// A program folder whose recom/ holds the side picture, in a colour the test can recognise.
class SavePromptTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(QDir().mkpath(program.File(QStringLiteral("recom"))));
        QImage side(95, 158, QImage::Format_RGB32);
        side.fill(QColor(0, 128, 255));
        ASSERT_TRUE(side.save(program.File(QStringLiteral("recom/save.jpg")), "JPG"));
    }

    QString Folder() const { return program.Path() + QStringLiteral("/"); }

    TempDir program;
};

struct PromptCase {
    const char* name;
    std::function<std::unique_ptr<TSavePrompt>(const QString&)> make;
    const char* abortCaption;
};

const PromptCase kPrompts[] = {
    {"TSaveWizzard", [](const QString& folder) { return std::make_unique<TSaveWizzard>(folder); },
     "Nicht speichern"},
    {"TSaveWizzard2", [](const QString& folder) { return std::make_unique<TSaveWizzard2>(folder); },
     "Abbrechen"},
};

template <typename T> T* Child(QWidget* dialog, const char* name) {
    T* child = dialog->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(child, nullptr) << name;
    return child;
}

TEST_F(SavePromptTest, BothPromptsShareTheFrame) {
    for (const PromptCase& prompt : kPrompts) {
        SCOPED_TRACE(prompt.name);
        const auto dialog = prompt.make(Folder());
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Bilder speichern?"));
        EXPECT_EQ(dialog->size(), QSize(475, 224));
        EXPECT_EQ(dialog->minimumSize(), QSize(475, 224));
        EXPECT_EQ(dialog->maximumSize(), QSize(475, 224));

        const Qt::WindowFlags flags = dialog->windowFlags();
        EXPECT_EQ(dialog->windowType(), Qt::Tool);
        EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
        EXPECT_TRUE(flags.testFlag(Qt::WindowTitleHint));
        for (Qt::WindowType unwanted :
             {Qt::WindowMinimizeButtonHint, Qt::WindowMaximizeButtonHint, Qt::WindowContextHelpButtonHint})
            EXPECT_FALSE(flags.testFlag(unwanted)) << unwanted;

        QLabel* image = Child<QLabel>(dialog.get(), "Image1");
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(image->geometry(), QRect(8, 8, 95, 158));
        const QImage shown = image->pixmap().toImage();
        ASSERT_EQ(shown.size(), QSize(95, 158));
        const QColor middle = shown.pixelColor(47, 79);
        EXPECT_NEAR(middle.blue(), 255, 8);
        EXPECT_NEAR(middle.red(), 0, 8);

        QLabel* heading = Child<QLabel>(dialog.get(), "Label1");
        ASSERT_NE(heading, nullptr);
        EXPECT_EQ(heading->text(), QStringLiteral("ACHTUNG:"));
        EXPECT_EQ(heading->font().family(), QStringLiteral("Liberation Sans"));
        EXPECT_EQ(heading->font().pixelSize(), 21);
        EXPECT_TRUE(heading->font().bold());

        QPushButton* save = Child<QPushButton>(dialog.get(), "SaveBitBtn");
        QPushButton* abort = Child<QPushButton>(dialog.get(), "AbortBitBtn");
        ASSERT_TRUE(save && abort);
        EXPECT_EQ(save->text(), QStringLiteral("Speichern"));
        EXPECT_EQ(abort->text(), QString::fromUtf8(prompt.abortCaption));
        for (QWidget* control : dialog->findChildren<QWidget*>())
            EXPECT_TRUE(dialog->rect().contains(control->geometry())) << control->objectName().toStdString();
    }
}

TEST_F(SavePromptTest, AMissingSidePictureLeavesThePlaceEmpty) {
    ASSERT_TRUE(QFile::remove(program.File(QStringLiteral("recom/save.jpg"))));
    for (const PromptCase& prompt : kPrompts) {
        SCOPED_TRACE(prompt.name);
        const auto dialog = prompt.make(Folder());
        QLabel* image = Child<QLabel>(dialog.get(), "Image1");
        ASSERT_NE(image, nullptr);
        EXPECT_TRUE(image->pixmap().isNull());
    }
}

TEST_F(SavePromptTest, TheUnsavedChangesPromptAsksWhatToDo) {
    TSaveWizzard dialog(Folder());
    QLabel* notSaved = Child<QLabel>(&dialog, "Label3");
    QLabel* question = Child<QLabel>(&dialog, "Label2");
    ASSERT_TRUE(notSaved && question);
    EXPECT_EQ(notSaved->text(), QStringLiteral("Sie haben die bearbeiteten Bilder noch nicht gespeichert!"));
    EXPECT_EQ(question->text(), QStringLiteral("Was wollen Sie tun?"));
    EXPECT_EQ(dialog.findChild<QCheckBox*>(), nullptr);
}

TEST_F(SavePromptTest, TheFileExistsPromptShowsTheCallersQuestion) {
    TSaveWizzard2 dialog(Folder());
    QLabel* info = Child<QLabel>(&dialog, "InfoLabel");
    QCheckBox* all = Child<QCheckBox>(&dialog, "AskForSaveCheckBox");
    ASSERT_TRUE(info && all);
    EXPECT_EQ(info->size(), QSize(337, 57));
    EXPECT_TRUE(info->wordWrap());
    EXPECT_EQ(all->text(), QStringLiteral("Alle Bilder"));
    EXPECT_FALSE(all->isChecked());

    const QString text =
        QStringLiteral("Bild /tmp/<b>ziel</b>/foto.jpg exitiert bereits.\rMöchten Sie es ersetzen?");
    dialog.SetInfo(text);
    EXPECT_EQ(dialog.Info(), text);
    EXPECT_EQ(info->text().toStdString(),
              "Bild /tmp/<b>ziel</b>/foto.jpg exitiert bereits.\nMöchten Sie es ersetzen?");
    EXPECT_EQ(info->textFormat(), Qt::PlainText);
    dialog.SetInfo(QStringLiteral("eins\r\nzwei"));
    EXPECT_EQ(info->text().toStdString(), "eins\nzwei");

    dialog.SetAskForAllVisible(false);
    EXPECT_TRUE(all->isHidden());
    dialog.SetAskForAllVisible(true);
    dialog.show();
    EXPECT_TRUE(all->isVisible());
    dialog.SetAskForAllVisible(false);
    EXPECT_FALSE(all->isVisible());
}

TEST_F(SavePromptTest, TheTickReportsTheOppositeAtOnceAndClearsAtEveryShowing) {
    TSaveWizzard2 dialog(Folder());
    QList<bool> asked;
    QObject::connect(&dialog, &TSaveWizzard2::AskBeforeReplaceChanged, [&](bool ask) { asked.append(ask); });

    // Without ever being shown, as a scripted test step works it.
    dialog.AskForSaveCheckBox->setChecked(true);
    EXPECT_EQ(asked, QList<bool>{false});
    dialog.AskForSaveCheckBox->setChecked(false);
    EXPECT_EQ(asked, (QList<bool>{false, true}));

    dialog.show();
    QTest::mouseClick(dialog.AskForSaveCheckBox, Qt::LeftButton);
    EXPECT_TRUE(dialog.AskForSaveCheckBox->isChecked());
    EXPECT_EQ(asked.last(), false);
    dialog.hide();
    EXPECT_TRUE(dialog.AskForSaveCheckBox->isChecked()) << "the tick stays until the next showing";

    dialog.show();
    EXPECT_FALSE(dialog.AskForSaveCheckBox->isChecked());
    EXPECT_EQ(asked.last(), true);
}

TEST_F(SavePromptTest, EveryWayOutGivesItsResult) {
    enum class Way { Save, Abort, Escape, CloseBox };
    const struct {
        const char* name;
        Way way;
        int result;
    } ways[] = {
        {"Speichern", Way::Save, QDialog::Accepted},
        {"abort button", Way::Abort, QDialog::Rejected},
        {"Escape", Way::Escape, QDialog::Rejected},
        {"close box", Way::CloseBox, QDialog::Rejected},
    };
    for (const PromptCase& prompt : kPrompts) {
        for (const auto& way : ways) {
            SCOPED_TRACE(std::string(prompt.name) + ", " + way.name);
            const auto dialog = prompt.make(Folder());
            QSignalSpy finished(dialog.get(), &QDialog::finished);
            dialog->show();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
            switch (way.way) {
            case Way::Save:
                QTest::mouseClick(dialog->SaveBitBtn, Qt::LeftButton);
                break;
            case Way::Abort:
                QTest::mouseClick(dialog->AbortBitBtn, Qt::LeftButton);
                break;
            case Way::Escape:
                // With the focus on a button, as when the user has just tabbed to it.
                dialog->SaveBitBtn->setFocus();
                QTest::keyClick(dialog->SaveBitBtn, Qt::Key_Escape);
                break;
            case Way::CloseBox:
                EXPECT_TRUE(dialog->close());
                break;
            }
            ASSERT_EQ(finished.count(), 1);
            EXPECT_EQ(finished.first().first().toInt(), way.result);
            EXPECT_EQ(dialog->result(), way.result);
            EXPECT_FALSE(dialog->isVisible());
        }
    }
}

TEST_F(SavePromptTest, ShownModallyTheTickHoldsWhicheverButtonCloses) {
    const struct {
        bool save;
        int result;
    } answers[] = {{true, QDialog::Accepted}, {false, QDialog::Rejected}};
    QtPrompts prompts;
    for (const auto& answer : answers) {
        SCOPED_TRACE(answer.save ? "Speichern" : "Abbrechen");
        TSaveWizzard2 dialog(Folder());
        bool ask = true;
        QObject::connect(&dialog, &TSaveWizzard2::AskBeforeReplaceChanged, [&](bool value) { ask = value; });
        // A tick left over from an earlier question must not count.
        dialog.AskForSaveCheckBox->setChecked(true);
        bool wasClearedAtShowing = false;
        QTimer::singleShot(0, &dialog, [&] {
            wasClearedAtShowing = !dialog.AskForSaveCheckBox->isChecked();
            QTest::mouseClick(dialog.AskForSaveCheckBox, Qt::LeftButton);
            QTest::mouseClick(answer.save ? dialog.SaveBitBtn : dialog.AbortBitBtn, Qt::LeftButton);
        });
        EXPECT_EQ(prompts.ShowModal(&dialog), answer.result);
        EXPECT_TRUE(wasClearedAtShowing);
        EXPECT_FALSE(ask);
    }
}

TEST_F(SavePromptTest, EachShowingIsCentredOnTheScreen) {
    QWidget owner;
    owner.setGeometry(0, 0, 200, 150);
    owner.show();
    for (const PromptCase& prompt : kPrompts) {
        SCOPED_TRACE(prompt.name);
        auto dialog = prompt.make(Folder());
        dialog->setParent(&owner, dialog->windowFlags());
        for (int showing = 0; showing < 2; ++showing) {
            dialog->show();
            const QPoint centre = dialog->screen()->availableGeometry().center();
            EXPECT_LE((dialog->frameGeometry().center() - centre).manhattanLength(), 2);
            // Moved away between showings, as a user may drag it.
            dialog->hide();
            dialog->move(0, 0);
        }
    }
}

} // namespace
