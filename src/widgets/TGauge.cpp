#include "widgets/TGauge.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPaintEvent>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace {

constexpr std::int32_t Int32Min = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t Int32Max = std::numeric_limits<std::int32_t>::max();

std::int32_t ClampToInt32(std::int64_t v)
{
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, Int32Min, Int32Max));
}

// Nearest integer, halves to the even neighbour.
int RoundEven(long double v)
{
    return static_cast<int>(std::nearbyint(v));
}

// Exclusive right and bottom, as all the gauge's boxes are given.
QRect Box(int x1, int y1, int x2, int y2)
{
    return QRect(QPoint(x1, y1), QSize(x2 - x1, y2 - y1));
}

// Angle in Qt's sixteenths of a degree (counter-clockwise from 3 o'clock) of
// the ray from the centre of a box through a point.
int AngleTo(const QRectF &box, QPointF point)
{
    const QPointF c = box.center();
    const double deg = std::atan2(-(point.y() - c.y()), point.x() - c.x()) * 180.0 / std::numbers::pi;
    return static_cast<int>(std::lround(deg * 16.0));
}

// A sector of the ellipse in box, drawn counter-clockwise from the ray
// through start to the ray through end; equal rays give the whole ellipse.
void DrawPieBetween(QPainter &p, const QRect &box, QPointF start, QPointF end)
{
    // An outlined shape covers its box with right and bottom excluded.
    const QRect outline(box.left(), box.top(), box.width() - 1, box.height() - 1);
    const int a0 = AngleTo(outline, start);
    const int a1 = AngleTo(outline, end);
    int span = a1 - a0;
    while (span <= 0)
        span += 360 * 16;
    p.drawPie(outline, a0, span);
}

// image ^= overlay on the colour bits; both are RGB32 of the same size.
void XorInto(QImage &image, const QImage &overlay)
{
    for (int y = 0; y < image.height(); ++y) {
        auto *dst = reinterpret_cast<QRgb *>(image.scanLine(y));
        const auto *src = reinterpret_cast<const QRgb *>(overlay.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            dst[x] = 0xff000000u | ((dst[x] ^ src[x]) & 0x00ffffffu);
    }
}

QImage BlackLike(const QImage &image)
{
    QImage bitmap(image.size(), QImage::Format_RGB32);
    bitmap.setDevicePixelRatio(image.devicePixelRatio());
    bitmap.fill(Qt::black);
    return bitmap;
}

} // namespace

TGaugeRangeError::TGaugeRangeError(std::int32_t low, std::int32_t high)
    : std::logic_error(QStringLiteral("Value must be between %1 and %2").arg(low).arg(high).toStdString())
    , m_low(low)
    , m_high(high)
{
}

TGauge::TGauge(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(100, 100);
}

void TGauge::setKind(TGaugeKind kind)
{
    if (kind == m_kind)
        return;
    m_kind = kind;
    update();
}

void TGauge::setShowText(bool show)
{
    if (show == m_showText)
        return;
    m_showText = show;
    update();
}

void TGauge::setBorderStyle(TBorderStyle style)
{
    if (style == m_borderStyle)
        return;
    m_borderStyle = style;
    update();
}

void TGauge::setForeColor(const QColor &color)
{
    if (color == m_foreColor)
        return;
    m_foreColor = color;
    update();
}

void TGauge::setBackColor(const QColor &color)
{
    if (color == m_backColor)
        return;
    m_backColor = color;
    update();
}

QColor TGauge::Color() const
{
    if (m_color.isValid())
        return m_color;
    const QWidget *from = parentWidget() ? parentWidget() : this;
    return from->palette().color(from->backgroundRole());
}

void TGauge::setColor(const QColor &color)
{
    if (m_color.isValid() && color == m_color)
        return;
    m_color = color;
    update();
}

void TGauge::setMinValue(std::int32_t value)
{
    if (value == m_minValue)
        return;
    if (value > m_maxValue && !m_loading)
        throw TGaugeRangeError(-Int32Max, ClampToInt32(std::int64_t(m_maxValue) - 1));
    m_minValue = value;
    if (m_progress < value)
        m_progress = value;
    update();
}

void TGauge::setMaxValue(std::int32_t value)
{
    if (value == m_maxValue)
        return;
    if (value < m_minValue && !m_loading)
        throw TGaugeRangeError(ClampToInt32(std::int64_t(m_minValue) + 1), Int32Max);
    m_maxValue = value;
    if (m_progress > value)
        m_progress = value;
    update();
}

void TGauge::setProgress(std::int32_t value)
{
    const int before = Percentage();
    // Below the minimum first, then above the maximum: a range left inverted
    // while loading still ends within MaxValue.
    if (value < m_minValue)
        value = m_minValue;
    if (value > m_maxValue)
        value = m_maxValue;
    if (value == m_progress)
        return;
    m_progress = value;
    if (Percentage() != before)
        update();
}

int TGauge::PercentageOf(std::int32_t minValue, std::int32_t maxValue, std::int32_t progress)
{
    // In 64 bits: the full 32-bit range would overflow a 32-bit difference.
    const std::int64_t range = std::int64_t(maxValue) - minValue;
    if (range == 0)
        return 0;
    const double pct = double(std::int64_t(progress) - minValue) * 100.0 / double(range);
    // Only a range left inverted while loading can leave 0..100.
    return std::clamp(static_cast<int>(std::trunc(pct)), 0, 100);
}

QRect TGauge::paintRect() const
{
    QRect r(0, 0, width(), height());
    if (m_borderStyle == bsSingle)
        r.adjust(1, 1, -1, -1);
    return r;
}

QImage TGauge::ComposeImage() const
{
    // Composed at the screen's own density, so that a scaled stage shows sharp
    // bars and text rather than magnified pixels.
    const qreal ratio = std::max<qreal>(1.0, devicePixelRatioF());
    QImage image(QSize(std::max(1, width()), std::max(1, height())) * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::black);
    const QRect area = paintRect();

    QImage overlay = BlackLike(image);
    drawKind(overlay, area);
    XorInto(image, overlay);

    if (m_showText)
        drawText(image, area);
    return image;
}

void TGauge::drawKind(QImage &overlay, const QRect &area) const
{
    if (area.isEmpty())
        return;
    // area is the paint rectangle: L, T inclusive; R, B exclusive.
    const int L = area.left();
    const int T = area.top();
    const int R = area.left() + area.width();
    const int B = area.top() + area.height();
    const bool single = m_borderStyle == bsSingle;
    const int pct = Percentage();

    QPainter p(&overlay);
    p.setClipRect(area);
    p.setRenderHint(QPainter::Antialiasing, false);

    switch (m_kind) {
    case gkText:
        p.fillRect(area, m_backColor);
        break;

    case gkHorizontalBar:
    case gkVerticalBar: {
        p.fillRect(area, m_backColor);
        const int W = R - L + 1;
        const int H = B - T + 1;
        if (m_kind == gkHorizontalBar) {
            const int F = std::min(W, static_cast<int>(W * (pct * 0.01)));
            if (F >= 1)
                p.fillRect(Box(L, T, F, H), m_foreColor);
        } else {
            int F = static_cast<int>(H * (pct * 0.01));
            if (F >= H)
                F = H - 1;
            const QRect bar = Box(L, H - F, W, H);
            if (!bar.isEmpty())
                p.fillRect(bar, m_foreColor);
        }
        break;
    }

    case gkPie: {
        p.fillRect(area, Color());
        int W = R - L;
        int H = B - T;
        if (single) {
            ++W;
            ++H;
        }
        const QRect box = Box(L, T, W, H);
        p.setPen(QPen(m_foreColor, 1));
        p.setBrush(m_backColor);
        p.drawEllipse(QRect(box.left(), box.top(), box.width() - 1, box.height() - 1));
        if (pct > 0) {
            p.setBrush(m_foreColor);
            const int MX = W / 2;
            const int MY = H / 2;
            const long double A = std::numbers::pi_v<long double> * (pct / 50.0L + 0.5L);
            const QPointF from(RoundEven(MX * (1 - std::cos(A))), RoundEven(MY * (1 - std::sin(A))));
            DrawPieBetween(p, box, from, QPointF(MX, 0));
        }
        break;
    }

    case gkNeedle: {
        p.fillRect(area, Color());
        const int X = L;
        const int Y = T;
        int W = R - L;
        int H = B - T;
        if (single) {
            ++W;
            ++H;
        }
        p.setPen(QPen(m_foreColor, 1));
        p.setBrush(m_backColor);
        DrawPieBetween(p, Box(X, Y, W, 2 * H - 1), QPointF(X + W, B - 1), QPointF(X, B - 1));
        p.drawLine(X, B, X + W - 1, B);
        if (pct > 0) {
            const int MX = width() / 2;
            const long double A = std::numbers::pi_v<long double> * pct / 100.0L;
            p.drawLine(QPoint(MX, B - 1),
                       QPoint(RoundEven(MX * (1 - std::cos(A))), RoundEven((B - 1) * (1 - std::sin(A)))));
        }
        break;
    }
    }
}

void TGauge::drawText(QImage &image, const QRect &area) const
{
    const QString text = QStringLiteral("%1%").arg(Percentage());
    QImage bitmap = BlackLike(image);

    // Aliased glyphs: every text pixel inverts what lies beneath it fully.
    QFont textFont = font();
    textFont.setStyleStrategy(QFont::NoAntialias);
    const QFontMetrics fm(textFont);
    const int R = area.left() + area.width();
    const int B = area.top() + area.height();
    const int X = (R - area.left() + 1 - fm.horizontalAdvance(text)) / 2;
    const int Y = (B - area.top() + 1 - fm.height()) / 2;

    QPainter p(&bitmap);
    p.setClipRect(area);
    p.setFont(textFont);
    p.setPen(Qt::white);
    p.setBrush(Qt::NoBrush);
    p.drawText(QPoint(X, Y + fm.ascent()), text);
    p.end();

    XorInto(image, bitmap);
}

void TGauge::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.drawImage(0, 0, ComposeImage());
}
