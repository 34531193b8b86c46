#pragma once

#include <QObject>
#include <QPoint>

class QTimer;
class QWidget;
class TThreadedTimer;

// The pointer as the menu panel's timer sees it, and the timer's rest.
//
// While the pointer is over one of the game's windows every movement of it
// arrives as a motion event, so its position is taken from those events and
// the window system is not asked. Then, once the panel stands where the
// pointer wants it, nothing can move the panel without an event: the timer
// rests, and a motion that would move the panel wakes it. Where the pointer
// cannot be followed by events (over another program's window, outside the
// game's window, before it has been seen, after a button's release, when the
// window or the stage moved under it) the ticks ask the window system, as
// the timer always did; there, a panel at rest lets the timer rest for
// OutsideLookMs between two questions, and a slide runs at the timer's pace.
//
// Watches the events of the whole application (mouse moves reach the window
// before any control, whatever control is under the pointer).
class MenuPointer : public QObject {
    Q_OBJECT

public:
    // How long a panel at rest waits between two questions for a pointer
    // that moves where no event shows it.
    static constexpr int OutsideLookMs = 100;

    // `stage` holds `panel`; `timer` is the panel's timer.
    MenuPointer(QWidget *stage, QWidget *panel, TThreadedTimer *timer, QObject *parent = nullptr);
    ~MenuPointer() override;

    // The pointer in global coordinates for this tick.
    QPoint Position();

    // After a tick has moved the panel: let the timer rest when the panel
    // would not move on the next tick, until an event says that the pointer
    // moved or, where no event would say so, until it is time to ask again.
    void TickDone();

    // True while the pointer's position comes from motion events.
    bool Followed() const { return m_followed; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool panelWouldMove() const;
    bool overGameWindow() const;
    void lose();

    QWidget *m_stage;
    QWidget *m_panel;
    TThreadedTimer *m_timer;
    QTimer *m_lookAgain = nullptr;
    QPoint m_global;
    bool m_followed = false;
};
