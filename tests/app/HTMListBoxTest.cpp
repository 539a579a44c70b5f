// The thumbnail list: entry strings, their drawing, selection and the click event.
#include "HTMListBox.h"
#include "Codecs.h"
#include "Pixels.h"
#include "TempDir.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

TEST(HTMListBoxEntry, SplitsTheImagePathFromThePlainCaption) {
    struct Case {
        const char* text;
        const char* path;
        const char* caption;
    };
    const Case cases[] = {
        {"<IMG src=\"file:///p/thumb/_THUMB_1a.jpg\" align=\"top\">a.jpg", "/p/thumb/_THUMB_1a.jpg", "a.jpg"},
        {"<IMG src=\"file:///p/Ä b/_THUMB_2c_tiff.jpg\" align=\"top\">c.tif", "/p/Ä b/_THUMB_2c_tiff.jpg",
         "c.tif"},
        {"<IMG src=\"file:///p/_THUMB_1x.jpg\" align=\"top\"><b>fett</b> & co.jpg", "/p/_THUMB_1x.jpg",
         "<b>fett</b> & co.jpg"}, // markup in a name stays text
        {"einfach.jpg", "", "einfach.jpg"},
    };
    for (const Case& c : cases) {
        const THTMEntry entry = ParseHTMEntry(QString::fromUtf8(c.text));
        EXPECT_EQ(entry.ImagePath, QString::fromUtf8(c.path)) << c.text;
        EXPECT_EQ(entry.Caption, QString::fromUtf8(c.caption)) << c.text;
    }
}

TEST(HTMListBox, DrawsTheThumbnailAtTheTopLeftOfItsEntry) {
    TempDir dir;
    QImage red = Pixels::NewBitmap(40, 30);
    red.fill(QColor(220, 0, 0));
    const QString thumb = dir.File(QStringLiteral("_THUMB_1rot.jpg"));
    Codecs::WritePicture(red, thumb, Codecs::kFormatJpeg422, 24, 2);

    THTMListBox list;
    list.resize(129, 200);
    list.AddItem(QStringLiteral("<IMG src=\"file://") + thumb + QStringLiteral("\" align=\"top\">rot.jpg"));
    list.AddItem(QStringLiteral("<IMG src=\"file://") + dir.File(QStringLiteral("fehlt.jpg")) +
                 QStringLiteral("\" align=\"top\">fehlt.jpg"));
    list.show();
    EXPECT_EQ(list.visualItemRect(list.item(0)).height(), 70);
    const QImage shot = list.grab().toImage();
    const QRect first = list.visualItemRect(list.item(0)).translated(list.viewport()->pos());
    const QColor corner = shot.pixelColor(first.topLeft() + QPoint(5, 5));
    EXPECT_GT(corner.red(), 180);
    EXPECT_LT(corner.green(), 40);
    // An entry whose thumbnail is missing is still listed, without a picture.
    EXPECT_EQ(list.Count(), 2);
}

TEST(HTMListBox, SelectionAndClicks) {
    THTMListBox list;
    list.resize(129, 300);
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg"})
        list.AddItem(QString::fromLatin1(name));
    list.show();
    list.SetSelected(0, true);
    list.SetSelected(2, true);
    EXPECT_TRUE(list.Selected(0) && !list.Selected(1) && list.Selected(2));
    list.SetItemIndex(1);
    EXPECT_EQ(list.ItemIndex(), 1);
    EXPECT_FALSE(list.Selected(1)); // setting the index alone selects nothing

    QSignalSpy clicks(&list, &THTMListBox::OnClick);
    QTest::mouseClick(list.viewport(), Qt::LeftButton, Qt::NoModifier,
                      list.visualItemRect(list.item(2)).center());
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(list.ItemIndex(), 2);
    EXPECT_EQ(list.ItemText(2), QStringLiteral("c.jpg"));
    list.DeleteItem(0);
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(list.ItemText(0), QStringLiteral("b.jpg"));
}

} // namespace
