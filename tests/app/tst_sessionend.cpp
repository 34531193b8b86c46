// The ways a session ends from outside each finish the game once, and only
// once, on the user-interface thread.
#include "app/SessionEnd.h"

#include <QCoreApplication>
#include <QTest>
#include <QTimer>

#include <csignal>

class TestSessionEnd : public QObject {
    Q_OBJECT
private slots:
    void eachEndFinishesOnce_data()
    {
        QTest::addColumn<int>("signal");
        QTest::addColumn<bool>("displayLost");
        QTest::newRow("SIGTERM") << SIGTERM << false;
        QTest::newRow("SIGHUP") << SIGHUP << false;
        QTest::newRow("SIGINT") << SIGINT << false;
        QTest::newRow("display connection lost") << 0 << true;
    }

    void eachEndFinishesOnce()
    {
        QFETCH(int, signal);
        QFETCH(bool, displayLost);
        QList<bool> finishes;
        SessionEnd sessionEnd([&finishes](bool lost) { finishes.append(lost); });
        if (signal != 0) {
            ::raise(signal);
            ::raise(signal);
            // The handler only wrote a byte; the finish waits for the event loop.
            QVERIFY(finishes.isEmpty());
            QTRY_COMPARE(finishes.size(), 1);
        } else {
            // The platform's last words before it ends the process: the finish
            // runs at once, without an event loop.
            qWarning("The X11 connection broke (error 1). Did the X11 server die?");
            QCOMPARE(finishes.size(), 1);
        }
        QCOMPARE(finishes.first(), displayLost);
        // What follows (a second signal, the application quitting) finishes nothing more.
        ::raise(SIGTERM);
        QTest::qWait(20);
        QCOMPARE(finishes.size(), 1);
    }

    void quittingFinishes()
    {
        bool finished = false;
        SessionEnd sessionEnd([&finished](bool) { finished = true; });
        QTimer::singleShot(0, QCoreApplication::instance(), &QCoreApplication::quit);
        QCoreApplication::exec();
        QVERIFY(finished);
    }
};

QTEST_GUILESS_MAIN(TestSessionEnd)
#include "tst_sessionend.moc"
