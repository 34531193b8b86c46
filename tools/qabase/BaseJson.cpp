#include "BaseJson.h"

#include "BaseCheck.h"
#include "questionbase/Cp1251.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>

#include <cmath>

using namespace BaseFile;

namespace {

// JSON text of a string: quotes, backslashes and control characters escaped,
// everything else as UTF-8.
QByteArray Quoted(const QString &text)
{
    QByteArray out("\"");
    for (QChar ch : text) {
        const char16_t c = ch.unicode();
        switch (c) {
        case u'"': out += "\\\""; break;
        case u'\\': out += "\\\\"; break;
        case u'\n': out += "\\n"; break;
        case u'\r': out += "\\r"; break;
        case u'\t': out += "\\t"; break;
        default:
            if (c < 0x20 || (c >= 0x7F && c < 0xA0))
                out += QStringLiteral("\\u%1").arg(uint(c), 4, 16, QLatin1Char('0')).toLatin1();
            else
                out += QString(ch).toUtf8();
        }
    }
    out += '"';
    return out;
}

QByteArray StringArray(const QStringList &items, const QByteArray &indent)
{
    if (items.isEmpty())
        return "[]";
    QByteArray out("[\n");
    for (qsizetype i = 0; i < items.size(); ++i)
        out += indent + "  " + Quoted(items[i]) + (i + 1 < items.size() ? ",\n" : "\n");
    return out + indent + "]";
}

// Reads one JSON document against the schema, collecting issues with paths.
class Reader {
public:
    explicit Reader(QList<SourceIssue> *issues)
        : m_issues(issues)
    {
    }

    bool failed() const { return m_failed; }

    void error(const QString &where, const QString &message)
    {
        m_failed = true;
        m_issues->append({true, where, message});
    }
    void warning(const QString &where, const QString &message) { m_issues->append({false, where, message}); }

    // The object's keys must be exactly `keys`.
    bool keys(const QJsonValue &value, const QString &where, const QStringList &keys)
    {
        if (!value.isObject()) {
            error(where, QStringLiteral("expected an object"));
            return false;
        }
        const QJsonObject object = value.toObject();
        bool ok = true;
        for (const QString &key : keys) {
            if (!object.contains(key)) {
                error(where, QStringLiteral("the key \"%1\" is missing").arg(key));
                ok = false;
            }
        }
        for (auto it = object.begin(); it != object.end(); ++it) {
            if (!keys.contains(it.key())) {
                error(where, QStringLiteral("unknown key \"%1\"").arg(it.key()));
                ok = false;
            }
        }
        return ok;
    }

    std::int32_t number(const QJsonValue &value, const QString &where)
    {
        const double d = value.toDouble(-1);
        if (!value.isDouble() || d < 0 || d > 2147483647.0 || std::floor(d) != d) {
            error(where, QStringLiteral("expected a whole number from 0 to 2147483647"));
            return 0;
        }
        return std::int32_t(d);
    }

    // A text field: must be a string the code page can hold; control
    // characters are cleaned by the writer, with a warning.
    QString text(const QJsonValue &value, const QString &where)
    {
        if (!value.isString()) {
            error(where, QStringLiteral("expected a string"));
            return QString();
        }
        const QString s = value.toString();
        for (QChar ch : s) {
            if (!Cp1251::CanEncode(ch)) {
                error(where, QStringLiteral("the character U+%1 cannot be stored in Windows-1251")
                                 .arg(QString::number(ch.unicode(), 16).toUpper().rightJustified(4, QLatin1Char('0'))));
                return s;
            }
        }
        if (HasControlCharacter(s))
            warning(where, QStringLiteral("a control character, written as a space"));
        return s;
    }

    QJsonArray array(const QJsonValue &value, const QString &where, qsizetype size = -1)
    {
        if (!value.isArray()) {
            error(where, QStringLiteral("expected an array"));
            return QJsonArray();
        }
        const QJsonArray a = value.toArray();
        if (size >= 0 && a.size() != size) {
            error(where, QStringLiteral("expected %1 elements, found %2").arg(size).arg(a.size()));
            return QJsonArray();
        }
        return a;
    }

private:
    QList<SourceIssue> *m_issues;
    bool m_failed = false;
};

} // namespace

QByteArray BaseToJson(const BaseFileModel &model)
{
    QByteArray out("{\n");
    out += "  \"title\": " + Quoted(ReadTitle(model.HeaderLine)) + ",\n";
    out += "  \"title_rest\": \"" + HeaderRest(model.HeaderLine).toHex() + "\",\n";
    out += "  \"leaders\": [\n";
    for (int i = 0; i < LeaderEntries; ++i) {
        const BestTable &e = model.Leaders[i];
        out += "    {\"name\": " + Quoted(e.Name) + ", \"step\": " + QByteArray::number(e.Step)
               + ", \"ticks\": " + QByteArray::number(e.Ticks) + (i + 1 < LeaderEntries ? "},\n" : "}\n");
    }
    out += "  ],\n";
    out += "  \"games_played\": " + QByteArray::number(model.GamesPlayed) + ",\n";
    out += "  \"authors\": " + StringArray(model.Authors, "  ") + ",\n";
    out += "  \"subjects\": " + StringArray(model.Subjects, "  ") + ",\n";
    out += "  \"levels\": [\n";
    for (int level = 0; level < Levels; ++level) {
        const QList<QABase> &questions = model.Levels[level];
        out += questions.isEmpty() ? "    [" : "    [\n";
        for (qsizetype i = 0; i < questions.size(); ++i) {
            const QABase &q = questions[i];
            out += "      {\"question\": " + Quoted(q.Question) + ", \"answers\": [" + Quoted(q.Answers[1]) + ", "
                   + Quoted(q.Answers[2]) + ", " + Quoted(q.Answers[3]) + ", " + Quoted(q.Answers[4])
                   + "], \"author\": " + QByteArray::number(std::max(0, q.AuthorIndex))
                   + ", \"subject\": " + QByteArray::number(std::max(0, q.SubjectIndex))
                   + (i + 1 < questions.size() ? "},\n" : "}\n");
        }
        out += questions.isEmpty() ? "]" : "    ]";
        out += level + 1 < Levels ? ",\n" : "\n";
    }
    out += "  ]\n}\n";
    return out;
}

std::optional<BaseFileModel> BaseFromJson(const QByteArray &json, QList<SourceIssue> *issues)
{
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        const QByteArray before = json.left(parseError.offset);
        const int line = int(before.count('\n')) + 1;
        const int column = int(parseError.offset - (before.lastIndexOf('\n') + 1)) + 1;
        issues->append({true, QStringLiteral("line %1, column %2").arg(line).arg(column),
                        QStringLiteral("not valid JSON: %1").arg(parseError.errorString())});
        return std::nullopt;
    }

    Reader read(issues);
    const QJsonValue root = document.isObject() ? QJsonValue(document.object()) : QJsonValue();
    if (!read.keys(root, QStringLiteral("$"),
                   {"title", "title_rest", "leaders", "games_played", "authors", "subjects", "levels"}))
        return std::nullopt;
    const QJsonObject object = root.toObject();
    BaseFileModel model;

    // Line 1: the title through the flip; its rest raw. Neither may end the
    // line (LF) or, in the title, the field (a character stored as the separator).
    const QString title = object["title"].isString() ? object["title"].toString() : QString();
    if (!object["title"].isString())
        read.error(QStringLiteral("title"), QStringLiteral("expected a string"));
    QByteArray header;
    for (QChar ch : title) {
        std::uint8_t byte = 0;
        if (!Cp1251::EncodeChar(ch, &byte)) {
            read.error(QStringLiteral("title"),
                       QStringLiteral("the character U+%1 cannot be stored in Windows-1251")
                           .arg(QString::number(ch.unicode(), 16).toUpper().rightJustified(4, QLatin1Char('0'))));
            break;
        }
        const char stored = char(FlipChar(byte));
        if (stored == '\n' || stored == Separator) {
            read.error(QStringLiteral("title"),
                       QStringLiteral("the control character %1 cannot stand in the title").arg(int(byte)));
            break;
        }
        header += stored;
    }
    const QString restHex = object["title_rest"].toString();
    const QByteArray rest = QByteArray::fromHex(restHex.toLatin1());
    if (!object["title_rest"].isString() || restHex.size() % 2 != 0
        || rest.toHex() != restHex.toLower().toLatin1()) {
        read.error(QStringLiteral("title_rest"), QStringLiteral("expected an even number of hex digits"));
    } else if (!rest.isEmpty() && rest[0] != Separator) {
        read.error(QStringLiteral("title_rest"), QStringLiteral("must start with the separator 13 when not empty"));
    } else if (rest.contains('\n')) {
        read.error(QStringLiteral("title_rest"), QStringLiteral("must not hold a line feed (0a)"));
    }
    model.HeaderLine = header + rest;

    const QJsonArray leaders = read.array(object["leaders"], QStringLiteral("leaders"), LeaderEntries);
    for (qsizetype i = 0; i < leaders.size(); ++i) {
        const QString where = QStringLiteral("leaders[%1]").arg(i);
        if (!read.keys(leaders[i], where, {"name", "step", "ticks"}))
            continue;
        const QJsonObject entry = leaders[i].toObject();
        model.Leaders[i].Name = read.text(entry["name"], where + QStringLiteral(".name"));
        model.Leaders[i].Step = read.number(entry["step"], where + QStringLiteral(".step"));
        model.Leaders[i].Ticks = read.number(entry["ticks"], where + QStringLiteral(".ticks"));
    }
    model.GamesPlayed = read.number(object["games_played"], QStringLiteral("games_played"));

    auto names = [&read, &object](const QString &key) {
        QStringList list;
        const QJsonArray array = read.array(object[key], key);
        for (qsizetype i = 0; i < array.size(); ++i)
            list << read.text(array[i], QStringLiteral("%1[%2]").arg(key).arg(i));
        return list;
    };
    model.Authors = names(QStringLiteral("authors"));
    model.AuthorCount = std::int32_t(model.Authors.size());
    model.Subjects = names(QStringLiteral("subjects"));
    model.SubjectCount = std::int32_t(model.Subjects.size());

    const QJsonArray levels = read.array(object["levels"], QStringLiteral("levels"), Levels);
    for (qsizetype level = 0; level < levels.size(); ++level) {
        const QString levelPath = QStringLiteral("levels[%1]").arg(level);
        const QJsonArray questions = read.array(levels[level], levelPath);
        if (levels[level].isArray() && questions.isEmpty())
            read.error(levelPath, EmptyLevelFailure(int(level) + 1).Reason);
        for (qsizetype i = 0; i < questions.size(); ++i) {
            const QString where = QStringLiteral("%1[%2]").arg(levelPath).arg(i);
            if (!read.keys(questions[i], where, {"question", "answers", "author", "subject"}))
                continue;
            const QJsonObject object = questions[i].toObject();
            QABase q;
            q.Question = read.text(object["question"], where + QStringLiteral(".question"));
            const QJsonArray answers = read.array(object["answers"], where + QStringLiteral(".answers"), 4);
            for (qsizetype a = 0; a < answers.size(); ++a)
                q.Answers[a + 1] = read.text(answers[a], QStringLiteral("%1.answers[%2]").arg(where).arg(a));
            q.AuthorIndex = read.number(object["author"], where + QStringLiteral(".author"));
            q.SubjectIndex = read.number(object["subject"], where + QStringLiteral(".subject"));
            model.Levels[level].append(q);
        }
    }
    if (read.failed())
        return std::nullopt;
    return model;
}

QString JsonPathOfLine(const BaseFileModel &model, int line, int field)
{
    switch (line) {
    case HeaderLineNo:
        return QStringLiteral("title");
    case LeaderLineNo:
        if (field >= 1 && field <= 15) {
            static const char *Keys[] = {"name", "step", "ticks"};
            return QStringLiteral("leaders[%1].%2").arg((field - 1) / 3).arg(QLatin1String(Keys[(field - 1) % 3]));
        }
        return QStringLiteral("games_played");
    case AuthorLineNo:
        return field >= 2 ? QStringLiteral("authors[%1]").arg(field - 2) : QStringLiteral("authors");
    case SubjectLineNo:
        return field >= 2 ? QStringLiteral("subjects[%1]").arg(field - 2) : QStringLiteral("subjects");
    case LevelCountLineNo:
        return field >= 1 ? QStringLiteral("levels[%1]").arg(field - 1) : QStringLiteral("levels");
    default:
        break;
    }
    int first = FirstQuestionLineNo;
    for (int level = 0; level < Levels; ++level) {
        const int count = int(model.Levels[level].size());
        if (line < first + count) {
            const QString where = QStringLiteral("levels[%1][%2]").arg(level).arg(line - first);
            if (field == 1)
                return where + QStringLiteral(".question");
            if (field >= 2 && field <= 5)
                return where + QStringLiteral(".answers[%1]").arg(field - 2);
            if (field == 6)
                return where + QStringLiteral(".author");
            if (field == 7)
                return where + QStringLiteral(".subject");
            return where;
        }
        first += count;
    }
    return QStringLiteral("line %1").arg(line);
}
