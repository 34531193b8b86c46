// The base file is never left half-written: a rewrite killed at any moment
// leaves the old file or the new one, and a rewrite that runs out of room
// fails cleanly with the old base intact.
#include "questionbase/BaseFileModel.h"
#include "SyntheticBase.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <csignal>

namespace {

QByteArray readAll(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

bool writeAll(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

QString childPath()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/zorban-savechild");
}

} // namespace

class TestSaveSafety : public QObject {
    Q_OBJECT

private slots:
    void killedRewriteLeavesOldOrNewBase()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("QA")));
        const QString base = dir.filePath(QStringLiteral("QA/Big.QA"));
        const QByteArray oldBytes = SerializeBaseFile(SyntheticBaseModel(50000));
        QVERIFY(writeAll(base, oldBytes));

        // One undisturbed run gives the new bytes and the span of the rewrite,
        // from the child's "writing" line to its exit: the kills fall there.
        qint64 spanUs = 0;
        {
            QProcess child;
            child.start(childPath(), {base});
            QVERIFY(child.waitForReadyRead(60000));
            QElapsedTimer clock;
            clock.start();
            QVERIFY(child.waitForFinished(60000));
            spanUs = qMax<qint64>(clock.nsecsElapsed() / 1000, 2000);
            QCOMPARE(child.exitCode(), 0);
        }
        const QByteArray newBytes = readAll(base);
        QVERIFY(newBytes != oldBytes);
        QVERIFY(!newBytes.isEmpty());

        const int kills = 220;
        int sawOld = 0;
        int sawNew = 0;
        int leftovers = 0;
        for (int i = 0; i < kills; ++i) {
            QVERIFY(writeAll(base, oldBytes));
            QProcess child;
            child.start(childPath(), {base});
            QVERIFY(child.waitForReadyRead(60000));
            // Spread the kills over the whole rewrite, a little past its end too.
            const qint64 delayUs = (spanUs * 11 / 10) * i / kills;
            QThread::usleep(delayUs);
            ::kill(pid_t(child.processId()), SIGKILL);
            QVERIFY(child.waitForFinished(30000));

            const QByteArray now = readAll(base);
            if (now == oldBytes)
                ++sawOld;
            else if (now == newBytes)
                ++sawNew;
            else
                QFAIL(qPrintable(QStringLiteral("kill %1 after %2 us left a base of %3 bytes that is neither old nor new")
                                     .arg(i).arg(delayUs).arg(now.size())));
            // A killed writer may leave its temporary file behind; it is never the base.
            const QStringList others = QDir(dir.filePath(QStringLiteral("QA")))
                                           .entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
            for (const QString &name : others) {
                if (name != QLatin1String("Big.QA")) {
                    ++leftovers;
                    QFile::remove(dir.filePath(QStringLiteral("QA/") + name));
                }
            }
        }
        qInfo("%d kills: %d left the old base, %d the new one, %d temporary files removed afterwards",
              kills, sawOld, sawNew, leftovers);
        QCOMPARE(sawOld + sawNew, kills);
        QVERIFY(sawOld > 0);
    }

    void rewriteWithoutRoomFailsAndKeepsOldBase()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("QA")));
        const QString base = dir.filePath(QStringLiteral("QA/Big.QA"));
        const QByteArray oldBytes = SerializeBaseFile(SyntheticBaseModel(3000));
        QVERIFY(writeAll(base, oldBytes));

        const QString limit = QString::number(oldBytes.size() / 2);
        QCOMPARE(QProcess::execute(childPath(), {base, limit}), 3);
        QCOMPARE(readAll(base), oldBytes);
        QCOMPARE(QDir(dir.filePath(QStringLiteral("QA")))
                     .entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList{QStringLiteral("Big.QA")});
    }
};

QTEST_GUILESS_MAIN(TestSaveSafety)
#include "tst_savesafety.moc"
