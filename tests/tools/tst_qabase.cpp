// The question-base authors' tool: every command, run in process, and the
// built program for its exit codes.

#include "../questionbase/BaseBytes.h"
#include "BaseCheck.h"
#include "BaseCsv.h"
#include "questionbase/BaseFile.h"
#include "QaBaseTool.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace TestBase;

namespace {

QByteArray ReadFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

struct Run {
    int code = -1;
    QString out;
    QString err;
};

Run Qabase(const QStringList &args)
{
    Run run;
    QTextStream out(&run.out);
    QTextStream err(&run.err);
    run.code = RunQaBase(args, out, err);
    out.flush();
    err.flush();
    return run;
}

QList<QByteArray> WithLine(QList<QByteArray> lines, int lineNo, const QByteArray &replacement)
{
    lines[lineNo - 1] = replacement;
    return lines;
}

const QByteArray CsvHeader = "level,question,correct,wrong1,wrong2,wrong3,author,subject\r\n";

// One question per level; level 3's text has the delimiter, doubled quotes and a
// line break (so level 15 starts on line 17).
QString SampleCsv(QChar sep)
{
    QString csv = QString::fromUtf8(CsvHeader);
    if (sep != QLatin1Char(','))
        csv.replace(QLatin1Char(','), sep);
    for (int level = 1; level <= 15; ++level) {
        QString question = QStringLiteral("Вопрос №%1 — ёлка?").arg(level);
        if (level == 3)
            question = QStringLiteral("\"Кто сказал \"\"Поехали!\"\", а%1потом\nулетел?\"").arg(sep);
        csv += QStringLiteral("%1%2%3%2Да%2Нет%2Может быть%2Не знаю%2%4%2%5\r\n")
                   .arg(level)
                   .arg(sep)
                   .arg(question)
                   .arg(level % 2 ? QStringLiteral("Редакция") : QString())
                   .arg(level % 3 ? QStringLiteral("История") : QStringLiteral("Космос"));
    }
    return csv;
}

} // namespace

class TestQabase : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    QString path(const QString &name) const { return m_dir.filePath(name); }

private slots:
    void decodeThenEncodeGivesTheSameBytes_data()
    {
        QTest::addColumn<QByteArray>("base");
        QTest::newRow("opaque header rest, two empty leaderboard slots") << Lines(WellFormedLines(2));

        QList<QByteArray> bare = WellFormedLines(1);
        bare[0] = Stored(QStringLiteral("Без хвоста"));
        bare[1] = StoredLine({"", "0", "0", "", "0", "0", "", "0", "0", "", "0", "0", "", "0", "0", "0"});
        bare[2] = Stored("0"); // count 0: the flipped digit alone
        bare[3] = Stored("0");
        QTest::newRow("no tables, empty leaderboard, title alone") << Lines(bare);

        QList<QByteArray> odd = WellFormedLines(1);
        // A title of every byte the line may hold, and a rest that is only a separator.
        QByteArray title;
        for (int b = 0; b < 256; ++b) {
            if (b != '\n' && b != Sep)
                title += char(b);
        }
        odd[0] = title + Sep;
        odd[1] = StoredLine({QStringLiteral("\"Кавычки\" \\ /"), "15", "2147483647", "", "0", "0", "", "0", "0",
                             "", "0", "0", QStringLiteral("Последний"), "1", "1", "2147483647"});
        odd[6] = StoredLine({QStringLiteral("Символы: \"«»\\/\u0098€№"), "a", "b", "c", "d", "0", "0"});
        QTest::newRow("every title byte, special characters, largest numbers") << Lines(odd);
    }

    void decodeThenEncodeGivesTheSameBytes()
    {
        QFETCH(QByteArray, base);
        WriteFile(path("in.QA"), base);
        const Run decoded = Qabase({"decode", path("in.QA"), "-o", path("base.json")});
        QVERIFY2(decoded.code == 0, qPrintable(decoded.err));
        const Run encoded = Qabase({"encode", path("base.json"), "-o", path("out.QA")});
        QVERIFY2(encoded.code == 0, qPrintable(encoded.err));
        QCOMPARE(ReadFile(path("out.QA")), base);

        // Without -o the JSON goes to the standard output.
        const Run toStdout = Qabase({"decode", path("in.QA")});
        QCOMPARE(toStdout.code, 0);
        QCOMPARE(toStdout.out.toUtf8(), ReadFile(path("base.json")));
    }

    void jsonKeysComeInSchemaOrder()
    {
        WriteFile(path("in.QA"), Lines(WellFormedLines(1)));
        const Run run = Qabase({"decode", path("in.QA")});
        QCOMPARE(run.code, 0);
        qsizetype last = -1;
        for (const char *key : {"\"title\"", "\"title_rest\"", "\"leaders\"", "\"name\"", "\"step\"", "\"ticks\"",
                                "\"games_played\"", "\"authors\"", "\"subjects\"", "\"levels\"", "\"question\"",
                                "\"answers\"", "\"author\"", "\"subject\""}) {
            const qsizetype at = run.out.indexOf(QLatin1String(key), last + 1);
            QVERIFY2(at > last, key);
            last = at;
        }
        QVERIFY(run.out.contains(QStringLiteral("\"title\": \"Тестовая база\"")));
        QVERIFY(run.out.contains(QStringLiteral("\"title_rest\": \"13016f7061717565ff13\"")));
        QVERIFY(run.out.contains(QStringLiteral("\"games_played\": 7")));
    }

    void failedEncodeLeavesNoOutput_data()
    {
        QTest::addColumn<QByteArray>("edit"); // applied to the decoded JSON text
        QTest::addColumn<QString>("where");
        QTest::newRow("a level with no questions") << QByteArray("empty level 7") << "levels[6]";
        QTest::newRow("negative index") << QByteArray("\"author\": 1,->\"author\": -1,") << "levels[0][0].author";
        QTest::newRow("index not a whole number") << QByteArray("\"subject\": 1}->\"subject\": 1.5}")
                                                  << "levels[0][0].subject";
        QTest::newRow("too large") << QByteArray("\"games_played\": 7->\"games_played\": 2147483648")
                                   << "games_played";
        QTest::newRow("three answers") << QByteArray(", \"нет 3\"], \"author\": 1->], \"author\": 1")
                                       << "levels[0][0].answers";
        QTest::newRow("unknown key") << QByteArray("\"games_played\"->\"games\"") << "$";
        QTest::newRow("character outside the code page") << QByteArray("L1Q1 верно->L1Q1 中")
                                                          << "levels[0][0].answers[0]";
        QTest::newRow("title rest not starting with the separator")
            << QByteArray("\"title_rest\": \"13->\"title_rest\": \"14") << "title_rest";
        QTest::newRow("broken JSON") << QByteArray("\"leaders\": [->\"leaders\": [[") << "line 11, column 19: error: not valid JSON";
    }

    void failedEncodeLeavesNoOutput()
    {
        QFETCH(QByteArray, edit);
        QFETCH(QString, where);
        WriteFile(path("in.QA"), Lines(WellFormedLines(1)));
        QCOMPARE(Qabase({"decode", path("in.QA"), "-o", path("base.json")}).code, 0);
        QByteArray json = ReadFile(path("base.json"));
        if (edit == "empty level 7") {
            const qsizetype at = json.indexOf("{\"question\": \"L7Q1\"");
            QVERIFY(at > 0);
            const qsizetype end = json.indexOf('\n', at);
            json.remove(at, end - at);
        } else {
            const QByteArray from = edit.left(edit.indexOf("->"));
            const QByteArray to = edit.mid(edit.indexOf("->") + 2);
            QVERIFY2(json.contains(from), from.constData());
            json.replace(json.indexOf(from), from.size(), to);
        }
        WriteFile(path("bad.json"), json);
        QFile::remove(path("out.QA"));
        const Run run = Qabase({"encode", path("bad.json"), "-o", path("out.QA")});
        QCOMPARE(run.code, 1);
        QVERIFY2(run.err.contains(path("bad.json") + QStringLiteral(": ") + where), qPrintable(run.err));
        QVERIFY(run.err.contains(QStringLiteral("error:")));
        QVERIFY(!QFile::exists(path("out.QA")));
        QCOMPARE(QDir(m_dir.path()).entryList({"out.QA*"}, QDir::Files | QDir::Hidden), QStringList());

        // An existing output stays as it was.
        WriteFile(path("out.QA"), "old");
        QCOMPARE(Qabase({"encode", path("bad.json"), "-o", path("out.QA")}).code, 1);
        QCOMPARE(ReadFile(path("out.QA")), QByteArray("old"));
    }

    void checkReportsEachFindingWithItsLine_data()
    {
        QTest::addColumn<QByteArray>("base");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("expected");
        const QList<QByteArray> good = WellFormedLines(1);
        auto q = [](const QStringList &fields) { return StoredLine(fields); };

        QTest::newRow("error: non-digit index")
            << Lines(WithLine(good, 9, q({"q", "a", "b", "c", "d", "x", "0"}))) << 1 << "line 9, field 6: error:";
        QTest::newRow("error: number too large")
            << Lines(WithLine(good, 2, q({"", "0", "99999999999"}))) << 1 << "line 2, field 3: error:";
        QTest::newRow("error: seventh separator")
            << Lines(WithLine(good, 10, QuestionLine("q") + Sep)) << 1 << "line 10, field 7: error:";
        QTest::newRow("error: fewer question lines than the counts")
            << Lines(good.mid(0, 18)) << 1 << "line 19: error:";
        QTest::newRow("error: more names than the count")
            << Lines(WithLine(good, 3, q({"1", "A", "B"}))) << 1 << "line 3, field 3: error:";
        QTest::newRow("error: sixteen level counts")
            << Lines(WithLine(good, 5, CountLine({1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}) + Sep)) << 1
            << "line 5, field 16: error:";
        QList<QByteArray> emptyLevel = WithLine(good, 5, CountLine({1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0}));
        emptyLevel.removeLast();
        QTest::newRow("error: level with no questions") << Lines(emptyLevel) << 1 << "line 5, field 15: error:";

        QTest::newRow("warning: author beyond the table")
            << Lines(WithLine(good, 7, QuestionLine("q", 3, 0))) << 0 << "line 7, field 6: warning:";
        QTest::newRow("warning: subject beyond the table")
            << Lines(WithLine(good, 7, QuestionLine("q", 0, 4))) << 0 << "line 7, field 7: warning:";
        QTest::newRow("warning: control character")
            << Lines(WithLine(good, 8, q({"q", "a", QStringLiteral("b\tc"), "c", "d", "0", "0"}))) << 0
            << "line 8, field 3: warning:";
        QTest::newRow("warning: empty answer")
            << Lines(WithLine(good, 8, q({"q", "a", "b", "", "d", "0", "0"}))) << 0 << "line 8, field 4: warning:";
        QTest::newRow("warning: empty question")
            << Lines(WithLine(good, 8, q({" ", "a", "b", "c", "d", "0", "0"}))) << 0 << "line 8, field 1: warning:";
        QTest::newRow("warning: two equal answers")
            << Lines(WithLine(good, 11, q({"q", QStringLiteral("Ёж"), "b", QStringLiteral(" еж "), "d", "0", "0"})))
            << 0 << "line 11, field 4: warning: answers 1 and 3";
        QTest::newRow("warning: the same question twice")
            << Lines(WithLine(good, 15, QuestionLine(QStringLiteral("  l4q1 ")))) << 0
            << "line 15, field 1: warning: the same question as line 9";
        QTest::newRow("warning: the same question in quotes")
            << Lines(WithLine(good, 15, QuestionLine(QStringLiteral("«L4Q1»")))) << 0
            << "line 15, field 1: warning: the same question as line 9";
        QTest::newRow("warning: long answer")
            << Lines(WithLine(good, 12, q({"q", QString(80, QLatin1Char('a')), "b", "c", "d", "0", "0"}))) << 0
            << "line 12, field 2: warning:";
        QTest::newRow("warning: long question")
            << Lines(WithLine(good, 12, q({QString(150, QLatin1Char('a')), "a", "b", "c", "d", "0", "0"}))) << 0
            << "line 12, field 1: warning:";
    }

    void checkReportsEachFindingWithItsLine()
    {
        QFETCH(QByteArray, base);
        QFETCH(int, code);
        QFETCH(QString, expected);
        WriteFile(path("c.QA"), base);
        const Run run = Qabase({"check", path("c.QA")});
        QCOMPARE(run.code, code);
        QVERIFY2(run.out.contains(path("c.QA") + QStringLiteral(": ") + expected), qPrintable(run.out));
        // A warning fails only under --strict.
        QCOMPARE(Qabase({"check", "--strict", path("c.QA")}).code, 1);
    }

    void checkPassesAWellFormedBase()
    {
        WriteFile(path("ok.QA"), Lines(WellFormedLines(3)));
        const Run run = Qabase({"check", "--strict", path("ok.QA")});
        QVERIFY2(run.code == 0, qPrintable(run.out));
        QVERIFY(run.out.contains(QStringLiteral("0 error(s), 0 warning(s)")));
    }

    void checkCountsAHugeLevelWithoutLooping()
    {
        WriteFile(path("huge.QA"),
                  Lines(WithLine(WellFormedLines(1), 5, CountLine({2000000000, 2147483647, 1, 1, 1, 1, 1, 1, 1, 1,
                                                                   1, 1, 1, 1, 1}))));
        const Run run = Qabase({"check", path("huge.QA")});
        QCOMPARE(run.code, 1);
        QVERIFY2(run.out.contains(QStringLiteral("line 21: error: the file ends here")), qPrintable(run.out));
    }

    void foldingIgnoresCaseYoQuotesAndSpaces_data()
    {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<bool>("same");
        QTest::newRow("case") << QStringLiteral("Москва") << QStringLiteral("МОСКВА") << true;
        QTest::newRow("yo") << QStringLiteral("Ёлка") << QStringLiteral("елка") << true;
        QTest::newRow("quotes") << QStringLiteral("«Война и мир»") << QStringLiteral("\"Война и мир\"") << true;
        QTest::newRow("spaces") << QStringLiteral(" Кто  это? ") << QStringLiteral("Кто это?") << true;
        QTest::newRow("a space still separates") << QStringLiteral("Кто это") << QStringLiteral("Ктоэто") << false;
        QTest::newRow("different words") << QStringLiteral("Мир") << QStringLiteral("Мор") << false;
        // Texts past sixteen bytes, where the check of a base looks at many bytes at once.
        QTest::newRow("long, case and yo") << QStringLiteral("Какая река течёт через Москву?")
                                           << QStringLiteral("КАКАЯ РЕКА ТЕЧЕТ ЧЕРЕЗ МОСКВУ?") << true;
        QTest::newRow("long, two spaces late") << QStringLiteral("Какая река течет через  Москву?")
                                               << QStringLiteral("Какая река течет через Москву?") << true;
        QTest::newRow("long, a space lost late") << QStringLiteral("Какая река течет черезМоскву?")
                                                 << QStringLiteral("Какая река течет через Москву?") << false;
        QTest::newRow("long, typographic quotes") << QStringLiteral("Кто написал роман „Война и мир“?")
                                                  << QStringLiteral("Кто написал роман Война и мир?") << true;
        QTest::newRow("long, no-break space") << QStringLiteral("Сколько лет длилась\u00a0Столетняя война?")
                                              << QStringLiteral("Сколько лет длилась Столетняя война?") << true;
        QTest::newRow("long, one letter apart") << QStringLiteral("Какая река течет через Москву?")
                                                << QStringLiteral("Какая река течет через Моscву?") << false;
    }

    // FoldForCompare is the rule; the check of a base applies it to stored
    // bytes, for equal answers and for a question asked twice.
    void foldingIgnoresCaseYoQuotesAndSpaces()
    {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(bool, same);
        QCOMPARE(FoldForCompare(a) == FoldForCompare(b), same);

        QList<QByteArray> lines = WellFormedLines(2);
        lines[5] = StoredLine({a, QStringLiteral("нет"), b, a, QStringLiteral("да"), "0", "0"});
        lines[6] = StoredLine({b, QStringLiteral("один"), QStringLiteral("два"), QStringLiteral("три"),
                               QStringLiteral("четыре"), "0", "0"});
        bool sameAnswers = false;
        bool sameQuestion = false;
        for (const Diagnostic &d : CheckBaseBytes(Lines(lines))) {
            sameAnswers = sameAnswers || (d.Line == 6 && d.Message == QStringLiteral("answers 2 and 3 are the same"));
            sameQuestion = sameQuestion || (d.Line == 7 && d.Related == 6);
        }
        QCOMPARE(sameAnswers, same);
        QCOMPARE(sameQuestion, same);
    }

    void importOfCp1251AndUtf8WithBomGiveTheSameBase()
    {
        const QString csv = SampleCsv(QLatin1Char(','));
        WriteFile(path("cp.csv"), Cp1251::Encode(csv));
        WriteFile(path("bom.csv"), QByteArray("\xEF\xBB\xBF") + csv.toUtf8());
        WriteFile(path("plain.csv"), csv.toUtf8());
        WriteFile(path("semi.csv"), Cp1251::Encode(SampleCsv(QLatin1Char(';'))));
        for (const char *name : {"cp", "bom", "plain", "semi"}) {
            const Run run = Qabase({"import", path(QLatin1String(name) + ".csv"), "-o",
                                    path(QLatin1String(name) + ".QA"), "--title", QStringLiteral("Проба")});
            QVERIFY2(run.code == 0, qPrintable(run.err));
        }
        const QByteArray base = ReadFile(path("cp.QA"));
        QVERIFY(!base.isEmpty());
        QCOMPARE(ReadFile(path("bom.QA")), base);
        QCOMPARE(ReadFile(path("plain.QA")), base);

        // Semicolons: the same questions except level 3, whose text holds the delimiter.
        const QList<QByteArray> comma = BaseFile::SplitLines(base);
        const QList<QByteArray> semi = BaseFile::SplitLines(ReadFile(path("semi.QA")));
        QCOMPARE(semi.size(), comma.size());
        for (qsizetype i = 0; i < comma.size(); ++i) {
            if (i != 7)
                QCOMPARE(semi[i], comma[i]);
        }

        const Run info = Qabase({"info", path("cp.QA")});
        QCOMPARE(info.code, 0);
        QVERIFY(info.out.contains(QStringLiteral("Title:        Проба")));
        QVERIFY(info.out.contains(QStringLiteral("Questions:    15")));
        QVERIFY(info.out.contains(QStringLiteral("Authors:      1")));
        QVERIFY(info.out.contains(QStringLiteral("Subjects:     2")));

        // The quoted text with a doubled quote and a comma came through; the
        // line break inside it is written as a space, with a warning.
        const Run json = Qabase({"decode", path("cp.QA")});
        QVERIFY(json.out.contains(QStringLiteral("Кто сказал \\\"Поехали!\\\", а,потом улетел?")));
    }

    void exportThenImportGivesTheSameBase()
    {
        WriteFile(path("src.csv"), SampleCsv(QLatin1Char(',')).toUtf8());
        QCOMPARE(Qabase({"import", path("src.csv"), "-o", path("a.QA"), "--title", "T"}).code, 0);
        QCOMPARE(Qabase({"export", path("a.QA"), "-o", path("a.csv")}).code, 0);
        const QByteArray exported = ReadFile(path("a.csv"));
        QVERIFY(exported.startsWith("\xEF\xBB\xBF" "level,question,correct,wrong1,wrong2,wrong3,author,subject\r\n"));
        QCOMPARE(Qabase({"import", path("a.csv"), "-o", path("b.QA"), "--title", "T"}).code, 0);
        QCOMPARE(ReadFile(path("b.QA")), ReadFile(path("a.QA")));
    }

    // An editor's note column is read past: the base is the same as without it,
    // and export writes the eight columns a base holds.
    void importIgnoresTheCheckColumn()
    {
        WriteFile(path("plain.csv"), SampleCsv(QLatin1Char(',')).toUtf8());
        QString noted;
        for (const QString &row : SampleCsv(QLatin1Char(',')).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts))
            noted += row + (noted.isEmpty() ? QStringLiteral(",check\r\n") : QStringLiteral(",\"writer: 1703, reader: —\"\r\n"));
        WriteFile(path("noted.csv"), noted.toUtf8());
        QCOMPARE(Qabase({"import", path("plain.csv"), "-o", path("plain.QA"), "--title", "T"}).code, 0);
        const Run run = Qabase({"import", path("noted.csv"), "-o", path("noted.QA"), "--title", "T"});
        QVERIFY2(run.code == 0, qPrintable(run.err));
        QCOMPARE(ReadFile(path("noted.QA")), ReadFile(path("plain.QA")));
        QCOMPARE(Qabase({"export", path("noted.QA"), "-o", path("back.csv")}).code, 0);
        QVERIFY(ReadFile(path("back.csv")).startsWith("\xEF\xBB\xBF" "level,question,correct,wrong1,wrong2,wrong3,author,subject\r\n"));
        // A tenth field is still a fault.
        WriteFile(path("ten.csv"), (noted + QStringLiteral("2,q,a,b,c,d,,,note,more\r\n")).toUtf8());
        QVERIFY(Qabase({"import", path("ten.csv"), "-o", path("ten.QA")}).err.contains(
            QStringLiteral("line 18: error: expected 9 columns, found 10")));
    }

    // Each editorial warning, found in a spreadsheet with its row and column
    // and in the base built from it; "" marks rows that must pass --strict.
    void lintsFlagWhatAnEditorWouldSendBack_data()
    {
        QTest::addColumn<QString>("rows");
        QTest::addColumn<QString>("expected");
        QTest::newRow("root shared with the question")
            << "1,Как называется вокальное сочинение без слов?,Вокализ,Романс,Ария,Каватина"
            << "line 17, column correct: warning: the right answer shares a root";
        QTest::newRow("root shared by a wrong answer too")
            << "1,Какое озеро — самое глубокое в мире?,Озеро Байкал,Озеро Танганьика,Озеро Виктория,Озеро Мичиган"
            << "";
        QTest::newRow("lone short answer")
            << "1,Как называется самый высокий вулкан Марса?,Олимп,Гора Арсия,Гора Павлина,Гора Аскрийская"
            << "line 17, column correct: warning: the right answer is the only one of 1 word(s)";
        QTest::newRow("lone first word")
            << "1,Кто написал романс «Жаворонок»?,Михаил Глинка,Александр Алябьев,Александр Варламов,Александр Гурилёв"
            << "line 17, column correct: warning: the wrong answers all begin with \"Александр\"";
        QTest::newRow("a name with a particle is no odd one")
            << "1,Кто написал картину «Мона Лиза»?,Леонардо да Винчи,Микеланджело,Рафаэль,Рембрандт" << "";
        QTest::newRow("В каком… answered without a preposition")
            << "1,В каком виде спорта отбивают волан?,Бадминтон,В теннисе,В гольфе,В хоккее"
            << "line 17, column correct: warning: the question begins with \"В каком\"";
        QTest::newRow("Во and В begin alike")
            << "1,В какой стране находится Эйфелева башня?,Во Франции,В Италии,В Испании,В Германии" << "";
        QTest::newRow("В каком из этих слов… is answered with the words")
            << "1,\"В каком из этих слов букв меньше, чем звуков?\",Ёж,Дом,Кот,Сон" << "";
        QTest::newRow("a short word after a preposition is no particle")
            << "1,Из какого злака пекут чёрный хлеб?,Из ржи,Из пшеницы,Из овса,Из ячменя" << "";
        QTest::newRow("masculine animate accusative in -а")
            << "1,Какую роль Юрий Никулин сыграл в «Кавказской пленнице»?,Балбеса,Труса,Бывалого,Шурика" << "";
        QTest::newRow("какую answered in the nominative")
            << "1,Какую столицу пересекает Влтава?,Прага,Вена,Будапешт,Варшава"
            << "line 17, column correct: warning: the question asks \"какую\"";
        QTest::newRow("the same right answer twice on a level")
            << "2,Какой город — столица России?,Москва,Казань,Тверь,Самара\r\n"
               "2,Где находится Красная площадь?,Москва,Киев,Минск,Рига"
            << "line 18, column correct: warning: the same right answer as line 17 on this level";
        QTest::newRow("a number may repeat")
            << "2,Сколько камер в сердце человека?,Четыре,Две,Три,Шесть\r\n"
               "2,Сколько камер в сердце крокодила?,Четыре,Три,Две,Пять"
            << "";
        QTest::newRow("the same fact on two levels")
            << "1,Какая река — самая длинная в Европе?,Волга,Дунай,Днепр,Урал\r\n"
               "4,Какая река Европы длиннее всех?,Волга,Рейн,Дон,Эльба"
            << "line 18, column question: warning: nearly the same question as line 17";
        QTest::newRow("the same four answers")
            << "1,Какая планета ближе всех к Солнцу?,Меркурий,Венера,Марс,Земля\r\n"
               "2,Какая планета третья от Солнца?,Земля,Марс,Венера,Меркурий"
            << "line 18, column question: warning: the same four answers as line 17";
        QTest::newRow("the first earlier match is named, whichever kind")
            << "1,Какая река — самая длинная в Европе?,Волга,Дунай,Днепр,Урал\r\n"
               "2,Какая река течёт через Волгоград?,Волга,Рейн,Дон,Эльба\r\n"
               "4,Какая река Европы длиннее всех?,Волга,Рейн,Дон,Эльба"
            << "line 19, column question: warning: nearly the same question as line 17";
    }

    void lintsFlagWhatAnEditorWouldSendBack()
    {
        QFETCH(QString, rows);
        QFETCH(QString, expected);
        QString csv = QStringLiteral("level,question,correct,wrong1,wrong2,wrong3,author,subject,check\r\n");
        for (int level = 1; level <= 15; ++level)
            csv += QStringLiteral("%1,Q%1?,A%1,B%1,C%1,D%1,,,\r\n").arg(level);
        for (const QString &row : rows.split(QStringLiteral("\r\n")))
            csv += row + QStringLiteral(",,,writer: —\r\n");
        WriteFile(path("lint.csv"), csv.toUtf8());
        const Run run = Qabase({"check", "--strict", path("lint.csv")});
        QCOMPARE(Qabase({"import", path("lint.csv"), "-o", path("lint.QA")}).code, 0);
        const Run built = Qabase({"check", "--strict", path("lint.QA")});
        if (expected.isEmpty()) {
            QVERIFY2(run.code == 0 && built.code == 0, qPrintable(run.out + built.out));
        } else {
            QCOMPARE(run.code, 1);
            QVERIFY2(run.out.contains(path("lint.csv") + QStringLiteral(": ") + expected), qPrintable(run.out));
            QCOMPARE(built.code, 1);
            // The same finding, on the base's own lines.
            const QString message = expected.section(QStringLiteral("warning: "), 1).section(QStringLiteral(" line "), 0, 0);
            QVERIFY2(built.out.contains(QStringLiteral("warning: ") + message), qPrintable(built.out));
        }
    }

    void importFaultsNameTheirLine_data()
    {
        QTest::addColumn<QByteArray>("csv");
        QTest::addColumn<QString>("expected");
        const QByteArray rows = SampleCsv(QLatin1Char(',')).toUtf8();
        QTest::newRow("no header") << rows.mid(CsvHeader.size()) << "line 1: error: the header row";
        QByteArray badLevel = rows;
        badLevel.replace("\r\n15,", "\r\n16,");
        QTest::newRow("level out of range") << badLevel << "line 17, column level: error:";
        QByteArray missing = rows;
        missing.replace("\r\n15,", "\r\n14,");
        QTest::newRow("a level without rows") << missing << "level 15: error:";
        QTest::newRow("too few columns") << rows + "2,q,a,b,c\r\n" << "line 18: error: expected 8 columns";
        QTest::newRow("unclosed quote") << rows + "2,\"q,a,b,c,d,,\r\n" << "line 18: error: a quoted field";
        QTest::newRow("character outside the code page")
            << rows + QStringLiteral("2,q,中,b,c,d,,\r\n").toUtf8() << "line 18, column correct: error:";
    }

    void importFaultsNameTheirLine()
    {
        QFETCH(QByteArray, csv);
        QFETCH(QString, expected);
        WriteFile(path("bad.csv"), csv);
        QFile::remove(path("bad.QA"));
        const Run run = Qabase({"import", path("bad.csv"), "-o", path("bad.QA")});
        QCOMPARE(run.code, 1);
        QVERIFY2(run.err.contains(path("bad.csv") + QStringLiteral(": ") + expected), qPrintable(run.err));
        QVERIFY(!QFile::exists(path("bad.QA")));
    }

    void importWarnsInTermsOfTheCsv()
    {
        QByteArray csv = SampleCsv(QLatin1Char(',')).toUtf8();
        csv += QStringLiteral("4,Вопрос №4 — ёлка?,Да,Нет,Да,Не знаю,,\r\n").toUtf8();
        WriteFile(path("warn.csv"), csv);
        const Run run = Qabase({"import", path("warn.csv"), "-o", path("warn.QA")});
        QCOMPARE(run.code, 0);
        QVERIFY2(run.err.contains(path("warn.csv")
                                  + QStringLiteral(": line 18, column question: warning: the same question as line 6")),
                 qPrintable(run.err));
        QVERIFY(run.err.contains(path("warn.csv") + QStringLiteral(": line 18, column wrong2: warning: answers 1 and 3")));
        QVERIFY(run.err.contains(QStringLiteral("line 4, column question: warning: a line break")));
    }

    void resetEmptiesTheLeaderboardOnly()
    {
        const QList<QByteArray> lines = WellFormedLines(2);
        WriteFile(path("r.QA"), Lines(lines));
        QCOMPARE(Qabase({"reset", path("r.QA")}).code, 0);
        QList<QByteArray> expected = lines;
        expected[1] = StoredLine({"", "0", "0", "", "0", "0", "", "0", "0", "", "0", "0", "", "0", "0", "0"});
        QCOMPARE(ReadFile(path("r.QA")), Lines(expected));
    }

    void infoShowsTheLeaderboard()
    {
        WriteFile(path("i.QA"), Lines(WellFormedLines(2)));
        const Run run = Qabase({"info", path("i.QA")});
        QCOMPARE(run.code, 0);
        QVERIFY(run.out.contains(QStringLiteral("Questions:    30")));
        QVERIFY(run.out.contains(QStringLiteral("  level 15:     2")));
        QVERIFY(run.out.contains(QStringLiteral("Games played: 7")));
        QVERIFY2(run.out.contains(QRegularExpression(QStringLiteral("1\\. Аня +1000000 +1:15\\.4"))), qPrintable(run.out));
        QVERIFY(run.out.contains(QRegularExpression(QStringLiteral("2\\. Боря +32000 +2:00\\.0"))));
    }

    void badInputNamesTheFile_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("expected");
        QTest::newRow("info of a missing file") << QStringList{"info", "missing.QA"} << "missing.QA: error: cannot open";
        QTest::newRow("decode of a broken base") << QStringList{"decode", "broken.QA"}
                                                 << "broken.QA: line 10, field 7: error:";
        QTest::newRow("reset of a broken base") << QStringList{"reset", "broken.QA"}
                                                << "broken.QA: line 10, field 7: error:";
        QTest::newRow("export to a missing folder") << QStringList{"export", "good.QA", "-o", "nowhere/x.csv"}
                                                    << "nowhere/x.csv: error:";
    }

    void badInputNamesTheFile()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, expected);
        WriteFile(path("good.QA"), Lines(WellFormedLines(1)));
        const QByteArray broken = Lines(WithLine(WellFormedLines(1), 10, QuestionLine("q") + Sep));
        WriteFile(path("broken.QA"), broken);
        QVERIFY(QDir::setCurrent(m_dir.path()));
        const Run run = Qabase(args);
        QCOMPARE(run.code, 1);
        QVERIFY2(run.err.contains(expected), qPrintable(run.err));
        QCOMPARE(ReadFile(path("broken.QA")), broken);
    }

    void usage_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("code");
        QTest::newRow("nothing") << QStringList{} << 2;
        QTest::newRow("unknown command") << QStringList{"frobnicate"} << 2;
        QTest::newRow("general help") << QStringList{"--help"} << 0;
        QTest::newRow("encode without -o") << QStringList{"encode", "in.json"} << 2;
        QTest::newRow("-o without a name") << QStringList{"decode", "in.QA", "-o"} << 2;
        QTest::newRow("two files") << QStringList{"info", "a.QA", "b.QA"} << 2;
        QTest::newRow("unknown option") << QStringList{"check", "--quick", "a.QA"} << 2;
        QTest::newRow("option of another command") << QStringList{"reset", "a.QA", "--title", "x"} << 2;
        for (const char *command : {"info", "check", "decode", "encode", "import", "export", "reset"})
            QTest::newRow(qPrintable(QStringLiteral("%1 --help").arg(QLatin1String(command))))
                << QStringList{QLatin1String(command), "--help"} << 0;
    }

    void usage()
    {
        QFETCH(QStringList, args);
        QFETCH(int, code);
        const Run run = Qabase(args);
        QCOMPARE(run.code, code);
        if (code == 0)
            QVERIFY(run.out.contains(QStringLiteral("Usage: qabase")));
        else
            QVERIFY(run.err.contains(QStringLiteral("Usage: qabase")));
        if (args.size() == 2 && args[1] == QLatin1String("--help"))
            QVERIFY(run.out.contains(QStringLiteral("Usage: qabase ") + args[0]));
    }

    // The built program: exit codes reach the shell, and a refused write
    // leaves nothing behind.
    void theProgramExitsWithItsCode()
    {
        WriteFile(path("p.QA"), Lines(WellFormedLines(1)));
        WriteFile(path("p.json"), "{\"title\": 1}");
        auto exitOf = [this](const QStringList &args, QString *err = nullptr) {
            QProcess process;
            process.setWorkingDirectory(m_dir.path());
            process.start(QStringLiteral(QABASE_PROGRAM), args);
            if (!process.waitForFinished(30000))
                return -1;
            if (err)
                *err = QString::fromUtf8(process.readAllStandardError());
            return process.exitCode();
        };
        QCOMPARE(exitOf({"check", "p.QA"}), 0);
        QCOMPARE(exitOf({"check"}), 2);
        QString err;
        QCOMPARE(exitOf({"encode", "p.json", "-o", "q.QA"}, &err), 1);
        QVERIFY2(err.contains(QStringLiteral("p.json: $: error: the key \"title_rest\" is missing")), qPrintable(err));
        QVERIFY(!QFile::exists(path("q.QA")));
    }
};

QTEST_GUILESS_MAIN(TestQabase)
#include "tst_qabase.moc"
