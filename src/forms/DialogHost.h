#pragma once

#include <QString>

class QWidget;

// What the game's dialogs need of the window they are drawn on, so that they
// never depend on the main window itself: the surface they live on, the
// stage they hold while they are up, and the end of the program. What a
// dialog leaves behind for the main window to show (the host's words, the
// greeting, the player's name) goes through the game session.
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
};
