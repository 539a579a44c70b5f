// The operations panel: its pictures, their cursors, clicks and the enabled state they follow.
#include "OperationsPanel.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

int Clicks(TOperationPicture* picture) {
    QSignalSpy clicks(picture, &TOperationPicture::Clicked);
    QTest::mouseClick(picture, Qt::LeftButton, Qt::NoModifier, QPoint(60, 10));
    return int(clicks.count());
}

TEST(OperationsPanel, HoldsEveryPictureAtItsPlace) {
    TOperationsPanel panel;
    struct Case {
        const char* name;
        int top;
        const char* label;
        bool heading;
    };
    const Case cases[] = {
        {"Image2", 8, "Bildrotation", true},
        {"Image3", 30, "Bild nach links drehen", false},
        {"Image7", 115, "Bild horizontal spiegeln", false},
        {"Image8", 140, "Bildmanipulation", true},
        {"Image10", 185, "Größe verändern", false},
        {"Image12", 229, "Automatisch verbessern", false},
        {"Image13", 255, "Bildeffekte", true},
        {"Image16", 322, "Schärfer / Weichzeichner", false},
        {"Image18", 370, "Zusatzfunktionen", true},
        {"Image20", 415, "Stapelbearbeitung", false},
        {"UndoImage", 445, "Bearbeitung rückgängig", false},
    };
    for (const Case& c : cases) {
        TOperationPicture* picture = panel.Picture(QString::fromLatin1(c.name));
        ASSERT_NE(picture, nullptr) << c.name;
        EXPECT_EQ(picture->geometry().topLeft(), QPoint(7, c.top)) << c.name;
        EXPECT_EQ(picture->width(), 148) << c.name;
        EXPECT_EQ(picture->Label(), QString::fromUtf8(c.label)) << c.name;
        EXPECT_EQ(picture->PictureKind() == TOperationPicture::Kind::Heading, c.heading) << c.name;
        EXPECT_EQ(picture->cursor().shape(), c.heading ? Qt::ForbiddenCursor : Qt::PointingHandCursor)
            << c.name;
    }
    for (int n = 2; n <= 20; ++n)
        EXPECT_NE(panel.Picture(QStringLiteral("Image%1").arg(n)), nullptr) << n;
    EXPECT_EQ(panel.findChild<QWidget*>(QStringLiteral("SelectVariablesPanel")),
              panel.SelectVariablesPanel());
    EXPECT_EQ(panel.width(), 170);
}

TEST(OperationsPanel, ButtonsFollowThePanelAndHeadingsNeverReact) {
    TOperationsPanel panel;
    panel.show();
    panel.setEnabled(false);
    panel.EffectsPanelEnter();
    TOperationPicture* rotate = panel.Picture(QStringLiteral("Image3"));
    const QImage disabledLook = rotate->grab().toImage();
    EXPECT_EQ(Clicks(rotate), 0);

    panel.setEnabled(true);
    panel.EffectsPanelEnter();
    EXPECT_EQ(Clicks(rotate), 1);
    EXPECT_NE(rotate->grab().toImage(), disabledLook);
    for (const char* heading : {"Image2", "Image8", "Image13", "Image18"})
        EXPECT_EQ(Clicks(panel.Picture(QString::fromLatin1(heading))), 0) << heading;

    // The undo picture follows the undo history, not the panel.
    TOperationPicture* undo = panel.Picture(QStringLiteral("UndoImage"));
    undo->setEnabled(false);
    panel.EffectsPanelEnter();
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_EQ(Clicks(undo), 0);
}

} // namespace
