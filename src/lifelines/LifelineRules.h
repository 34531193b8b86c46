#pragma once

#include <QString>

#include <array>
#include <cstdint>

class RandomGenerator;

// The rules of the two lifeline dialogs, free of any window: the friend's
// answer on the telephone and the studio audience's vote. The generator is
// passed in (its clock decides the seed of every reseed), so a test can fix
// the millisecond.
namespace Lifelines {

// ---- Phone-a-friend -------------------------------------------------------

inline constexpr int MaxDialledDigits = 7;
inline constexpr int MinCallDigits = 5;
inline constexpr int CallSeconds = 30;

// How far the player has got with dialling.
enum class DialState { Empty, Partial, Complete };

// Empty: no digit; Complete: 5, 6 or 7 digits; Partial: anything between.
DialState StateOfNumber(const QString &digits);

// Only a 5- to 7-digit number may be called.
bool IsCallable(const QString &digits);

// The smallest divisor d >= 2 of n: 2 for n = 0 and n itself for a prime.
// The value 1 has no such divisor; it gets 2, the same as 0 and every even
// number, so that the reliability divisor stays at least 3 and the friend
// behaves as for any other number whose search stops at the first candidate.
std::uint32_t SmallestDivisor(std::uint32_t n);

// Numeric value of the dialled digits (leading zeros ignored), 0..9 999 999.
std::uint32_t DialledValue(const QString &digits);

// Smallest divisor of the dialled value plus the difficulty tier (1..3);
// the friend is right with probability 3 / ReliabilityDivisor.
int ReliabilityDivisor(const QString &digits, int tier);

// Which answer (1 = the correct one, 2..4 the wrong ones) the friend names.
// Reseeds, draws 1..ReliabilityDivisor: 1 to 3 means the correct answer;
// otherwise reseeds again and names wrong answer 2, 3 or 4.
int FriendAnswer(int reliabilityDivisor, RandomGenerator &random);

// What the dialog's commentary says.
QString CallRefusedMessage(const QString &playerName);
QString CallMessage(const QString &playerName, const QString &digits, const QString &friendAnswer);

// The host urges at 20 and 10 seconds left and comments on the time-out at 0.
// For any other second there is no message (an empty string).
QString CountdownMessage(int secondsLeft, DialState state, const QString &playerName);

// ---- Ask-the-audience -----------------------------------------------------

inline constexpr int AnimationTicksToHide = 100;

// Percentages by answer number; index 0 is unused and always 0, index 1 is the
// correct answer. The four shares are non-negative and add up to 100.
using AudienceShares = std::array<int, 5>;

// Upper bound of the correct answer's share in a confident audience.
int ConfidentShareLimit(int tier);

// The studio audience's vote for a difficulty tier of 1..3.
AudienceShares AudienceVote(int tier, RandomGenerator &random);

// The host's summary of the vote, given the bars shown at places A to D.
QString AudienceSummary(const QString &playerName, int a, int b, int c, int d);

} // namespace Lifelines
