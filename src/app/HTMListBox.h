// THTMListBox: the thumbnail list. Its items are entry strings of the form
// <IMG src="file://PATH" align="top">NAME; each is drawn with the picture at PATH at the top left
// and NAME beside it, as plain text (never parsed as markup).
#pragma once

#include <QImage>
#include <QListWidget>
#include <QString>

#include <map>

// The two parts of an entry string.
struct THTMEntry {
    QString ImagePath; // empty when the entry has no IMG tag
    QString Caption;
};

THTMEntry ParseHTMEntry(const QString& text);

class THTMListBox : public QListWidget {
    Q_OBJECT

public:
    explicit THTMListBox(QWidget* parent = nullptr);

    int ItemHeight() const { return itemHeight; }
    void SetItemHeight(int height);

    int Count() const { return count(); }
    QString ItemText(int index) const;
    void AddItem(const QString& text);
    void InsertItem(int index, const QString& text);
    void DeleteItem(int index);
    void Clear();
    int ItemIndex() const { return currentRow(); }
    void SetItemIndex(int index);
    bool Selected(int index) const;
    void SetSelected(int index, bool on);

    // The picture an entry shows, read once per file and kept until the entry list changes.
    QImage EntryImage(const QString& path) const;

signals:
    // The user selected an entry (a click, or a key that moved the current entry).
    void OnClick();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    int itemHeight = 70;
    mutable std::map<QString, QImage> images;
};
