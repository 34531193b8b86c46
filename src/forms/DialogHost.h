#pragma once

#include <QString>

class QWidget;

// What the game's dialogs need of the window they are drawn on, so that they
// never depend on the main window itself: the surface they live on, the
// stage they hold while they are up, the end of the program, and the few
// texts of the main window that a dialog leaves behind when it goes.
class DialogHost {
public:
    virtual ~DialogHost() = default;

    // The one top-level window; every dialog is a panel on it.
    virtual QWidget *DialogSurface() = 0;

    // A dialog that keeps the player off the main window while it is up holds
    // the stage: the stage is disabled while at least one dialog holds it.
    // Both calls are idempotent; a destroyed dialog lets go by itself.
    virtual void holdFor(QWidget *dialog) = 0;
    virtual void releaseFrom(QWidget *dialog) = 0;
    virtual bool isHeldBy(QWidget *dialog) const = 0;

    // Ends the program as closing the main window does (a running game is
    // finished first).
    virtual void CloseProgram() = 0;

    // The host's message area.
    virtual void ShowHostText(const QString &text) = 0;
    // A player has been named: the greeting, the base line, and a clean
    // score, countdown, clock and ladder for the next game.
    virtual void GreetPlayer(const QString &greeting, const QString &baseLine) = 0;
    // The line that names the player on the menu panel.
    virtual void ShowPlayerLine(const QString &line) = 0;
};
