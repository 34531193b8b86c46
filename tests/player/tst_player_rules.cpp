#include "player/BaseDescription.h"
#include "player/BaseList.h"
#include "questionbase/Cp1251.h"
#include "player/PlayerRules.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

namespace {

QByteArray Flipped(const QString &text)
{
    QByteArray bytes = Cp1251::Encode(text);
    for (char &b : bytes)
        b = char(FlipChar(std::uint8_t(b)));
    return bytes;
}

QByteArray FifteenFields(const QByteArray &each)
{
    QByteArray line;
    for (int level = 1; level <= 15; ++level)
        line += (level > 1 ? "\x13" : "") + each;
    return line;
}

bool WriteFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

class TestPlayerRules : public QObject {
    Q_OBJECT
private slots:
    void nameInputIsCleanedAndCut_data();
    void nameInputIsCleanedAndCut();
    void bareFileNames_data();
    void bareFileNames();
    void arrows_data();
    void arrows();
    void describesABase_data();
    void describesABase();
    void describeFailures_data();
    void describeFailures();
    void baseDescriptionText();
    void listsBasesSortedWithoutCase();
    void noFolderListsNothing();
};

void TestPlayerRules::nameInputIsCleanedAndCut_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("cursor");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("expectedCursor");

    QTest::newRow("plain") << "Ann" << 3 << "Ann" << 3;
    QTest::newRow("Cyrillic and signs kept") << QString::fromUtf8("Вася №1 «!»") << 11
                                             << QString::fromUtf8("Вася №1 «!»") << 11;
    QTest::newRow("control characters dropped") << QString("A\tB\nC\x7f") << 6 << "ABC" << 3;
    QTest::newRow("C1 control dropped") << QString("A") + QChar(0x98) + "B" << 3 << "AB" << 2;
    QTest::newRow("outside the code page dropped")
        << QString::fromUtf8("Zoё ë日本 ✓") << 9 << QString::fromUtf8("Zoё  ") << 5;
    QTest::newRow("21st character typed at the end")
        << QString(21, 'a').replace(20, 1, "b") << 21 << QString(20, 'a') << 20;
    QTest::newRow("21st character typed in the middle")
        << QString(10, 'a') + "X" + QString(10, 'b') << 11 << QString(10, 'a') + QString(10, 'b') << 10;
    QTest::newRow("paste cleaned first, then cut")
        << QString("\x01\x02\x03\x04\x05") + QString(18, 'p') + "tail" << 27
        << QString(18, 'p') + "ta" << 20;
    QTest::newRow("long paste into the middle keeps the head of the paste")
        << "ab" + QString(30, 'x') + "cd" << 32 << "ab" + QString(16, 'x') + "cd" << 18;
}

void TestPlayerRules::nameInputIsCleanedAndCut()
{
    QFETCH(QString, text);
    QFETCH(int, cursor);
    QFETCH(QString, expected);
    QFETCH(int, expectedCursor);
    PlayerRules::CleanNameInput(text, cursor);
    QCOMPARE(text, expected);
    QCOMPARE(cursor, expectedCursor);
    QVERIFY(text.size() <= PlayerRules::MaxNameLength);
}

void TestPlayerRules::bareFileNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("bare");
    QTest::newRow("plain") << "Base.QA" << true;
    QTest::newRow("Cyrillic") << QString::fromUtf8("Кино.QA") << true;
    QTest::newRow("two dots inside") << "a..b.QA" << true;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("dot") << "." << false;
    QTest::newRow("dot dot") << ".." << false;
    QTest::newRow("slash") << "a/b.QA" << false;
    QTest::newRow("backslash") << "a\\b.QA" << false;
    QTest::newRow("absolute") << "/etc/passwd" << false;
    QTest::newRow("control") << "a\tb.QA" << false;
    QTest::newRow("not Windows-1251") << QString::fromUtf8("日本.QA") << false;
}

void TestPlayerRules::bareFileNames()
{
    QFETCH(QString, name);
    QFETCH(bool, bare);
    QCOMPARE(PlayerRules::IsBareFileName(name), bare);
}

void TestPlayerRules::arrows_data()
{
    QTest::addColumn<QString>("arrow");
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("expected");

    QTest::newRow("three names, fresh start, lower arrow") << "lowerName" << 0 << 3 << 1;
    QTest::newRow("three names, fresh start, upper arrow") << "upperName" << 0 << 3 << 2;
    QTest::newRow("lower name arrow wraps to 0") << "lowerName" << 2 << 3 << 0;
    QTest::newRow("upper name arrow steps back") << "upperName" << 2 << 3 << 1;
    QTest::newRow("name index beyond a shorter list") << "upperName" << 7 << 3 << 2;
    QTest::newRow("no names keeps the index") << "lowerName" << 0 << 0 << 0;
    QTest::newRow("one base, upper") << "upperBase" << 0 << 1 << 0;
    QTest::newRow("one base, lower") << "lowerBase" << 0 << 1 << 0;
    QTest::newRow("upper base arrow steps forward") << "upperBase" << 0 << 3 << 1;
    QTest::newRow("upper base arrow wraps to 0") << "upperBase" << 2 << 3 << 0;
    QTest::newRow("lower base arrow wraps to the last") << "lowerBase" << 0 << 3 << 2;
    QTest::newRow("lower base arrow steps back") << "lowerBase" << 2 << 3 << 1;
    QTest::newRow("base index beyond a shrunk list") << "lowerBase" << 9 << 3 << 2;
    QTest::newRow("no bases keeps the index") << "upperBase" << 4 << 0 << 4;
}

void TestPlayerRules::arrows()
{
    QFETCH(QString, arrow);
    QFETCH(int, index);
    QFETCH(int, count);
    QFETCH(int, expected);
    int result = -100;
    if (arrow == "upperName")
        result = PlayerRules::UpperNameIndex(index, count);
    else if (arrow == "lowerName")
        result = PlayerRules::LowerNameIndex(index, count);
    else if (arrow == "upperBase")
        result = PlayerRules::UpperBaseIndex(index, count);
    else if (arrow == "lowerBase")
        result = PlayerRules::LowerBaseIndex(index, count);
    QCOMPARE(result, expected);
}

void TestPlayerRules::describesABase_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("title");
    QTest::addColumn<qint64>("total");
    QTest::addColumn<int>("level1");

    const QString title = QString::fromUtf8("Кино и музыка");
    const QByteArray middle = "\r\n" + Flipped("x") + "\r\n" + Flipped("0") + "\r\n" + Flipped("0") + "\r\n";
    QTest::newRow("fifteen fields of 100")
        << Flipped(title) + "\x13" + "opaque\x13rest" + middle + FifteenFields("100") + "\r\n"
        << title << qint64(1500) << 100;
    QTest::newRow("title without separator")
        << Flipped(title) + middle + FifteenFields("1") << title << qint64(15) << 1;
    QTest::newRow("fewer than five lines")
        << Flipped(title) + "\r\n\r\n" << title << qint64(0) << 0;
    QTest::newRow("sixteenth field ignored, even a non-digit")
        << Flipped("T") + middle + FifteenFields("2") + "\x13" + "999x" << "T" << qint64(30) << 2;
    QTest::newRow("one count and empty fields")
        << Flipped("T") + middle + "3" + QByteArray(14, '\x13') << "T" << qint64(3) << 3;
    QTest::newRow("lone LF line ends")
        << Flipped("T") + "\nx\n0\n0\n" + FifteenFields("7") << "T" << qint64(105) << 7;
    QTest::newRow("empty file") << QByteArray() << "" << qint64(0) << 0;
}

void TestPlayerRules::describesABase()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, title);
    QFETCH(qint64, total);
    QFETCH(int, level1);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(WriteFile(dir.filePath("B.QA"), file));
    const BaseSummary summary = DescribeBaseFile(dir.filePath("B.QA"));
    QVERIFY2(summary.ok(), qPrintable(summary.Error));
    QCOMPARE(summary.Title, title);
    QCOMPARE(TotalQuestions(summary.LevelCounts), total);
    QCOMPARE(summary.LevelCounts[1], level1);
    QCOMPARE(summary.LevelCounts[0], 0);
}

void TestPlayerRules::describeFailures_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("failure");
    QTest::addColumn<int>("parsedLevel1");
    QTest::newRow("non-digit in line 5")
        << QByteArray("t\r\n\r\n\r\n\r\n12\x13" "3a\x13" "4") << int(BaseSummary::Failure::Number) << 12;
    QTest::newRow("count beyond 32 bits")
        << QByteArray("t\r\n\r\n\r\n\r\n99999999999") << int(BaseSummary::Failure::Number) << 999999999;
    QTest::newRow("a sign is no digit")
        << QByteArray("t\r\n\r\n\r\n\r\n-5") << int(BaseSummary::Failure::Number) << 0;
}

void TestPlayerRules::describeFailures()
{
    QFETCH(QByteArray, file);
    QFETCH(int, failure);
    QFETCH(int, parsedLevel1);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(WriteFile(dir.filePath("B.QA"), file));
    const BaseSummary summary = DescribeBaseFile(dir.filePath("B.QA"));
    QCOMPARE(int(summary.failure), failure);
    QVERIFY(!summary.Error.isEmpty());
    QCOMPARE(summary.LevelCounts[1], parsedLevel1);
    QCOMPARE(summary.Title, QString(QChar(Cp1251::DecodeByte(FlipChar('t')))));

    const BaseSummary missing = DescribeBaseFile(dir.filePath("missing.QA"));
    QCOMPARE(missing.failure, BaseSummary::Failure::Open);
    QVERIFY(missing.Error.contains("No such file", Qt::CaseInsensitive));

    // A folder of a base's name fails like a missing file.
    QVERIFY(QDir(dir.path()).mkdir("folder.QA"));
    const BaseSummary folder = DescribeBaseFile(dir.filePath("folder.QA"));
    QCOMPARE(folder.failure, BaseSummary::Failure::Open);
    QVERIFY(!folder.Error.isEmpty());
}

void TestPlayerRules::baseDescriptionText()
{
    QCOMPARE(BaseDescription(QString::fromUtf8("Кино"), "K.QA"), QString::fromUtf8("Кино (K.QA)"));
    QCOMPARE(BaseDescription(QString(), "K.QA"), QString(" (K.QA)"));
    QVERIFY(NoBasesMessage("/home/x/QA").contains("/home/x/QA"));
    QVERIFY(NoBasesMessage("/home/x/QA").contains(".QA"));
}

void TestPlayerRules::listsBasesSortedWithoutCase()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    for (const char *name : {"b.qa", "A.QA", "c.Qa", ".hidden.QA", "notes.txt", "QA", "d.QA.bak"})
        QVERIFY(WriteFile(dir.filePath(name), "x"));
    // Only what can be read as a file is offered: no folder, no FIFO.
    QVERIFY(QDir(dir.path()).mkdir("folder.QA"));
    QCOMPARE(::mkfifo(QFile::encodeName(dir.filePath("fifo.QA")).constData(), 0644), 0);
    QVERIFY(QFile::link("A.QA", dir.filePath("link.QA")));
    QCOMPARE(ListBaseFiles(dir.path()),
             (QStringList{".hidden.QA", "A.QA", "b.qa", "c.Qa", "link.QA"}));
}

void TestPlayerRules::noFolderListsNothing()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(ListBaseFiles(dir.filePath("QA")).isEmpty());
}

QTEST_GUILESS_MAIN(TestPlayerRules)
#include "tst_player_rules.moc"
