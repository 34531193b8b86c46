#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// One finding about a base: an error (the game cannot load the base) or a
// warning (the game loads it, but something is wrong with what it shows).
struct Diagnostic {
    bool Error = false;
    int Line = 0;   // 1-based line of the base file
    int Field = 0;  // 1-based field; 0 when the line as a whole is meant
    QString Message;
    int Related = 0; // a line the message names ("the same question as line N"), 0 if none
};

// Lengths at which the game shrinks a text to its smallest font.
inline constexpr int LongAnswer = 80;
inline constexpr int LongQuestion = 150;

// Every finding in a base file, in file order. The game fails to load a base
// with any error: a bad number, a seventh separator in a question line, fewer
// question lines than the counts, more names than a count, more than fifteen
// level counts, a level without questions. Warnings: names missing from a
// table, an author or subject index beyond its table, control characters,
// empty texts, equal answers in one question, a question asked twice in the
// base, texts long enough to need the smallest font, lines after the last
// question (dropped by the next rewrite).
QList<Diagnostic> CheckBaseBytes(const QByteArray &bytes);

// A text as compared for sameness: lower case, "ё" as "е", quotes dropped,
// runs of spaces as one space, no space at either end.
QString FoldForCompare(const QString &text);

// True when the text holds a character below 32.
bool HasControlCharacter(const QString &text);
