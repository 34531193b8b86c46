#include "widgets/TThreadedTimer.h"

#include <QCoreApplication>
#include <QTest>

#include <array>
#include <chrono>
#include <memory>
#include <random>
#include <thread>
#include <vector>

// Thousands of random operations on a pool of timers, including handlers
// that disable or delete their own timer. A deadlock shows as the CTest
// time-out; a handler running for a disabled timer is counted.
class TestTimerStress : public QObject {
    Q_OBJECT

private slots:
    void randomOperationsNeverDeadlockNorTickWhenDisabled()
    {
        constexpr int Slots = 8;
        constexpr int Operations = 6000;
        std::array<TThreadedTimer *, Slots> pool{};
        std::mt19937 rng(20261207);
        const std::array<int, 7> intervals = {0, 1, 5, 15, 20, 40, 60000};
        int ticks = 0;
        int ticksWhileDisabled = 0;
        int selfDeletions = 0;

        auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };

        auto create = [&](int slot) {
            auto *timer = new TThreadedTimer;
            timer->setOnTimer([&, slot, timer] {
                if (!timer->Enabled())
                    ++ticksWhileDisabled;
                ++ticks;
                const int roll = pick(40);
                if (roll == 0) {
                    pool[std::size_t(slot)] = nullptr;
                    ++selfDeletions;
                    delete timer;
                } else if (roll == 1) {
                    timer->setEnabled(false);
                } else if (roll == 2) {
                    timer->setInterval(intervals[std::size_t(pick(5))]);
                } else if (roll == 3) {
                    QCoreApplication::processEvents();
                }
            });
            timer->setAllowZero(pick(2) == 0);
            timer->setInterval(intervals[std::size_t(pick(int(intervals.size())))]);
            pool[std::size_t(slot)] = timer;
        };

        for (int op = 0; op < Operations; ++op) {
            const int slot = pick(Slots);
            TThreadedTimer *timer = pool[std::size_t(slot)];
            const int action = pick(9);
            if (!timer) {
                create(slot);
                continue;
            }
            switch (action) {
            case 0:
                pool[std::size_t(slot)] = nullptr;
                delete timer;
                break;
            case 1:
            case 2:
                timer->setEnabled(true);
                break;
            case 3:
                timer->setEnabled(false);
                break;
            case 4:
                timer->setInterval(intervals[std::size_t(pick(int(intervals.size())))]);
                break;
            case 5:
                timer->setAllowZero(!timer->AllowZero());
                break;
            case 6:
                timer->setThreadPriority(pick(2) ? TThreadedTimer::tpNormal : TThreadedTimer::tpLower);
                break;
            case 7:
                QCoreApplication::processEvents();
                break;
            case 8:
                std::this_thread::sleep_for(std::chrono::microseconds(pick(3000)));
                QCoreApplication::processEvents();
                break;
            }
        }

        // Let whatever is still there tick a little, then tear down with
        // ticks in flight.
        for (auto *timer : pool) {
            if (timer) {
                timer->setInterval(15);
                timer->setEnabled(true);
            }
        }
        QTRY_VERIFY_WITH_TIMEOUT(ticks > 0, 20000);
        QTest::qWait(50);
        for (auto *&timer : pool) {
            delete timer;
            timer = nullptr;
        }
        QCoreApplication::processEvents();

        QCOMPARE(ticksWhileDisabled, 0);
        qInfo("ticks %d, self-deletions %d", ticks, selfDeletions);
    }

    void manyTimersTornDownTogether()
    {
        for (int round = 0; round < 20; ++round) {
            std::vector<std::unique_ptr<TThreadedTimer>> timers;
            int ticks = 0;
            for (int i = 0; i < 16; ++i) {
                auto timer = std::make_unique<TThreadedTimer>();
                timer->setOnTimer([&] { ++ticks; });
                timer->setAllowZero(true);
                timer->setInterval(i % 4 == 0 ? 0 : 1);
                timer->setEnabled(true);
                timers.push_back(std::move(timer));
            }
            QTRY_VERIFY_WITH_TIMEOUT(ticks > 0, 20000);
            timers.clear();
            QCoreApplication::processEvents();
        }
    }
};

QTEST_GUILESS_MAIN(TestTimerStress)
#include "tst_timerstress.moc"
