#include "player/PlayerSettings.h"

#include <QTemporaryDir>
#include <QTest>

#include <QFile>
#include <QDir>
#include <QFileInfo>

using PlayerSettings::Contents;

namespace {

QByteArray Cp(const char *utf8)
{
    // Test texts are written in UTF-8 here and stored as Windows-1251.
    QByteArray out;
    for (const QChar ch : QString::fromUtf8(utf8)) {
        if (ch.unicode() < 0x80)
            out += char(ch.unicode());
        else if (ch.unicode() >= 0x410 && ch.unicode() <= 0x44F)
            out += char(0xC0 + (ch.unicode() - 0x410));
        else
            out += '?';
    }
    return out;
}

} // namespace

class TestPlayerSettings : public QObject {
    Q_OBJECT
private slots:
    void parsesBothKeyOrders_data();
    void parsesBothKeyOrders();
    void unreadableFiles_data();
    void unreadableFiles();
    void otherKeysAreConsumed();
    void hugeCountReadsOnlyThePresentNames();
    void composeAddsANewNameFirstAndNeverTwice_data();
    void composeAddsANewNameFirstAndNeverTwice();
    void composeDropsLinesAfterTheNames();
    void defaultContents();
    void writeReplacesTheFileAndReadsBack();
    void writeFailureKeepsTheOldFile();
};

void TestPlayerSettings::parsesBothKeyOrders_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("base");
    QTest::addColumn<QStringList>("names");

    const QStringList two = {QString::fromUtf8("Вася"), QStringLiteral("Bob")};
    QTest::newRow("written order") << Cp("[Base]=My.QA\r\n[Names]=2\r\nВася\r\nBob\r\n")
                                   << "My.QA" << two;
    QTest::newRow("swapped keys") << Cp("[Names]=2\r\nВася\r\nBob\r\n[Base]=My.QA\r\n")
                                  << "My.QA" << two;
    QTest::newRow("lone LF and no last line end") << Cp("[Names]=2\nВася\nBob\n[Base]=My.QA")
                                                  << "My.QA" << two;
    QTest::newRow("no names") << QByteArray("[Base]=Base.QA\r\n[Names]=0\r\n") << "Base.QA"
                              << QStringList();
    QTest::newRow("empty name line is a name") << QByteArray("[Base]=b.qa\r\n[Names]=2\r\n\r\nX\r\n")
                                               << "b.qa" << QStringList{QString(), "X"};
    QTest::newRow("value holds a further '='") << QByteArray("[Base]=a=b.QA\r\n[Names]=0\r\n")
                                               << "a=b.QA" << QStringList();

    // A value the game cannot use costs only that value: the names stay.
    const QStringList ann = {QStringLiteral("Ann")};
    QTest::newRow("count with a plus sign") << QByteArray("[Base]=b.QA\r\n[Names]=+1\r\nAnn\r\n") << "b.QA" << ann;
    QTest::newRow("count with leading zeros") << QByteArray("[Base]=b.QA\r\n[Names]=0001\r\nAnn\r\n") << "b.QA"
                                              << ann;
    QTest::newRow("count -0") << QByteArray("[Base]=b.QA\r\n[Names]=-0\r\nAnn\r\n") << "b.QA" << QStringList();
    QTest::newRow("negative count reads as no names") << QByteArray("[Base]=b.QA\r\n[Names]=-2147483648\r\n")
                                                      << "b.QA" << QStringList();
    const char *unusable[] = {"sub/Base.QA", "../../etc/passwd", "..\\Base.QA", "..", ""};
    for (const char *base : unusable) {
        QTest::addRow("unusable base name \"%s\" reads as the default", base)
            << QByteArray("[Base]=") + base + "\r\n[Names]=1\r\nAnn\r\n" << "Base.QA" << ann;
    }
}

void TestPlayerSettings::parsesBothKeyOrders()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, base);
    QFETCH(QStringList, names);
    const std::optional<Contents> read = PlayerSettings::Parse(file);
    QVERIFY(read.has_value());
    QCOMPARE(read->BaseFile, std::optional<QString>(base));
    QCOMPARE(read->Names, std::optional<QStringList>(names));
}

void TestPlayerSettings::unreadableFiles_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::newRow("empty file") << QByteArray();
    QTest::newRow("one key line only") << QByteArray("[Base]=Base.QA\r\n");
    QTest::newRow("key line without '='") << QByteArray("[Base]Base.QA\r\n[Names]=0\r\n");
    QTest::newRow("count not a number") << QByteArray("[Base]=Base.QA\r\n[Names]=two\r\n");
    QTest::newRow("count beyond 32 bits") << QByteArray("[Base]=Base.QA\r\n[Names]=4294967296\r\n");
    QTest::newRow("empty count") << QByteArray("[Base]=Base.QA\r\n[Names]=\r\n");
    QTest::newRow("a sign without digits") << QByteArray("[Base]=Base.QA\r\n[Names]=+\r\n");
    QTest::newRow("count swallows the base line")
        << QByteArray("[Names]=2\r\nAnn\r\n[Base]=x.QA\r\n");
}

void TestPlayerSettings::unreadableFiles()
{
    QFETCH(QByteArray, file);
    QVERIFY(!PlayerSettings::Parse(file).has_value());
}

void TestPlayerSettings::otherKeysAreConsumed()
{
    // An unknown key line still counts as one of the two: the names after it are never read.
    const auto read = PlayerSettings::Parse("[Sound]=on\r\n[Base]=A.QA\r\n[Names]=1\r\nAnn\r\n");
    QVERIFY(read.has_value());
    QCOMPARE(read->BaseFile, std::optional<QString>("A.QA"));
    QVERIFY(!read->Names.has_value());
}

void TestPlayerSettings::hugeCountReadsOnlyThePresentNames()
{
    const auto read = PlayerSettings::Parse("[Base]=A.QA\r\n[Names]=2000000000\r\nAnn\r\nBob\r\n");
    QVERIFY(read.has_value());
    QCOMPARE(read->Names, std::optional<QStringList>(QStringList{"Ann", "Bob"}));
}

void TestPlayerSettings::composeAddsANewNameFirstAndNeverTwice_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QByteArray>("expected");
    const QByteArray head = "[Base]=B.QA\r\n";
    QTest::newRow("new name goes first") << "Zoe" << head + "[Names]=3\r\nZoe\r\nAnn\r\nBob\r\n";
    QTest::newRow("known name typed exactly") << "Bob" << head + "[Names]=2\r\nAnn\r\nBob\r\n";
    QTest::newRow("other letter case is new") << "bob" << head + "[Names]=3\r\nbob\r\nAnn\r\nBob\r\n";
    QTest::newRow("empty box adds nothing") << "" << head + "[Names]=2\r\nAnn\r\nBob\r\n";
    QTest::newRow("Cyrillic stored as Windows-1251")
        << QString::fromUtf8("Жора") << head + "[Names]=3\r\n" + Cp("Жора") + "\r\nAnn\r\nBob\r\n";
}

void TestPlayerSettings::composeAddsANewNameFirstAndNeverTwice()
{
    QFETCH(QString, typed);
    QFETCH(QByteArray, expected);
    QCOMPARE(PlayerSettings::Compose("B.QA", typed, {"Ann", "Bob"}), expected);
}

void TestPlayerSettings::composeDropsLinesAfterTheNames()
{
    const auto read = PlayerSettings::Parse("[Names]=1\r\nAnn\r\n[Base]=B.QA\r\nstale\r\nlines\r\n");
    QVERIFY(read.has_value());
    QCOMPARE(PlayerSettings::Compose(*read->BaseFile, QString(), *read->Names),
             QByteArray("[Base]=B.QA\r\n[Names]=1\r\nAnn\r\n"));
}

void TestPlayerSettings::defaultContents()
{
    QCOMPARE(PlayerSettings::DefaultContents(), QByteArray("[Base]=Base.QA\r\n[Names]=0\r\n"));
    const auto read = PlayerSettings::Parse(PlayerSettings::DefaultContents());
    QVERIFY(read.has_value());
    QCOMPARE(read->BaseFile, std::optional<QString>("Base.QA"));
}

void TestPlayerSettings::writeReplacesTheFileAndReadsBack()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath("Zorban.ini");
    QVERIFY(!PlayerSettings::Read(path).has_value());

    QFile old(path);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("old contents that are much longer than the new ones\r\n");
    old.close();

    QString error;
    const QByteArray bytes = PlayerSettings::Compose("Q.QA", "Ann", {});
    QVERIFY2(PlayerSettings::Write(path, bytes, &error), qPrintable(error));
    QFile check(path);
    QVERIFY(check.open(QIODevice::ReadOnly));
    QCOMPARE(check.readAll(), bytes);
    const auto read = PlayerSettings::Read(path);
    QVERIFY(read.has_value());
    QCOMPARE(read->Names, std::optional<QStringList>(QStringList{"Ann"}));
    // No temporary file is left behind.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"Zorban.ini"});
}

void TestPlayerSettings::writeFailureKeepsTheOldFile()
{
    // A folder of that name that cannot be replaced: the write fails with a
    // reason, what stood there stays, and no temporary file is left over.
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath("Zorban.ini");
    QVERIFY(QDir(dir.path()).mkpath("Zorban.ini/kept"));

    QString error;
    QVERIFY(!PlayerSettings::Write(path, PlayerSettings::DefaultContents(), &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(QFileInfo(path + "/kept").isDir());
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList{"Zorban.ini"});

    QVERIFY(!PlayerSettings::Write(dir.filePath("missing/Zorban.ini"), "x", &error));
    QVERIFY(!error.isEmpty());
}

QTEST_GUILESS_MAIN(TestPlayerSettings)
#include "tst_player_settings.moc"
