#pragma once

#include "questionbase/BaseFile.h"
#include "questionbase/BaseFileModel.h"
#include "questionbase/GameState.h"
#include "questionbase/Random.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>
#include <optional>

// Loading a base when a game begins, and ranking the result and rewriting the
// base when it ends: the rules behind BeginGame and FinishGame, with no window.
// Each reports progress through a callback after every question line and every
// shuffle swap; the window moves its gauge (GaugeValue) and processes events there.

// "QA/" + the base's file name, relative to the working directory. A name that
// is not a bare file name (BaseFile::IsBareFileName) gives "", which
// every operation below treats as a file that cannot be opened.
QString BasePath(const QString &currentBaseFile);

// Reads the whole base at `path` into BaseBytes, LevelQuestions, LevelCounts, Authors,
// Subjects, AuthorCount and SubjectCount, and gives field 16 of line 2 in
// *gamesPlayed. The tables are cleared first. On failure nothing of the base
// stays in the tables (all counts 0, lists empty): the caller must not start
// a game, and must not rewrite the base.
// Besides format failures, a level that holds no questions fails the load, and
// so does a bad field anywhere in the leaderboard line (the game could not
// record its result later).
// After success, Authors/Subjects hold element 0 empty plus the names present
// in the file; read them through NameAt.
std::optional<BaseFailure> LoadBase(const QString &path, GameState &state, std::int32_t *gamesPlayed,
                                    const BaseProgress &progress = {});

// The first-run shuffle of every level: for L = 1..15, for p = 1..n, Reseed,
// k = p + RandomInt(n - p + 1), swap elements p and k through element 0.
// `progress` runs after every swap, counting from 0 over the sum of LevelCounts.
void ShuffleLevels(GameState &state, RandomGenerator &random, const BaseProgress &progress = {});

// Reads lines 1 and 2 of the base at `path`: line 1 as it stands (without its
// line end) into *headerLine, the five entries into leaders[1..5] (index 0
// and 6 are left alone) and field 16 into *gamesPlayed.
std::optional<BaseFailure> ReadLeaderboard(const QString &path, QByteArray *headerLine,
                                           std::array<BestTable, 7> &leaders, std::int32_t *gamesPlayed);

// The exchange sort over leaders[1..6]: for i = 2..6, for j = 1..i-1, swap if
// i has the higher step; then, as they now stand, swap if the steps are equal
// and i has fewer ticks. Not stable, on purpose: entries equal in both keys
// may change places when a better one moves past them.
void RankLeaders(std::array<BestTable, 7> &leaders);

// GamesPlayed + 1, stopping at 2147483647.
std::int32_t NextGamesPlayed(std::int32_t gamesPlayed);

// Rewrites the whole base at `path`: `headerLine` byte for byte, leaders[1..5]
// and `gamesPlayed`, the name tables, the level counts and every level in its
// current order, each question line byte for byte as it was read. Written to
// a temporary file in the same folder and renamed over the base only when
// complete; on failure the old base is intact.
// `progress` runs after every question line.
std::optional<BaseFailure> RewriteBase(const QString &path, const QByteArray &headerLine, const GameState &state,
                                       std::int32_t gamesPlayed, const BaseProgress &progress = {});

// The gauge value after `processed` of `total` items: (100 div T) * n when
// T < 100, n div (T div 100) otherwise. Not clamped (the gauge clamps at 100);
// 0 when there is nothing to count.
int GaugeValue(std::int64_t processed, std::int64_t total);

// The name at `index` of a name table (Authors or Subjects, element 0 empty);
// "" for 0, a negative index, or one beyond the table, so that such a question
// shows like one with index 0.
QString NameAt(const QStringList &table, std::int32_t index);
