// The main window's start-up and closing on a temporary program folder.
#include "FakePrompts.h"
#include "OperationsPanel.h"
#include "TempDir.h"
#include "fMain.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

void Touch(const QString& path) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write("x");
}

TEST(MainFormStartUp, PreparesTheWorkspaceAndDisablesTheEditingCommands) {
    TempDir program;
    FakePrompts prompts;
    QDir().mkpath(program.File(QStringLiteral("thumb")));
    QDir().mkpath(program.File(QStringLiteral("temp")));
    Touch(program.File(QStringLiteral("thumb/_THUMB_1alt.jpg")));
    Touch(program.File(QStringLiteral("thumb/.versteckt")));
    Touch(program.File(QStringLiteral("temp/alt.jpg")));

    TMainForm form(program.Path(), {}, prompts);
    EXPECT_EQ(form.ProgramFolder, program.Path() + QStringLiteral("/"));
    EXPECT_EQ(form.TempFolder, form.ProgramFolder + QStringLiteral("temp/"));
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Korvelle"));
    EXPECT_TRUE(QDir(form.ThumbFolder).entryList(QDir::Files | QDir::Hidden).isEmpty());
    EXPECT_TRUE(QFile::exists(form.TempFolder + QStringLiteral("alt.jpg"))); // kept until a series opens
    EXPECT_TRUE(prompts.messages.isEmpty());

    for (QMenu* menu : {form.Rotation1, form.Bildmanipulation1, form.Bildeffekte1, form.RoteAugenentfernen1,
                        form.Stapelbearbeitung1, form.EXIF1})
        EXPECT_FALSE(menu->isEnabled()) << menu->title().toStdString();
    EXPECT_FALSE(form.Bilderspeichern1->isEnabled());
    EXPECT_FALSE(form.Bearbeitungrckgnig1->isEnabled());
    EXPECT_TRUE(form.NureinBildffnen1->isEnabled());
    EXPECT_TRUE(form.Programmbeenden1->isEnabled());
    EXPECT_FALSE(form.SaveSpeedButton->isEnabled());
    EXPECT_TRUE(form.OpenSpeedButton->isEnabled());
    EXPECT_FALSE(form.EffectsPanel->Picture(QStringLiteral("Image3"))->isEnabled());
    EXPECT_FALSE(form.EffectsPanel->Picture(QStringLiteral("UndoImage"))->isEnabled());
    EXPECT_NE(form.findChild<QWidget*>(QStringLiteral("ViewLEADImage")), nullptr);
    EXPECT_NE(form.findChild<QWidget*>(QStringLiteral("ThumbLEADImage")), nullptr);
}

TEST(MainFormStartUp, TheFirstStartOpensInTheExamplesOnce) {
    TempDir program;
    FakePrompts prompts;
    {
        TMainForm first(program.Path(), {}, prompts);
        EXPECT_EQ(first.OpenDialogFolder, first.ProgramFolder + QStringLiteral("Beispiele/"));
        EXPECT_TRUE(QFile::exists(first.ProgramFolder + QStringLiteral("FirstStart.ini")));
    }
    TMainForm second(program.Path(), {}, prompts);
    EXPECT_TRUE(second.OpenDialogFolder.isEmpty());
}

TEST(MainFormStartUp, OnlyMasterShowsTheAspectRatioField) {
    TempDir program;
    FakePrompts prompts;
    for (auto [argument, shown] : {std::pair{"master", true}, {"Master", false}, {"", false}}) {
        const QStringList arguments = *argument ? QStringList{QString::fromLatin1(argument)} : QStringList{};
        TMainForm form(program.Path(), arguments, prompts);
        EXPECT_EQ(form.RunMode, QString::fromLatin1(argument));
        EXPECT_EQ(form.SeitenvhEdit->isVisibleTo(form.ZuschneidenPanel), shown) << argument;
    }
}

TEST(MainFormStartUp, AFolderThatCannotBeMadeIsReported) {
    TempDir program;
    FakePrompts prompts;
    Touch(program.File(QStringLiteral("temp"))); // a file where the folder should be
    TMainForm form(program.Path(), {}, prompts);
    EXPECT_TRUE(form.WorkspaceFailed);
    ASSERT_EQ(prompts.messages.size(), 1);
    EXPECT_EQ(prompts.messages[0].kind, Prompts::Kind::Error);
    EXPECT_TRUE(prompts.messages[0].text.contains(form.TempFolder));
    EXPECT_NE(form.windowTitle(), QStringLiteral("Korvelle")); // the later steps are skipped
}

TEST(MainFormClosing, RemovesTheWorkingFilesAndKeepsTheRest) {
    TempDir program;
    FakePrompts prompts;
    TMainForm form(program.Path(), {}, prompts);
    const QStringList removed = {"UNDO_1.jpg", "UNDO_12.jpg", "Temp.jpg", "prev.jpg", "Print.txt"};
    const QStringList kept = {"undo_3.jpg", "FirstStart.ini", "temp/a.jpg", "UNDO_1.png"};
    for (const QString& name : removed + kept)
        Touch(form.ProgramFolder + name);
    form.close();
    for (const QString& name : removed)
        EXPECT_FALSE(QFile::exists(form.ProgramFolder + name)) << name.toStdString();
    for (const QString& name : kept)
        EXPECT_TRUE(QFile::exists(form.ProgramFolder + name)) << name.toStdString();
}

} // namespace
