#pragma once

#include "sound/SoundCue.h"

#include <functional>

class GameSession;
class QObject;

// The show's sound follows the game: each question's reveal by its tier, each
// of the last twenty seconds, a right or wrong answer, the million, the money
// taken, the time running out, the lifelines and the leaderboard go to
// `play` as they happen (the connections live as long as `context`).
void ConnectShowSound(GameSession &session, QObject *context, std::function<void(SoundCue)> play);
