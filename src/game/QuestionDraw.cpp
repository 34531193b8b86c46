#include "game/QuestionDraw.h"

#include <QtGlobal>

#include <algorithm>
#include <chrono>

namespace QuestionDraw {

int PickPosition(RandomGenerator &rng, int count)
{
    rng.Reseed();
    return rng.RandomInt(std::min(count, PickWindow)) + 1;
}

void MoveToBack(QList<QuestionRef> &level, int count, int p)
{
    if (p < 1 || p > count || count >= level.size())
        return;
    level[0] = level[p];
    for (int i = p; i < count; ++i)
        level[i] = level[i + 1];
    level[count] = level[0];
}

std::array<int, 5> PlacementFromDraws(int a, int b, int c)
{
    const int A = a + 1;
    int B = b + 1;
    if (B == A)
        ++B;
    int C = c + 1;
    for (int i = 0; i < 2; ++i) {
        if (C == A || C == B)
            ++C;
    }
    int D = 1;
    for (int i = 0; i < 3; ++i) {
        if (D == A || D == B || D == C)
            ++D;
    }
    return {0, A, B, C, D};
}

std::array<int, 5> PlaceAnswers(RandomGenerator &rng)
{
    rng.Reseed();
    const int a = rng.RandomInt(4);
    const int b = rng.RandomInt(3);
    const int c = rng.RandomInt(2);
    return PlacementFromDraws(a, b, c);
}

int CorrectPlace(const std::array<int, 5> &answerPos)
{
    for (int place = 1; place <= 4; ++place) {
        if (answerPos[place] == 1)
            return place;
    }
    return 0;
}

namespace {

// The fifty-fifty tries of one draw: every try reseeds from the clock. A try
// continues the sequence instead only once the clock has shown the same
// millisecond for FrozenClockMs of steady time.
class FiftyTries {
public:
    FiftyTries(RandomGenerator &rng, const SteadyMilliseconds &steady) : m_rng(rng), m_steady(steady) {}

    int next()
    {
        m_rng.Reseed();
        const std::uint32_t clockSeed = m_rng.seed();
        const std::int64_t now = m_steady();
        if (m_tried && clockSeed == m_lastClockSeed) {
            if (now - m_clockStoodSince >= FrozenClockMs)
                m_rng.setSeed(m_lastSeedAfterDraw);
        } else {
            m_clockStoodSince = now;
        }
        m_tried = true;
        m_lastClockSeed = clockSeed;
        const int place = m_rng.RandomInt(4) + 1;
        m_lastSeedAfterDraw = m_rng.seed();
        return place;
    }

private:
    RandomGenerator &m_rng;
    const SteadyMilliseconds &m_steady;
    bool m_tried = false;
    std::uint32_t m_lastClockSeed = 0;
    std::uint32_t m_lastSeedAfterDraw = 0;
    std::int64_t m_clockStoodSince = 0;
};

std::int64_t SteadyNow()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

} // namespace

FiftyHides ChooseFiftyHides(RandomGenerator &rng, int correctPlace, const SteadyMilliseconds &steady)
{
    const SteadyMilliseconds clock = steady ? steady : SteadyMilliseconds(SteadyNow);
    FiftyTries tries(rng, clock);
    FiftyHides hides;
    while (hides.first == 0 || hides.first == correctPlace)
        hides.first = tries.next();
    while (hides.second == 0 || hides.second == correctPlace || hides.second == hides.first)
        hides.second = tries.next();
    return hides;
}

bool Draw(GameState &state, RandomGenerator &rng)
{
    const int level = state.QuestionNumber;
    if (level < 1 || level > GameState::Levels)
        return false;
    QList<QuestionRef> &list = state.LevelQuestions[level];
    // Only records that were actually loaded take part, whatever the count says.
    const int count = std::min<qsizetype>(state.LevelCounts[level], list.size() - 1);
    if (count < 1)
        return false;

    const int p = PickPosition(rng, count);
    state.CurrentQuestion = state.Question(list[p]);
    MoveToBack(list, count, p);

    state.AnswerPos = {0, 0, 0, 0, 0};
    state.FiftyHide1 = 0;
    state.FiftyHide2 = 0;
    state.AnswerPos = PlaceAnswers(rng);
    const FiftyHides hides = ChooseFiftyHides(rng, CorrectPlace(state.AnswerPos));
    state.FiftyHide1 = hides.first;
    state.FiftyHide2 = hides.second;

    state.SecondsLeft = 60;
    return true;
}

namespace {

// The name at `index` of a table that starts at 1, or `fallback` when the
// index is 0 or less or beyond the loaded table.
QString NameOr(const QStringList &table, int index, const QString &fallback)
{
    return index > 0 && index < table.size() ? table[index] : fallback;
}

} // namespace

QString SubjectLine(const GameState &state, const QABase &question)
{
    return QStringLiteral("Тема вопроса: ")
        + NameOr(state.Subjects, question.SubjectIndex, QStringLiteral("Разное"));
}

QString AuthorLine(const GameState &state, const QABase &question)
{
    return QStringLiteral("Вопрос задал: ")
        + NameOr(state.Authors, question.AuthorIndex, QStringLiteral("Неизвестный"));
}

int QuestionFontPoints(int length, int currentPoints)
{
    int points = currentPoints;
    if (length < 150)
        points = 16;
    if (length < 68)
        points = 20;
    return points;
}

int AnswerFontPoints(int longestLength, int currentPoints)
{
    if (longestLength < 40)
        return 14;
    if (longestLength < 60)
        return 12;
    if (longestLength < 80)
        return 10;
    if (longestLength < 150)
        return 8;
    return currentPoints;
}

int LongestAnswerLength(const QABase &question)
{
    qsizetype longest = 0;
    for (int i = 1; i <= 4; ++i)
        longest = std::max(longest, question.Answers[i].size());
    return int(longest);
}

int PointsToPixels(int points)
{
    return qRound(points * 96.0 / 72.0);
}

} // namespace QuestionDraw
