#include "DialogTitleDrag.h"

#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

DialogTitleDrag::DialogTitleDrag(QWidget *title, QWidget *dialog)
    : QObject(title)
    , m_title(title)
    , m_dialog(dialog)
{
    title->installEventFilter(this);
}

bool DialogTitleDrag::StartMove(const QPoint &globalPressPos)
{
    m_manual = false;
    QWindow *window = m_dialog->windowHandle();
    if (window && window->startSystemMove())
        return true;
    m_manual = true;
    m_pressOffset = globalPressPos - m_dialog->frameGeometry().topLeft();
    return false;
}

bool DialogTitleDrag::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_title)
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton)
            StartMove(mouse->globalPosition().toPoint());
        return true;
    }
    case QEvent::MouseMove:
        if (m_manual) {
            auto *mouse = static_cast<QMouseEvent *>(event);
            if (mouse->buttons() & Qt::LeftButton)
                m_dialog->move(mouse->globalPosition().toPoint() - m_pressOffset);
            return true;
        }
        return false;
    case QEvent::MouseButtonRelease:
        m_manual = false;
        return true;
    default:
        return false;
    }
}
