// Hostile question bases and settings files, through the real windows: each
// ends in the game's message or its sound fallback, never in a crash, a hang,
// a changed base that failed to load, or a write outside QA/ and the settings
// file.
#include "questionbase/BaseFileModel.h"
#include "questionbase/Cp1251.h"
#include "game/GameSession.h"
#include "questionbase/GameState.h"
#include "forms/MessageBox.h"
#include "SyntheticBase.h"
#include "app/TFormMain.h"
#include "player/TFormNewNameGamer.h"
#include "player/TFormTop5.h"
#include "widgets/TThreadedTimer.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include <sys/stat.h>

namespace {

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(bytes), bytes.size());
}

// Every file under the working folder, relative, sorted.
QStringList allFiles()
{
    QStringList files;
    QDirIterator it(QStringLiteral("."), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << QDir().relativeFilePath(it.next());
    files.sort();
    return files;
}

QByteArray noise(int size, quint32 seed)
{
    QRandomGenerator random(seed);
    QByteArray bytes(size, Qt::Uninitialized);
    for (char &b : bytes)
        b = char(random.bounded(256));
    return bytes;
}

QByteArray goodBase()
{
    return SerializeBaseFile(SyntheticBaseModel(15 * 4));
}

QList<QByteArray> goodLines()
{
    QList<QByteArray> lines = goodBase().split('\n');
    lines.removeLast(); // the empty piece after the final line end
    return lines;
}

QByteArray joinLines(const QList<QByteArray> &lines)
{
    return lines.join('\n') + '\n';
}

QByteArray flipped(const QByteArray &plain)
{
    QByteArray out;
    for (char c : plain)
        out.append(char(FlipChar(std::uint8_t(c))));
    return out;
}

} // namespace

class TestBadInput : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_oldDir = QDir::currentPath();
        QVERIFY(QDir::setCurrent(m_dir->path()));
        QVERIFY(QDir().mkdir(QStringLiteral("QA")));
        m_messages.clear();
        SetMessageSinkForTests([this](const QString &text) { m_messages << text; });
    }

    void cleanup()
    {
        m_newName.reset();
        m_top5.reset();
        m_main.reset();
        m_others.clear();
        m_state = nullptr;
        m_session.reset();
        SetMessageSinkForTests({});
        QDir::setCurrent(m_oldDir);
        m_dir.reset();
    }

    void hostileBase_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("playable");

        const QByteArray good = goodBase();
        QTest::newRow("well formed (control row)") << good << true;
        QTest::newRow("truncated in the level counts") << good.left(good.indexOf("\r\n4\x13") + 5) << false;
        QTest::newRow("truncated in a question line") << good.left(good.size() * 2 / 3) << false;
        QTest::newRow("truncated to one byte") << good.left(1) << false;
        QTest::newRow("empty file") << QByteArray() << false;
        QTest::newRow("100 MB single line") << QByteArray(100 * 1024 * 1024, char(0xBE)) << false;
        QTest::newRow("binary noise") << noise(1 << 20, 7) << false;
        QTest::newRow("binary noise after a good header") << goodLines().mid(0, 5).join('\n') + '\n' + noise(4096, 9)
                                                          << false;

        // A leaderboard name holding every byte that can stand inside a field.
        QByteArray everyByte;
        for (int b = 0; b < 256; ++b) {
            if (b != 19 && b != '\r' && b != '\n')
                everyByte.append(char(b));
        }
        QList<QByteArray> lines = goodLines();
        lines[1] = everyByte + lines[1].mid(lines[1].indexOf('\x13'));
        QTest::newRow("every byte value in a name") << joinLines(lines) << true;

        lines = goodLines();
        lines[2] = flipped("2147483647") + '\x13' + flipped("Редакция");
        QTest::newRow("authors count 2147483647 with one name") << joinLines(lines) << false;
        lines = goodLines();
        lines[4] = "2147483647" + lines[4].mid(lines[4].indexOf('\x13'));
        QTest::newRow("level count 2147483647") << joinLines(lines) << false;
        lines = goodLines();
        lines[4] = "2147483648" + lines[4].mid(lines[4].indexOf('\x13'));
        QTest::newRow("level count past 32 bits") << joinLines(lines) << false;
        lines = goodLines();
        lines[1] = lines[1].left(lines[1].lastIndexOf('\x13') + 1) + flipped("2147483647");
        QTest::newRow("games played 2147483647") << joinLines(lines) << true;
    }

    void hostileBase()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, playable);
        writeBytes(QStringLiteral("QA/Base.QA"), bytes);
        writeBytes(QStringLiteral("Zorban.ini"), "[Base]=Base.QA\r\n[Names]=1\r\nTester\r\n");
        openWindows();
        const QStringList filesBefore = allFiles();

        // The new-game dialog describes the base and confirms the name.
        m_newName->show();
        QVERIFY(m_newName->isVisible());
        m_newName->LabelBtnOkMouseDown();
        m_newName->LabelBtnOkMouseUp();
        QVERIFY(!m_newName->isVisible());

        m_main->LabelBtnNewGameMouseDown();
        m_main->LabelBtnNewGameMouseUp();
        QCOMPARE(m_state->GameActive, playable);
        if (!playable) {
            QVERIFY(m_main->LabelDialog->text().contains(QStringLiteral("сбой при чтении файла вопросной базы")));
            QCOMPARE(fileBytes(QStringLiteral("QA/Base.QA")), bytes);
        } else {
            // Take the money at once: the base is rewritten and reads back.
            m_main->LabelBtnNewGameMouseDown();
            m_main->LabelBtnNewGameMouseUp();
            QVERIFY(!m_state->GameActive);
            QVERIFY(m_messages.isEmpty());
            const auto parsed = ParseBaseFile(fileBytes(QStringLiteral("QA/Base.QA")));
            QVERIFY(std::holds_alternative<BaseFileModel>(parsed));
            const auto &model = std::get<BaseFileModel>(parsed);
            for (const BestTable &entry : model.Leaders) {
                for (QChar ch : entry.Name)
                    QVERIFY2(ch.unicode() >= 32, "a control character reached the file");
            }
        }
        QCOMPARE(allFiles(), filesBefore);
    }

    // A base name that is not a regular file, or a file too large to be a base:
    // the dialog never offers it, describing it reports it, loading it shows
    // the load failure, nothing waits on it and nothing replaces it.
    void entryThatIsNoBaseNeverBlocks_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("listed");
        QTest::newRow("FIFO without a writer") << "fifo" << false;
        QTest::newRow("folder") << "folder" << false;
        QTest::newRow("endless device") << "device" << false;
        QTest::newRow("file one byte over 512 MiB") << "huge" << true;
    }

    void entryThatIsNoBaseNeverBlocks()
    {
        QFETCH(QString, kind);
        QFETCH(bool, listed);
        const QByteArray base = "QA/Base.QA";
        if (kind == "fifo")
            QCOMPARE(::mkfifo(base.constData(), 0644), 0);
        else if (kind == "folder")
            QVERIFY(QDir().mkdir(QString::fromLatin1(base)));
        else if (kind == "device")
            QVERIFY(QFile::link(QStringLiteral("/dev/zero"), QString::fromLatin1(base)));
        else
            QVERIFY(QFile(QString::fromLatin1(base)).open(QIODevice::WriteOnly)
                    && QFile(QString::fromLatin1(base)).resize((qint64(512) << 20) + 1)); // sparse
        struct stat before {};
        QCOMPARE(::lstat(base.constData(), &before), 0);
        writeBytes(QStringLiteral("Zorban.ini"), "[Base]=Base.QA\r\n[Names]=1\r\nTester\r\n");
        openWindows();

        m_newName->show();
        QCOMPARE(m_newName->BaseFileList.contains(QStringLiteral("Base.QA")), listed);
        QTRY_COMPARE(m_messages.size(), 1);
        QVERIFY2(m_messages.first().contains(QStringLiteral("QA/Base.QA")), qPrintable(m_messages.first()));
        m_newName->LabelBtnOkMouseDown();
        m_newName->LabelBtnOkMouseUp();

        m_main->LabelBtnNewGameMouseDown();
        m_main->LabelBtnNewGameMouseUp();
        QVERIFY(!m_state->GameActive);
        QVERIFY(m_main->LabelDialog->text().contains(QStringLiteral("сбой при чтении файла вопросной базы")));
        struct stat after {};
        QCOMPARE(::lstat(base.constData(), &after), 0);
        QCOMPARE(after.st_mode, before.st_mode);
        QCOMPARE(after.st_ino, before.st_ino);
        if (kind == "huge")
            QVERIFY(QFile::remove(QString::fromLatin1(base))); // half a gigabyte, even sparse, goes at once
    }

    void hostileSettings_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("expectedBase");

        QTest::newRow("well formed (control row)") << QByteArray("[Base]=Base.QA\r\n[Names]=1\r\nTester\r\n")
                                                   << "Base.QA";
        QTest::newRow("base name ../x") << QByteArray("[Base]=../x\r\n[Names]=0\r\n") << "Base.QA";
        QTest::newRow("base name with a separator") << QByteArray("[Base]=a/Base.QA\r\n[Names]=0\r\n")
                                                    << "Base.QA";
        QTest::newRow("absolute base name") << QByteArray("[Base]=/etc/passwd\r\n[Names]=0\r\n") << "Base.QA";
        QTest::newRow("names count 2147483647") << QByteArray("[Base]=Base.QA\r\n[Names]=2147483647\r\nA\r\n")
                                                << "Base.QA";
        QTest::newRow("names count past 32 bits") << QByteArray("[Base]=Base.QA\r\n[Names]=99999999999\r\n")
                                                  << "Base.QA";
        QTest::newRow("binary noise") << noise(65536, 3) << "Base.QA";
        QTest::newRow("100 MB single line") << QByteArray(100 * 1024 * 1024, 'x') << "Base.QA";
        QByteArray everyByte("[Base]=Base.QA\r\n[Names]=1\r\n");
        for (int b = 1; b < 256; ++b) {
            if (b != '\r' && b != '\n')
                everyByte.append(char(b));
        }
        QTest::newRow("every byte value in a name") << everyByte + "\r\n" << "Base.QA";
    }

    void hostileSettings()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, expectedBase);
        writeBytes(QStringLiteral("QA/Base.QA"), goodBase());
        writeBytes(QStringLiteral("Zorban.ini"), bytes);
        openWindows();
        const QStringList filesBefore = allFiles();

        m_newName->show();
        m_newName->EditNewNameGamer->setText(QStringLiteral("Игрок"));
        m_newName->LabelBtnOkMouseDown();
        m_newName->LabelBtnOkMouseUp();
        QVERIFY(!m_newName->isVisible());
        QCOMPARE(m_state->CurrentBaseFile, expectedBase);
        QCOMPARE(m_state->PlayerName, QStringLiteral("Игрок"));

        // The rewritten settings file reads back, holds no control character
        // and names the player first.
        const QByteArray written = fileBytes(QStringLiteral("Zorban.ini"));
        QVERIFY(written.size() < 64 * 1024);
        for (const QByteArray &line : written.split('\n')) {
            for (char c : line.chopped(line.endsWith('\r') ? 1 : 0))
                QVERIFY2(std::uint8_t(c) >= 32, "a control character reached the settings file");
        }
        QVERIFY(written.startsWith("[Base]=" + expectedBase.toLatin1() + "\r\n"));
        QCOMPARE(allFiles(), filesBefore);
    }

private:
    void openWindows()
    {
        m_session = std::make_unique<GameSession>();
        m_state = &m_session->state();
        m_main = std::make_unique<TFormMain>(*m_session);
        m_main->TimerForMenu->setEnabled(false);
        m_top5 = std::make_unique<TFormTop5>(*m_session, *m_main);
        m_newName = std::make_unique<TFormNewNameGamer>(*m_session, *m_main);
        for (int i = 0; i < 3; ++i)
            m_others.push_back(std::make_unique<QWidget>());
        m_main->setDialogs(m_others[0].get(), m_others[1].get(), m_newName.get(), m_others[2].get(), m_top5.get());
        m_main->show();
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_oldDir;
    QStringList m_messages;
    std::unique_ptr<GameSession> m_session;
    const GameState *m_state = nullptr;
    std::unique_ptr<TFormMain> m_main;
    std::unique_ptr<TFormTop5> m_top5;
    std::unique_ptr<TFormNewNameGamer> m_newName;
    std::vector<std::unique_ptr<QWidget>> m_others;
};

QTEST_MAIN(TestBadInput)
#include "tst_badinput.moc"
