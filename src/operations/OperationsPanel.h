// The operations panel: a white strip of picture buttons with an icon and a German label, grouped
// under four coloured headings. Headings never react; buttons show the hand cursor and, while
// disabled, a greyed look that ignores clicks.
#pragma once

#include <QColor>
#include <QFrame>
#include <QIcon>
#include <QImage>
#include <QMap>
#include <QString>

class QPainter;

class TOperationPicture : public QWidget {
    Q_OBJECT

public:
    enum class Kind { Heading, Button };

    TOperationPicture(Kind kind, const QString& label, const QColor& band, const QIcon& icon,
                      QWidget* parent);

    Kind PictureKind() const { return kind; }
    QString Label() const { return label; }
    // The button as drawn in its enabled or disabled state.
    QImage Look(bool enabled) const;
    // A picture shown instead of the drawn look (null: the drawn look).
    void SetPicture(const QImage& picture);
    QImage Picture() const { return picture; }

signals:
    void Clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void Draw(QPainter& painter, bool enabled) const;

    Kind kind;
    QImage picture;
    QString label;
    QColor band;
    QIcon icon;
};

// EffectsPanel with SelectVariablesPanel and its pictures Image2 .. Image20 and UndoImage, each
// reachable by its object name.
class TOperationsPanel : public QFrame {
    Q_OBJECT

public:
    explicit TOperationsPanel(QWidget* parent = nullptr);

    // The picture with the given object name ("Image3", "UndoImage"), or nullptr.
    TOperationPicture* Picture(const QString& name) const { return pictures.value(name); }
    QWidget* SelectVariablesPanel() const { return selectVariablesPanel; }

    // Gives the operation buttons (not the headings Image2, Image13, Image18, nor UndoImage) the
    // panel's own enabled state.
    void EffectsPanelEnter();

protected:
    void focusInEvent(QFocusEvent* event) override;

private:
    QWidget* selectVariablesPanel = nullptr;
    QMap<QString, TOperationPicture*> pictures;
};
