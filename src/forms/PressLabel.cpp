#include "forms/PressLabel.h"

PressLabel::PressLabel(QWidget *parent)
    : QLabel(parent), m_press(new PressArea(this))
{
    setTextFormat(Qt::PlainText);
    setAttribute(Qt::WA_TranslucentBackground);
    setFocusPolicy(Qt::NoFocus);
}
