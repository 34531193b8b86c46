#include "forms/AutoSizeLabel.h"

#include <QEvent>

AutoSizeLabel::AutoSizeLabel(QWidget *parent, QPoint anchor, Anchor side)
    : QLabel(parent), m_anchor(anchor), m_side(side)
{
    setTextFormat(Qt::PlainText);
    fitToText();
}

void AutoSizeLabel::setText(const QString &text)
{
    QLabel::setText(text);
    fitToText();
}

void AutoSizeLabel::fitToText()
{
    const QSize size = sizeHint();
    const int left = m_side == Anchor::Right ? m_anchor.x() - size.width() : m_anchor.x();
    setGeometry(left, m_anchor.y(), size.width(), size.height());
}

void AutoSizeLabel::changeEvent(QEvent *event)
{
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        fitToText();
}
