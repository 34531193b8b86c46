#pragma once

#include <QColor>

class QWidget;

// The studio's colours, in one place for every window.
namespace Palette {

inline const QColor Studio{16, 8, 41};      // main window, menu panel, leaderboard, audience
inline const QColor Night{0, 12, 50};       // phone-a-friend and new-game dialogs
inline const QColor White{255, 255, 255};
inline const QColor Lime{0, 255, 0};        // a countdown with time to spare
inline const QColor Yellow{255, 255, 0};
inline const QColor Red{255, 0, 0};
inline const QColor Letter{251, 152, 0};    // the answers' letters at rest
inline const QColor Orange{255, 150, 0};    // the name box
inline const QColor LcdLit{185, 255, 0};    // the game clock and the audience's bars
inline const QColor LcdUnlit{40, 40, 40};

// Sets the text colour of `widget`, the same when it is disabled: a held
// stage must not fade to grey behind a dialog.
void SetTextColour(QWidget *widget, const QColor &colour);

// Fills `widget` with `colour` behind its children.
void SetBackground(QWidget *widget, const QColor &colour);

} // namespace Palette
