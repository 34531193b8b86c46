#include "PressLabel.h"

#include <QMouseEvent>

PressLabel::PressLabel(QWidget *parent)
    : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setAttribute(Qt::WA_TranslucentBackground);
    setFocusPolicy(Qt::NoFocus);
}

void PressLabel::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QLabel::mousePressEvent(event);
        return;
    }
    m_pressed = true;
    event->accept();
    // A copy: the handler may replace the handlers.
    if (const Handler handler = m_onPress)
        handler(event);
}

void PressLabel::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !m_pressed) {
        QLabel::mouseReleaseEvent(event);
        return;
    }
    m_pressed = false;
    event->accept();
    if (const Handler handler = m_onRelease)
        handler(event);
}

void PressLabel::mouseMoveEvent(QMouseEvent *event)
{
    if (m_pressed && (event->buttons() & Qt::LeftButton)) {
        event->accept();
        if (const Handler handler = m_onDrag)
            handler(event);
        return;
    }
    QLabel::mouseMoveEvent(event);
}
