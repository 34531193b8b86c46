// The game's icon: the emblem of the dialogs (a glowing ring round a question
// mark on a violet disc), for the desktop's menu and task bar. One design in
// unit coordinates drives both the pictures and the SVG; small sizes drop the
// details that would only blur at a few pixels and keep every line at least
// one pixel wide.

#include "Pictures.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QTransform>

#include <algorithm>
#include <cmath>

namespace {

const QColor kGlow{90, 110, 255};
const QColor kDiscLight{60, 40, 160};
const QColor kDiscDark{14, 8, 50};
const QColor kRim{200, 214, 255};
const QColor kOrange{251, 152, 0};

// The shapes at one size: `size` pixels, or 1 for the scalable design.
struct Design {
    qreal size = 1;
    bool glow = true;       // the soft light round the disc
    bool innerRing = true;  // the orange ring inside the rim
    bool diamonds = true;   // orange diamonds at three and nine o'clock
    bool markGlow = true;   // the orange shine round the question mark
    qreal discRadius = 0;
    qreal rimWidth = 0;
    qreal innerRadius = 0;
    qreal innerWidth = 0;
    QPainterPath mark;      // the question mark, filled white
    qreal diamondRadius = 0;
};

// The question mark in bold serif, `height` tall, centred at `centre`.
QPainterPath Mark(QPointF centre, qreal height)
{
    QFont font(QStringLiteral("Liberation Serif"));
    font.setBold(true);
    font.setPixelSize(100);
    QPainterPath glyph;
    glyph.addText(0, 0, font, QStringLiteral("?"));
    const QRectF box = glyph.boundingRect();
    const qreal k = height / box.height();
    QTransform t;
    t.translate(centre.x(), centre.y());
    t.scale(k, k);
    t.translate(-box.center().x(), -box.center().y());
    return t.map(glyph);
}

Design DesignAt(qreal size, bool scalable)
{
    Design d;
    d.size = size;
    const qreal px = scalable ? 0 : 1; // one device pixel, in the design's units
    d.glow = scalable || size >= 48;
    d.innerRing = scalable || size >= 24;
    d.diamonds = scalable || size >= 64;
    d.markGlow = scalable || size >= 48;
    d.discRadius = size * (d.glow ? 0.42 : 0.47);
    d.rimWidth = std::max(px, size * 0.035);
    if (!scalable && size < 48) {
        // Whole pixels: the rim's outer edge on a pixel boundary.
        d.rimWidth = std::round(d.rimWidth);
        d.discRadius = std::floor(d.discRadius + d.rimWidth / 2) - d.rimWidth / 2;
    }
    d.innerRadius = d.discRadius * 0.8;
    d.innerWidth = std::max(px, size * 0.028);
    d.mark = Mark(QPointF(size / 2, size / 2), size * (d.innerRing ? 0.5 : 0.62));
    d.diamondRadius = size * 0.045;
    return d;
}

QPainterPath DiamondPath(QPointF c, qreal r)
{
    QPainterPath path;
    path.moveTo(c.x(), c.y() - r);
    path.lineTo(c.x() + r, c.y());
    path.lineTo(c.x(), c.y() + r);
    path.lineTo(c.x() - r, c.y());
    path.closeSubpath();
    return path;
}

QColor WithAlpha(QColor c, int alpha)
{
    c.setAlpha(alpha);
    return c;
}

// Glow stops: (position, alpha) of kGlow from the centre out.
constexpr struct { qreal at; int alpha; } kGlowStops[] = {{0, 150}, {0.7, 110}, {1, 0}};

QString Number(qreal v)
{
    QString s = QString::number(v, 'f', 2);
    while (s.endsWith(QLatin1Char('0')))
        s.chop(1);
    if (s.endsWith(QLatin1Char('.')))
        s.chop(1);
    return s == QLatin1String("-0") ? QStringLiteral("0") : s;
}

QString ColourText(QColor c)
{
    return c.name(QColor::HexRgb);
}

QString PathData(const QPainterPath &path)
{
    QString d;
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        if (e.isMoveTo()) {
            d += QStringLiteral("M%1 %2").arg(Number(e.x), Number(e.y));
        } else if (e.isLineTo()) {
            d += QStringLiteral("L%1 %2").arg(Number(e.x), Number(e.y));
        } else if (e.isCurveTo()) {
            const QPainterPath::Element c2 = path.elementAt(i + 1);
            const QPainterPath::Element end = path.elementAt(i + 2);
            d += QStringLiteral("C%1 %2 %3 %4 %5 %6")
                     .arg(Number(e.x), Number(e.y), Number(c2.x), Number(c2.y), Number(end.x), Number(end.y));
            i += 2;
        }
    }
    return d + QLatin1Char('Z');
}

} // namespace

namespace IconArt {

QImage Icon(int size)
{
    const Design d = DesignAt(size, false);
    const QPointF c(size / 2.0, size / 2.0);
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHints(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    if (d.glow) {
        QRadialGradient g(c, size / 2.0);
        for (const auto &s : kGlowStops)
            g.setColorAt(s.at, WithAlpha(kGlow, s.alpha));
        p.setBrush(g);
        p.drawEllipse(c, size / 2.0, size / 2.0);
    }
    QRadialGradient disc(c - QPointF(0, d.discRadius * 0.3), d.discRadius * 1.2);
    disc.setColorAt(0, kDiscLight);
    disc.setColorAt(1, kDiscDark);
    p.setBrush(disc);
    p.setPen(QPen(kRim, d.rimWidth));
    p.drawEllipse(c, d.discRadius, d.discRadius);
    p.setBrush(Qt::NoBrush);
    if (d.innerRing) {
        p.setPen(QPen(kOrange, d.innerWidth));
        p.drawEllipse(c, d.innerRadius, d.innerRadius);
    }
    if (d.diamonds) {
        p.setPen(Qt::NoPen);
        p.setBrush(kOrange);
        for (qreal x : {c.x() - d.discRadius, c.x() + d.discRadius})
            p.drawPath(DiamondPath(QPointF(x, c.y()), d.diamondRadius));
    }
    if (d.markGlow) {
        p.setPen(QPen(WithAlpha(kOrange, 200), size * 0.03, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPath(d.mark);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPath(d.mark);
    p.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

QByteArray Svg()
{
    const qreal size = 512;
    const Design d = DesignAt(size, true);
    const qreal c = size / 2;
    QString glowStops;
    for (const auto &s : kGlowStops)
        glowStops += QStringLiteral("<stop offset=\"%1\" stop-color=\"%2\" stop-opacity=\"%3\"/>")
                         .arg(Number(s.at), ColourText(kGlow), Number(s.alpha / 255.0));
    QString svg;
    svg += QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                          "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"512\" height=\"512\" "
                          "viewBox=\"0 0 512 512\">\n<defs>\n");
    svg += QStringLiteral("<radialGradient id=\"glow\" gradientUnits=\"userSpaceOnUse\" cx=\"%1\" cy=\"%1\" "
                          "r=\"%1\">%2</radialGradient>\n")
               .arg(Number(c), glowStops);
    svg += QStringLiteral("<radialGradient id=\"disc\" gradientUnits=\"userSpaceOnUse\" cx=\"%1\" cy=\"%2\" "
                          "r=\"%3\"><stop offset=\"0\" stop-color=\"%4\"/><stop offset=\"1\" "
                          "stop-color=\"%5\"/></radialGradient>\n</defs>\n")
               .arg(Number(c), Number(c - d.discRadius * 0.3), Number(d.discRadius * 1.2),
                    ColourText(kDiscLight), ColourText(kDiscDark));
    svg += QStringLiteral("<circle cx=\"%1\" cy=\"%1\" r=\"%1\" fill=\"url(#glow)\"/>\n").arg(Number(c));
    svg += QStringLiteral("<circle cx=\"%1\" cy=\"%1\" r=\"%2\" fill=\"url(#disc)\" stroke=\"%3\" "
                          "stroke-width=\"%4\"/>\n")
               .arg(Number(c), Number(d.discRadius), ColourText(kRim), Number(d.rimWidth));
    svg += QStringLiteral("<circle cx=\"%1\" cy=\"%1\" r=\"%2\" fill=\"none\" stroke=\"%3\" "
                          "stroke-width=\"%4\"/>\n")
               .arg(Number(c), Number(d.innerRadius), ColourText(kOrange), Number(d.innerWidth));
    for (qreal x : {c - d.discRadius, c + d.discRadius})
        svg += QStringLiteral("<path d=\"%1\" fill=\"%2\"/>\n")
                   .arg(PathData(DiamondPath(QPointF(x, c), d.diamondRadius)), ColourText(kOrange));
    const QString mark = PathData(d.mark);
    svg += QStringLiteral("<path d=\"%1\" fill=\"none\" stroke=\"%2\" stroke-opacity=\"%3\" stroke-width=\"%4\" "
                          "stroke-linecap=\"round\" stroke-linejoin=\"round\"/>\n")
               .arg(mark, ColourText(kOrange), Number(200 / 255.0), Number(size * 0.03));
    svg += QStringLiteral("<path d=\"%1\" fill=\"#ffffff\"/>\n</svg>\n").arg(mark);
    return svg.toUtf8();
}

} // namespace IconArt
