#pragma once

#include "questionbase/BaseFileModel.h"

#include <QString>

// Small question bases for the game's tests, written with the game's own
// base writer so that they are exactly what the game reads.
namespace TestBase {

// `perLevel` questions on each of the fifteen levels, question i of level L
// reading "Вопрос L.i" with the answers "Верно L.i" (the correct one) and
// "Неверно L.i/2" .. "Неверно L.i/4". Two authors and two subjects; the
// leaderboard empty; `gamesPlayed` games already played.
BaseFileModel Make(int perLevel, int gamesPlayed);

// Writes the base to `path`; false on failure.
bool Write(const QString &path, const BaseFileModel &model);

// Reads the base at `path`; `ok` tells whether it parsed.
BaseFileModel Read(const QString &path, bool *ok);

// The question texts of one level (1..15) in file order.
QStringList LevelOrder(const BaseFileModel &model, int level);

} // namespace TestBase
