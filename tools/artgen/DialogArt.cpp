// Pictures of the dialogs: the about box (metal frame, cream sheet, OK
// plate), the phone-a-friend keypad, the audience vote, the new-game dialog
// and the leaderboard. Key caps and pressed looks are cut from the dialog's
// own background before the cap is painted on them, so they sit seamlessly.

#include "Paint.h"
#include "Pictures.h"

#include <QLinearGradient>
#include <QRadialGradient>
#include <QRandomGenerator>

#include <cmath>

using namespace Paint;

namespace {

const QString kSans = QStringLiteral("Liberation Sans");
const QString kSerif = QStringLiteral("Liberation Serif");

// Title plate of a dialog, behind a title label at 12, 7 (148 wide).
void TitlePlate(QPainter &p, qreal height)
{
    FrameStyle s;
    s.haloWidth = 4;
    s.top = QColor(26, 30, 96);
    Frame(p, HexPath(QRectF(7, 5, 158, height + 4), 12), s);
    Diamond(p, {178, 7 + height / 2}, 3.5, Palette::Orange, false);
}

// Navy field with thin light lines framing the dialog.
void DialogField(QPainter &p, QSize size, QColor base)
{
    const QRectF all(QPointF(0, 0), size);
    Field(p, all, base.lighter(150), base.darker(160));
    RadialLight(p, {size.width() * 0.62, size.height() * 0.35}, size.width() * 0.6,
                QColor(60, 60, 220), 55);
    p.save();
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(150, 170, 255, 160), 1));
    p.drawRect(all.adjusted(1.5, 1.5, -1.5, -1.5));
    p.setPen(QPen(QColor(150, 170, 255, 60), 1));
    p.drawRect(all.adjusted(3.5, 3.5, -3.5, -3.5));
    p.restore();
}

// Cuts `r` from `background` and paints `draw` on it in window coordinates.
QImage CutAndPaint(const QImage &background, const QRect &r, int scale,
                   const std::function<void(QPainter &)> &draw)
{
    QImage img = Crop(background, r, scale);
    QPainter p;
    Begin(p, img, scale);
    p.translate(-r.topLeft());
    draw(p);
    p.end();
    return img;
}

// ---- About box -------------------------------------------------------------

void BrushedMetal(QPainter &p, const QRectF &r, int seed)
{
    Field(p, r, QColor(104, 106, 114), QColor(50, 52, 60));
    QRandomGenerator random(seed);
    p.save();
    for (qreal y = r.top(); y < r.bottom(); y += 0.5) {
        const int shade = random.bounded(2) ? 255 : 0;
        p.setPen(QPen(QColor(shade, shade, shade, 6 + random.bounded(12)), 0.5));
        const qreal x = r.left() + random.bounded(int(r.width()));
        p.drawLine(QPointF(r.left(), y), QPointF(x + r.width() * 0.6, y));
    }
    p.restore();
}

// Bevel: light on the top and left, dark on the bottom and right (raised),
// or the other way round (sunken).
void Bevel(QPainter &p, const QRectF &r, bool raised, qreal width = 1.5)
{
    const QColor light(236, 238, 244, 220), dark(20, 20, 26, 220);
    p.save();
    p.setPen(QPen(raised ? light : dark, width));
    p.drawLine(r.bottomLeft(), r.topLeft());
    p.drawLine(r.topLeft(), r.topRight());
    p.setPen(QPen(raised ? dark : light, width));
    p.drawLine(r.topRight(), r.bottomRight());
    p.drawLine(r.bottomRight(), r.bottomLeft());
    p.restore();
}

void Screw(QPainter &p, QPointF c)
{
    p.save();
    QRadialGradient g(c - QPointF(1, 1), 4);
    g.setColorAt(0, QColor(230, 232, 236));
    g.setColorAt(1, QColor(80, 82, 88));
    p.setPen(QPen(QColor(40, 40, 46), 0.8));
    p.setBrush(g);
    p.drawEllipse(c, 3.2, 3.2);
    p.setPen(QPen(QColor(40, 40, 46), 1));
    p.drawLine(c + QPointF(-2, 1.2), c + QPointF(2, -1.2));
    p.restore();
}

// The game's emblem in small: a glowing ring round a question mark.
void Logo(QPainter &p, QPointF c, qreal r, int alpha = 255)
{
    p.save();
    p.setOpacity(alpha / 255.0);
    RadialLight(p, c, r * 1.6, QColor(90, 110, 255), 140);
    QRadialGradient disc(c - QPointF(0, r * 0.3), r * 1.2);
    disc.setColorAt(0, QColor(60, 40, 160));
    disc.setColorAt(1, QColor(14, 8, 50));
    p.setBrush(disc);
    p.setPen(QPen(QColor(200, 214, 255), r * 0.12));
    p.drawEllipse(c, r, r);
    p.setPen(QPen(Palette::Orange, r * 0.06));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, r * 0.8, r * 0.8);
    Text(p, QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r), Qt::AlignCenter,
         Font(kSerif, int(r * 1.3), true), QColor(255, 255, 255), QStringLiteral("?"),
         QColor(255, 160, 0, 200));
    p.restore();
}

} // namespace

namespace DialogArt {

QImage AboutForm(int scale)
{
    Canvas c({290, 223}, scale);
    QPainter p;
    Begin(p, c.image, scale);
    const QRectF all(0, 0, 290, 223);
    BrushedMetal(p, all, 17);
    Bevel(p, all.adjusted(0.75, 0.75, -0.75, -0.75), true);
    Bevel(p, all.adjusted(4.5, 4.5, -4.5, -4.5), false, 1);
    for (QPointF s : {QPointF(10, 10), QPointF(280, 10), QPointF(10, 213), QPointF(280, 213)})
        Screw(p, s);

    Logo(p, {32, 28}, 15);

    // Title plate.
    const QRectF plate(58, 11, 218, 32);
    p.fillRect(plate, QColor(52, 54, 62));
    Bevel(p, plate, false);
    const QFont titleFont = Font(kSans, 16, true);
    Text(p, plate.translated(0, 1), Qt::AlignCenter, titleFont, QColor(20, 20, 24),
         QStringLiteral("О ПРОГРАММЕ"));
    Text(p, plate, Qt::AlignCenter, titleFont, QColor(226, 230, 240), QStringLiteral("О ПРОГРАММЕ"));

    // The cream window the history scrolls in.
    const QRectF window(20, 51, 255, 133);
    p.fillRect(window, QColor(40, 40, 46));
    Bevel(p, window, false, 2);
    p.fillRect(QRectF(24, 55, 247, 125), Palette::Cream);

    // Slot of the OK plate; what shows while the plate is held down.
    const QRectF slot(126, 191, 44, 27);
    p.fillRect(slot, QColor(44, 46, 52));
    Bevel(p, slot, false);
    const QRectF down(130, 195, 36, 19);
    Field(p, down, QColor(96, 98, 106), QColor(126, 128, 136));
    Bevel(p, down, false, 1);
    Text(p, down.translated(1, 1), Qt::AlignCenter, Font(kSans, 12, true), QColor(30, 30, 36),
         QStringLiteral("OK"));
    p.end();
    return c.image;
}

QImage AboutOk(int scale)
{
    Canvas c({36, 19}, scale);
    QPainter p;
    Begin(p, c.image, scale);
    const QRectF all(0, 0, 36, 19);
    Field(p, all, QColor(196, 198, 206), QColor(120, 122, 130));
    Bevel(p, all.adjusted(0.5, 0.5, -0.5, -0.5), true, 1);
    Text(p, all.translated(0, 1), Qt::AlignCenter, Font(kSans, 12, true), QColor(255, 255, 255, 140),
         QStringLiteral("OK"));
    Text(p, all, Qt::AlignCenter, Font(kSans, 12, true), QColor(30, 30, 36), QStringLiteral("OK"));
    p.end();
    return c.image;
}

QImage AboutInfo(int scale)
{
    Canvas c({246, 250}, scale);
    QPainter p;
    Begin(p, c.image, scale);
    p.fillRect(QRectF(0, 0, 246, 250), Palette::Cream);
    // Faint emblem on the right of the first screen, faint rules below.
    Logo(p, {196, 80}, 40, 46);
    p.setPen(QPen(QColor(200, 180, 120, 70), 0.8));
    for (qreal y = 140; y < 250; y += 13)
        p.drawLine(QPointF(4, y), QPointF(242, y));
    p.save();
    p.setOpacity(0.22);
    Text(p, QRectF(0, 150, 246, 90), Qt::AlignCenter, Font(kSerif, 44, true, true),
         QColor(150, 90, 20), QStringLiteral("History..."));
    p.restore();
    p.end();
    return c.image;
}

// ---- Phone-a-friend ---------------------------------------------------------

namespace {

QRect PhoneKeyRect(int column, int row)
{
    return QRect(10 + 54 * column, 42 + 37 * row, 51, 35);
}

// The phone dialog's background without anything in the key places.
QImage PhoneBase(int scale)
{
    Canvas c({576, 228}, scale);
    QPainter p;
    Begin(p, c.image, scale);
    DialogField(p, {576, 228}, Palette::Navy);
    // Keypad panel, flat so every key cap cuts the same ground.
    const QRectF pad(6, 38, 167, 154);
    p.fillRect(pad, QColor(2, 10, 40));
    p.setPen(QPen(QColor(160, 180, 255, 110), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(pad.adjusted(-0.5, -0.5, 0.5, 0.5), 5, 5);

    // Host commentary area.
    FrameStyle host;
    host.top = QColor(8, 14, 60, 200);
    host.bottom = QColor(2, 6, 28, 200);
    host.haloWidth = 5;
    host.haloAlpha = 50;
    host.rimWidth = 1;
    host.sheen = false;
    Frame(p, HexPath(QRectF(184, 40, 386, 181), 16), host);

    TitlePlate(p, 25);
    FadingLine(p, 190, 520, 19.5, Palette::Rim, 150, 1);

    // Emblem behind the call's seconds.
    const QPointF e(539, 20);
    RadialLight(p, e, 30, QColor(80, 100, 255), 130);
    QRadialGradient disc(e - QPointF(0, 5), 20);
    disc.setColorAt(0, QColor(34, 30, 110));
    disc.setColorAt(1, QColor(4, 4, 26));
    p.setBrush(disc);
    p.setPen(QPen(Palette::Rim, 1.4));
    p.drawEllipse(e, 17, 17);
    p.setPen(QPen(Palette::Orange, 1));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(e, 14.5, 14.5);

    // Plate of the dialled number.
    FrameStyle number;
    number.haloWidth = 4;
    Frame(p, HexPath(QRectF(22, 193, 133, 26), 12), number);
    p.end();
    return c.image;
}

} // namespace

QImage PhoneForm(int scale)
{
    QImage img = PhoneBase(scale);
    QPainter p;
    Begin(p, img, scale);
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 3; ++column)
            OvalKey(p, PhoneKeyRect(column, row), true);
    }
    p.end();
    return img;
}

QImage PhoneKey(int scale, int column, int row)
{
    const QRect r = PhoneKeyRect(column, row);
    return CutAndPaint(PhoneBase(scale), r, scale, [&](QPainter &p) { OvalKey(p, r, false); });
}

// ---- Ask-the-audience --------------------------------------------------------

QImage AudienceForm(int scale)
{
    Canvas c({205, 280}, scale);
    QPainter p;
    Begin(p, c.image, scale);
    DialogField(p, {205, 280}, QColor(10, 14, 54));
    TitlePlate(p, 25);
    // Trough of the four bars.
    p.fillRect(QRectF(3, 41, 199, 206), QColor(4, 4, 24));
    p.setPen(QPen(QColor(160, 180, 255, 120), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(2.5, 40.5, 200, 207));
    // Letters under the bars, diamonds between them.
    const QFont letters = Font(kSans, 19, true);
    const char *names = "ABCD";
    for (int i = 0; i < 4; ++i) {
        const qreal x = 5 + 50 * i;
        Text(p, QRectF(x, 251, 45, 25), Qt::AlignCenter, letters, Palette::Orange,
             QString(QChar(names[i])), QColor(255, 120, 0, 150));
        if (i < 3)
            Diamond(p, {x + 47.5, 263.5}, 4, Palette::Rim, false);
    }
    FadingLine(p, 0, 205, 250, Palette::Rim, 150, 1);
    p.end();
    return c.image;
}

// ---- New game -----------------------------------------------------------------

namespace {

constexpr QRect kNewGameOk{351, 137, 51, 35};
constexpr QRect kNewGameArrows[4] = {{348, 56, 25, 35}, {348, 93, 25, 35},
                                     {277, 142, 30, 12}, {277, 155, 30, 12}};

// Arrow key: a small plate with a triangle pointing up or down.
void Arrow(QPainter &p, const QRect &r, bool up, bool pressed)
{
    const bool tall = r.height() > 20;
    const QRectF plate = QRectF(r).adjusted(2, tall ? 2.5 : 1.5, -2, tall ? -2.5 : -1.5);
    QPainterPath outline;
    outline.addRoundedRect(plate, tall ? 5 : 3, tall ? 5 : 3);
    // The glow and the rim are the same pressed or not, so the pressed
    // picture, cut from the ground without arrows, joins it exactly.
    if (tall)
        Halo(p, outline, Palette::Glow, 3, 70);
    FrameStyle s = pressed ? PressedStyle() : FrameStyle{};
    s.haloWidth = 0;
    s.rimWidth = 1;
    s.rim = Palette::Rim;
    Frame(p, outline, s);

    const qreal w = tall ? 12 : 9, h = tall ? 8 : 4.5;
    const QPointF c = plate.center();
    QPainterPath tri;
    if (up) {
        tri.moveTo(c.x(), c.y() - h / 2);
        tri.lineTo(c.x() + w / 2, c.y() + h / 2);
        tri.lineTo(c.x() - w / 2, c.y() + h / 2);
    } else {
        tri.moveTo(c.x() - w / 2, c.y() - h / 2);
        tri.lineTo(c.x() + w / 2, c.y() - h / 2);
        tri.lineTo(c.x(), c.y() + h / 2);
    }
    tri.closeSubpath();
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(pressed ? QColor(255, 255, 255) : Palette::Orange);
    p.drawPath(tri);
    p.restore();
}

QImage NewGameBase(int scale)
{
    Canvas c({459, 183}, scale);
    QPainter p;
    Begin(p, c.image, scale);
    DialogField(p, {459, 183}, Palette::Navy);
    FadingLine(p, 0, 459, 70.5, Palette::Rim, 170, 1);
    // Frame of the name box and the base line.
    FrameStyle name;
    name.haloWidth = 5;
    Frame(p, HexPath(QRectF(106, 76, 240, 33), 13), name);
    Diamond(p, {97, 92.5}, 4.5);
    FrameStyle base;
    base.haloWidth = 4;
    Frame(p, HexPath(QRectF(46, 140, 229, 28), 12), base);
    Diamond(p, {38, 154}, 4);
    p.end();
    return c.image;
}

} // namespace

QImage NewGameForm(int scale)
{
    QImage img = NewGameBase(scale);
    QPainter p;
    Begin(p, img, scale);
    for (int i = 0; i < 4; ++i)
        Arrow(p, kNewGameArrows[i], i % 2 == 0, false);
    OvalKey(p, kNewGameOk, true);
    p.end();
    return img;
}

QImage NewGameOk(int scale)
{
    return CutAndPaint(NewGameForm(scale), kNewGameOk, scale,
                       [](QPainter &p) { OvalKey(p, kNewGameOk, false); });
}

QImage NewGameArrow(int scale, int which)
{
    const QRect r = kNewGameArrows[which];
    return CutAndPaint(NewGameBase(scale), r, scale,
                       [&](QPainter &p) { Arrow(p, r, which % 2 == 0, true); });
}

// ---- Leaderboard -------------------------------------------------------------

namespace {
constexpr QRect kTop5Ok{196, 192, 51, 35};
}

QImage Top5Form(int scale)
{
    Canvas c({442, 235}, scale);
    QPainter p;
    Begin(p, c.image, scale);
    DialogField(p, {442, 235}, Palette::Violet);
    RadialLight(p, {221, 120}, 240, QColor(90, 50, 200), 60);
    TitlePlate(p, 26);
    FadingLine(p, 0, 442, 48, Palette::Rim, 160, 1);
    for (int k = 0; k < 5; ++k) {
        const qreal top = 49 + 28 * k;
        FrameStyle row;
        row.haloWidth = 3;
        row.haloAlpha = 50;
        row.rimWidth = 1.1;
        if (k == 0) {
            row.top = QColor(60, 44, 150);
            row.bottom = QColor(20, 12, 70);
        }
        Frame(p, HexPath(QRectF(14, top + 1, 416, 25), 9), row);
        for (qreal x : {268.5, 353.5}) {
            p.setPen(QPen(QColor(170, 186, 255, 110), 1));
            p.drawLine(QPointF(x, top + 4), QPointF(x, top + 23));
        }
        Diamond(p, {44, top + 13.5}, 2.6, Palette::Orange, false);
    }
    OvalKey(p, kTop5Ok, true);
    p.end();
    return c.image;
}

QImage Top5Ok(int scale)
{
    return CutAndPaint(Top5Form(scale), kTop5Ok, scale,
                       [](QPainter &p) { OvalKey(p, kTop5Ok, false); });
}

} // namespace DialogArt
