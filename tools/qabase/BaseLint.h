#pragma once

#include "BaseCheck.h"
#include "questionbase/BaseFile.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <array>

// Editorial checks of a base's questions: what a question desk would send back
// to its writer although the game plays the question without trouble. All are
// warnings:
//  - the right answer shares a word root with the question, and no wrong answer
//    does (the question gives its answer away);
//  - the right answer is the only one of a different form: another number of
//    words, another first word while the wrong answers share theirs, or no
//    preposition where the others begin with one; a question "В каком…?",
//    "На какой…?", "Из чего…?" needs answers that begin with a preposition, and
//    "…какую…?" answers in the accusative, not in the nominative;
//  - the same right answer twice on one level;
//  - two questions of the base that share most of their word stems, or that
//    offer the same four answers.
// `lines` gives, for every question of every level, the line to report it on
// (a base file line or a spreadsheet row). Field 1 is the question, 2 to 5 the
// answers, the right one first.
QList<Diagnostic> LintQuestions(const std::array<QList<QABase>, BaseFile::Levels> &levels,
                                const std::array<QList<int>, BaseFile::Levels> &lines);

// The stem of one Russian word: lower case, "ё" as "е", the common inflection
// endings taken off (never below three letters).
QString RussianStem(const QString &word);

// True when two words look like the same root: equal stems of four letters or
// more, or stems that agree on their first five letters.
bool SameRoot(const QString &a, const QString &b);
