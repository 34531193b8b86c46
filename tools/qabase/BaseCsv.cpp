#include "BaseCsv.h"

#include "BaseCheck.h"
#include "questionbase/Cp1251.h"

#include <QHash>
#include <QStringDecoder>

using namespace BaseFile;

namespace {

const QStringList Columns = {"level", "question", "correct", "wrong1", "wrong2", "wrong3", "author", "subject"};
const QString NotesColumn = QStringLiteral("check");

QString DecodeInput(const QByteArray &bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes.mid(3));
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    return Cp1251::Decode(bytes);
}

// The delimiter that the header row uses outside quotes.
QChar DetectDelimiter(const QString &text)
{
    int commas = 0;
    int semicolons = 0;
    bool quoted = false;
    for (QChar ch : text) {
        if (ch == QLatin1Char('"'))
            quoted = !quoted;
        else if (!quoted && (ch == QLatin1Char('\n') || ch == QLatin1Char('\r')))
            break;
        else if (!quoted && ch == QLatin1Char(','))
            ++commas;
        else if (!quoted && ch == QLatin1Char(';'))
            ++semicolons;
    }
    return semicolons > commas ? QLatin1Char(';') : QLatin1Char(',');
}

QString Quote(const QString &field)
{
    const bool needs = field.contains(QLatin1Char(',')) || field.contains(QLatin1Char('"'))
                       || field.contains(QLatin1Char('\n')) || field.contains(QLatin1Char('\r'))
                       || field.contains(QLatin1Char(';')) || field != field.trimmed();
    if (!needs)
        return field;
    QString quoted = field;
    quoted.replace(QLatin1String("\""), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

} // namespace

std::optional<QList<CsvRow>> ParseCsv(const QString &text, QChar delimiter, int *badLine)
{
    QList<CsvRow> rows;
    CsvRow row;
    QString field;
    bool quoted = false;
    bool fieldStarted = false; // something was read into the current row
    int line = 1;
    int quoteLine = 0;
    row.Line = 1;
    auto endField = [&] {
        row.Fields << field;
        field.clear();
    };
    auto endRow = [&] {
        endField();
        rows << row;
        row = CsvRow();
        fieldStarted = false;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text[i];
        if (quoted) {
            if (ch == QLatin1Char('"')) {
                if (i + 1 < text.size() && text[i + 1] == QLatin1Char('"')) {
                    field += QLatin1Char('"');
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                if (ch == QLatin1Char('\n'))
                    ++line;
                field += ch;
            }
            continue;
        }
        if (!fieldStarted) {
            row.Line = line;
            fieldStarted = true;
        }
        if (ch == QLatin1Char('"') && field.isEmpty()) {
            quoted = true;
            quoteLine = line;
        } else if (ch == delimiter) {
            endField();
        } else if (ch == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n')) {
            continue; // the LF ends the row
        } else if (ch == QLatin1Char('\n')) {
            endRow();
            ++line;
        } else {
            field += ch;
        }
    }
    if (quoted) {
        *badLine = quoteLine;
        return std::nullopt;
    }
    if (fieldStarted)
        endRow();
    return rows;
}

std::optional<CsvImport> ImportCsv(const QByteArray &bytes, const QString &title, QList<SourceIssue> *issues)
{
    const QString text = DecodeInput(bytes);
    int badLine = 0;
    const auto parsed = ParseCsv(text, DetectDelimiter(text), &badLine);
    if (!parsed) {
        issues->append({true, QStringLiteral("line %1").arg(badLine), QStringLiteral("a quoted field is not closed")});
        return std::nullopt;
    }
    const QList<CsvRow> &rows = *parsed;
    if (rows.isEmpty()) {
        issues->append({true, QStringLiteral("line 1"), QStringLiteral("the file is empty; a header row is required")});
        return std::nullopt;
    }
    QStringList header;
    for (const QString &name : rows[0].Fields)
        header << name.trimmed().toLower();
    // An editor's note column may follow the questions' own; it is not stored.
    const bool hasNotes = header == Columns + QStringList{NotesColumn};
    if (header != Columns && !hasNotes) {
        issues->append({true, QStringLiteral("line %1").arg(rows[0].Line),
                        QStringLiteral("the header row must be \"%1\" (optionally followed by \",%2\")")
                            .arg(Columns.join(QLatin1Char(',')), NotesColumn)});
        return std::nullopt;
    }
    const qsizetype columnCount = header.size();

    bool failed = false;
    auto error = [&](const QString &where, const QString &message) {
        failed = true;
        issues->append({true, where, message});
    };
    CsvImport result;
    BaseFileModel &model = result.Model;
    QHash<QString, int> authorIndex;
    QHash<QString, int> subjectIndex;
    auto indexOf = [](const QString &name, QStringList *table, QHash<QString, int> *index) {
        if (name.isEmpty())
            return 0;
        auto found = index->constFind(name);
        if (found != index->constEnd())
            return found.value();
        table->append(name);
        index->insert(name, int(table->size()));
        return int(table->size());
    };

    for (qsizetype r = 1; r < rows.size(); ++r) {
        const CsvRow &row = rows[r];
        const QString at = QStringLiteral("line %1").arg(row.Line);
        bool blank = true;
        for (const QString &f : row.Fields)
            blank = blank && f.trimmed().isEmpty();
        if (blank)
            continue; // spreadsheets leave empty rows at the end
        if (row.Fields.size() != columnCount) {
            error(at, QStringLiteral("expected %1 columns, found %2").arg(columnCount).arg(row.Fields.size()));
            continue;
        }
        bool ok = false;
        const int level = row.Fields[0].trimmed().toInt(&ok);
        if (!ok || level < 1 || level > Levels) {
            error(at + QStringLiteral(", column level"),
                  QStringLiteral("\"%1\" is not a level from 1 to 15").arg(row.Fields[0]));
            continue;
        }
        QStringList texts;
        bool rowOk = true;
        for (int c = 1; c < Columns.size(); ++c) {
            const QString value = row.Fields[c].trimmed();
            const QString where = at + QStringLiteral(", column ") + Columns[c];
            for (QChar ch : value) {
                if (!Cp1251::CanEncode(ch)) {
                    error(where, QStringLiteral("the character \"%1\" cannot be stored in Windows-1251").arg(ch));
                    rowOk = false;
                    break;
                }
            }
            if (HasControlCharacter(value))
                issues->append({false, where, QStringLiteral("a line break or control character, written as a space")});
            texts << CleanText(value);
        }
        if (!rowOk)
            continue;
        QABase q;
        q.Question = texts[0];
        for (int a = 1; a <= 4; ++a)
            q.Answers[a] = texts[a];
        q.AuthorIndex = indexOf(texts[5], &model.Authors, &authorIndex);
        q.SubjectIndex = indexOf(texts[6], &model.Subjects, &subjectIndex);
        model.Levels[level - 1].append(q);
        result.SourceRows[level - 1].append(row.Line);
    }
    for (int level = 0; level < Levels; ++level) {
        if (model.Levels[level].isEmpty())
            error(QStringLiteral("level %1").arg(level + 1), QStringLiteral("no row holds a question of this level"));
    }
    if (failed)
        return std::nullopt;
    model.AuthorCount = std::int32_t(model.Authors.size());
    model.SubjectCount = std::int32_t(model.Subjects.size());
    // Cleaned like every text, so no character of the title is stored as the separator.
    model.HeaderLine = EncodeText(title);
    return result;
}

QByteArray ExportCsv(const BaseFileModel &model)
{
    QString text = Columns.join(QLatin1Char(',')) + QStringLiteral("\r\n");
    for (int level = 0; level < Levels; ++level) {
        for (const QABase &q : model.Levels[level]) {
            const QStringList fields = {QString::number(level + 1),
                                        q.Question,
                                        q.Answers[1],
                                        q.Answers[2],
                                        q.Answers[3],
                                        q.Answers[4],
                                        q.AuthorIndex >= 1 && q.AuthorIndex <= model.Authors.size()
                                            ? model.Authors[q.AuthorIndex - 1]
                                            : QString(),
                                        q.SubjectIndex >= 1 && q.SubjectIndex <= model.Subjects.size()
                                            ? model.Subjects[q.SubjectIndex - 1]
                                            : QString()};
            QStringList quoted;
            for (const QString &f : fields)
                quoted << Quote(f);
            text += quoted.join(QLatin1Char(',')) + QStringLiteral("\r\n");
        }
    }
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}
