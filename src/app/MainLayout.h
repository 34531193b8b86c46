#pragma once

#include "forms/Fonts.h"
#include "forms/Palette.h"

#include <QColor>
#include <QRect>
#include <QString>

#include <vector>

// The main window's controls as data: the window builds itself from this
// table, and the layout test compares the built window against it row by row.
//
// Rows are in stacking order, bottom first. Positions are relative to the
// 800 x 600 stage, or to the menu panel for rows with `onPanel`.
enum class ControlKind {
    Picture,   // a picture (QLabel showing a pixmap)
    Label,     // a transparent text label of fixed size
    AutoLabel, // a transparent text label sized to its text
    Panel,     // the menu panel
    Gauge,     // TGauge
    Lcd,       // TLCD99
};

struct ControlLayout {
    QString name;
    ControlKind kind = ControlKind::Label;
    bool onPanel = false;
    // Fixed controls: the rectangle. AutoLabel: x, y of the top-left corner,
    // or, when rightAnchored, x is the right edge; width and height are 0.
    QRect geometry;
    bool rightAnchored = false;
    FontFamily family = FontFamily::Arial;
    int pixelSize = 11;
    bool bold = false;
    bool italic = false;
    QColor colour = Qt::white;
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignTop;
    bool wordWrap = false;
    QString text;
    bool visible = true;
    bool enabled = true;
};

namespace MainLayout {

inline constexpr int StageWidth = 800;
inline constexpr int StageHeight = 600;
inline constexpr int BannerHeight = 50;

inline const QColor WindowColour = Palette::Studio;
inline const QColor LetterColour = Palette::Letter;

// The menu panel's left edge when fully shown and when slid out.
inline constexpr int PanelShownLeft = 545;
inline constexpr int PanelHiddenLeft = 795;

// Ladder marker n (1..15) sits at panel top 573 - 25 * n, left 71.
constexpr int MarkerTop(int step) { return 573 - 25 * step; }
inline constexpr int MarkerLeft = 71;

const std::vector<ControlLayout> &Rows();

// The row called `name`, or nullptr.
const ControlLayout *Find(const QString &name);

} // namespace MainLayout
