#pragma once

#include <memory>

class QApplication;
class QWidget;

// Everything the game does before its event loop: the screen probe and the
// scale, the application object, the six windows in their fixed order and
// the ones that are up from the start. The executable runs exec(); a test
// that plays the game from inside the process builds the same objects and
// drives them before and while exec() runs.
class GameStart {
public:
    // argc and argv must outlive this object (the application keeps them).
    GameStart(int &argc, char **argv);
    ~GameStart();
    GameStart(const GameStart &) = delete;
    GameStart &operator=(const GameStart &) = delete;

    // Shows the windows that are up from the start and runs the event loop
    // until the main window closes.
    int exec();

    // The one top-level window of the game.
    QWidget *mainWindow() const;

private:
    struct Windows;
    std::unique_ptr<QApplication> m_app;
    std::unique_ptr<Windows> m_windows;
};
