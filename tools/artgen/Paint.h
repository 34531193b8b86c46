#pragma once

// Drawing helpers shared by every picture of the generator: canvases that
// paint in logical pixels at any scale, six-sided frames with glowing rims,
// diamonds, emblems and text. All coordinates are logical pixels of the
// picture (or of the window the picture belongs to, where a painter has been
// translated).

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRectF>
#include <QSize>

namespace Paint {

// Colours of the studio palette.
namespace Palette {
inline const QColor Violet{16, 8, 41};       // main window and menu panel colour
inline const QColor Navy{0, 12, 50};         // dialog colour
inline const QColor Rim{196, 214, 255};      // thin bright frame rims
inline const QColor Glow{92, 120, 255};      // blue-violet glow around frames
inline const QColor Orange{251, 152, 0};     // letters and diamonds
inline const QColor OrangeLight{255, 196, 70};
inline const QColor Gold{255, 204, 64};      // ordinary ladder steps
inline const QColor Cream{252, 250, 202};    // the about box's sheet
inline const QColor BannerKey{116, 113, 115}; // transparent colour of the banner
} // namespace Palette

// An image of `logical` size times `scale`, with a painter that works in
// logical pixels. `format` is RGB32 for opaque pictures, ARGB32 premultiplied
// for pictures with transparency (filled transparent then).
struct Canvas {
    Canvas(QSize logical, int scale, QImage::Format format = QImage::Format_RGB32);
    QImage image;
    int scale;
    QSize logical;
};

// Painter on `image` scaled by `scale`, antialiased.
void Begin(QPainter &p, QImage &image, int scale);

// The logical rectangle `r` of an image painted at `scale`.
QImage Crop(const QImage &image, const QRect &r, int scale);

// Six-sided outline: a rectangle whose left and right ends are points `tip`
// pixels deep.
QPainterPath HexPath(const QRectF &r, qreal tip);

// Soft light: a radial gradient from `colour` at `alpha` to nothing.
void RadialLight(QPainter &p, QPointF centre, qreal radius, QColor colour, int alpha);

// Halo around `path`: wide strokes of falling opacity.
void Halo(QPainter &p, const QPainterPath &path, QColor colour, qreal width, int alpha);

// A glowing six-sided frame: halo, dark glassy fill, thin bright rim.
struct FrameStyle {
    QColor top{14, 18, 64};
    QColor bottom{2, 4, 22};
    QColor rim = Palette::Rim;
    QColor glow = Palette::Glow;
    qreal rimWidth = 1.6;
    qreal haloWidth = 7;
    int haloAlpha = 70;
    bool sheen = true;
};
void Frame(QPainter &p, const QPainterPath &path, const FrameStyle &style = {});

// The frame look of a pressed control: orange glass with a light rim.
FrameStyle PressedStyle();

// An orange diamond (rhombus) centred at `c`, `r` from the centre to a point.
void Diamond(QPainter &p, QPointF c, qreal r, QColor colour = Palette::Orange, bool glow = true);

// Horizontal line that is bright in its middle and fades at both ends.
void FadingLine(QPainter &p, qreal x1, qreal x2, qreal y, QColor colour, int alpha, qreal width = 1.2);

// Oval key: `pressed` paints the orange look, otherwise a dark cap with a
// light outline.
void OvalKey(QPainter &p, const QRectF &r, bool pressed);

// Font of the given family and pixel size.
QFont Font(const QString &family, int pixelSize, bool bold = false, bool italic = false);

// Text with an optional soft glow behind it.
void Text(QPainter &p, const QRectF &r, int flags, const QFont &font, QColor colour,
          const QString &text, QColor glow = Qt::transparent);

// Gradient background of a dialog or window with soft lights.
void Field(QPainter &p, const QRectF &r, QColor top, QColor bottom);

// A few barely visible diagonal light beams from the top, for the studio look.
void Beams(QPainter &p, const QRectF &r, QPointF origin, int count, int alpha);

// Turns an ARGB picture into an opaque one whose background is exactly `key`:
// pixels less than half covered become `key`, the others become their own
// colour at full opacity, so no edge pixel is a blend with the key colour.
// A covered pixel that happens to equal `key` is moved off it by one step.
QImage SnapToKey(const QImage &argb, QColor key);

} // namespace Paint
