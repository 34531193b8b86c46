// Pictures of the main window: the background with the countdown emblem and
// the question and answer frames, the menu panel with its buttons, lifelines
// and money ladder, the pressed looks, the ladder markers and the banner.

#include "Paint.h"
#include "Pictures.h"

#include "questionbase/MoneyLadder.h"

#include <QLinearGradient>
#include <QRadialGradient>
#include <QRandomGenerator>

#include <array>
#include <cmath>

using namespace Paint;

namespace {

// Places of the main window's controls, in window pixels.
constexpr QRect kHighlight[4] = {{31, 465, 368, 48}, {401, 465, 368, 48},
                                 {31, 517, 368, 48}, {401, 517, 368, 48}};
constexpr QPointF kEmblemCentre{96, 120.5};   // middle of the countdown label
constexpr QRectF kQuestionFrame{30, 361, 740, 88};
constexpr qreal kAnswerTip = 16;
constexpr int kPanelLeft = 545;

// Menu panel places, in panel pixels.
constexpr QRect kNameLine{19, 1, 143, 26};
constexpr QRect kAboutButton{183, 2, 33, 25};
constexpr QRect kCloseButton{216, 2, 33, 25};
constexpr QRect kLcd{40, 28, 105, 21};
constexpr QRect kNewGameButton{24, 51, 209, 25};
constexpr QRect kNewNameButton{24, 87, 209, 25};
constexpr QRect kLifeline[3] = {{40, 144, 57, 33}, {104, 144, 57, 33}, {168, 144, 57, 33}};
constexpr int kMarkerLeft = 71;

constexpr int MarkerTop(int step) { return 573 - 25 * step; }

// The answer frame inside a highlight rectangle (leaves room for its glow).
QRectF AnswerFrame(const QRect &highlight)
{
    return QRectF(highlight).adjusted(3, 3, -3, -3);
}

// Ladder amount with a thin space between groups of three digits.
QString Amount(int roubles)
{
    QString digits = QString::number(roubles);
    for (int i = digits.size() - 3; i > 0; i -= 3)
        digits.insert(i, QChar(0x2009));
    return digits;
}

void Emblem(QPainter &p)
{
    const QPointF c = kEmblemCentre;
    const qreal outer = 42, inner = 34.5;
    RadialLight(p, c, 78, QColor(70, 90, 255), 110);
    p.save();
    // Metallic ring.
    QConicalGradient metal(c, 90);
    metal.setColorAt(0, QColor(150, 170, 255));
    metal.setColorAt(0.25, QColor(40, 50, 140));
    metal.setColorAt(0.5, QColor(130, 150, 240));
    metal.setColorAt(0.75, QColor(30, 36, 110));
    metal.setColorAt(1, QColor(150, 170, 255));
    QPainterPath ring;
    ring.addEllipse(c, outer, outer);
    ring.addEllipse(c, inner, inner);
    p.setPen(Qt::NoPen);
    p.setBrush(metal);
    p.drawPath(ring);
    // Sixty ticks, one per second of the countdown.
    for (int i = 0; i < 60; ++i) {
        const qreal a = i * M_PI / 30;
        const bool major = i % 5 == 0;
        const qreal r1 = major ? inner + 1.5 : inner + 3, r2 = outer - 1.5;
        p.setPen(QPen(major ? QColor(255, 255, 255, 230) : QColor(220, 228, 255, 140),
                      major ? 1.4 : 0.8));
        p.drawLine(c + QPointF(std::sin(a) * r1, -std::cos(a) * r1),
                   c + QPointF(std::sin(a) * r2, -std::cos(a) * r2));
    }
    // Dark glass disc for the seconds.
    QRadialGradient disc(c - QPointF(0, 10), inner * 1.3);
    disc.setColorAt(0, QColor(34, 30, 100));
    disc.setColorAt(0.6, QColor(10, 8, 46));
    disc.setColorAt(1, QColor(2, 2, 18));
    p.setPen(Qt::NoPen);
    p.setBrush(disc);
    p.drawEllipse(c, inner, inner);
    // Faint inner rings and a sheen on the upper half of the glass.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(120, 140, 255, 70), 1));
    p.drawEllipse(c, inner - 5, inner - 5);
    p.setPen(QPen(QColor(120, 140, 255, 35), 1));
    p.drawEllipse(c, inner - 10, inner - 10);
    QLinearGradient sheen(c.x(), c.y() - inner, c.x(), c.y());
    sheen.setColorAt(0, QColor(255, 255, 255, 40));
    sheen.setColorAt(1, QColor(255, 255, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(sheen);
    p.drawEllipse(QRectF(c.x() - inner * 0.8, c.y() - inner * 0.95, inner * 1.6, inner));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Palette::Rim, 1.4));
    p.drawEllipse(c, inner, inner);
    p.setPen(QPen(QColor(230, 236, 255), 1.2));
    p.drawEllipse(c, outer, outer);
    p.restore();
    // Diamonds at three and nine o'clock; the title below leaves no room at six.
    for (int q : {1, 3}) {
        const qreal a = q * M_PI / 2;
        const qreal r = outer + 0.5;
        Diamond(p, c + QPointF(std::sin(a) * r, -std::cos(a) * r), 4.5, Palette::Orange, false);
    }
}

void AnswerFrameAt(QPainter &p, int index, bool pressed)
{
    const QRectF r = AnswerFrame(kHighlight[index]);
    FrameStyle style = pressed ? PressedStyle() : FrameStyle{};
    if (!pressed)
        style.haloWidth = 6;
    Frame(p, HexPath(r, kAnswerTip), style);
    const QPointF diamond(r.left() + kAnswerTip + (index % 2 ? 6 : 6.5), r.center().y());
    Diamond(p, diamond, 5.5, pressed ? QColor(255, 255, 255) : Palette::Orange, !pressed);
}

} // namespace

namespace MainArt {

QImage Form(int scale)
{
    Canvas c({800, 600}, scale);
    QPainter p;
    Begin(p, c.image, scale);
    const QRectF all(0, 0, 800, 600);
    Field(p, all, QColor(26, 12, 62), QColor(8, 4, 26));
    RadialLight(p, {492, 170}, 330, QColor(90, 50, 200), 90);
    RadialLight(p, {400, 420}, 420, QColor(30, 40, 160), 70);
    Beams(p, QRectF(0, 0, 800, 360), {470, -60}, 7, 22);
    RadialLight(p, {470, -20}, 260, QColor(160, 120, 255), 50);

    // Studio floor: faint perspective lines in the bottom band.
    p.save();
    for (int i = -8; i <= 8; ++i) {
        QLinearGradient g(400, 450, 400 + i * 120, 600);
        g.setColorAt(0, QColor(120, 120, 255, 0));
        g.setColorAt(1, QColor(120, 120, 255, 26));
        p.setPen(QPen(QBrush(g), 1));
        p.drawLine(QPointF(400 + i * 18, 450), QPointF(400 + i * 120, 600));
    }
    p.restore();

    // Lines across the stage that the frames sit on.
    FadingLine(p, 120, 800, 336, QColor(160, 170, 255), 70, 1);
    for (qreal y : {kQuestionFrame.center().y(), 489.0, 541.0}) {
        FadingLine(p, -200, 1000, y, Palette::Rim, 200, 1.3);
        FadingLine(p, -200, 1000, y, Palette::Glow, 60, 5);
    }

    Emblem(p);

    FrameStyle question;
    question.haloWidth = 9;
    question.haloAlpha = 90;
    question.top = QColor(18, 20, 78);
    Frame(p, HexPath(kQuestionFrame, 30), question);
    for (int i = 0; i < 4; ++i)
        AnswerFrameAt(p, i, false);
    p.end();
    return c.image;
}

QImage AnswerHighlight(int scale, int index)
{
    const QRect r = kHighlight[index];
    QImage img = Crop(Form(scale), r, scale);
    QPainter p;
    Begin(p, img, scale);
    p.translate(-r.topLeft());
    AnswerFrameAt(p, index, true);
    p.end();
    return img;
}

namespace {

void Telephone(QPainter &p, QPointF c)
{
    p.save();
    QPen pen(QColor(240, 244, 255), 4.2, Qt::SolidLine, Qt::RoundCap);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    const QRectF arc(c.x() - 11, c.y() - 8, 22, 18);
    p.drawArc(arc, 25 * 16, 130 * 16);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(240, 244, 255));
    for (int side : {-1, 1}) {
        p.save();
        p.translate(c.x() + side * 10.5, c.y() - 1);
        p.rotate(side * -25);
        p.drawRoundedRect(QRectF(-4.5, -2, 9, 6), 2.5, 2.5);
        p.restore();
    }
    // Dial base under the handset.
    QLinearGradient g(c.x(), c.y() + 2, c.x(), c.y() + 11);
    g.setColorAt(0, QColor(255, 200, 90));
    g.setColorAt(1, QColor(220, 110, 0));
    p.setBrush(g);
    QPainterPath base;
    base.moveTo(c.x() - 6, c.y() + 3);
    base.lineTo(c.x() + 6, c.y() + 3);
    base.lineTo(c.x() + 10, c.y() + 11);
    base.lineTo(c.x() - 10, c.y() + 11);
    base.closeSubpath();
    p.drawPath(base);
    p.setBrush(QColor(30, 20, 60));
    p.drawEllipse(QPointF(c.x(), c.y() + 7), 2.3, 2.3);
    p.restore();
}

void People(QPainter &p, QPointF c)
{
    p.save();
    p.setPen(Qt::NoPen);
    auto person = [&](QPointF at, qreal s, QColor colour) {
        p.setBrush(colour);
        p.drawEllipse(at + QPointF(0, -6 * s), 3.4 * s, 3.4 * s);
        QPainterPath body;
        body.moveTo(at.x() - 6.5 * s, at.y() + 8 * s);
        body.cubicTo(at.x() - 6.5 * s, at.y() - 2 * s, at.x() + 6.5 * s, at.y() - 2 * s,
                     at.x() + 6.5 * s, at.y() + 8 * s);
        body.closeSubpath();
        p.drawPath(body);
    };
    person(c + QPointF(-8.5, 0), 0.85, QColor(170, 180, 230));
    person(c + QPointF(8.5, 0), 0.85, QColor(170, 180, 230));
    person(c + QPointF(0, 2), 1.0, QColor(244, 246, 255));
    p.restore();
}

void Lifeline(QPainter &p, const QRect &r, int which)
{
    const QRectF oval = QRectF(r).adjusted(1.5, 1.5, -1.5, -1.5);
    Halo(p, [&] { QPainterPath e; e.addEllipse(oval); return e; }(), Palette::Glow, 5, 80);
    OvalKey(p, r, false);
    const QPointF c = oval.center();
    switch (which) {
    case 0:
        Text(p, oval, Qt::AlignCenter, Font(QStringLiteral("Liberation Sans"), 15, true),
             QColor(255, 255, 255), QStringLiteral("50:50"), Palette::Orange);
        break;
    case 1:
        Telephone(p, c + QPointF(0, -1.5));
        break;
    default:
        People(p, c + QPointF(0, 0.5));
        break;
    }
}

void SmallButton(QPainter &p, const QRect &r, bool pressed)
{
    FrameStyle s = pressed ? PressedStyle() : FrameStyle{};
    if (!pressed)
        s.haloWidth = 3;
    s.rimWidth = 1.2;
    Frame(p, HexPath(QRectF(r).adjusted(2.5, 3.5, -2.5, -3.5), 6), s);
}

void MenuButton(QPainter &p, const QRect &r, bool pressed)
{
    FrameStyle s = pressed ? PressedStyle() : FrameStyle{};
    if (!pressed)
        s.haloWidth = 4;
    Frame(p, HexPath(QRectF(r).adjusted(2.5, 3.5, -2.5, -3.5), 10), s);
    if (!pressed) {
        Diamond(p, {r.left() + 17.0, r.center().y() + 0.5}, 3.5, Palette::Orange, false);
        Diamond(p, {r.right() - 16.0, r.center().y() + 0.5}, 3.5, Palette::Orange, false);
    }
}

void Ladder(QPainter &p)
{
    // Frame round the whole ladder.
    const QRectF box(6, MarkerTop(15) - 8, 243, 25 * 15 + 14);
    FrameStyle s;
    s.top = QColor(12, 10, 50);
    s.bottom = QColor(6, 4, 28);
    s.haloWidth = 5;
    s.haloAlpha = 50;
    s.sheen = false;
    QPainterPath outline;
    outline.addRoundedRect(box, 10, 10);
    Frame(p, outline, s);

    const QFont numberFont = Font(QStringLiteral("Liberation Sans"), 15, true);
    const QFont amountFont = Font(QStringLiteral("Liberation Sans"), 17, true);
    for (int step = 1; step <= MoneyLadder::TopStep; ++step) {
        const int top = MarkerTop(step);
        const QRectF row(box.left() + 4, top - 0.5, box.width() - 8, 24);
        const bool safe = step % 5 == 0;
        if (safe) {
            // Safe steps stand out on a band of their own.
            FrameStyle band;
            band.top = QColor(70, 54, 170);
            band.bottom = QColor(34, 20, 100);
            band.rim = QColor(200, 190, 255, 200);
            band.rimWidth = 0.8;
            band.haloWidth = 0;
            Frame(p, HexPath(row.adjusted(2, 1, -2, -1), 10), band);
        } else if (step % 2 == 0) {
            p.fillRect(row.adjusted(6, 1, -6, -1), QColor(255, 255, 255, 8));
        }
        const QColor ink = safe ? QColor(255, 255, 255) : Palette::Gold;
        const QColor glow = safe ? QColor(160, 170, 255, 200) : QColor(255, 140, 0, 90);
        const qreal mid = top + 11.5;
        Text(p, QRectF(14, mid - 12, 50, 24), Qt::AlignRight | Qt::AlignVCenter, numberFont, ink,
             QString::number(step), glow);
        // A dim point where the marker goes, so empty rows keep their rhythm.
        Diamond(p, {kMarkerLeft + 8.5, mid}, 2.2, safe ? QColor(220, 220, 255) : QColor(150, 110, 40),
                false);
        Text(p, QRectF(kMarkerLeft + 26, mid - 12, 140, 24), Qt::AlignLeft | Qt::AlignVCenter,
             amountFont, ink, Amount(MoneyLadder::SumOfStep(step)), glow);
    }
}

} // namespace

QImage Menu(int scale)
{
    Canvas c({255, 600}, scale);
    QPainter p;
    Begin(p, c.image, scale);
    Field(p, QRectF(0, 0, 255, 600), QColor(22, 12, 58), QColor(12, 6, 34));
    RadialLight(p, {128, 390}, 260, QColor(50, 40, 190), 60);
    RadialLight(p, {128, 60}, 140, QColor(90, 60, 220), 50);

    // The left edge glows, so the 5-pixel strip of a hidden panel is seen.
    QLinearGradient edge(0, 0, 6, 0);
    edge.setColorAt(0, QColor(150, 160, 255, 220));
    edge.setColorAt(0.3, QColor(90, 100, 255, 120));
    edge.setColorAt(1, QColor(60, 60, 255, 0));
    p.fillRect(QRectF(0, 0, 6, 600), edge);
    QLinearGradient edgeFade(0, 0, 0, 600);
    p.fillRect(QRectF(0, 0, 1.2, 600), QColor(220, 226, 255, 200));

    // Player's name line and the two small buttons.
    FrameStyle nameStyle;
    nameStyle.haloWidth = 3;
    nameStyle.rimWidth = 1.2;
    Frame(p, HexPath(QRectF(kNameLine).adjusted(1, 1.5, -1, -1.5), 9), nameStyle);
    SmallButton(p, kAboutButton, false);
    SmallButton(p, kCloseButton, false);

    // Bezel of the game clock.
    p.save();
    const QRectF bezel = QRectF(kLcd).adjusted(-3, -3, 3, 3);
    Halo(p, [&] { QPainterPath r; r.addRoundedRect(bezel, 3, 3); return r; }(), Palette::Glow, 3, 60);
    p.setPen(QPen(Palette::Rim, 1.2));
    p.setBrush(QColor(0, 0, 0));
    p.drawRoundedRect(bezel, 3, 3);
    p.restore();
    Diamond(p, {kLcd.right() + 12.0, kLcd.center().y() + 0.5}, 3.5, Palette::Orange, false);
    FadingLine(p, kLcd.right() + 18.0, 255, kLcd.center().y() + 0.5, Palette::Rim, 120, 1);
    FadingLine(p, 0, kLcd.left() - 6.0, kLcd.center().y() + 0.5, Palette::Rim, 120, 1);

    MenuButton(p, kNewGameButton, false);
    MenuButton(p, kNewNameButton, false);

    // Lifelines.
    FadingLine(p, 0, 255, 160.5, Palette::Rim, 110, 1);
    for (int i = 0; i < 3; ++i)
        Lifeline(p, kLifeline[i], i);

    Ladder(p);
    p.end();
    return c.image;
}

QImage SmallButtonPressed(int scale, bool close)
{
    const QRect r = close ? kCloseButton : kAboutButton;
    QImage img = Crop(Menu(scale), r, scale);
    QPainter p;
    Begin(p, img, scale);
    p.translate(-r.topLeft());
    SmallButton(p, r, true);
    p.end();
    return img;
}

QImage MenuButtonPressed(int scale, bool newGame)
{
    const QRect r = newGame ? kNewGameButton : kNewNameButton;
    QImage img = Crop(Menu(scale), r, scale);
    QPainter p;
    Begin(p, img, scale);
    p.translate(-r.topLeft());
    MenuButton(p, r, true);
    p.end();
    return img;
}

QImage Marker(int scale, QColor colour)
{
    Canvas c({17, 23}, scale, QImage::Format_ARGB32_Premultiplied);
    QPainter p;
    Begin(p, c.image, scale);
    const QPointF m(8.5, 11.5);
    RadialLight(p, m, 9, colour, 150);
    // A faceted gem: a diamond with a lit upper facet.
    QPainterPath gem;
    gem.moveTo(m.x(), 2.5);
    gem.lineTo(14.5, m.y());
    gem.lineTo(m.x(), 20.5);
    gem.lineTo(2.5, m.y());
    gem.closeSubpath();
    QLinearGradient g(0, 2.5, 0, 20.5);
    g.setColorAt(0, colour.lighter(170));
    g.setColorAt(0.5, colour);
    g.setColorAt(1, colour.darker(170));
    p.setPen(QPen(colour.lighter(190), 0.9));
    p.setBrush(g);
    p.drawPath(gem);
    QPainterPath facet;
    facet.moveTo(m.x(), 4.5);
    facet.lineTo(11.5, m.y() - 0.5);
    facet.lineTo(5.5, m.y() - 0.5);
    facet.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 130));
    p.drawPath(facet);
    p.end();
    return c.image;
}

QImage None(int scale)
{
    Canvas c({1, 1}, scale, QImage::Format_ARGB32_Premultiplied);
    return c.image;
}

QImage NoClick(int scale)
{
    Canvas c({56, 39}, scale, QImage::Format_ARGB32_Premultiplied);
    QPainter p;
    Begin(p, c.image, scale);
    const QPointF m(28, 19.5);
    QPainterPath cross;
    cross.moveTo(m + QPointF(-15, -13));
    cross.lineTo(m + QPointF(15, 13));
    cross.moveTo(m + QPointF(15, -13));
    cross.lineTo(m + QPointF(-15, 13));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(40, 0, 0, 200), 8.5, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(cross);
    QLinearGradient red(0, 4, 0, 35);
    red.setColorAt(0, QColor(255, 110, 90));
    red.setColorAt(1, QColor(200, 10, 10));
    p.setPen(QPen(QBrush(red), 5.5, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(cross);
    p.setPen(QPen(QColor(255, 200, 190, 170), 1.2, Qt::SolidLine, Qt::RoundCap));
    p.translate(-0.8, -0.8);
    p.drawPath(cross);
    p.end();
    return c.image;
}

namespace {

constexpr int kSnowPeriod = 299;

// Depth of the snow cap that hangs along the top of the banner, at banner x.
// Periodic with the width of one snow piece so the pieces join.
qreal CapDepth(qreal x)
{
    const qreal t = (x - 58) * 2 * M_PI / kSnowPeriod;
    return 15.5 + 2.2 * std::sin(t) + 1.4 * std::sin(3 * t + 1.1) + 0.9 * std::sin(7 * t + 0.4);
}

// The snow cap for banner columns [x0, x0 + width), drawn at piece x 0.
void SnowCap(QPainter &p, qreal x0, qreal width, bool icicles)
{
    QPainterPath cap;
    cap.moveTo(-1, -1);
    cap.lineTo(width + 1, -1);
    for (qreal x = width + 1; x >= -1; x -= 0.5)
        cap.lineTo(x, CapDepth(x0 + x));
    cap.closeSubpath();
    QLinearGradient g(0, 0, 0, 20);
    g.setColorAt(0, QColor(255, 255, 255));
    g.setColorAt(0.6, QColor(236, 242, 255));
    g.setColorAt(1, QColor(178, 196, 238));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawPath(cap);
    if (!icicles)
        return;
    // Icicles at fixed places of the piece, never at its joins.
    const std::array<std::pair<qreal, qreal>, 6> drops = {
        {{31, 9}, {77, 6}, {126, 11}, {171, 5}, {219, 8}, {262, 7}}};
    for (const auto &[x, length] : drops) {
        if (x > width - 6)
            continue;
        const qreal y = CapDepth(x0 + x) - 1;
        QPainterPath ice;
        ice.moveTo(x - 2.6, y);
        ice.lineTo(x + 2.6, y);
        ice.lineTo(x + 0.4, y + length);
        ice.lineTo(x - 0.4, y + length);
        ice.closeSubpath();
        QLinearGradient ig(x - 2.6, 0, x + 2.6, 0);
        ig.setColorAt(0, QColor(200, 220, 255));
        ig.setColorAt(0.4, QColor(255, 255, 255));
        ig.setColorAt(1, QColor(150, 176, 230));
        p.setBrush(ig);
        p.drawPath(ice);
    }
}

void Snowflake(QPainter &p, QPointF c, qreal r, qreal turn)
{
    p.save();
    p.translate(c);
    p.rotate(turn);
    p.setPen(QPen(QColor(255, 255, 255), r > 4 ? 1.3 : 1.1, Qt::SolidLine, Qt::RoundCap));
    for (int arm = 0; arm < 6; ++arm) {
        p.drawLine(QPointF(0, 0), QPointF(0, -r));
        if (r > 4) {
            p.drawLine(QPointF(0, -r * 0.55), QPointF(r * 0.3, -r * 0.8));
            p.drawLine(QPointF(0, -r * 0.55), QPointF(-r * 0.3, -r * 0.8));
        }
        p.rotate(60);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(235, 242, 255));
    p.drawEllipse(QPointF(0, 0), r * 0.22 + 0.6, r * 0.22 + 0.6);
    p.restore();
}

QImage Banner(int scale, QSize size, const std::function<void(QPainter &)> &draw)
{
    Canvas c(size, scale, QImage::Format_ARGB32_Premultiplied);
    QPainter p;
    Begin(p, c.image, scale);
    draw(p);
    p.end();
    return SnapToKey(c.image, Palette::BannerKey);
}

} // namespace

QImage Snow(int scale)
{
    return Banner(scale, {kSnowPeriod, 50}, [](QPainter &p) {
        SnowCap(p, 58, kSnowPeriod, true);
        // Falling flakes at fixed places, clear of the piece's edges.
        // Flakes: one in each of eleven cells of the piece, jittered, so they
        // neither crowd nor leave gaps; a pinch of small dots between them.
        QRandomGenerator random(1225);
        const int cells = 11;
        const qreal cell = (kSnowPeriod - 16.0) / cells;
        for (int i = 0; i < cells; ++i) {
            const qreal r = 3 + random.bounded(3.5);
            const qreal x = 8 + cell * i + r + random.bounded(cell - 2 * r);
            const qreal y = 25 + r + random.bounded(20 - 2 * r);
            Snowflake(p, {x, y}, r, random.bounded(60));
        }
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(250, 252, 255));
        for (int i = 0; i < cells; ++i) {
            const qreal d = 1.1 + random.bounded(0.9);
            p.drawEllipse(QPointF(8 + cell * (i + 0.5) + random.bounded(6.0) - 3, 22 + random.bounded(26.0)), d, d);
        }
    });
}

QImage NewYear(int scale)
{
    return Banner(scale, {58, 50}, [](QPainter &p) {
        SnowCap(p, 0, 58, false);
        // A fir branch reaching out from under the snow, a glass bauble on it.
        p.save();
        QPainterPath twig;
        twig.moveTo(-2, 12);
        twig.quadTo(18, 16, 44, 27);
        p.setPen(QPen(QColor(84, 52, 24), 2.2, Qt::SolidLine, Qt::RoundCap));
        p.drawPath(twig);
        for (int i = 0; i < 13; ++i) {
            const qreal t = i / 12.0;
            const QPointF at = twig.pointAtPercent(t);
            const qreal reach = 7.5 - 3.5 * t;
            for (int side : {-1, 1}) {
                const QColor needle = (i + side) % 2 ? QColor(28, 116, 48) : QColor(58, 158, 76);
                p.setPen(QPen(needle, 1.7, Qt::SolidLine, Qt::RoundCap));
                p.drawLine(at, at + QPointF(reach * 0.8, side * reach));
            }
        }
        p.restore();
        SnowCap(p, 0, 58, false);
        p.setPen(QPen(QColor(236, 206, 120), 1));
        p.drawLine(QPointF(30, 21), QPointF(30, 28));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(232, 192, 84));
        p.drawRect(QRectF(27.5, 27, 5, 3.5));
        QRadialGradient ball(QPointF(27, 35), 12);
        ball.setColorAt(0, QColor(255, 196, 176));
        ball.setColorAt(0.35, QColor(232, 32, 44));
        ball.setColorAt(1, QColor(110, 0, 20));
        p.setBrush(ball);
        p.drawEllipse(QPointF(30, 38.5), 9, 9);
        p.setBrush(QColor(255, 255, 255, 230));
        p.drawEllipse(QPointF(26.6, 35), 2.2, 1.6);
        Snowflake(p, {50, 38}, 4.5, 10);
        Snowflake(p, {10, 34}, 3.5, 20);
    });
}

QImage Composite(int scale)
{
    QImage out = Form(scale);
    QPainter p(&out);
    // The banner with its transparent colour, as the window builds it.
    QImage strip(QSize(800, 50) * scale, QImage::Format_ARGB32);
    strip.fill(Qt::transparent);
    {
        QPainter s(&strip);
        s.drawImage(0, 0, NewYear(scale));
        for (int x : {58, 357, 656, 955})
            s.drawImage(x * scale, 0, Snow(scale));
    }
    for (int y = 0; y < strip.height(); ++y) {
        QRgb *line = reinterpret_cast<QRgb *>(strip.scanLine(y));
        for (int x = 0; x < strip.width(); ++x) {
            if ((line[x] & 0xffffff) == (Palette::BannerKey.rgb() & 0xffffff))
                line[x] = 0;
        }
    }
    p.drawImage(0, 0, strip);
    // The menu panel lies above every control of the window.
    p.drawImage(kPanelLeft * scale, 0, Menu(scale));
    // Markers as in the middle of a game: steps 1-6 won, 7 in play.
    for (int step = 1; step <= 7; ++step) {
        const QImage marker = Marker(scale, step < 7 ? QColor(40, 220, 60) : QColor(255, 214, 0));
        p.drawImage((kPanelLeft + kMarkerLeft) * scale, MarkerTop(step) * scale, marker);
    }
    return out;
}

QImage Preview(int scale)
{
    // The window's labels with sample texts, in their places and fonts, to
    // judge how the artwork reads under them.
    QImage out = Composite(scale);
    QPainter p;
    Begin(p, out, scale);
    const QString sans = QStringLiteral("Liberation Sans"), serif = QStringLiteral("Liberation Serif");
    auto label = [&](QRectF r, int flags, QFont f, QColor c, const QString &t) {
        p.setFont(f);
        p.setPen(c);
        p.drawText(r, flags, t);
    };
    label({0, 155, 193, 118}, Qt::AlignHCenter | Qt::TextWordWrap, Font(serif, 35, true, true),
          QColor(191, 255, 0), QStringLiteral("Vantor New Year version 1.5.5"));
    label({60, 96, 72, 49}, Qt::AlignCenter, Font(sans, 48, true), QColor(0, 255, 0), QStringLiteral("47"));
    label({192, 48, 601, 265}, Qt::AlignCenter | Qt::TextWordWrap, Font(serif, 24), Qt::white,
          QStringLiteral("Игрок, вопрос номер семь на 4000 рублей. Подумайте хорошенько!"));
    label({64, 366, 665, 78}, Qt::AlignCenter | Qt::TextWordWrap, Font(sans, 21, true), Qt::white,
          QStringLiteral("Какой город стоит на берегу Невы и был основан в 1703 году?"));
    const char *answers[4] = {"Москва", "Санкт-Петербург", "Казань", "Нижний Новгород"};
    const QPointF answerAt[4] = {{88, 462}, {456, 462}, {88, 515}, {456, 515}};
    const QPointF letterAt[4] = {{64, 474}, {433, 474}, {64, 526}, {433, 526}};
    for (int i = 0; i < 4; ++i) {
        label({answerAt[i], QSizeF(289, 51)}, Qt::AlignCenter | Qt::TextWordWrap, Font(sans, 19, true),
              Qt::white, QString::fromUtf8(answers[i]));
        label({letterAt[i], QSizeF(30, 32)}, Qt::AlignLeft | Qt::AlignVCenter, Font(sans, 27, true),
              Palette::Orange, QString(QChar('A' + i)) + QLatin1Char(':'));
    }
    label({32, 565, 729, 19}, Qt::AlignCenter, Font(sans, 16, true), Qt::white, QStringLiteral("География"));
    label({32, 581, 729, 19}, Qt::AlignCenter, Font(sans, 12, true), Qt::white, QStringLiteral("Автор вопроса"));
    label({60, 0, 400, 14}, Qt::AlignLeft | Qt::AlignTop, Font(sans, 11), Qt::black,
          QStringLiteral("Вопросник. Всего вопросов: 1500."));
    p.translate(kPanelLeft, 0);
    p.drawImage(QRectF(0, 0, 255, 600), Menu(scale));
    for (int step = 1; step <= 7; ++step) {
        p.drawImage(QRectF(kMarkerLeft, MarkerTop(step), 17, 23),
                    Marker(scale, step < 7 ? QColor(40, 210, 60) : QColor(255, 214, 0)));
    }
    label(QRectF(kNameLine), Qt::AlignCenter, Font(sans, 11), Qt::white, QStringLiteral("Играет Игрок"));
    label({220, 3, 25, 24}, Qt::AlignCenter, Font(sans, 19, true), Qt::white, QStringLiteral("X"));
    label({187, 3, 25, 24}, Qt::AlignCenter, Font(sans, 21, true), Qt::white, QStringLiteral("?"));
    label({24, 49, 209, 29}, Qt::AlignCenter, Font(sans, 11), Qt::white, QStringLiteral("Забрать деньги..."));
    label({24, 87, 209, 25}, Qt::AlignCenter, Font(sans, 11), Qt::white, QStringLiteral("Изменить имя игрока..."));
    p.fillRect(QRectF(kLcd), Qt::black);
    label(QRectF(kLcd), Qt::AlignRight | Qt::AlignVCenter, Font(sans, 17, true), QColor(185, 255, 0),
          QStringLiteral("2:15.4 "));
    label({156, 582, 75, 14}, Qt::AlignCenter, Font(sans, 11), Qt::white, QStringLiteral("12"));
    p.drawImage(QRectF(104, 140, 56, 39), NoClick(scale));
    p.end();
    return out;
}

} // namespace MainArt
