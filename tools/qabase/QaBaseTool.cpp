#include "QaBaseTool.h"

#include "questionbase/AtomicFile.h"
#include "BaseCheck.h"
#include "BaseCsv.h"
#include "questionbase/BaseFileModel.h"
#include "BaseJson.h"
#include "BaseLint.h"
#include "questionbase/MoneyLadder.h"
#include "questionbase/PlayTime.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <functional>
#include <map>

using namespace BaseFile;

namespace {

const char *const GeneralUsage =
    "Usage: qabase <command> [options]\n"
    "\n"
    "Reads and writes the game's question bases (QA/*.QA).\n"
    "\n"
    "Commands:\n"
    "  info FILE.QA                          title, questions per level, tables, games played, leaderboard\n"
    "  check [--strict] FILE.QA|IN.csv       finds what keeps the game from loading the base, and what looks wrong\n"
    "  decode FILE.QA [-o OUT.json]          the whole base as UTF-8 JSON\n"
    "  encode IN.json -o FILE.QA             builds a base from JSON\n"
    "  import IN.csv -o FILE.QA [--title T]  builds a base from a spreadsheet export\n"
    "  export FILE.QA -o OUT.csv             the questions as a spreadsheet file (UTF-8 with BOM)\n"
    "  reset FILE.QA                         empties the leaderboard and sets the games count to 0\n"
    "\n"
    "Run \"qabase <command> --help\" for the details of one command.\n"
    "Exit codes: 0 ok, 1 invalid input or a file that cannot be read or written, 2 wrong usage.\n";

struct Command {
    const char *usage;
    const char *help;
    int positionals;
    bool output;         // takes -o
    bool outputRequired;
    bool title;          // takes --title
    bool strict;         // takes --strict
};

const std::map<QString, Command> &Commands()
{
    static const std::map<QString, Command> commands = {
        {"info",
         {"qabase info FILE.QA",
          "Shows the base's title, how many questions each level holds and in all, the number of authors and\n"
          "subjects, the games played on it and the five leaderboard rows (name, sum, time).\n",
          1, false, false, false, false}},
        {"check",
         {"qabase check [--strict] FILE.QA|IN.csv",
          "Validates a base. Errors keep the game from loading it: a number that is not digits or too large, a\n"
          "seventh separator in a question line, fewer question lines than the level counts, more names than a\n"
          "count, more than 15 level counts, a level with no questions. Warnings: an author or subject index\n"
          "beyond its table, control characters, empty texts, two equal answers in a question, the same question\n"
          "twice (case, \"ё\"/\"е\", quotes and spaces ignored), answers of 80 or more characters and questions of\n"
          "150 or more (shown in the smallest font), names missing from a table, lines after the last question.\n"
          "Editorial warnings: a right answer that shares a word root with the question (and no wrong answer does),\n"
          "a right answer alone in its form (number of words, first word, preposition), answers that do not fit\n"
          "the question's case (\"В каком…?\" wants \"В …\", \"…какую…?\" an accusative), the same right answer\n"
          "twice on a level, two questions that share most word stems or offer the same four answers.\n"
          "A .csv file is checked as the base that import would build from it, with its own row numbers.\n"
          "Exit 0 when the game can play the base, 1 otherwise; with --strict warnings count as errors.\n",
          1, false, false, false, true}},
        {"decode",
         {"qabase decode FILE.QA [-o OUT.json]",
          "Writes the whole base as UTF-8 JSON to OUT.json (or to the standard output). Encoding that JSON gives\n"
          "the same bytes back. Keys: title, title_rest (hex bytes of line 1 after the title), leaders (five\n"
          "{name, step, ticks}), games_played, authors, subjects, levels (15 arrays of {question, answers:\n"
          "[correct, wrong, wrong, wrong], author, subject} in rotation order).\n",
          1, true, false, false, false}},
        {"encode",
         {"qabase encode IN.json -o FILE.QA",
          "Builds a base from JSON in the form that decode writes. Refuses (exit 1, nothing written) a document\n"
          "that does not fit that form or that the game could not load, naming the JSON path of each fault.\n",
          1, true, true, false, false}},
        {"import",
         {"qabase import IN.csv -o FILE.QA [--title T]",
          "Builds a new base (empty leaderboard, never played) from a spreadsheet export. The file is UTF-8\n"
          "(with or without BOM) or Windows-1251, comma or semicolon separated, quoted as RFC 4180, with the\n"
          "header row level,question,correct,wrong1,wrong2,wrong3,author,subject, optionally followed by check\n"
          "(an editor's note on how the fact was checked; not stored in the base). Authors and subjects are\n"
          "names; the tables are made from them. The title defaults to the CSV file's name.\n",
          1, true, true, true, false}},
        {"export",
         {"qabase export FILE.QA -o OUT.csv",
          "Writes the questions as a spreadsheet file that import reads back (UTF-8 with BOM, comma separated).\n",
          1, true, true, false, false}},
        {"reset",
         {"qabase reset FILE.QA",
          "Empties the leaderboard and sets the games count to 0, so that the next game shuffles the levels\n"
          "again: what an author does before publishing a base. The file is replaced in place.\n",
          1, false, false, false, false}},
    };
    return commands;
}

struct Arguments {
    QStringList positional;
    QString output;
    QString title;
    bool hasTitle = false;
    bool strict = false;
    bool help = false;
};

class Tool {
public:
    Tool(QTextStream &out, QTextStream &err)
        : m_out(out)
        , m_err(err)
    {
    }

    int run(const QStringList &arguments)
    {
        if (arguments.isEmpty()) {
            m_err << GeneralUsage;
            return QaBaseExit::Usage;
        }
        const QString name = arguments[0];
        if (name == QLatin1String("--help") || name == QLatin1String("-h") || name == QLatin1String("help")) {
            m_out << GeneralUsage;
            return QaBaseExit::Ok;
        }
        const auto found = Commands().find(name);
        if (found == Commands().end()) {
            m_err << "qabase: unknown command \"" << name << "\"\n\n" << GeneralUsage;
            return QaBaseExit::Usage;
        }
        const Command &command = found->second;
        Arguments args;
        if (!parse(command, arguments.mid(1), &args))
            return QaBaseExit::Usage;
        if (args.help) {
            m_out << "Usage: " << command.usage << "\n\n" << command.help;
            return QaBaseExit::Ok;
        }
        m_args = args;
        if (name == QLatin1String("info"))
            return info();
        if (name == QLatin1String("check"))
            return check();
        if (name == QLatin1String("decode"))
            return decode();
        if (name == QLatin1String("encode"))
            return encode();
        if (name == QLatin1String("import"))
            return import();
        if (name == QLatin1String("export"))
            return exportCsv();
        return reset();
    }

private:
    bool usageError(const Command &command, const QString &message)
    {
        m_err << "qabase: " << message << "\nUsage: " << command.usage << "\n";
        return false;
    }

    bool parse(const Command &command, const QStringList &list, Arguments *args)
    {
        for (qsizetype i = 0; i < list.size(); ++i) {
            const QString &a = list[i];
            if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
                args->help = true;
                return true;
            }
            if (a == QLatin1String("-o") || a == QLatin1String("--output")) {
                if (!command.output)
                    return usageError(command, QStringLiteral("this command takes no %1").arg(a));
                if (i + 1 >= list.size())
                    return usageError(command, QStringLiteral("%1 needs a file name").arg(a));
                args->output = list[++i];
            } else if (a == QLatin1String("--title")) {
                if (!command.title)
                    return usageError(command, QStringLiteral("this command takes no --title"));
                if (i + 1 >= list.size())
                    return usageError(command, QStringLiteral("--title needs a text"));
                args->title = list[++i];
                args->hasTitle = true;
            } else if (a == QLatin1String("--strict")) {
                if (!command.strict)
                    return usageError(command, QStringLiteral("this command takes no --strict"));
                args->strict = true;
            } else if (a.startsWith(QLatin1Char('-')) && a.size() > 1) {
                return usageError(command, QStringLiteral("unknown option \"%1\"").arg(a));
            } else {
                args->positional << a;
            }
        }
        // --help anywhere wins over missing arguments.
        if (args->positional.size() != command.positionals)
            return usageError(command, QStringLiteral("expected %1 file name(s), found %2")
                                           .arg(command.positionals)
                                           .arg(args->positional.size()));
        if (command.outputRequired && args->output.isEmpty())
            return usageError(command, QStringLiteral("-o OUTPUT is required"));
        if (args->output.isEmpty() && !command.output)
            return true;
        return true;
    }

    void report(const QString &file, const QString &where, bool error, const QString &message)
    {
        m_err << file << ": ";
        if (!where.isEmpty())
            m_err << where << ": ";
        m_err << (error ? "error: " : "warning: ") << message << "\n";
    }

    // A spreadsheet row and column.
    static QString CsvPlace(int row, int field)
    {
        static const char *Columns[] = {"question", "correct", "wrong1", "wrong2", "wrong3", "author", "subject"};
        QString where = QStringLiteral("line %1").arg(row);
        if (field >= 1 && field <= 7)
            where += QStringLiteral(", column ") + QLatin1String(Columns[field - 1]);
        return where;
    }

    // A line of the base built from a spreadsheet, as the row it came from.
    static QString CsvPlace(const CsvImport &imported, int line, int field)
    {
        int first = FirstQuestionLineNo;
        for (int level = 0; level < Levels; ++level) {
            const QList<int> &rows = imported.SourceRows[level];
            if (line >= first && line < first + rows.size())
                return CsvPlace(rows[line - first], field);
            first += int(rows.size());
        }
        return line == HeaderLineNo ? QStringLiteral("title") : QStringLiteral("base line %1").arg(line);
    }

    // A message that names another base line, with that line as its spreadsheet row.
    static QString CsvMessage(const CsvImport &imported, const Diagnostic &d)
    {
        if (d.Related <= 0)
            return d.Message;
        QString message = d.Message;
        const QString row = CsvPlace(imported, d.Related, 0);
        return message.replace(QStringLiteral("line %1").arg(d.Related), row);
    }

    static QString Place(int line, int field)
    {
        if (line <= 0)
            return QString();
        return field > 0 ? QStringLiteral("line %1, field %2").arg(line).arg(field) : QStringLiteral("line %1").arg(line);
    }

    bool readFile(const QString &path, QByteArray *bytes)
    {
        if (auto reason = ReadToolFile(path, bytes)) {
            report(path, QString(), true, *reason);
            return false;
        }
        return true;
    }

    bool readBase(const QString &path, BaseFileModel *model)
    {
        QByteArray bytes;
        if (!readFile(path, &bytes))
            return false;
        auto parsed = ParseBaseFile(bytes);
        if (const BaseFailure *failure = std::get_if<BaseFailure>(&parsed)) {
            report(path, Place(failure->Line, failure->Field), true, failure->Reason);
            return false;
        }
        *model = std::get<BaseFileModel>(std::move(parsed));
        return true;
    }

    bool writeFile(const QString &path, const QByteArray &bytes)
    {
        if (auto reason = WriteFileAtomically(path, bytes)) {
            report(path, QString(), true, *reason);
            return false;
        }
        return true;
    }

    // Reports the issues of a source form; true when there was no error.
    bool reportIssues(const QString &file, const QList<SourceIssue> &issues)
    {
        bool ok = true;
        for (const SourceIssue &issue : issues) {
            report(file, issue.Where, issue.Error, issue.Message);
            ok = ok && !issue.Error;
        }
        return ok;
    }

    // Checks the bytes about to be written; findings are reported in the
    // terms of the source (`locate` turns a line and field into a place there).
    bool checkBuilt(const QString &file, const QByteArray &bytes, const std::function<QString(int, int)> &locate,
                    const std::function<QString(const Diagnostic &)> &text = {})
    {
        bool ok = true;
        for (const Diagnostic &d : CheckBaseBytes(bytes)) {
            report(file, locate(d.Line, d.Field), d.Error, text ? text(d) : d.Message);
            ok = ok && !d.Error;
        }
        return ok;
    }

    int info()
    {
        const QString path = m_args.positional[0];
        BaseFileModel model;
        if (!readBase(path, &model))
            return QaBaseExit::Invalid;
        std::int64_t total = 0;
        for (const QList<QABase> &level : model.Levels)
            total += level.size();
        m_out << "File:         " << path << "\n";
        m_out << "Title:        " << ReadTitle(model.HeaderLine) << "\n";
        m_out << "Questions:    " << total << "\n";
        for (int level = 0; level < Levels; ++level)
            m_out << QStringLiteral("  level %1: %2\n").arg(level + 1, 2).arg(model.Levels[level].size(), 5);
        auto table = [](std::int32_t count, const QStringList &names) {
            return names.size() == count ? QString::number(count)
                                         : QStringLiteral("%1 (%2 names present)").arg(count).arg(names.size());
        };
        m_out << "Authors:      " << table(model.AuthorCount, model.Authors) << "\n";
        m_out << "Subjects:     " << table(model.SubjectCount, model.Subjects) << "\n";
        m_out << "Games played: " << model.GamesPlayed << "\n";
        m_out << "Leaderboard:\n";
        for (int i = 0; i < LeaderEntries; ++i) {
            const BestTable &e = model.Leaders[i];
            m_out << QStringLiteral("  %1. %2 %3 %4\n")
                         .arg(i + 1)
                         .arg(e.Name.isEmpty() ? QStringLiteral("-") : e.Name, -20)
                         .arg(MoneyLadder::SumOfStep(e.Step), 7)
                         .arg(FormatPlayTime(e.Ticks), 9);
        }
        return QaBaseExit::Ok;
    }

    int check()
    {
        const QString path = m_args.positional[0];
        QByteArray bytes;
        if (!readFile(path, &bytes))
            return QaBaseExit::Invalid;
        int errors = 0;
        int warnings = 0;
        auto put = [&](const QString &where, bool error, const QString &message) {
            m_out << path << ": " << (where.isEmpty() ? QString() : where + QStringLiteral(": "))
                  << (error ? "error: " : "warning: ") << message << "\n";
            ++(error ? errors : warnings);
        };
        if (path.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive)) {
            // A spreadsheet is checked as the base it would become, in its own rows.
            QList<SourceIssue> issues;
            const auto imported = ImportCsv(bytes, QFileInfo(path).completeBaseName(), &issues);
            for (const SourceIssue &issue : issues)
                put(issue.Where, issue.Error, issue.Message);
            if (imported) {
                for (const Diagnostic &d : CheckBaseBytes(SerializeBaseFile(imported->Model)))
                    put(CsvPlace(*imported, d.Line, d.Field), d.Error, CsvMessage(*imported, d));
                for (const Diagnostic &d : LintQuestions(imported->Model.Levels, imported->SourceRows))
                    put(CsvPlace(d.Line, d.Field), d.Error, d.Message);
            }
        } else {
            for (const Diagnostic &d : CheckBaseBytes(bytes))
                put(Place(d.Line, d.Field), d.Error, d.Message);
            auto parsed = ParseBaseFile(bytes);
            if (errors == 0 && std::holds_alternative<BaseFileModel>(parsed)) {
                const BaseFileModel &model = std::get<BaseFileModel>(parsed);
                std::array<QList<int>, Levels> lines;
                int lineNo = FirstQuestionLineNo;
                for (int level = 0; level < Levels; ++level) {
                    for (qsizetype i = 0; i < model.Levels[level].size(); ++i)
                        lines[level] << lineNo++;
                }
                for (const Diagnostic &d : LintQuestions(model.Levels, lines))
                    put(Place(d.Line, d.Field), d.Error, d.Message);
            }
        }
        m_out << path << ": " << errors << " error(s), " << warnings << " warning(s)\n";
        return errors > 0 || (m_args.strict && warnings > 0) ? QaBaseExit::Invalid : QaBaseExit::Ok;
    }

    int decode()
    {
        const QString path = m_args.positional[0];
        BaseFileModel model;
        if (!readBase(path, &model))
            return QaBaseExit::Invalid;
        if (model.ExtraLines > 0)
            report(path, QString(), false,
                   QStringLiteral("%1 line(s) after the last question are left out").arg(model.ExtraLines));
        if (model.Authors.size() != model.AuthorCount || model.Subjects.size() != model.SubjectCount)
            report(path, QString(), false,
                   QStringLiteral("a table count differs from its names; the JSON keeps the names only"));
        const QByteArray json = BaseToJson(model);
        if (m_args.output.isEmpty()) {
            m_out << QString::fromUtf8(json);
            return QaBaseExit::Ok;
        }
        return writeFile(m_args.output, json) ? QaBaseExit::Ok : QaBaseExit::Invalid;
    }

    int encode()
    {
        const QString path = m_args.positional[0];
        QByteArray json;
        if (!readFile(path, &json))
            return QaBaseExit::Invalid;
        QList<SourceIssue> issues;
        const auto model = BaseFromJson(json, &issues);
        if (!reportIssues(path, issues) || !model)
            return QaBaseExit::Invalid;
        const QByteArray bytes = SerializeBaseFile(*model);
        const bool ok = checkBuilt(path, bytes, [&model](int line, int field) {
            return JsonPathOfLine(*model, line, field);
        });
        if (!ok)
            return QaBaseExit::Invalid;
        return writeFile(m_args.output, bytes) ? QaBaseExit::Ok : QaBaseExit::Invalid;
    }

    int import()
    {
        const QString path = m_args.positional[0];
        QByteArray csv;
        if (!readFile(path, &csv))
            return QaBaseExit::Invalid;
        QList<SourceIssue> issues;
        const QString title = m_args.hasTitle ? m_args.title : QFileInfo(path).completeBaseName();
        const auto imported = ImportCsv(csv, title, &issues);
        if (!reportIssues(path, issues) || !imported)
            return QaBaseExit::Invalid;
        const QByteArray bytes = SerializeBaseFile(imported->Model);
        const bool ok = checkBuilt(
            path, bytes, [&imported](int line, int field) { return CsvPlace(*imported, line, field); },
            [&imported](const Diagnostic &d) { return CsvMessage(*imported, d); });
        if (!ok)
            return QaBaseExit::Invalid;
        return writeFile(m_args.output, bytes) ? QaBaseExit::Ok : QaBaseExit::Invalid;
    }

    int exportCsv()
    {
        const QString path = m_args.positional[0];
        BaseFileModel model;
        if (!readBase(path, &model))
            return QaBaseExit::Invalid;
        int lineNo = FirstQuestionLineNo;
        for (const QList<QABase> &level : model.Levels) {
            for (const QABase &q : level) {
                if (q.AuthorIndex > model.Authors.size() || q.SubjectIndex > model.Subjects.size())
                    report(path, QStringLiteral("line %1").arg(lineNo), false,
                           QStringLiteral("an index beyond its table is exported as an empty name"));
                ++lineNo;
            }
        }
        return writeFile(m_args.output, ExportCsv(model)) ? QaBaseExit::Ok : QaBaseExit::Invalid;
    }

    int reset()
    {
        const QString path = m_args.positional[0];
        BaseFileModel model;
        if (!readBase(path, &model))
            return QaBaseExit::Invalid;
        if (model.ExtraLines > 0)
            report(path, QString(), false,
                   QStringLiteral("%1 line(s) after the last question are dropped").arg(model.ExtraLines));
        model.Leaders = {};
        model.GamesPlayed = 0;
        return writeFile(path, SerializeBaseFile(model)) ? QaBaseExit::Ok : QaBaseExit::Invalid;
    }

    QTextStream &m_out;
    QTextStream &m_err;
    Arguments m_args;
};

} // namespace

std::optional<QString> ReadToolFile(const QString &path, QByteArray *bytes)
{
    // Unbuffered: the bytes go from the system straight into the buffer,
    // without a second copy through the file object's own buffer.
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return QStringLiteral("cannot open: %1").arg(file.errorString());
    QByteArray read(qsizetype(std::max<qint64>(file.size(), 0)), Qt::Uninitialized);
    qint64 got = 0;
    while (got < read.size()) {
        const qint64 n = file.read(read.data() + got, read.size() - got);
        if (n <= 0)
            break;
        got += n;
    }
    read.truncate(qsizetype(got));
    if (file.error() == QFileDevice::NoError)
        read += file.readAll(); // a file that grew, or one whose size the system does not know
    if (file.error() != QFileDevice::NoError)
        return QStringLiteral("cannot read: %1").arg(file.errorString());
    *bytes = std::move(read);
    return std::nullopt;
}

int RunQaBase(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    return Tool(out, err).run(arguments);
}
