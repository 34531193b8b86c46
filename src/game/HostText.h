#pragma once

#include "questionbase/GameState.h"

#include <QString>

// The host's words for the endings and events that are not ladder steps.
namespace HostText {

// The player takes the money at the current question, keeping Winnings.
QString TakeMoney(const GameState &state);

// The new-game dialog's greeting once the player has given a name.
QString Greeting(const QString &name);

// The fifty-fifty lifeline has removed two wrong answers.
QString FiftyFifty(const QString &name);

// The base could not be read; `webSite` is where new bases can be fetched.
QString LoadFailure(const QString &name, const QString &webSite);

// The message box shown when a finished game could not be written back.
QString WriteFailure();

} // namespace HostText
