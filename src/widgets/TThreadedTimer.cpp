#include "widgets/TThreadedTimer.h"

#include <QPointer>
#include <QSocketNotifier>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include <pthread.h>
#include <sched.h>
#include <sys/eventfd.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

// Thread priorities on Linux, applied by the worker to itself.
//
// Under the normal time-sharing policy each thread has its own nice value, so
// the lower levels raise the worker's nice above the process's (tpLowest +10,
// tpLower +5) and tpIdle moves it to the idle policy. An unprivileged process
// may only ever make its threads nicer: tpHigher (-5) and tpHighest (-10) are
// asked for and quietly stay at the process's own level when refused, and
// tpTimeCritical asks for the lowest real-time FIFO priority first. Nor can an
// unprivileged thread get back the priority it gave away: a worker that ran
// at tpLowest stays there when set back to tpNormal (the kernel refuses to
// lower a nice value without the right to do so). The game sets priorities
// before it enables its timers, while the worker has not started yet.
void ApplyPriority(TThreadedTimer::TThreadPriority level, int baseNice)
{
    const pid_t tid = static_cast<pid_t>(::syscall(SYS_gettid));
    sched_param param{};
    param.sched_priority = 0;

    if (level == TThreadedTimer::tpIdle) {
        ::pthread_setschedparam(::pthread_self(), SCHED_IDLE, &param);
        return;
    }
    if (level == TThreadedTimer::tpTimeCritical) {
        sched_param rt{};
        rt.sched_priority = 1;
        if (::pthread_setschedparam(::pthread_self(), SCHED_FIFO, &rt) == 0)
            return;
    }
    ::pthread_setschedparam(::pthread_self(), SCHED_OTHER, &param);

    int offset = 0;
    switch (level) {
    case TThreadedTimer::tpLowest: offset = 10; break;
    case TThreadedTimer::tpLower: offset = 5; break;
    case TThreadedTimer::tpNormal: offset = 0; break;
    case TThreadedTimer::tpHigher: offset = -5; break;
    case TThreadedTimer::tpHighest: offset = -10; break;
    case TThreadedTimer::tpTimeCritical: offset = -15; break;
    case TThreadedTimer::tpIdle: break;
    }
    if (::setpriority(PRIO_PROCESS, static_cast<id_t>(tid), baseNice + offset) != 0 && offset < 0)
        ::setpriority(PRIO_PROCESS, static_cast<id_t>(tid), baseNice);
}

} // namespace

// Everything the worker touches lives here, under the mutex. The worker
// holds a reference so that the state outlives any order of tear-down.
struct TThreadedTimer::Shared {
    std::mutex mutex;
    std::condition_variable wake;    // to the worker: state changed
    std::uint64_t generation = 0;    // bumped on every start and stop
    bool running = false;            // the worker should run periods
    bool terminate = false;
    int waitMs = 1000;
    bool tickPending = false;        // a tick is posted and not yet handled
    bool awaitingTick = false;       // the worker waits for that tick to run
    std::uint64_t tickGeneration = 0;
    TThreadPriority priority = tpNormal;
    int baseNice = 0;
    int wakeFd = -1; // eventfd the worker writes to hand a tick over
    std::thread worker;
};

namespace {

void WorkerLoop(const std::shared_ptr<TThreadedTimer::Shared> &sh)
{
    std::unique_lock lock(sh->mutex);
    TThreadedTimer::TThreadPriority applied = TThreadedTimer::tpNormal;
    bool appliedOnce = false;

    auto applyPriorityIfChanged = [&] {
        if (appliedOnce && applied == sh->priority)
            return;
        applied = sh->priority;
        appliedOnce = true;
        const int baseNice = sh->baseNice;
        lock.unlock();
        ApplyPriority(applied, baseNice);
        lock.lock();
    };

    while (!sh->terminate) {
        applyPriorityIfChanged();
        if (!sh->running) {
            // Parked: no time-out, no processor time until the state changes.
            sh->wake.wait(lock, [&] { return sh->terminate || sh->running || sh->priority != applied; });
            continue;
        }

        const std::uint64_t gen = sh->generation;
        const auto period = std::chrono::milliseconds(sh->waitMs);
        auto deadline = Clock::now() + period;
        auto restarted = [&] { return sh->terminate || sh->generation != gen; };

        while (!restarted()) {
            if (sh->wake.wait_until(lock, deadline,
                                    [&] { return restarted() || sh->priority != applied; })) {
                if (restarted())
                    break;
                applyPriorityIfChanged();
                continue;
            }

            // One period has passed. A tick still waiting to run holds the
            // next one back: wait until it has run (or the timer is stopped,
            // restarted or destroyed: then nobody will answer), and count the
            // next period from then, so that late ticks never pile up. Only
            // this wait asks the owner's thread to wake the worker; a tick
            // that ran within its period costs the worker no extra wake-up.
            if (sh->tickPending) {
                sh->awaitingTick = true;
                sh->wake.wait(lock, [&] { return !sh->tickPending || restarted(); });
                sh->awaitingTick = false;
                if (restarted())
                    break;
                deadline = Clock::now() + period;
                continue;
            }

            // Hand the tick to the owner's thread: a write to an event counter
            // that its event loop watches. The worker never touches a Qt object.
            sh->tickPending = true;
            sh->tickGeneration = gen;
            ::eventfd_write(sh->wakeFd, 1);

            // Fixed rate: the next deadline is one period after this one,
            // unless that has passed already; then count from now.
            deadline += period;
            const auto now = Clock::now();
            if (deadline < now)
                deadline = now + period;
        }
    }
}

} // namespace

TThreadedTimer::TThreadedTimer(QObject *parent)
    : QObject(parent)
    , m_shared(std::make_shared<Shared>())
{
    errno = 0;
    const int nice = ::getpriority(PRIO_PROCESS, 0);
    m_shared->baseNice = (nice == -1 && errno != 0) ? 0 : nice;
}

TThreadedTimer::~TThreadedTimer()
{
    {
        std::lock_guard lock(m_shared->mutex);
        m_shared->terminate = true;
    }
    m_shared->wake.notify_all();
    if (m_shared->worker.joinable())
        m_shared->worker.join();
    delete m_wakeNotifier;
    if (m_shared->wakeFd >= 0)
        ::close(m_shared->wakeFd);
}

void TThreadedTimer::setAllowZero(bool allow)
{
    // Stored only: an idle timer with interval 0 starts when Enabled or
    // Interval changes next.
    m_allowZero = allow;
}

void TThreadedTimer::setEnabled(bool enabled)
{
    if (enabled == m_enabled)
        return;
    m_enabled = enabled;
    m_resting = false;
    applyRunState();
}

void TThreadedTimer::Rest()
{
    if (!m_enabled || m_resting)
        return;
    m_resting = true;
    applyRunState();
}

void TThreadedTimer::Wake()
{
    if (!m_resting)
        return;
    m_resting = false;
    applyRunState();
}

void TThreadedTimer::setInterval(int intervalMs)
{
    if (intervalMs < 0)
        intervalMs = 0;
    if (intervalMs == m_interval)
        return;
    const bool wasEnabled = m_enabled;
    setEnabled(false);
    m_interval = intervalMs;
    setEnabled(wasEnabled);
}

void TThreadedTimer::setThreadPriority(TThreadPriority priority)
{
    if (priority == m_priority)
        return;
    m_priority = priority;
    {
        std::lock_guard lock(m_shared->mutex);
        m_shared->priority = priority;
    }
    m_shared->wake.notify_all();
}

void TThreadedTimer::setOnTimer(std::function<void()> handler)
{
    m_onTimer = std::move(handler);
}

void TThreadedTimer::applyRunState()
{
    const bool run = m_enabled && !m_resting && (m_interval > 0 || m_allowZero);
    {
        std::lock_guard lock(m_shared->mutex);
        // A new generation voids any tick already on its way and restarts
        // the period.
        ++m_shared->generation;
        m_shared->running = run;
        m_shared->waitMs = WaitForInterval(m_interval);
        m_shared->tickPending = false;
    }
    m_shared->wake.notify_all();
    m_running = run;

    if (run && !m_shared->worker.joinable()) {
        // The worker starts with the first period; a timer that is never
        // enabled has no thread at all.
        const int fd = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
        if (fd < 0) {
            // Out of descriptors: the timer stays enabled but silent, as an
            // idle one; the next change of Enabled or Interval tries again.
            qWarning("TThreadedTimer: cannot create the timer thread's event counter");
            {
                std::lock_guard lock(m_shared->mutex);
                m_shared->running = false;
            }
            m_running = false;
            return;
        }
        m_shared->wakeFd = fd;
        m_wakeNotifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
        connect(m_wakeNotifier, &QSocketNotifier::activated, this, [this] {
            eventfd_t count = 0;
            ::eventfd_read(m_shared->wakeFd, &count);
            deliverTick();
        });
        m_shared->worker = std::thread(WorkerLoop, m_shared);
    }
}

void TThreadedTimer::deliverTick()
{
    std::uint64_t gen = 0;
    {
        std::lock_guard lock(m_shared->mutex);
        if (!m_shared->tickPending || m_shared->tickGeneration != m_shared->generation)
            return; // stale: the timer was stopped or restarted meanwhile
        gen = m_shared->tickGeneration;
    }

    auto acknowledge = [shared = m_shared, gen] {
        bool awaited = false;
        {
            std::lock_guard lock(shared->mutex);
            if (shared->tickGeneration == gen) {
                shared->tickPending = false;
                awaited = shared->awaitingTick;
            }
        }
        if (awaited)
            shared->wake.notify_all();
    };

    if (!m_enabled || !m_onTimer || m_inHandler) {
        acknowledge();
        return;
    }

    // The handler may delete this timer: keep a copy of it and of the shared
    // state, and touch no member once it has returned unless we still exist.
    const std::function<void()> handler = m_onTimer;
    QPointer<TThreadedTimer> self(this);
    ++m_tickCount;
    m_inHandler = true;
    handler();
    if (self)
        m_inHandler = false;
    acknowledge();
}
