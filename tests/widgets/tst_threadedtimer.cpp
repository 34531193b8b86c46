#include "widgets/TThreadedTimer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <chrono>
#include <memory>
#include <set>
#include <thread>

#include <sys/resource.h>

namespace {

// Nice values of all threads of this process, from /proc.
std::set<int> ThreadNiceValues()
{
    std::set<int> values;
    const QDir tasks(QStringLiteral("/proc/self/task"));
    for (const QString &tid : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile stat(tasks.filePath(tid + QStringLiteral("/stat")));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        const QByteArray line = stat.readAll();
        // Fields after the command name, which is in parentheses: state is
        // field 3, nice is field 19.
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 16)
            values.insert(fields[16].toInt());
    }
    return values;
}

} // namespace

// No test here measures how long anything takes: a tick either comes (QTRY
// with a generous limit) or must not come at all. Hangs are caught by the
// CTest time-out.
class TestThreadedTimer : public QObject {
    Q_OBJECT

private slots:
    void waitForInterval_data()
    {
        QTest::addColumn<int>("interval");
        QTest::addColumn<int>("wait");
        QTest::newRow("zero stays zero") << 0 << 0;
        QTest::newRow("negative counts as zero") << -5 << 0;
        QTest::newRow("about box 1 ms") << 1 << TThreadedTimer::WaitResolutionMs;
        QTest::newRow("menu panel 5 ms") << 5 << TThreadedTimer::WaitResolutionMs;
        QTest::newRow("just below resolution") << TThreadedTimer::WaitResolutionMs - 1
                                               << TThreadedTimer::WaitResolutionMs;
        QTest::newRow("at resolution") << TThreadedTimer::WaitResolutionMs
                                       << TThreadedTimer::WaitResolutionMs;
        QTest::newRow("audience 35 ms") << 35 << 35;
        QTest::newRow("game clock 100 ms") << 100 << 100;
        QTest::newRow("one minute") << 60000 << 60000;
    }
    void waitForInterval()
    {
        QFETCH(int, interval);
        QFETCH(int, wait);
        QCOMPARE(TThreadedTimer::WaitForInterval(interval), wait);
    }

    void defaultsOfANewTimer()
    {
        TThreadedTimer timer;
        QCOMPARE(timer.AllowZero(), false);
        QCOMPARE(timer.Enabled(), false);
        QCOMPARE(timer.Interval(), 1000);
        QCOMPARE(timer.ThreadPriority(), TThreadedTimer::tpNormal);
        QVERIFY(!timer.OnTimer());
        QVERIFY(!timer.Running());
    }

    void ticksRunOnTheOwningThread()
    {
        TThreadedTimer timer;
        int ticks = 0;
        bool onMainThread = true;
        timer.setOnTimer([&] {
            ++ticks;
            onMainThread = onMainThread && QThread::currentThread() == QCoreApplication::instance()->thread();
        });
        timer.setInterval(20);
        timer.setEnabled(true);
        QTRY_VERIFY_WITH_TIMEOUT(ticks >= 3, 10000);
        QVERIFY(onMainThread);
        QCOMPARE(timer.TickCount(), std::uint64_t(ticks));
    }

    // If enabling an enabled timer (or setting the same interval) restarted
    // the period, a timer poked more often than its interval would never tick.
    void repeatingTheSameSettingDoesNotRestartThePeriod()
    {
        TThreadedTimer timer;
        int ticks = 0;
        timer.setOnTimer([&] { ++ticks; });
        timer.setInterval(60);
        timer.setEnabled(true);
        QTimer poke;
        poke.setInterval(5);
        connect(&poke, &QTimer::timeout, this, [&] {
            timer.setEnabled(true);
            timer.setInterval(60);
        });
        poke.start();
        QTRY_VERIFY_WITH_TIMEOUT(ticks >= 2, 10000);
        poke.stop();
    }

    void disablingADisabledTimerChangesNothing()
    {
        TThreadedTimer timer;
        int ticks = 0;
        timer.setOnTimer([&] { ++ticks; });
        timer.setEnabled(false);
        QVERIFY(!timer.Enabled());
        QVERIFY(!timer.Running());
        timer.setInterval(15);
        QVERIFY(!timer.Running());
        QTest::qWait(60);
        QCOMPARE(ticks, 0);
    }

    void changingTheIntervalCutsALongWaitShort()
    {
        TThreadedTimer timer;
        int ticks = 0;
        timer.setOnTimer([&] { ++ticks; });
        timer.setInterval(60000);
        timer.setEnabled(true);
        QTest::qWait(20);
        timer.setInterval(20);
        QVERIFY(timer.Enabled());
        QTRY_VERIFY_WITH_TIMEOUT(ticks >= 1, 10000);
    }

    void intervalZeroStaysIdleWithoutAllowZero()
    {
        TThreadedTimer timer;
        int ticks = 0;
        timer.setOnTimer([&] { ++ticks; });
        timer.setInterval(0);
        timer.setEnabled(true);
        QVERIFY(timer.Enabled());
        QVERIFY(!timer.Running());

        // Allowing zero later does not wake an idle timer by itself.
        timer.setAllowZero(true);
        QVERIFY(!timer.Running());
        QTest::qWait(50);
        QCOMPARE(ticks, 0);

        // Setting Enabled again from false starts it.
        timer.setEnabled(false);
        timer.setEnabled(true);
        QVERIFY(timer.Running());
        QTRY_VERIFY_WITH_TIMEOUT(ticks >= 1, 10000);
    }

    void intervalChangeStartsAnIdleZeroTimer()
    {
        TThreadedTimer timer;
        int ticks = 0;
        timer.setOnTimer([&] { ++ticks; });
        timer.setInterval(0);
        timer.setEnabled(true);
        timer.setAllowZero(true);
        QVERIFY(!timer.Running());
        timer.setInterval(20);
        QVERIFY(timer.Running());
        timer.setInterval(0);
        QVERIFY(timer.Running());
        QTRY_VERIFY_WITH_TIMEOUT(ticks >= 1, 10000);
    }

    // With interval 0 and AllowZero the worker does not wait at all: ticks
    // come as fast as the handler runs, yet never two at once.
    void allowZeroTicksBackToBack()
    {
        TThreadedTimer timer;
        int ticks = 0;
        int depth = 0;
        int maxDepth = 0;
        timer.setOnTimer([&] {
            maxDepth = std::max(maxDepth, ++depth);
            ++ticks;
            --depth;
        });
        timer.setAllowZero(true);
        timer.setInterval(0);
        timer.setEnabled(true);
        QTRY_VERIFY_WITH_TIMEOUT(ticks >= 200, 20000);
        timer.setEnabled(false);
        QCOMPARE(maxDepth, 1);
    }

    void handlerThatDisablesItsTimerGetsNoFurtherCall()
    {
        TThreadedTimer timer;
        int ticks = 0;
        timer.setOnTimer([&] {
            ++ticks;
            timer.setEnabled(false);
        });
        timer.setInterval(15);
        timer.setEnabled(true);
        QTRY_VERIFY_WITH_TIMEOUT(ticks >= 1, 10000);
        QTest::qWait(100);
        QCOMPARE(ticks, 1);
    }

    // A handler with nothing to do lets its timer rest: it stays enabled,
    // costs nothing and ticks again only once woken. Enabling ends a rest.
    void restingTimerStaysEnabledAndTicksOnlyOnceWoken()
    {
        TThreadedTimer timer;
        int ticks = 0;
        timer.setOnTimer([&] {
            ++ticks;
            timer.Rest();
        });
        timer.setInterval(15);
        timer.setEnabled(true);
        QTRY_COMPARE_WITH_TIMEOUT(ticks, 1, 10000);
        QVERIFY(timer.Enabled());
        QVERIFY(timer.Resting());
        QVERIFY(!timer.Running());
        QTest::qWait(100);
        QCOMPARE(ticks, 1);

        timer.Wake();
        QTRY_COMPARE_WITH_TIMEOUT(ticks, 2, 10000);

        timer.setEnabled(false);
        timer.Rest();
        QVERIFY(!timer.Resting());
        timer.setEnabled(true);
        QTRY_COMPARE_WITH_TIMEOUT(ticks, 3, 10000);
    }

    // A tick already handed over while the GUI thread was busy must not run
    // once the timer has been disabled.
    void tickOnItsWayIsDroppedWhenDisabled()
    {
        for (int round = 0; round < 5; ++round) {
            TThreadedTimer timer;
            int ticks = 0;
            timer.setOnTimer([&] { ++ticks; });
            timer.setInterval(15);
            timer.setEnabled(true);
            // Keep the GUI thread busy for several periods so the worker hands
            // a tick over and waits for it.
            std::this_thread::sleep_for(std::chrono::milliseconds(80));
            timer.setEnabled(false);
            QTest::qWait(40);
            QCOMPARE(ticks, 0);
        }
    }

    void handlerMayDeleteItsOwnTimer()
    {
        auto *timer = new TThreadedTimer;
        QPointer<TThreadedTimer> watch(timer);
        int ticks = 0;
        timer->setOnTimer([&, timer] {
            ++ticks;
            delete timer;
        });
        timer->setInterval(15);
        timer->setEnabled(true);
        QTRY_VERIFY_WITH_TIMEOUT(watch.isNull(), 10000);
        QTest::qWait(50);
        QCOMPARE(ticks, 1);
    }

    void handlerMayRestartItsOwnTimer()
    {
        TThreadedTimer timer;
        int ticks = 0;
        timer.setOnTimer([&] {
            ++ticks;
            timer.setEnabled(false);
            timer.setInterval(ticks % 2 ? 20 : 30);
            timer.setEnabled(true);
        });
        timer.setInterval(15);
        timer.setEnabled(true);
        QTRY_VERIFY_WITH_TIMEOUT(ticks >= 4, 10000);
    }

    // A handler that processes events is not entered again by its own timer,
    // even when it restarts that timer, while other timers keep ticking.
    void handlerIsNotReenteredWhileItProcessesEvents()
    {
        TThreadedTimer slow;
        TThreadedTimer other;
        int depth = 0;
        int maxDepth = 0;
        int slowCalls = 0;
        int otherTicksInsideSlow = 0;

        other.setOnTimer([&] {
            if (depth > 0)
                ++otherTicksInsideSlow;
        });
        slow.setOnTimer([&] {
            maxDepth = std::max(maxDepth, ++depth);
            ++slowCalls;
            if (slowCalls == 1) {
                slow.setEnabled(false); // restart: a fresh tick can come
                slow.setEnabled(true);
                QTest::qWait(200);
            }
            --depth;
        });
        other.setInterval(15);
        slow.setInterval(15);
        other.setEnabled(true);
        slow.setEnabled(true);

        QTRY_VERIFY_WITH_TIMEOUT(slowCalls >= 3, 10000);
        QCOMPARE(maxDepth, 1);
        QVERIFY(otherTicksInsideSlow > 0);
    }

    void destroyingTimersWithLongIntervalsReturns()
    {
        // Each of these waiting out its interval would take far longer than
        // the test's time-out.
        int ticks = 0;
        for (int i = 0; i < 10; ++i) {
            auto disabled = std::make_unique<TThreadedTimer>();
            disabled->setOnTimer([&] { ++ticks; });
            disabled->setInterval(60000);
            disabled->setEnabled(true);
            QCoreApplication::processEvents();
            disabled->setEnabled(false);
            disabled.reset();

            auto enabled = std::make_unique<TThreadedTimer>();
            enabled->setOnTimer([&] { ++ticks; });
            enabled->setInterval(60000);
            enabled->setEnabled(true);
            QCoreApplication::processEvents();
            enabled.reset();
        }
        QCOMPARE(ticks, 0);
    }

    void destroyingWithATickPendingDropsIt()
    {
        int ticks = 0;
        {
            TThreadedTimer timer;
            timer.setOnTimer([&] { ++ticks; });
            timer.setInterval(15);
            timer.setEnabled(true);
            std::this_thread::sleep_for(std::chrono::milliseconds(60));
        }
        QCoreApplication::processEvents();
        QCOMPARE(ticks, 0);
    }

    void everyPriorityKeepsTicking_data()
    {
        QTest::addColumn<TThreadedTimer::TThreadPriority>("priority");
        QTest::newRow("idle") << TThreadedTimer::tpIdle;
        QTest::newRow("lowest") << TThreadedTimer::tpLowest;
        QTest::newRow("lower") << TThreadedTimer::tpLower;
        QTest::newRow("normal") << TThreadedTimer::tpNormal;
        QTest::newRow("higher") << TThreadedTimer::tpHigher;
        QTest::newRow("highest") << TThreadedTimer::tpHighest;
        QTest::newRow("time critical") << TThreadedTimer::tpTimeCritical;
    }
    void everyPriorityKeepsTicking()
    {
        QFETCH(TThreadedTimer::TThreadPriority, priority);
        TThreadedTimer timer;
        int ticks = 0;
        timer.setOnTimer([&] { ++ticks; });
        timer.setThreadPriority(priority);
        QCOMPARE(timer.ThreadPriority(), priority);
        timer.setInterval(15);
        timer.setEnabled(true);
        QTRY_VERIFY_WITH_TIMEOUT(ticks >= 2, 10000);
        // Changed on a running worker too.
        timer.setThreadPriority(priority == TThreadedTimer::tpNormal ? TThreadedTimer::tpLower
                                                                     : TThreadedTimer::tpNormal);
        const int before = ticks;
        QTRY_VERIFY_WITH_TIMEOUT(ticks >= before + 2, 10000);
    }

    // The lower levels are within an unprivileged process's reach: the
    // worker thread really runs nicer than the rest of the process.
    void lowerPrioritiesMakeTheWorkerNicer_data()
    {
        QTest::addColumn<TThreadedTimer::TThreadPriority>("priority");
        QTest::addColumn<int>("offset");
        QTest::newRow("lower") << TThreadedTimer::tpLower << 5;
        QTest::newRow("lowest") << TThreadedTimer::tpLowest << 10;
    }
    void lowerPrioritiesMakeTheWorkerNicer()
    {
        QFETCH(TThreadedTimer::TThreadPriority, priority);
        QFETCH(int, offset);
        const int base = ::getpriority(PRIO_PROCESS, 0);
        if (base + offset > 19)
            QSKIP("the process already runs at the lowest priority");
        QVERIFY(!ThreadNiceValues().count(base + offset));

        TThreadedTimer timer;
        int ticks = 0;
        timer.setOnTimer([&] { ++ticks; });
        timer.setThreadPriority(priority);
        timer.setInterval(15);
        timer.setEnabled(true);
        QTRY_VERIFY_WITH_TIMEOUT(ticks >= 1, 10000);
        QVERIFY(ThreadNiceValues().count(base + offset));
    }

    void timerWithoutHandlerStillRuns()
    {
        TThreadedTimer timer;
        timer.setInterval(15);
        timer.setEnabled(true);
        QTest::qWait(60);
        QCOMPARE(timer.TickCount(), std::uint64_t(0));
        int ticks = 0;
        timer.setOnTimer([&] { ++ticks; });
        QTRY_VERIFY_WITH_TIMEOUT(ticks >= 1, 10000);
    }
};

QTEST_GUILESS_MAIN(TestThreadedTimer)
#include "tst_threadedtimer.moc"
