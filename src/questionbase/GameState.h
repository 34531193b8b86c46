#pragma once

#include "questionbase/BestTable.h"
#include "questionbase/QABase.h"
#include "questionbase/QuestionRef.h"
#include "questionbase/QuestionSource.h"

#include <QByteArray>

#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <memory>

// The state of the game, held once for the whole run by the game session
// (GameSession), its only writer; windows read it through the session. Each
// group names the step of the game that changes it.
struct GameState {
    static constexpr int Levels = 15;

    // Chosen in the new-game dialog.
    QString CurrentBaseFile = QStringLiteral("Base.QA"); // file name inside QA/
    QString PlayerName;                                    // at most 20 characters

    // Loading and saving a base (the draw changes the order; the new-game
    // dialog's description of a base sets the counts between games).
    // Every question of the level lists is the place of its line in the
    // base file as it was read: in Source, the loaded file held open, or,
    // for questions that do not come from a file and for a file that
    // changed while it was read, in BaseBytes. Index 1..15 is the level;
    // index 0 is unused. For level L the list holds LevelCounts[L] + 1
    // elements: element 0 is the scratch slot used for swaps and moves,
    // elements 1..LevelCounts[L] the questions in rotation order.
    std::shared_ptr<const QuestionSource> Source;
    QByteArray BaseBytes;
    std::array<QList<QuestionRef>, Levels + 1> LevelQuestions;
    std::array<std::int32_t, Levels + 1> LevelCounts{};
    // Element 0 stays empty; names at 1..AuthorCount / 1..SubjectCount.
    QStringList Authors;
    QStringList Subjects;
    std::int32_t AuthorCount = 0;
    std::int32_t SubjectCount = 0;
    // Entries 1..5 as read from the file, 6 for the finishing player; index 0 unused.
    std::array<BestTable, 7> Leaders;
    bool GameActive = false;

    // Answer evaluation (loading and saving resets QuestionNumber).
    int QuestionNumber = 1;   // 1..15; 16 after the last right answer
    int Winnings = 0;         // roubles of the highest step won, or the safe sum
    int DifficultyTier = 1;   // 1 for questions 1-4, 2 for 5-9, 3 for 10-15

    // The question draw.
    QABase CurrentQuestion;
    std::array<int, 5> AnswerPos{}; // index 1..4 = places A..D: which answer stands there
    int FiftyHide1 = 0;             // the two places fifty-fifty will hide (1..4)
    int FiftyHide2 = 0;

    // The question timer (the draw and loading/saving reset them).
    int SecondsLeft = 60;
    int SecondTicks = 0;
    int GameTicks = 0;

    // The text of a question of the level lists (an empty question for the
    // scratch slot, a place outside the bytes, or a file that changed).
    QABase Question(QuestionRef ref) const;
    // Appends the line of `question` to BaseBytes and gives its place, for a
    // question that does not come from a file (made up by tools and tests).
    QuestionRef Keep(const QABase &question);
};
