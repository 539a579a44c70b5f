#include "HTMListBox.h"

#include "Codecs.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>

namespace {

const QString kImageStart = QStringLiteral("<IMG src=\"file://");
const QString kImageEnd = QStringLiteral("\" align=\"top\">");

// Draws an entry: the thumbnail at the top left, the caption beside it.
class EntryDelegate : public QStyledItemDelegate {
public:
    EntryDelegate(THTMListBox* list) : QStyledItemDelegate(list), list(list) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem background = option;
        initStyleOption(&background, index);
        background.text.clear();
        option.widget->style()->drawControl(QStyle::CE_ItemViewItem, &background, painter, option.widget);

        const THTMEntry entry = ParseHTMEntry(index.data(Qt::DisplayRole).toString());
        int textLeft = option.rect.left() + 2;
        if (!entry.ImagePath.isEmpty()) {
            const QImage image = list->EntryImage(entry.ImagePath);
            if (!image.isNull()) {
                painter->drawImage(option.rect.topLeft(), image);
                textLeft = option.rect.left() + image.width() + 4;
            }
        }
        const bool selected = option.state & QStyle::State_Selected;
        painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
        painter->setFont(option.font);
        const QRect textRect(textLeft, option.rect.top(), option.rect.right() - textLeft,
                             option.rect.height());
        painter->drawText(textRect, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, entry.Caption);
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override {
        return QSize(option.rect.width(), list->ItemHeight());
    }

private:
    THTMListBox* list;
};

} // namespace

THTMEntry ParseHTMEntry(const QString& text) {
    if (!text.startsWith(kImageStart, Qt::CaseInsensitive))
        return {QString(), text};
    const qsizetype end = text.indexOf(kImageEnd, kImageStart.size(), Qt::CaseInsensitive);
    if (end < 0)
        return {QString(), text};
    return {text.mid(kImageStart.size(), end - kImageStart.size()), text.mid(end + kImageEnd.size())};
}

THTMListBox::THTMListBox(QWidget* parent) : QListWidget(parent) {
    setItemDelegate(new EntryDelegate(this));
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setUniformItemSizes(true);
}

void THTMListBox::SetItemHeight(int height) {
    itemHeight = height;
    doItemsLayout();
}

QString THTMListBox::ItemText(int index) const {
    const QListWidgetItem* entry = item(index);
    return entry ? entry->text() : QString();
}

void THTMListBox::AddItem(const QString& text) {
    InsertItem(count(), text);
}

void THTMListBox::InsertItem(int index, const QString& text) {
    auto* entry = new QListWidgetItem(text);
    // A long name does not fit beside its thumbnail in the narrow list; the hint shows it whole.
    entry->setToolTip(ParseHTMEntry(text).Caption);
    insertItem(index, entry);
}

void THTMListBox::DeleteItem(int index) {
    // Every new or renewed entry points to a thumbnail file of its own, so only the picture of
    // the entry taken out is forgotten; the others stay read.
    if (const QListWidgetItem* entry = item(index))
        images.erase(ParseHTMEntry(entry->text()).ImagePath);
    delete takeItem(index);
}

void THTMListBox::Clear() {
    images.clear();
    clear();
}

void THTMListBox::SetItemIndex(int index) {
    setCurrentRow(index, QItemSelectionModel::NoUpdate);
}

bool THTMListBox::Selected(int index) const {
    const QListWidgetItem* entry = item(index);
    return entry && entry->isSelected();
}

void THTMListBox::SetSelected(int index, bool on) {
    if (QListWidgetItem* entry = item(index))
        entry->setSelected(on);
}

QImage THTMListBox::EntryImage(const QString& path) const {
    auto found = images.find(path);
    if (found != images.end())
        return found->second;
    QImage image;
    try {
        // Kept in the screen's own format, so every repaint is a plain copy.
        image = Codecs::ReadPicture(path).image.convertToFormat(QImage::Format_RGB32);
    } catch (const Codecs::CodecError&) {
        // A thumbnail that cannot be read leaves the entry without a picture, nothing more.
    }
    images[path] = image;
    return image;
}

void THTMListBox::mouseReleaseEvent(QMouseEvent* event) {
    QListWidget::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && itemAt(event->position().toPoint()))
        emit OnClick();
}

void THTMListBox::keyPressEvent(QKeyEvent* event) {
    const int before = currentRow();
    QListWidget::keyPressEvent(event);
    if (currentRow() != before)
        emit OnClick();
}
