#pragma once

#include "questionbase/GameState.h"

#include <QList>
#include <QString>

// Climbing the money ladder: what each step does to the tier, the winnings,
// the ladder markers and the host's message, and what a wrong answer leaves.
namespace Ladder {

// The pictures a ladder marker can show.
enum class Marker { None, Yellow, Green, Red };

// Name of the marker's picture: "NONE", "YELLOW", "GREEN", "RED".
QString MarkerPicture(Marker marker);

struct MarkerChange {
    int position = 0; // 1..15, ImagePos1 (lowest prize) .. ImagePos15
    Marker marker = Marker::None;

    bool operator==(const MarkerChange &) const = default;
};

// What entering a ladder step does. Steps 1..15 put that question on screen;
// step 16 is the million won after the fifteenth right answer.
struct Step {
    int tier = 0;          // DifficultyTier to set; 0 leaves it as it is
    bool drawsQuestion = false;
    bool endsGame = false; // the million: the game finishes after the marker
    int winnings = 0;
    QList<MarkerChange> markers;
    QString message;       // the host's words in LabelDialog
};

// The step for QuestionNumber 1..16, the player's name spliced in unchanged.
// Any other number gives an empty step.
Step StepFor(int questionNumber, const QString &name);

// The sum a wrong answer leaves: 32000 from 32000 up, else 1000 from 1000
// up, else 0.
int SafeSum(int winnings);

struct WrongOutcome {
    int winnings = 0;    // the safe sum now held
    int redMarker = 0;   // the marker of the question just lost
    QString message;
};

// A wrong answer with the text the player picked: the safe sum that Winnings
// falls to and the host's message.
WrongOutcome WrongAnswer(const GameState &state, const QString &chosen);

} // namespace Ladder
