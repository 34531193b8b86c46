#pragma once

#include <QObject>

#include <cstdint>
#include <functional>
#include <memory>

class QSocketNotifier;

// A periodic timer whose timing comes from a worker thread of its own rather
// than from the window system's timer events. The worker only waits; every
// tick is handed to the thread that owns the timer (the GUI thread) and runs
// there, and the worker hands over no tick before the previous one has run:
// a handler slower than the period stretches it, ticks never pile up.
//
// Contract, all of it on the owning thread:
//  - setEnabled(true) on an enabled timer, or false on a disabled one, does
//    nothing. Enabling restarts the period: the first tick comes one full
//    interval later. Changing the interval restarts the period too.
//  - Interval 0 ticks only with AllowZero set (then as fast as the handler
//    runs). An enabled timer with interval 0 and AllowZero clear stays idle;
//    setting AllowZero afterwards does not start it until Enabled or Interval
//    changes.
//  - No handler runs after setEnabled(false), not even a tick that was
//    already on its way.
//  - A handler may disable, re-enable, change or even delete its own timer.
//    The same timer's handler is never re-entered while it processes events;
//    other timers keep ticking meanwhile.
//  - A disabled timer parks its worker: it costs no processor time, and
//    destroying it returns at once whatever the interval.
class TThreadedTimer : public QObject {
    Q_OBJECT

public:
    enum TThreadPriority {
        tpIdle,
        tpLowest,
        tpLower,
        tpNormal,
        tpHigher,
        tpHighest,
        tpTimeCritical
    };
    Q_ENUM(TThreadPriority)

    // Shortest wait the timer makes for a non-zero interval. The game's short
    // intervals (the menu panel's 5 ms, the about box's 1 ms) were tuned for
    // waits of about this granularity; honouring it keeps those animations at
    // their designed pace and stops a 1 ms timer waking the processor 1000
    // times a second. Intervals of this length and above are exact.
    static constexpr int WaitResolutionMs = 15;

    // The wait the worker makes for an interval: 0 stays 0, anything between
    // 1 and WaitResolutionMs - 1 becomes WaitResolutionMs, the rest is exact.
    static constexpr int WaitForInterval(int intervalMs)
    {
        if (intervalMs <= 0)
            return 0;
        return intervalMs < WaitResolutionMs ? WaitResolutionMs : intervalMs;
    }

    explicit TThreadedTimer(QObject *parent = nullptr);
    ~TThreadedTimer() override;

    TThreadedTimer(const TThreadedTimer &) = delete;
    TThreadedTimer &operator=(const TThreadedTimer &) = delete;

    bool AllowZero() const { return m_allowZero; }
    void setAllowZero(bool allow);

    bool Enabled() const { return m_enabled; }
    void setEnabled(bool enabled);

    // Milliseconds, default 1000. Negative values count as 0.
    int Interval() const { return m_interval; }
    void setInterval(int intervalMs);

    // Default tpNormal. What the level achieves depends on the process's
    // rights; see TThreadedTimer.cpp.
    TThreadPriority ThreadPriority() const { return m_priority; }
    void setThreadPriority(TThreadPriority priority);

    const std::function<void()> &OnTimer() const { return m_onTimer; }
    void setOnTimer(std::function<void()> handler);

    // Resting: a handler that has nothing to do until something else
    // happens may let its timer rest. A resting timer stays Enabled() but
    // parks its worker as a disabled one does (no tick, no processor time);
    // Wake() starts the periods again, the first tick one full interval
    // later. Wake() on a timer that is not resting changes nothing, so it may
    // be called on every event that could give the handler work. Rest() on a
    // disabled timer does nothing; enabling a timer or changing its interval
    // ends a rest.
    void Rest();
    void Wake();
    bool Resting() const { return m_resting; }

    // True while the worker is running periods (enabled with a usable
    // interval, not resting). An enabled timer with interval 0 and AllowZero
    // clear is Enabled() but not Running().
    bool Running() const { return m_running; }

    // How many ticks have run the handler since construction (for tests and
    // the gallery; the game does not need it).
    std::uint64_t TickCount() const { return m_tickCount; }

    struct Shared; // state shared with the worker thread

private:
    void applyRunState();
    void deliverTick();

    std::shared_ptr<Shared> m_shared;
    QSocketNotifier *m_wakeNotifier = nullptr; // ticks arrive through it
    std::function<void()> m_onTimer;
    int m_interval = 1000;
    TThreadPriority m_priority = tpNormal;
    bool m_allowZero = false;
    bool m_enabled = false;
    bool m_resting = false;
    bool m_running = false;
    bool m_inHandler = false;
    std::uint64_t m_tickCount = 0;
};
