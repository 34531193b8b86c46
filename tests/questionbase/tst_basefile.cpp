// The base file format: reading and writing lines, whole-file parsing.

#include "BaseBytes.h"
#include "questionbase/BaseFile.h"
#include "questionbase/BaseFileModel.h"

#include <QTest>

using namespace TestBase;

Q_DECLARE_METATYPE(BaseFailure)

class TestBaseFile : public QObject {
    Q_OBJECT

private slots:
    void linesEndAtCrLfOrLoneLf_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QList<QByteArray>>("lines");
        QTest::newRow("crlf") << QByteArray("a\r\nb\r\n") << QList<QByteArray>{"a", "b"};
        QTest::newRow("lone lf") << QByteArray("a\nb\n") << QList<QByteArray>{"a", "b"};
        QTest::newRow("mixed, last line unterminated") << QByteArray("a\nb\r\nc") << QList<QByteArray>{"a", "b", "c"};
        QTest::newRow("empty lines kept") << QByteArray("\r\n\r\nx\r\n") << QList<QByteArray>{"", "", "x"};
        QTest::newRow("lone cr stays in the line") << QByteArray("a\rb\r\r\n") << QList<QByteArray>{"a\rb\r"};
        QTest::newRow("empty file") << QByteArray() << QList<QByteArray>{};
    }

    void linesEndAtCrLfOrLoneLf()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QList<QByteArray>, lines);
        QCOMPARE(BaseFile::SplitLines(bytes), lines);
    }

    void numbersAreBuiltDigitByDigit_data()
    {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<bool>("plain");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("value");
        QTest::newRow("empty is zero") << QByteArray() << false << true << 0;
        QTest::newRow("flipped 15") << QByteArray("\xEE\xEA") << false << true << 15;
        QTest::newRow("flipped 0") << QByteArray("\xEF") << false << true << 0;
        QTest::newRow("plain 123") << QByteArray("123") << true << true << 123;
        QTest::newRow("leading zeros") << QByteArray("007") << true << true << 7;
        QTest::newRow("largest") << QByteArray("2147483647") << true << true << 2147483647;
        QTest::newRow("one over") << QByteArray("2147483648") << true << false << 0;
        QTest::newRow("far over") << QByteArray("99999999999999999999") << true << false << 0;
        QTest::newRow("plain digits where flipped are due") << QByteArray("12") << false << false << 0;
        QTest::newRow("sign") << QByteArray("-1") << true << false << 0;
        QTest::newRow("space") << QByteArray("1 2") << true << false << 0;
    }

    void numbersAreBuiltDigitByDigit()
    {
        QFETCH(QByteArray, stored);
        QFETCH(bool, plain);
        QFETCH(bool, ok);
        QFETCH(int, value);
        std::int32_t read = -1;
        const auto reason = BaseFile::ParseNumber(stored, plain, &read);
        QCOMPARE(!reason.has_value(), ok);
        if (ok)
            QCOMPARE(read, value);
    }

    void numbersAreWrittenAsDigits()
    {
        QCOMPARE(BaseFile::EncodeNumber(15), QByteArray("\xEE\xEA"));
        QCOMPARE(BaseFile::EncodeNumber(0), QByteArray("\xEF"));
        QCOMPARE(BaseFile::EncodeNumber(2147483647, true), QByteArray("2147483647"));
        QCOMPARE(BaseFile::EncodeNumber(-5, true), QByteArray("0"));
    }

    void countZeroIsTheFlippedDigitAlone()
    {
        QCOMPARE(BaseFile::WriteNameLine(0, {}), QByteArray("\xEF"));
        std::int32_t count = -1;
        QStringList names{"x"};
        QVERIFY(!BaseFile::ReadNameLine("\xEF", 3, &count, &names));
        QCOMPARE(count, 0);
        QVERIFY(names.isEmpty());
    }

    void questionLineFields_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QABase>("expected");
        QABase full;
        full.Question = QStringLiteral("Столица Франции?");
        full.Answers = {QString(), QStringLiteral("Париж"), QStringLiteral("Лион"), QStringLiteral("Ницца"),
                        QStringLiteral("Марсель")};
        full.AuthorIndex = 2;
        full.SubjectIndex = 13;
        QTest::newRow("all seven") << StoredLine({full.Question, full.Answers[1], full.Answers[2], full.Answers[3],
                                                  full.Answers[4], "2", "13"})
                                   << full;
        QABase partial;
        partial.Question = QStringLiteral("Только вопрос");
        partial.Answers[1] = QStringLiteral("ответ");
        QTest::newRow("two fields, the rest empty or 0")
            << StoredLine({partial.Question, partial.Answers[1]}) << partial;
        QTest::newRow("empty line") << QByteArray() << QABase();
        QABase trailing = partial;
        trailing.AuthorIndex = 4;
        QTest::newRow("six fields and a sixth separator")
            << StoredLine({partial.Question, partial.Answers[1], "", "", "", "4", ""}) << trailing;
    }

    void questionLineFields()
    {
        QFETCH(QByteArray, line);
        QFETCH(QABase, expected);
        QABase read;
        read.Question = QStringLiteral("stale");
        const auto failure = BaseFile::ReadQuestionLine(line, 9, &read);
        QVERIFY2(!failure, failure ? qPrintable(failure->Reason) : "");
        QCOMPARE(read, expected);
    }

    void questionLineIsWrittenWithSixSeparators()
    {
        QABase q;
        q.Question = QStringLiteral("Вопрос");
        q.Answers = {QString(), "a", "b", "c", "d"};
        q.AuthorIndex = 3;
        q.SubjectIndex = 0;
        const QByteArray line = BaseFile::WriteQuestionLine(q);
        QCOMPARE(line, StoredLine({QStringLiteral("Вопрос"), "a", "b", "c", "d", "3", "0"}));
        QCOMPARE(line.count(Sep), 6);
        QABase back;
        QVERIFY(!BaseFile::ReadQuestionLine(line, 6, &back));
        QCOMPARE(back, q);
    }

    // Control characters would be stored below 32: a form feed as the separator,
    // a character 18 as CR, 21 as LF. The writer cleans them.
    void writerNeverStoresAByteBelow32InAText()
    {
        QABase q;
        q.Question = QStringLiteral("a\fb") + QChar(18) + QChar(21) + QStringLiteral("\tc\r\n");
        q.Answers = {QString(), QStringLiteral("中文"), QString(QChar(0)), QStringLiteral("ß"), QStringLiteral("ok")};
        const QByteArray line = BaseFile::WriteQuestionLine(q);
        QCOMPARE(line.count(Sep), 6);
        for (char byte : line)
            QVERIFY(std::uint8_t(byte) >= 32 || byte == Sep);
        QABase back;
        QVERIFY(!BaseFile::ReadQuestionLine(line, 6, &back));
        QCOMPARE(back.Question, QStringLiteral("a b   c  "));
        QCOMPARE(back.Answers[1], QStringLiteral("??"));
        QCOMPARE(back.Answers[2], QStringLiteral(" "));
        QCOMPARE(back.Answers[3], QStringLiteral("?"));

        const QByteArray names = BaseFile::WriteNameLine(1, {QStringLiteral("x\fy")});
        QCOMPARE(names.count(Sep), 1);
        std::array<BestTable, 5> leaders{};
        leaders[0].Name = QStringLiteral("\f\f");
        QCOMPARE(BaseFile::WriteLeaderLine(leaders, 0).count(Sep), 15);
    }

    void leaderLineAlwaysHoldsFifteenSeparators()
    {
        std::array<BestTable, 5> leaders{};
        leaders[0] = {QStringLiteral("Аня"), 15, 754};
        const QByteArray line = BaseFile::WriteLeaderLine(leaders, 3);
        QCOMPARE(line, StoredLine({QStringLiteral("Аня"), "15", "754", "", "0", "0", "", "0", "0", "", "0", "0", "",
                                   "0", "0", "3"}));
        std::array<BestTable, 5> back{};
        std::int32_t games = 0;
        QVERIFY(!BaseFile::ReadLeaderLine(line, &back, &games));
        QCOMPARE(back, leaders);
        QCOMPARE(games, 3);
    }

    void leaderLineMissingAndExtraFields()
    {
        std::array<BestTable, 5> leaders{};
        leaders[2].Name = QStringLiteral("stale");
        std::int32_t games = 99;
        QVERIFY(!BaseFile::ReadLeaderLine(QByteArray(), &leaders, &games));
        QCOMPARE(leaders, (std::array<BestTable, 5>{}));
        QCOMPARE(games, 0);

        // Field 17 and beyond are not looked at, even when they are not digits.
        QVERIFY(!BaseFile::ReadLeaderLine(StoredLine({"", "0", "0", "", "0", "0", "", "0", "0", "", "0", "0", "",
                                                      "0", "0", "12", "junk", "x"}),
                                          &leaders, &games));
        QCOMPARE(games, 12);
    }

    void titleAndOpaqueRest()
    {
        const QByteArray header = Stored(QStringLiteral("Моя база")) + Sep + "\x01\xFF" + Sep;
        QCOMPARE(BaseFile::ReadTitle(header), QStringLiteral("Моя база"));
        QCOMPARE(BaseFile::HeaderRest(header), QByteArray() + Sep + "\x01\xFF" + Sep);
        QCOMPARE(BaseFile::HeaderRest(Stored("t")), QByteArray());
    }

    // Failures come back with their line and field.
    void failuresNameTheirPlace_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("line");
        QTest::addColumn<int>("field");

        const QList<QByteArray> good = WellFormedLines(1);
        auto with = [&good](int lineNo, const QByteArray &replacement) {
            QList<QByteArray> lines = good;
            lines[lineNo - 1] = replacement;
            return Lines(lines);
        };
        QTest::newRow("seventh separator in a question line")
            << with(8, QuestionLine("q", 1, 2) + Sep + Stored("3")) << 8 << 7;
        QTest::newRow("seventh separator after an empty field 7")
            << with(6, QuestionLine("q", 1, 2).chopped(1) + Sep) << 6 << 7;
        QTest::newRow("non-digit author index")
            << with(7, StoredLine({"q", "a", "b", "c", "d", "1x", "0"})) << 7 << 6;
        QTest::newRow("subject index over 2147483647")
            << with(20, StoredLine({"q", "a", "b", "c", "d", "0", "2147483648"})) << 20 << 7;
        QTest::newRow("non-digit step on the leaderboard")
            << with(2, StoredLine({"", "0", "0", "", "x", "0"})) << 2 << 5;
        QTest::newRow("games played over 2147483647")
            << with(2, StoredLine({"", "0", "0", "", "0", "0", "", "0", "0", "", "0", "0", "", "0", "0",
                                   "3000000000"}))
            << 2 << 16;
        QTest::newRow("level count over 2147483647")
            << with(5, QByteArray("1") + Sep + "1" + Sep + "99999999999") << 5 << 3;
        QTest::newRow("flipped digit on the plain count line")
            << with(5, Stored("1") + Sep + "1") << 5 << 1;
        QTest::newRow("sixteen level counts")
            << with(5, CountLine({1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}) + Sep + "0") << 5 << 16;
        QTest::newRow("trailing separator on the count line")
            << with(5, CountLine({1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}) + Sep) << 5 << 16;
        QTest::newRow("more authors than the count")
            << with(3, StoredLine({"1", QStringLiteral("Один"), QStringLiteral("Два")})) << 3 << 3;
        QTest::newRow("subjects: a trailing separator is one more name")
            << with(4, StoredLine({"1", QStringLiteral("Один")}) + Sep) << 4 << 3;
        QTest::newRow("bad author count") << with(3, Stored("1a")) << 3 << 1;
        QList<QByteArray> truncated = good;
        truncated.removeLast();
        QTest::newRow("fewer question lines than the counts") << Lines(truncated) << 20 << 0;
    }

    void failuresNameTheirPlace()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, line);
        QFETCH(int, field);
        const auto parsed = ParseBaseFile(bytes);
        const BaseFailure *failure = std::get_if<BaseFailure>(&parsed);
        QVERIFY(failure);
        QVERIFY(!failure->Reason.isEmpty());
        QCOMPARE(failure->Line, line);
        QCOMPARE(failure->Field, field);
    }

    // A count near the 32-bit limit with no lines behind it fails when the lines
    // run out; nothing is sized from it (this would need tens of gigabytes).
    void hugeCountsDoNotAllocate()
    {
        QList<QByteArray> lines = WellFormedLines(1);
        lines[4] = CountLine({2000000000, 2147483647, 2000000000});
        const auto parsed = ParseBaseFile(Lines(lines));
        const BaseFailure *failure = std::get_if<BaseFailure>(&parsed);
        QVERIFY(failure);
        QCOMPARE(failure->Line, 6 + 15);

        // A name count that far beyond its names is refused on its own line.
        lines[2] = StoredLine({"2000000000", QStringLiteral("Один")});
        const auto names = ParseBaseFile(Lines(lines));
        QVERIFY(std::holds_alternative<BaseFailure>(names));
        QCOMPARE(std::get<BaseFailure>(names).Line, 3);
    }

    void missingLinesAndFieldsReadAsEmptyOrZero()
    {
        // Only a title and a count line: lines 2 to 4 are empty.
        const QByteArray bytes = Lines({Stored("T"), QByteArray(), QByteArray(), QByteArray(), CountLine({1}),
                                        StoredLine({"q"})});
        const auto parsed = ParseBaseFile(bytes);
        const BaseFileModel *model = std::get_if<BaseFileModel>(&parsed);
        QVERIFY(model);
        QCOMPARE(model->Leaders, (std::array<BestTable, 5>{}));
        QCOMPARE(model->GamesPlayed, 0);
        QCOMPARE(model->AuthorCount, 0);
        QVERIFY(model->Authors.isEmpty());
        QCOMPARE(model->Levels[0].size(), 1);
        QCOMPARE(model->Levels[0][0].Question, QStringLiteral("q"));
        QCOMPARE(model->Levels[0][0].Answers[4], QString());
        for (int level = 1; level < 15; ++level)
            QVERIFY(model->Levels[level].isEmpty());

        // A file of one line: everything else missing.
        const auto bare = ParseBaseFile(Stored("T"));
        QVERIFY(std::holds_alternative<BaseFileModel>(bare));
        QCOMPARE(std::get<BaseFileModel>(bare).HeaderLine, Stored("T"));
    }

    void fewerNamesThanTheCountAreKeptAsRead()
    {
        QList<QByteArray> lines = WellFormedLines(1);
        lines[2] = StoredLine({"4", QStringLiteral("Один")});
        const auto parsed = ParseBaseFile(Lines(lines));
        const BaseFileModel *model = std::get_if<BaseFileModel>(&parsed);
        QVERIFY(model);
        QCOMPARE(model->AuthorCount, 4);
        QCOMPARE(model->Authors, QStringList{QStringLiteral("Один")});
        // Written back with the count as read and the missing names empty.
        QCOMPARE(BaseFile::SplitLines(SerializeBaseFile(*model)).value(2),
                 StoredLine({"4", QStringLiteral("Один"), "", "", ""}));

        // A count that claims far more names than the line holds is refused.
        lines[2] = StoredLine({QString::number(BaseFile::MaxMissingNames + 2), QStringLiteral("Один")});
        QVERIFY(std::holds_alternative<BaseFailure>(ParseBaseFile(Lines(lines))));
    }

    void wellFormedBaseRoundTripsByteForByte_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("two per level, opaque header rest") << Lines(WellFormedLines(2));
        QList<QByteArray> empty = WellFormedLines(1);
        empty[0] = Stored(QStringLiteral("Без хвоста"));
        empty[1] = StoredLine({"", "0", "0", "", "0", "0", "", "0", "0", "", "0", "0", "", "0", "0", "0"});
        empty[2] = Stored("0");
        empty[3] = Stored("0");
        QTest::newRow("no names, empty leaderboard, nothing after the title") << Lines(empty);
        QList<QByteArray> uneven = WellFormedLines(1);
        uneven[4] = CountLine({1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 2});
        uneven << QuestionLine(QStringLiteral("ещё"), 0, 0);
        QTest::newRow("uneven levels") << Lines(uneven);
    }

    void wellFormedBaseRoundTripsByteForByte()
    {
        QFETCH(QByteArray, bytes);
        const auto parsed = ParseBaseFile(bytes);
        QVERIFY(std::holds_alternative<BaseFileModel>(parsed));
        QCOMPARE(SerializeBaseFile(std::get<BaseFileModel>(parsed)), bytes);
    }

    void loneLfIsReadAndCrLfWritten()
    {
        const QList<QByteArray> lines = WellFormedLines(1);
        const auto parsed = ParseBaseFile(Lines(lines, "\n"));
        QVERIFY(std::holds_alternative<BaseFileModel>(parsed));
        QCOMPARE(SerializeBaseFile(std::get<BaseFileModel>(parsed)), Lines(lines, "\r\n"));
    }

    void extraLinesAreDroppedOnWriting()
    {
        QList<QByteArray> lines = WellFormedLines(1);
        const QByteArray expected = Lines(lines);
        lines << StoredLine({"лишняя"}) << QByteArray();
        const auto parsed = ParseBaseFile(Lines(lines));
        QVERIFY(std::holds_alternative<BaseFileModel>(parsed));
        QCOMPARE(std::get<BaseFileModel>(parsed).ExtraLines, 2);
        QCOMPARE(SerializeBaseFile(std::get<BaseFileModel>(parsed)), expected);
    }

    void progressRunsAfterEveryQuestionLine()
    {
        QList<std::pair<std::int64_t, std::int64_t>> reads;
        const auto parsed = ParseBaseFile(Lines(WellFormedLines(2)),
                                          [&reads](std::int64_t n, std::int64_t total) { reads.append({n, total}); });
        QVERIFY(std::holds_alternative<BaseFileModel>(parsed));
        QCOMPARE(reads.size(), 30);
        QCOMPARE(reads.first(), std::make_pair(std::int64_t(1), std::int64_t(30)));
        QCOMPARE(reads.last(), std::make_pair(std::int64_t(30), std::int64_t(30)));

        int writes = 0;
        SerializeBaseFile(std::get<BaseFileModel>(parsed), [&writes](std::int64_t, std::int64_t) { ++writes; });
        QCOMPARE(writes, 30);
    }
};

QTEST_GUILESS_MAIN(TestBaseFile)
#include "tst_basefile.moc"
