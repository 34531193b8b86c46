#pragma once

#include <QLabel>
#include <QPoint>

// A label that sizes itself to its text, as the game's captions do. It grows
// from its left edge, or, anchored right, keeps its right edge where it is.
//
// QLabel::setText is not virtual: the resize happens when the text is set
// through this class (the windows hold such labels by their own type), and
// whenever the font changes.
class AutoSizeLabel : public QLabel {
    Q_OBJECT

public:
    enum class Anchor { Left, Right };

    // `anchor` is the top-left corner, or for Anchor::Right the top edge and
    // the right edge (the first pixel column right of the label).
    AutoSizeLabel(QWidget *parent, QPoint anchor, Anchor side = Anchor::Left);

    void setText(const QString &text);

    QPoint anchorPoint() const { return m_anchor; }
    Anchor anchorSide() const { return m_side; }

    // Re-fits the label to its current text and font.
    void fitToText();

protected:
    void changeEvent(QEvent *event) override;

private:
    QPoint m_anchor;
    Anchor m_side;
};
