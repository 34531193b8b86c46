#include "forms/Press.h"

#include <QGuiApplication>
#include <QLabel>
#include <QStyleHints>
#include <QMouseEvent>
#include <QWidget>

PressArea::PressArea(QWidget *area)
    : QObject(area), m_area(area)
{
    setObjectName(QStringLiteral("PressArea"));
    area->installEventFilter(this);
}

PressArea *PressArea::Of(QWidget *area)
{
    if (auto *existing = area->findChild<PressArea *>(QStringLiteral("PressArea"), Qt::FindDirectChildrenOnly))
        return existing;
    return new PressArea(area);
}

QString PressArea::meaning() const
{
    if (m_meaning)
        return m_meaning();
    if (const auto *label = qobject_cast<const QLabel *>(m_area))
        return label->text();
    return QString();
}

bool PressArea::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_area)
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseMove:
        break;
    default:
        return false;
    }
    auto *mouse = static_cast<QMouseEvent *>(event);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        if (mouse->button() == Qt::LeftButton && m_area->isEnabled())
            press(mouse, event->type() == QEvent::MouseButtonDblClick);
        break;
    case QEvent::MouseButtonRelease:
        if (mouse->button() == Qt::LeftButton && m_pressed)
            release(mouse);
        break;
    default: // MouseMove
        if (m_pressed && (mouse->buttons() & Qt::LeftButton) && m_onDrag) {
            const MouseHandler drag = m_onDrag;
            drag(mouse);
        }
        break;
    }
    // The area takes every mouse event: nothing reaches the controls below.
    mouse->accept();
    return true;
}

void PressArea::press(QMouseEvent *event, bool secondOfDouble)
{
    // The second press of a double click keeps the meaning of the first: the
    // first click may have changed the area (started the game, answered).
    // Qt may report a double click for a press that follows one on a
    // neighbouring area; only this area's own recent press counts.
    const bool sameGesture = secondOfDouble && m_hadPress
        && event->timestamp() - m_pressTimestamp <= quint64(QGuiApplication::styleHints()->mouseDoubleClickInterval());
    if (!sameGesture)
        m_meaningAtPress = meaning();
    m_hadPress = true;
    m_pressTimestamp = event->timestamp();
    m_pressed = true;
    // Copies: a handler may replace the handlers or process events.
    if (const MouseHandler handler = m_onPress)
        handler(event);
}

void PressArea::release(QMouseEvent *event)
{
    m_pressed = false;
    const bool acts = m_area->isEnabled() && meaning() == m_meaningAtPress;
    const bool inside = m_area->rect().contains(event->position().toPoint());
    if (!acts) {
        if (const Handler restore = m_onRestore)
            restore();
        return;
    }
    if (const MouseHandler handler = m_onRelease)
        handler(event);
    if (inside) {
        if (const Handler click = m_onClick)
            click();
    }
}

namespace {

// A left-button event in the middle of `area`, standing for a key.
QMouseEvent keyAsMouse(QEvent::Type type, QWidget *area, Qt::MouseButtons buttons)
{
    const QPointF local = QRectF(area->rect()).center();
    return QMouseEvent(type, local, area->mapToGlobal(local), Qt::LeftButton, buttons, Qt::NoModifier);
}

} // namespace

void PressArea::keyPress()
{
    if (m_pressed || !m_area->isEnabled() || !m_area->isVisible())
        return;
    QMouseEvent event = keyAsMouse(QEvent::MouseButtonPress, m_area, Qt::LeftButton);
    // A key is never the second press of a double click.
    m_hadPress = false;
    press(&event, false);
}

void PressArea::keyRelease()
{
    if (!m_pressed)
        return;
    QMouseEvent event = keyAsMouse(QEvent::MouseButtonRelease, m_area, Qt::NoButton);
    release(&event);
}
