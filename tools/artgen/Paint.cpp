#include "Paint.h"

#include <QLinearGradient>
#include <QRadialGradient>

#include <cmath>

namespace Paint {

Canvas::Canvas(QSize logical_, int scale_, QImage::Format format)
    : image(logical_ * scale_, format), scale(scale_), logical(logical_)
{
    image.fill(format == QImage::Format_RGB32 ? QColor(Qt::black) : QColor(Qt::transparent));
}

void Begin(QPainter &p, QImage &image, int scale)
{
    p.begin(&image);
    p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing
                     | QPainter::SmoothPixmapTransform);
    p.scale(scale, scale);
}

QImage Crop(const QImage &image, const QRect &r, int scale)
{
    return image.copy(QRect(r.topLeft() * scale, r.size() * scale));
}

QPainterPath HexPath(const QRectF &r, qreal tip)
{
    const qreal cy = r.center().y();
    QPainterPath path;
    path.moveTo(r.left(), cy);
    path.lineTo(r.left() + tip, r.top());
    path.lineTo(r.right() - tip, r.top());
    path.lineTo(r.right(), cy);
    path.lineTo(r.right() - tip, r.bottom());
    path.lineTo(r.left() + tip, r.bottom());
    path.closeSubpath();
    return path;
}

void RadialLight(QPainter &p, QPointF centre, qreal radius, QColor colour, int alpha)
{
    QRadialGradient g(centre, radius);
    QColor c = colour;
    c.setAlpha(alpha);
    g.setColorAt(0, c);
    c.setAlpha(alpha / 3);
    g.setColorAt(0.45, c);
    c.setAlpha(0);
    g.setColorAt(1, c);
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawEllipse(centre, radius, radius);
    p.restore();
}

void Halo(QPainter &p, const QPainterPath &path, QColor colour, qreal width, int alpha)
{
    p.save();
    p.setBrush(Qt::NoBrush);
    const int steps = 6;
    for (int i = steps; i >= 1; --i) {
        QColor c = colour;
        c.setAlpha(alpha / steps + 4);
        QPen pen(c, width * i / steps * 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        p.setPen(pen);
        p.drawPath(path);
    }
    p.restore();
}

void Frame(QPainter &p, const QPainterPath &path, const FrameStyle &style)
{
    const QRectF box = path.boundingRect();
    if (style.haloWidth > 0)
        Halo(p, path, style.glow, style.haloWidth, style.haloAlpha);

    p.save();
    QLinearGradient fill(box.topLeft(), box.bottomLeft());
    fill.setColorAt(0, style.top);
    fill.setColorAt(1, style.bottom);
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawPath(path);

    if (style.sheen) {
        // Glassy sheen on the upper half.
        p.setClipPath(path);
        QLinearGradient sheen(box.topLeft(), QPointF(box.left(), box.center().y()));
        sheen.setColorAt(0, QColor(255, 255, 255, 46));
        sheen.setColorAt(1, QColor(255, 255, 255, 0));
        p.setBrush(sheen);
        p.drawRect(QRectF(box.left(), box.top(), box.width(), box.height() / 2));
        p.setClipping(false);
    }

    // Rim: a bright line with a softer double around it.
    QColor soft = style.rim;
    soft.setAlpha(90);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(soft, style.rimWidth + 1.6, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    p.drawPath(path);
    p.setPen(QPen(style.rim, style.rimWidth, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    p.drawPath(path);
    p.restore();
}

FrameStyle PressedStyle()
{
    FrameStyle s;
    s.top = QColor(255, 184, 60);
    s.bottom = QColor(214, 98, 0);
    s.rim = QColor(255, 240, 200);
    s.glow = QColor(255, 140, 0);
    s.haloAlpha = 110;
    s.haloWidth = 1; // pressed looks are cut to their place: keep the glow inside
    return s;
}

void Diamond(QPainter &p, QPointF c, qreal r, QColor colour, bool glow)
{
    QPainterPath d;
    d.moveTo(c.x() - r, c.y());
    d.lineTo(c.x(), c.y() - r);
    d.lineTo(c.x() + r, c.y());
    d.lineTo(c.x(), c.y() + r);
    d.closeSubpath();
    p.save();
    if (glow)
        RadialLight(p, c, r * 2.6, colour, 120);
    QLinearGradient g(c.x(), c.y() - r, c.x(), c.y() + r);
    g.setColorAt(0, colour.lighter(150));
    g.setColorAt(0.5, colour);
    g.setColorAt(1, colour.darker(140));
    p.setPen(QPen(colour.lighter(170), 0.8));
    p.setBrush(g);
    p.drawPath(d);
    p.restore();
}

void FadingLine(QPainter &p, qreal x1, qreal x2, qreal y, QColor colour, int alpha, qreal width)
{
    QLinearGradient g(x1, y, x2, y);
    QColor c = colour;
    c.setAlpha(0);
    g.setColorAt(0, c);
    c.setAlpha(alpha);
    g.setColorAt(0.5, c);
    c.setAlpha(0);
    g.setColorAt(1, c);
    p.save();
    p.setPen(QPen(QBrush(g), width));
    p.drawLine(QPointF(x1, y), QPointF(x2, y));
    p.restore();
}

void OvalKey(QPainter &p, const QRectF &r, bool pressed)
{
    const QRectF oval = r.adjusted(2.5, 2.5, -2.5, -2.5);
    p.save();
    if (pressed) {
        // The glow stays inside the key's rectangle: the key cap that covers
        // it is cut from the ground around it.
        QPainterPath glow;
        glow.addEllipse(oval);
        Halo(p, glow, QColor(255, 140, 0), 1.8, 120);
        QRadialGradient g(oval.center() - QPointF(0, oval.height() * 0.25), oval.width() * 0.6);
        g.setColorAt(0, QColor(255, 214, 120));
        g.setColorAt(0.6, QColor(246, 140, 10));
        g.setColorAt(1, QColor(196, 84, 0));
        p.setBrush(g);
        p.setPen(QPen(QColor(255, 236, 190), 1.3));
        p.drawEllipse(oval);
    } else {
        QLinearGradient g(oval.topLeft(), oval.bottomLeft());
        g.setColorAt(0, QColor(40, 48, 110));
        g.setColorAt(0.5, QColor(12, 16, 58));
        g.setColorAt(1, QColor(4, 6, 30));
        p.setBrush(g);
        p.setPen(QPen(QColor(Palette::Rim.red(), Palette::Rim.green(), Palette::Rim.blue(), 80), 3));
        p.drawEllipse(oval);
        p.setPen(QPen(Palette::Rim, 1.2));
        p.drawEllipse(oval);
        // Highlight on the upper edge of the cap.
        QLinearGradient hl(oval.topLeft(), QPointF(oval.left(), oval.center().y()));
        hl.setColorAt(0, QColor(255, 255, 255, 70));
        hl.setColorAt(1, QColor(255, 255, 255, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(hl);
        p.drawEllipse(oval.adjusted(4, 1.5, -4, -oval.height() / 2));
    }
    p.restore();
}

QFont Font(const QString &family, int pixelSize, bool bold, bool italic)
{
    QFont f(family);
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    f.setItalic(italic);
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setStyleStrategy(QFont::PreferAntialias);
    return f;
}

void Text(QPainter &p, const QRectF &r, int flags, const QFont &font, QColor colour,
          const QString &text, QColor glow)
{
    p.save();
    p.setFont(font);
    if (glow.alpha() > 0) {
        QColor g = glow;
        for (qreal d : {1.6, 1.0}) {
            g.setAlpha(glow.alpha() / 3);
            p.setPen(g);
            for (QPointF off : {QPointF(-d, 0), QPointF(d, 0), QPointF(0, -d), QPointF(0, d)})
                p.drawText(r.translated(off), flags, text);
        }
    }
    p.setPen(colour);
    p.drawText(r, flags, text);
    p.restore();
}

void Field(QPainter &p, const QRectF &r, QColor top, QColor bottom)
{
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    p.fillRect(r, g);
}

void Beams(QPainter &p, const QRectF &r, QPointF origin, int count, int alpha)
{
    p.save();
    p.setClipRect(r);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < count; ++i) {
        const qreal t = count == 1 ? 0.5 : qreal(i) / (count - 1);
        const qreal x = r.left() - r.width() * 0.2 + t * r.width() * 1.4;
        const qreal spread = r.width() * 0.05;
        QPainterPath beam;
        beam.moveTo(origin);
        beam.lineTo(x - spread, r.bottom());
        beam.lineTo(x + spread, r.bottom());
        beam.closeSubpath();
        QLinearGradient g(origin, QPointF(x, r.bottom()));
        g.setColorAt(0, QColor(150, 160, 255, alpha));
        g.setColorAt(1, QColor(150, 160, 255, 0));
        p.setBrush(g);
        p.drawPath(beam);
    }
    p.restore();
}

QImage SnapToKey(const QImage &argb, QColor key)
{
    const QImage src = argb.convertToFormat(QImage::Format_ARGB32);
    QImage out(src.size(), QImage::Format_RGB32);
    const QRgb keyRgb = key.rgb();
    for (int y = 0; y < src.height(); ++y) {
        const QRgb *in = reinterpret_cast<const QRgb *>(src.constScanLine(y));
        QRgb *o = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < src.width(); ++x) {
            if (qAlpha(in[x]) < 128) {
                o[x] = keyRgb;
                continue;
            }
            QRgb c = qRgb(qRed(in[x]), qGreen(in[x]), qBlue(in[x]));
            if ((c & 0xffffff) == (keyRgb & 0xffffff))
                c = qRgb(qRed(c), qGreen(c), qBlue(c) + 1);
            o[x] = c;
        }
    }
    return out;
}

} // namespace Paint
