#pragma once

#include <QGraphicsView>
#include <QRect>

class QGraphicsProxyWidget;
class TFormMain;

// A window that shows the main window, panels and all, through a transform,
// with every control reachable by mouse and keyboard at its drawn place.
// It serves in two ways:
//  - the full screen where the program cannot scale itself (below scale 1):
//    borderless, at the fixed scale measured at start;
//  - the window the game plays in after F11: framed and resizable, with the
//    game's title and icon, showing the whole 800 x 600 stage scaled to fit
//    it with its aspect kept (the rest in the window colour), the scale
//    chosen anew on every resize.
// Closing this window closes the main window, which ends the program.
class ScaledSurface : public QGraphicsView {
    Q_OBJECT

public:
    // `fullScreenScale`: the scale of the full screen drawn through this
    // surface; 0 where the main window fills the screen by itself and this
    // surface serves only as the window.
    ScaledSurface(TFormMain &main, double fullScreenScale);
    // Gives the main window back: it outlives this window.
    ~ScaledSurface() override;

    // Draws the main window here, or gives it back as a window of its own
    // (still shown, its panels untouched). Both are idempotent.
    void Embed();
    void Release();
    bool Embedded() const;

    // Borderless over the whole screen at the fixed scale.
    void ShowFullScreen();
    // Framed and resizable: at the size it last had, or at first the stage at
    // FullScreen::FirstWindowScale() in the middle of the screen.
    void ShowWindow();
    bool InWindow() const { return m_inWindow; }

    // Where the stage is drawn in the window.
    QRect DrawnStage() const;

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void moveEvent(QMoveEvent *event) override;

private:
    // The transform for the mode and the size the window has now.
    void fit();
    void keepWindowPlace();
    // Device pixels per logical pixel on the surface's screen (the program's
    // own scale included).
    double pixelRatio() const;

    TFormMain &m_main;
    const double m_fullScreenScale;
    QGraphicsProxyWidget *m_proxy = nullptr;
    bool m_inWindow = false;
    double m_scale = 1.0; // the transform's: the window's units per stage pixel
    QRect m_windowGeometry; // the framed window's last place, kept across F11
};
