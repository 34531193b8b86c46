#pragma once

#include <QIcon>

#include <memory>

class QWidget;
class ScaledSurface;
class TFormMain;

// Where the game is on the screen, switched by F11: the full screen (the
// main window itself, as the program scaled itself at start, or drawn
// through a transform below scale 1) or a framed, resizable window of the
// desktop that shows the whole stage scaled to fit it. The switch keeps
// everything running: the game, the panels that are up, the countdown, the
// sound and the keyboard focus.
class WindowMode {
public:
    // `drawnScale`: the full screen's scale where it is drawn through a
    // transform (below 1); 0 where the program scaled itself.
    WindowMode(TFormMain &main, double drawnScale);
    // Gives the main window back before it goes.
    ~WindowMode();
    WindowMode(const WindowMode &) = delete;
    WindowMode &operator=(const WindowMode &) = delete;

    // The game's icon (the menu entry's), for its windows.
    static QIcon Icon();

    // Shows the game at start, in the mode chosen so far.
    void Show();
    // Plays in the window or on the full screen; false (nothing changed) when
    // the full screen was asked for and the screen cannot hold it.
    bool PlayInWindow(bool window);
    bool InWindow() const;

    // The surface that draws the main window, while there is one.
    ScaledSurface *Surface() const { return m_surface.get(); }
    // The window on the screen now.
    QWidget *TopLevel() const;

private:
    // Hands the keyboard back to the control that had it.
    void restoreFocus(QWidget *focus) const;

    TFormMain &m_main;
    const double m_drawnScale;
    std::unique_ptr<ScaledSurface> m_surface;
    bool m_shown = false;
};
