#include "app/MenuPointer.h"

#include "game/MenuPanel.h"
#include "widgets/TThreadedTimer.h"

#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QTimer>
#include <QWidget>
#include <QWindow>

MenuPointer::MenuPointer(QWidget *stage, QWidget *panel, TThreadedTimer *timer, QObject *parent)
    : QObject(parent), m_stage(stage), m_panel(panel), m_timer(timer)
{
    m_lookAgain = new QTimer(this);
    m_lookAgain->setSingleShot(true);
    m_lookAgain->setInterval(OutsideLookMs);
    connect(m_lookAgain, &QTimer::timeout, m_timer, &TThreadedTimer::Wake);
    QCoreApplication::instance()->installEventFilter(this);
}

MenuPointer::~MenuPointer()
{
    if (QCoreApplication *app = QCoreApplication::instance())
        app->removeEventFilter(this);
}

QPoint MenuPointer::Position()
{
    if (!m_followed) {
        m_global = QCursor::pos();
        m_followed = overGameWindow();
    }
    return m_global;
}

void MenuPointer::TickDone()
{
    if (panelWouldMove())
        return;
    m_timer->Rest();
    if (!m_followed)
        m_lookAgain->start();
}

bool MenuPointer::panelWouldMove() const
{
    const int left = m_panel->x();
    return MenuPanel::Slide(left, m_stage->mapFromGlobal(m_global).x()) != left;
}

bool MenuPointer::overGameWindow() const
{
    // A window blocked by a modal one gets no mouse events.
    if (QGuiApplication::modalWindow())
        return false;
    // Outside every shown window of the game the answer needs no question to
    // the window system.
    bool inside = false;
    for (const QWindow *window : QGuiApplication::topLevelWindows()) {
        if (window->isVisible() && window->geometry().contains(m_global)) {
            inside = true;
            break;
        }
    }
    // Inside, another program's window may still lie over the game's: the
    // window system says whose window is under the pointer.
    return inside && QGuiApplication::topLevelAt(m_global) != nullptr;
}

void MenuPointer::lose()
{
    m_followed = false;
    m_timer->Wake();
}

bool MenuPointer::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseMove:
        // A move is seen at the window and again at the control under the
        // pointer, with the same global position.
        if (m_followed) {
            m_global = static_cast<QMouseEvent *>(event)->globalPosition().toPoint();
            if (m_timer->Resting() && panelWouldMove())
                m_timer->Wake();
        } else {
            // Back over the game's window: the next tick makes sure of it.
            m_timer->Wake();
        }
        break;
    case QEvent::Leave:
    // A press holds the pointer's events for the window, and a leave during
    // it goes unreported: after the release the pointer may be anywhere.
    case QEvent::MouseButtonRelease:
        if (watched->isWindowType())
            lose();
        break;
    // The window or the stage moved or changed under a pointer that stood
    // still: where it is on the stage must be asked again.
    case QEvent::Show:
    case QEvent::Hide:
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::WindowStateChange:
        if (watched->isWindowType() || watched == m_stage || watched == m_stage->window())
            lose();
        break;
    default:
        break;
    }
    return false;
}
