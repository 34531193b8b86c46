#pragma once

#include <QFont>
#include <QString>

// The typefaces the game's windows were drawn for, and the installed fonts
// that stand in for them. Sizes are always character heights in pixels.
enum class FontFamily {
    Arial,          // Liberation Sans (same metrics)
    TimesNewRoman,  // Liberation Serif (same metrics)
    Tahoma,         // the bundled Tahoma of the system's font folder, else DejaVu Sans
    MsSansSerif,    // drawn with the Tahoma stand-in as well
    ComicSansMs,    // DejaVu Sans Condensed, else Liberation Sans
};

// The installed family that draws `family`. Loads the Tahoma files on first
// use; needs a QGuiApplication.
QString FontFamilyName(FontFamily family);

// A font of the game: `pixelSize` is the character height in pixels.
QFont GameFont(FontFamily family, int pixelSize, bool bold = false, bool italic = false);

// Point sizes of the old 96-dpi screen as pixel sizes (8 -> 11, 12 -> 16).
constexpr int PointsToPixels(int points)
{
    return (points * 96 + 36) / 72;
}
