#pragma once

// Builds base file bytes by hand for tests, independently of the writer:
// texts are encoded and flipped here, separators and line ends are literal.

#include "questionbase/Cp1251.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace TestBase {

inline constexpr char Sep = 19;

// A text as stored: Windows-1251, every byte flipped.
inline QByteArray Stored(const QString &text)
{
    QByteArray bytes = Cp1251::Encode(text);
    for (char &b : bytes)
        b = char(FlipChar(std::uint8_t(b)));
    return bytes;
}

inline QByteArray Join(const QList<QByteArray> &fields)
{
    QByteArray line;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0)
            line += Sep;
        line += fields[i];
    }
    return line;
}

// Every field stored through the flip.
inline QByteArray StoredLine(const QStringList &fields)
{
    QList<QByteArray> stored;
    for (const QString &f : fields)
        stored.append(Stored(f));
    return Join(stored);
}

inline QByteArray Lines(const QList<QByteArray> &lines, const QByteArray &end = "\r\n")
{
    QByteArray bytes;
    for (const QByteArray &line : lines)
        bytes += line + end;
    return bytes;
}

// Line 5 with the given counts (plain digits, fifteen fields).
inline QByteArray CountLine(const QList<int> &counts)
{
    QList<QByteArray> fields;
    for (int level = 0; level < 15; ++level)
        fields.append(QByteArray::number(level < counts.size() ? counts[level] : 0));
    return Join(fields);
}

inline QByteArray QuestionLine(const QString &question, int author = 0, int subject = 0)
{
    return StoredLine({question, question + QStringLiteral(" верно"), QStringLiteral("нет 1"),
                       QStringLiteral("нет 2"), QStringLiteral("нет 3"), QString::number(author),
                       QString::number(subject)});
}

// A well-formed base: `perLevel` questions on every level, named "L<level>Q<i>".
// The title's line carries an opaque rest after its separator.
inline QList<QByteArray> WellFormedLines(int perLevel = 2)
{
    QList<QByteArray> lines;
    lines << Stored(QStringLiteral("Тестовая база")) + Sep + QByteArray("\x01opaque\xFF\x13", 9);
    lines << StoredLine({QStringLiteral("Аня"), "15", "754", QStringLiteral("Боря"), "10", "1200", "", "0", "0",
                         "", "0", "0", "", "0", "0", "7"});
    lines << StoredLine({"2", QStringLiteral("Редакция"), QStringLiteral("Гость")});
    lines << StoredLine({"3", QStringLiteral("История"), QStringLiteral("Наука"), QStringLiteral("Спорт")});
    QList<int> counts;
    for (int level = 0; level < 15; ++level)
        counts << perLevel;
    lines << CountLine(counts);
    for (int level = 1; level <= 15; ++level) {
        for (int i = 1; i <= perLevel; ++i)
            lines << QuestionLine(QStringLiteral("L%1Q%2").arg(level).arg(i), i % 3, i % 4);
    }
    return lines;
}

} // namespace TestBase
