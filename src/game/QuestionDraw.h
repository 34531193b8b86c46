#pragma once

#include "questionbase/GameState.h"
#include "questionbase/QABase.h"
#include "questionbase/Random.h"

#include <QList>
#include <QString>

#include <array>
#include <cstdint>
#include <functional>

// Drawing the question of the current step: which question of the level comes
// up, how its answers are placed at A..D, and which two wrong answers the
// fifty-fifty lifeline will take away. Places are numbered 1 = A .. 4 = D.
namespace QuestionDraw {

// Only the first ten questions of a level take part in a draw.
inline constexpr int PickWindow = 10;

// Reseeds, then picks a position 1..min(count, 10), each with equal chance.
// count >= 1.
int PickPosition(RandomGenerator &rng, int count);

// Moves the question at position p (1..count) of a level list to position
// count, shifting the ones after it up by one, through the scratch slot 0.
// The other questions keep their order.
void MoveToBack(QList<QuestionRef> &level, int count, int p);

// The answer placement made from its three raw draws: a in 0..3, b in 0..2,
// c in 0..1. Index 1..4 is the place A..D, the value which answer stands
// there. Only 15 of the 24 orders can come out.
std::array<int, 5> PlacementFromDraws(int a, int b, int c);

// Reseeds, draws a, b and c in turn and places the answers.
std::array<int, 5> PlaceAnswers(RandomGenerator &rng);

// The place (1..4) that holds answer 1, the correct one; 0 if none does.
int CorrectPlace(const std::array<int, 5> &answerPos);

struct FiftyHides {
    int first = 0;
    int second = 0;
};

// Milliseconds of a clock that never stops or jumps (the steady clock); only
// differences between two readings matter.
using SteadyMilliseconds = std::function<std::int64_t()>;

// How long the time of day may stand still before the fifty-fifty draw stops
// waiting for it.
inline constexpr std::int64_t FrozenClockMs = 100;

// The two places the fifty-fifty lifeline will hide: two different places,
// neither of them `correctPlace`. Every try reseeds from the clock, so a
// rejected value returns until the clock's millisecond moves on, and the
// first try that gives an allowed place ends the loop. Only when the time of
// day has shown the same millisecond for FrozenClockMs of `steady` time (a
// clock that does not move at all) does a try carry on from the sequence
// instead, so that such a clock cannot hang the game. `steady` defaults to
// the system's steady clock.
FiftyHides ChooseFiftyHides(RandomGenerator &rng, int correctPlace, const SteadyMilliseconds &steady = {});

// The whole draw for the level QuestionNumber: picks and rotates the
// question, copies it into CurrentQuestion, places the answers, chooses the
// fifty-fifty places and sets SecondsLeft to 60. Returns false, changing
// nothing, when the level holds no loaded question.
bool Draw(GameState &state, RandomGenerator &rng);

// "Тема вопроса: ..." / "Вопрос задал: ..."; an index of 0 or less, or one
// beyond the loaded table, gives the default name.
QString SubjectLine(const GameState &state, const QABase &question);
QString AuthorLine(const GameState &state, const QABase &question);

// Point sizes the question label starts with and the one the answer labels
// start with.
inline constexpr int QuestionStartPoints = 16;
inline constexpr int AnswerStartPoints = 14;

// Font size of the question label for a text of `length` characters: 20 below
// 68, 16 below 150, otherwise the size it had (`currentPoints`).
int QuestionFontPoints(int length, int currentPoints);

// One font size for all four answer labels from the longest answer's length:
// 14 below 40, 12 below 60, 10 below 80, 8 below 150, otherwise unchanged.
int AnswerFontPoints(int longestLength, int currentPoints);

// Length of the longest answer text shown at the four places.
int LongestAnswerLength(const QABase &question);

// The screen is laid out at 96 pixels per inch: 8 pt -> 11 px, 10 -> 13,
// 12 -> 16, 14 -> 19, 16 -> 21, 20 -> 27.
int PointsToPixels(int points);

} // namespace QuestionDraw
