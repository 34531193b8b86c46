#pragma once

#include <QRect>
#include <QSize>

#include <optional>

// The game is drawn on an 800 x 600 stage. Instead of switching the display
// mode, the whole program is scaled (QT_SCALE_FACTOR) so that the stage fills
// the screen with its aspect kept; the rest of the screen shows the window
// colour as bars at the sides or at the top and bottom.
namespace FullScreen {

inline constexpr int StageWidth = 800;
inline constexpr int StageHeight = 600;

struct Placement {
    double scale = 1.0; // screen pixels per stage pixel
    QRect stage;        // where the stage lies, in screen pixels
};

// The scale and the stage's place on a screen of `screenPixels`; nothing
// for an empty screen. 1920 x 1080 gives 1.8 with the stage at x 240.
std::optional<Placement> PlaceStage(QSize screenPixels);

// The scale the program applies to itself on a screen of `screenPixels`:
// the placement's scale, also below 1 on a screen smaller than the stage
// (640 x 480 plays at 0.8), or 0 (none) when there is no screen.
double ScaleToApply(QSize screenPixels);

// The window the game may play in instead (F11) shows the whole stage scaled
// to fit it, as PlaceStage() places it on a screen. It opens with the stage
// at the largest whole-ish scale (a quarter step from 1 up, a twentieth below)
// that fits 80 % of the `available` screen pixels, and never gets smaller
// than the stage at MinimumWindowScale, where the smallest texts can still be
// read; on a screen too small even for that, whatever fits.
inline constexpr double MinimumWindowScale = 0.6;
double FirstWindowScale(QSize available);
double SmallestWindowScale(QSize available);

// Whether a screen of `logicalSize` (after scaling) can hold the whole stage.
// A pixel of rounding is forgiven.
bool HoldsStage(QSize logicalSize);

// ScaleToApply() for the primary screen, measured with a short-lived
// application object; 0 when there is none. Must run before
// the real QApplication exists.
double ProbeScaleFactor(int argc, char **argv);

// Sets QT_SCALE_FACTOR for the application object about to be created.
// ClearScaleFactorVariable() removes it again afterwards so that programs
// started from the game (the mail client, the browser) are not scaled.
void SetScaleFactorVariable(double scale);
void ClearScaleFactorVariable();

// Below scale 1 the window system does not draw widgets cleanly (measured:
// half-painted panels and text at the wrong size), so there the program is not
// scaled; the main window is drawn through a transform instead (ScaledSurface)
// and works in the screen's size divided by `scale`. 0 turns that off.
void SetDrawnScale(double scale);
double DrawnScale();

// The logical size of the screen the windows appear on (divided by the drawn
// scale, if any); tests may pretend another (an empty size: there is no screen).
QSize ScreenSize();
void SetScreenSizeForTests(std::optional<QSize> size);

} // namespace FullScreen

// Keeps the desktop's screen saver away while the game runs, over the
// session bus where one offers the service; does nothing elsewhere.
class ScreenSaverInhibitor {
public:
    ScreenSaverInhibitor() = default;
    ~ScreenSaverInhibitor();
    ScreenSaverInhibitor(const ScreenSaverInhibitor &) = delete;
    ScreenSaverInhibitor &operator=(const ScreenSaverInhibitor &) = delete;

    // Best effort: true when the desktop took the request.
    bool Inhibit();
    // Gives the request back; harmless when nothing is held.
    void Release();
    bool Held() const { return m_cookie.has_value(); }

private:
    std::optional<unsigned> m_cookie;
};
