// The general error display: an exception escaping an event handler becomes one error box with
// its text, and the program runs on.
#include "FakePrompts.h"
#include "KorvelleApplication.h"

#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <stdexcept>

namespace {

TEST(GeneralErrorDisplay, ShowsTheTextOfAnEscapingErrorAndRunsOn) {
    auto* app = dynamic_cast<KorvelleApplication*>(QCoreApplication::instance());
    ASSERT_NE(app, nullptr);
    FakePrompts prompts;
    app->SetPrompts(&prompts);

    QPushButton button(QStringLiteral("Speichern"));
    button.show();
    int clicks = 0;
    QObject::connect(&button, &QPushButton::clicked, [&] {
        if (++clicks == 1)
            throw std::runtime_error("ViewLEADImage \nSave: Image not allocated.");
    });
    QTest::mouseClick(&button, Qt::LeftButton);
    QTest::mouseClick(&button, Qt::LeftButton);
    app->SetPrompts(nullptr);

    EXPECT_EQ(clicks, 2);
    ASSERT_EQ(prompts.messages.size(), 1);
    EXPECT_EQ(prompts.messages[0].kind, Prompts::Kind::Error);
    EXPECT_EQ(prompts.messages[0].text, QStringLiteral("ViewLEADImage \nSave: Image not allocated."));
}

TEST(FakePromptsAnswers, UnscriptedQuestionsGetTheFirstButtonAndCancelledDialogs) {
    FakePrompts prompts;
    EXPECT_EQ(prompts.Message(Prompts::Kind::Question, QStringLiteral("?"), QString(),
                              QMessageBox::Yes | QMessageBox::No),
              QMessageBox::Yes);
    prompts.messageAnswers.enqueue(QMessageBox::No);
    EXPECT_EQ(prompts.Message(Prompts::Kind::Question, QStringLiteral("?"), QString(),
                              QMessageBox::Yes | QMessageBox::No),
              QMessageBox::No);
    EXPECT_TRUE(prompts.SaveFile(nullptr, {}).isEmpty());
    EXPECT_EQ(prompts.Texts(), QStringList({QStringLiteral("?"), QStringLiteral("?")}));
}

} // namespace
