// The sound switch and window choice survive between runs in their own file,
// whatever a hand has done to it, and every cue the game plays is compiled in.

#include "player/GameOptions.h"
#include "sound/SoundBoard.h"
#include "sound/SoundCue.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class TestSound : public QObject {
    Q_OBJECT

private slots:
    void optionsRead_data();
    void optionsRead();
    void optionsSurviveARun();
    void everyCueIsCompiledIn();
    void switchedOffBoardStaysQuiet();
};

void TestSound::optionsRead_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("sound");
    QTest::addColumn<bool>("window");
    QTest::newRow("no file: defaults") << QByteArray() << true << false;
    QTest::newRow("as written") << QByteArray("Sound=0\r\nWindow=1\r\n") << false << true;
    QTest::newRow("lone LF, spaces, other order") << QByteArray(" Window = 1\nSound= 0 \n") << false << true;
    QTest::newRow("a bad value keeps the default") << QByteArray("Sound=2\r\nWindow=yes\r\n") << true << false;
    QTest::newRow("unknown keys and junk ignored")
        << QByteArray("[Base]=x\r\n\xff\xfe\r\n=1\r\nVolume=7\r\nSound=0\r\n") << false << false;
}

void TestSound::optionsRead()
{
    QFETCH(QByteArray, file);
    QFETCH(bool, sound);
    QFETCH(bool, window);
    const GameOptions options = GameOptions::Parse(file);
    QCOMPARE(options.Sound, sound);
    QCOMPARE(options.Window, window);
}

void TestSound::optionsSurviveARun()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QLatin1String(GameOptions::FileName));
    QCOMPARE(GameOptions::Read(path), GameOptions{}); // first run: nothing there yet
    GameOptions chosen;
    chosen.Sound = false;
    chosen.Window = true;
    QVERIFY(chosen.Write(path));
    QCOMPARE(GameOptions::Read(path), chosen);
    // A folder in the file's place is no options file, and cannot be replaced.
    const QString folder = dir.filePath(QStringLiteral("folder"));
    QVERIFY(QDir().mkdir(folder));
    QCOMPARE(GameOptions::Read(folder), GameOptions{});
    QVERIFY(!chosen.Write(folder));
}

void TestSound::everyCueIsCompiledIn()
{
    for (int i = 0; i <= int(SoundCue::Leaderboard); ++i) {
        QFile cue(QStringLiteral(":/sound/%1.wav").arg(QLatin1String(SoundCueName(SoundCue(i)))));
        QVERIFY2(cue.open(QIODevice::ReadOnly), qPrintable(cue.fileName()));
        QVERIFY(cue.read(4) == "RIFF");
    }
    QCOMPARE(QuestionCue(1), SoundCue::Question1);
    QCOMPARE(QuestionCue(2), SoundCue::Question2);
    QCOMPARE(QuestionCue(3), SoundCue::Question3);
}

void TestSound::switchedOffBoardStaysQuiet()
{
    SoundBoard board;
    QSignalSpy changed(&board, &SoundBoard::enabledChanged);
    board.SetEnabled(false);
    board.SetEnabled(false);
    QCOMPARE(changed.count(), 1);
    QVERIFY(!board.Enabled());
    // Playing with the sound off (or with no output at all) does nothing and
    // returns at once, cue after cue.
    for (int i = 0; i <= int(SoundCue::Leaderboard); ++i)
        board.Play(SoundCue(i));
    board.SetEnabled(true);
    QCOMPARE(changed.count(), 2);
}

QTEST_MAIN(TestSound)
#include "tst_sound.moc"
