#include "widgets/TLCD99.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QMessageBox>
#include <QPainter>
#include <QPaintEvent>
#include <QPointer>
#include <QRandomGenerator>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cmath>

namespace {

constexpr std::uint16_t Bits(std::initializer_list<int> segments)
{
    std::uint16_t mask = 0;
    for (int s : segments)
        mask = static_cast<std::uint16_t>(mask | (1u << s));
    return mask;
}

// Rows: "0".."9", "-", ":", "A".."Z".
constexpr std::array<std::uint16_t, TLCD99::SegmentMapRows> SegmentTable = {
    Bits({1, 2, 3, 5, 6, 7}),    // 0
    Bits({3, 6}),                // 1
    Bits({1, 3, 4, 5, 7}),       // 2
    Bits({1, 3, 4, 6, 7}),       // 3
    Bits({2, 3, 4, 6}),          // 4
    Bits({1, 2, 4, 6, 7}),       // 5
    Bits({1, 2, 4, 5, 6, 7}),    // 6
    Bits({1, 3, 6}),             // 7
    Bits({1, 2, 3, 4, 5, 6, 7}), // 8
    Bits({1, 2, 3, 4, 6, 7}),    // 9
    Bits({4}),                   // -
    Bits({8}),                   // :
    Bits({1, 2, 3, 4, 5, 6}),    // A
    Bits({2, 4, 5, 6, 7}),       // B
    Bits({1, 2, 5, 7}),          // C
    Bits({3, 4, 5, 6, 7}),       // D
    Bits({1, 2, 4, 5, 7}),       // E
    Bits({1, 2, 4, 5}),          // F
    Bits({1, 2, 4, 5, 6, 7}),    // G
    Bits({2, 4, 5, 6}),          // H
    Bits({3, 6}),                // I
    Bits({3, 6, 7}),             // J
    Bits({2, 3, 4, 5, 6}),       // K
    Bits({2, 5, 7}),             // L
    Bits({4, 5, 6}),             // M
    Bits({4, 5, 6}),             // N
    Bits({4, 5, 6, 7}),          // O
    Bits({1, 2, 3, 4, 5}),       // P
    Bits({1, 2, 3, 4, 6}),       // Q
    Bits({4, 5}),                // R
    Bits({1, 2, 4, 6, 7}),       // S
    Bits({2, 4, 5}),             // T
    Bits({2, 3, 5, 6, 7}),       // U
    Bits({2, 3, 5, 6, 7}),       // V
    Bits({2, 3, 5, 6, 7}),       // W
    Bits({2, 3, 4, 5, 6}),       // X
    Bits({2, 3, 4, 6}),          // Y
    Bits({1, 3, 4, 5, 7}),       // Z
};

bool Lit(std::uint16_t mask, int segment)
{
    return (mask >> segment) & 1u;
}

bool AllowedCharacter(QChar ch)
{
    const char16_t c = ch.unicode();
    return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z') || c == u' ' || c == u'-'
        || c == u'.' || c == u':';
}

QChar At(const QString &text, int index)
{
    return index >= 0 && index < text.size() ? text.at(index) : QChar(u' ');
}

// A filled ellipse in a box with right and bottom excluded: every pixel
// whose centre lies inside. Done by rows, so that even the 1- and 2-pixel
// dots of the game clock come out whole and the same on every platform.
void FillEllipse(QPainter &p, const QRect &box, const QColor &color)
{
    if (box.isEmpty())
        return;
    const double rx = box.width() / 2.0;
    const double ry = box.height() / 2.0;
    const double cx = box.left() + rx;
    const double cy = box.top() + ry;
    for (int y = box.top(); y <= box.bottom(); ++y) {
        const double dy = (y + 0.5 - cy) / ry;
        const double span = 1.0 - dy * dy;
        if (span < 0)
            continue;
        const double half = rx * std::sqrt(span);
        int first = -1;
        int last = -2;
        for (int x = box.left(); x <= box.right(); ++x) {
            if (std::abs(x + 0.5 - cx) <= half) {
                if (first < 0)
                    first = x;
                last = x;
            }
        }
        if (first >= 0)
            p.fillRect(QRect(first, y, last - first + 1, 1), color);
    }
}

std::function<void(QWidget *, const QString &)> &AboutHandler()
{
    static std::function<void(QWidget *, const QString &)> handler;
    return handler;
}

} // namespace

// --- pure tables and geometry ------------------------------------------

QString TLCD99::NormalizeValue(const QString &value)
{
    QString v;
    v.reserve(value.size());
    for (QChar ch : value) {
        if (ch.unicode() >= u'a' && ch.unicode() <= u'z')
            ch = QChar(char16_t(ch.unicode() - u'a' + u'A'));
        if (!AllowedCharacter(ch))
            return QString();
        v.append(ch);
    }
    if (v.endsWith(u'.'))
        v.chop(1);
    return v;
}

std::uint16_t TLCD99::SegmentMapRow(int row)
{
    return row >= 0 && row < SegmentMapRows ? SegmentTable[static_cast<std::size_t>(row)] : 0;
}

std::uint16_t TLCD99::SegmentMap(QChar ch)
{
    const char16_t c = ch.unicode();
    if (c >= u'0' && c <= u'9')
        return SegmentMapRow(c - u'0');
    if (c == u'-')
        return SegmentMapRow(10);
    if (c == u':')
        return SegmentMapRow(11);
    if (c >= u'A' && c <= u'Z')
        return SegmentMapRow(c - 53);
    return 0;
}

std::array<int, 8> TLCD99::SegmentOrder(TLCDAnimation animation)
{
    switch (animation) {
    case anSpiral: return {8, 4, 2, 1, 3, 6, 7, 5};
    case anUp: return {7, 6, 5, 8, 4, 3, 2, 1};
    case anLeft: return {6, 3, 7, 8, 4, 1, 5, 2};
    case anRight: return {2, 5, 1, 8, 4, 7, 3, 6};
    case anDown:
    case anNone:
    case anRandom: break;
    }
    return {1, 2, 3, 8, 4, 5, 6, 7};
}

TLCD99::Split TLCD99::SplitDots(const QString &value, int digitNum)
{
    Split out;
    bool afterPoint = false;
    for (QChar ch : value) {
        if (ch != u'.') {
            if (afterPoint)
                afterPoint = false;
            else
                out.points.append(u' ');
            out.cells.append(ch);
        } else {
            out.points.append(u'.');
            if (afterPoint)
                out.cells.append(u' ');
            else
                afterPoint = true;
        }
    }
    if (out.cells.size() < digitNum)
        out.cells.prepend(QString(digitNum - out.cells.size(), u' '));
    if (out.points.size() < digitNum)
        out.points.prepend(QString(digitNum - out.points.size(), u' '));
    return out;
}

int TLCD99::RoundHalfEven(double v)
{
    const double lower = std::floor(v);
    const double diff = v - lower;
    if (diff < 0.5)
        return static_cast<int>(lower);
    if (diff > 0.5)
        return static_cast<int>(lower) + 1;
    const int l = static_cast<int>(lower);
    return (l % 2 == 0) ? l : l + 1;
}

TLCD99::Geometry TLCD99::ComputeGeometry(QSize client, int digitNum, int digitSpacing, int segmentSize,
                                         int dotSpacing, int gapX, int gapY, bool dotDisplay)
{
    Geometry g;
    const int W = client.width();
    const int H = client.height();
    const int N = std::max(1, digitNum);
    const int s = std::max(1, segmentSize);
    const int d = std::max(0, dotSpacing);
    g.segmentSize = s;
    g.dotSpacing = d;
    g.dots = dotDisplay;
    if (!dotDisplay) {
        g.pitch = digitSpacing + 1;
        g.cellWidth = (W - 1 - g.pitch * (N + 1)) / N;
        g.cellHeight = H - 1;
        g.gapX = gapX;
        g.gapY = gapY;
    } else {
        g.pitch = digitSpacing;
        g.cellWidth = (((W - 1) / N - g.pitch + d) / (s + d)) * (s + d) - d;
        g.cellHeight = ((H - 1 - s) / 2) / (s + d) * (s + d) * 2 + s;
        g.gapX = 0;
        g.gapY = 0;
    }
    g.hLength = g.cellWidth - 2 * g.gapX;
    g.vLength = g.cellHeight / 2 - 2 * g.gapY;
    return g;
}

TLCD99::Placement TLCD99::PlaceSegment(const Geometry &g, int cell, int segment)
{
    const int x0 = g.cellX(cell);
    const int s = g.segmentSize;
    const int lowerY = g.dots ? g.cellHeight / 2 - s / 2 : g.cellHeight / 2 + g.gapY;
    Placement p;
    switch (segment) {
    case 1: p = {x0 + g.gapX, 0, g.hLength, s, true}; break;
    case 7: p = {x0 + g.gapX, g.cellHeight, g.hLength, -s, true}; break;
    case 4: p = {x0 + g.gapX, g.cellHeight / 2 - s / 2, g.hLength, s, true}; break;
    case 2: p = {x0, g.gapY, g.vLength, s, false}; break;
    case 5: p = {x0, lowerY, g.vLength, s, false}; break;
    case 3: p = {x0 + g.cellWidth, g.gapY, g.vLength, -s, false}; break;
    case 6: p = {x0 + g.cellWidth, lowerY, g.vLength, -s, false}; break;
    default: break;
    }
    return p;
}

QPolygon TLCD99::SegmentPolygon(int segment, const Placement &p, int s)
{
    const int x = p.x;
    const int y = p.y;
    const int L = p.length;
    const int t = p.thickness;
    QPolygon poly;
    if (segment == 4) {
        const int m = RoundHalfEven(t / 2.0);
        poly << QPoint(x, y + m) << QPoint(x + s, y) << QPoint(x + L - s, y) << QPoint(x + L, y + m)
             << QPoint(x + L - s, y + t) << QPoint(x + s, y + t);
    } else if (p.horizontal) {
        const int q = RoundHalfEven(t / 4.0);
        poly << QPoint(x, y + q) << QPoint(x + s / 2, y) << QPoint(x + L - s / 2, y)
             << QPoint(x + L, y + q) << QPoint(x + L - s, y + t) << QPoint(x + s, y + t);
    } else {
        const int q = RoundHalfEven(t / 4.0);
        poly << QPoint(x + q, y) << QPoint(x, y + s / 2) << QPoint(x, y + L - s / 2)
             << QPoint(x + q, y + L) << QPoint(x + t, y + L - s) << QPoint(x + t, y + s);
    }
    return poly;
}

QRect TLCD99::ColonDot(const Geometry &g, int cell, bool upper)
{
    const int w = g.hLength / 3;
    const int h = g.vLength / 3;
    const int left = g.cellX(cell) + (g.cellWidth - w) / 2;
    const int top = upper ? g.cellHeight / 2 - 2 * h : g.cellHeight / 2 + h;
    return QRect(left, top, w, h);
}

QRect TLCD99::PointBox(const Geometry &g, int cell)
{
    const int e = std::min(g.pitch - 2, g.segmentSize);
    if (e <= 0)
        return QRect();
    return QRect(g.cellX(cell) - (g.pitch + e) / 2, g.cellHeight - e, e, e);
}

QList<QRect> TLCD99::SegmentDots(const Placement &p, int s, int d)
{
    QList<QRect> dots;
    const int start = p.horizontal ? p.x : p.y;
    const int end = start + p.length;
    const int step = std::max(1, s + d);
    for (int pos = start; pos < end; pos += step) {
        if (p.horizontal) {
            const int top = p.thickness >= 0 ? p.y : p.y - s;
            dots.append(QRect(pos, top, s, s));
        } else {
            const int left = p.thickness >= 0 ? p.x : p.x - s;
            dots.append(QRect(left, pos, s, s));
        }
    }
    return dots;
}

bool TLCD99::SkipFirstDot(int segment, std::uint16_t mask)
{
    switch (segment) {
    case 1: return Lit(mask, 2);
    case 7: return Lit(mask, 5);
    case 4: return Lit(mask, 2) || Lit(mask, 5);
    case 2: return Lit(mask, 1);
    case 3: return Lit(mask, 1);
    case 5: return Lit(mask, 2) || Lit(mask, 4);
    case 6: return Lit(mask, 3) || Lit(mask, 4);
    default: return false;
    }
}

bool TLCD99::SkipLastDot(int segment, std::uint16_t mask)
{
    switch (segment) {
    case 1: return Lit(mask, 3);
    case 7: return Lit(mask, 6);
    case 4: return Lit(mask, 3) || Lit(mask, 6);
    case 2: return Lit(mask, 4) || Lit(mask, 5);
    case 3: return Lit(mask, 4) || Lit(mask, 6);
    case 5: return Lit(mask, 7);
    case 6: return Lit(mask, 7);
    default: return false;
    }
}

// --- the control ---------------------------------------------------------

TLCD99::TLCD99(QWidget *parent)
    : QWidget(parent)
{
    // Every pixel is painted here; no background erase, so nothing flickers.
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(sizeHint());
}

TLCD99::~TLCD99() = default;

void TLCD99::setAbout(TLCDAbout about)
{
    if (about != abAbout)
        return;
    // The property reads abNone again at once; the box is the whole effect.
    if (AboutHandler()) {
        AboutHandler()(this, AboutText());
    } else {
        QMessageBox box(QMessageBox::Information, QStringLiteral("TLCD99"), AboutText(),
                        QMessageBox::Ok, this);
        box.setTextFormat(Qt::PlainText);
        box.exec();
    }
    update();
}

QString TLCD99::AboutText()
{
    return QStringLiteral("TLCD99 \u2014 семисегментный индикатор\n"
                          "Версия 1.0, 2026\n"
                          "Автор: проект Zorban!");
}

void TLCD99::setAboutHandler(std::function<void(QWidget *, const QString &)> handler)
{
    AboutHandler() = std::move(handler);
}

void TLCD99::setAnimation(TLCDAnimation animation)
{
    m_animation = animation;
}

void TLCD99::setAnimationDelay(int milliseconds)
{
    m_animationDelay = std::max(0, milliseconds);
}

#define TLCD99_REPAINTING_SETTER(Name, member, Type)                                           \
    void TLCD99::set##Name(Type v)                                                              \
    {                                                                                            \
        if (v == member)                                                                         \
            return;                                                                              \
        member = v;                                                                              \
        update();                                                                                \
    }

TLCD99_REPAINTING_SETTER(Color, m_color, const QColor &)
TLCD99_REPAINTING_SETTER(DigitSpacing, m_digitSpacing, int)
TLCD99_REPAINTING_SETTER(DotDisplay, m_dotDisplay, bool)
TLCD99_REPAINTING_SETTER(DoubleBuffer, m_doubleBuffer, bool)
TLCD99_REPAINTING_SETTER(GapX, m_gapX, int)
TLCD99_REPAINTING_SETTER(GapY, m_gapY, int)
TLCD99_REPAINTING_SETTER(OffColor, m_offColor, const QColor &)
TLCD99_REPAINTING_SETTER(OnColor, m_onColor, const QColor &)
TLCD99_REPAINTING_SETTER(Preview, m_preview, bool)

#undef TLCD99_REPAINTING_SETTER

// Zero cells, zero-sized dots with no spacing, or negative spacing would
// divide by zero in the geometry; such values are raised to the least that
// draws.
void TLCD99::setDigitNum(int count)
{
    count = std::max(1, count);
    if (count == m_digitNum)
        return;
    m_digitNum = count;
    update();
}

void TLCD99::setDotSpacing(int pixels)
{
    pixels = std::max(0, pixels);
    if (pixels == m_dotSpacing)
        return;
    m_dotSpacing = pixels;
    update();
}

void TLCD99::setSegmentSize(int pixels)
{
    pixels = std::max(1, pixels);
    if (pixels == m_segmentSize)
        return;
    m_segmentSize = pixels;
    update();
}

void TLCD99::setDesigning(bool designing)
{
    m_designing = designing;
}

void TLCD99::setValue(const QString &value)
{
    if (value == m_value)
        return;
    // Only the exact text counts as unchanged: "12." over "12" is stored again
    // (as "12"), raises OnChange and repaints.
    const QString v = NormalizeValue(value);
    const QString old = m_value;
    m_value = v;
    if (m_onChange)
        m_onChange(this, old, m_value);
    m_changed = true;
    update();
}

void TLCD99::setOnChange(TLCDChangeProc handler)
{
    m_onChange = std::move(handler);
}

void TLCD99::setDrawObserver(std::function<void(const DrawStep &)> observer)
{
    m_observer = std::move(observer);
}

void TLCD99::setStepWaiter(std::function<void(int)> waiter)
{
    m_waiter = std::move(waiter);
}

void TLCD99::setClock(std::function<std::int64_t()> clock)
{
    m_clock = std::move(clock);
}

std::int64_t TLCD99::now() const
{
    if (m_clock)
        return m_clock();
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

bool TLCD99::waitStep(int milliseconds)
{
    QPointer<TLCD99> self(this);
    if (m_waiter) {
        const auto waiter = m_waiter; // the control may be gone when it returns
        waiter(milliseconds);
    } else if (m_designing) {
        QThread::msleep(static_cast<unsigned long>(milliseconds));
    } else {
        // Let the application handle its events while the step shows; a
        // paint that arrives meanwhile only copies the current picture.
        QEventLoop loop;
        QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return !self.isNull();
}

void TLCD99::drawPoint(QPainter &p, const Geometry &g, int cell, bool lit) const
{
    const QRect box = PointBox(g, cell);
    if (box.isEmpty())
        return;
    const QColor color = lit ? m_onColor : m_offColor;
    if (g.dots) {
        FillEllipse(p, box, color);
    } else {
        p.fillRect(box, color);
    }
}

void TLCD99::drawSegment(QPainter &p, const Geometry &g, int cell, int segment, bool lit,
                         std::uint16_t litMask) const
{
    const QColor color = lit ? m_onColor : m_offColor;
    if (segment == 8) {
        FillEllipse(p, ColonDot(g, cell, true), color);
        FillEllipse(p, ColonDot(g, cell, false), color);
        return;
    }
    const Placement place = PlaceSegment(g, cell, segment);
    if (!g.dots) {
        p.setPen(QPen(color, 0));
        p.setBrush(color);
        p.drawPolygon(SegmentPolygon(segment, place, g.segmentSize));
        return;
    }

    const QList<QRect> dots = SegmentDots(place, g.segmentSize, g.dotSpacing);
    const bool skipFirst = !lit && SkipFirstDot(segment, litMask);
    const bool skipLast = !lit && SkipLastDot(segment, litMask);
    for (int k = 0; k < dots.size(); ++k) {
        if (skipFirst && k == 0)
            continue;
        if (skipLast && k == dots.size() - 1)
            continue;
        FillEllipse(p, dots[k], color);
    }
}

bool TLCD99::drawPass(QImage &target, const QString &newValue, const QString &oldValue, int animation,
                      int budget, bool onlyChanged, bool secondPass, std::int64_t paintStart,
                      bool flushSteps)
{
    const int N = m_digitNum;
    const Split fresh = SplitDots(newValue, N);
    const Split old = SplitDots(oldValue, N);
    const Geometry g = ComputeGeometry(target.deviceIndependentSize().toSize(), N, m_digitSpacing, m_segmentSize, m_dotSpacing,
                                       m_gapX, m_gapY, m_dotDisplay);
    auto notify = [&](int step, int cell, int segment, bool lit) {
        if (m_observer)
            m_observer(DrawStep{secondPass, step, cell, segment, lit});
    };

    {
        QPainter p(&target);
        p.setRenderHint(QPainter::Antialiasing, false);
        for (int i = 1; i <= N; ++i) {
            const QChar np = At(fresh.points, i - 1);
            if (onlyChanged && np == At(old.points, i - 1))
                continue;
            drawPoint(p, g, i, np == u'.');
            notify(0, i, 0, np == u'.');
        }
    }

    const int perStep = std::max<std::int64_t>(0, (budget - (now() - paintStart)) / 7);
    const std::array<int, 8> order =
        SegmentOrder(animation == 0 ? anDown : static_cast<TLCDAnimation>(animation));
    int carry = 0;
    for (int k = 0; k < 8; ++k) {
        const std::int64_t stepStart = now();
        const int segment = order[static_cast<std::size_t>(k)];
        {
            QPainter p(&target);
            p.setRenderHint(QPainter::Antialiasing, false);
            for (int i = 1; i <= N; ++i) {
                const QChar nc = At(fresh.cells, i - 1);
                if (onlyChanged && nc == At(old.cells, i - 1))
                    continue;
                const std::uint16_t mask = nc == u' ' ? 0 : SegmentMap(nc);
                const bool lit = Lit(mask, segment);
                drawSegment(p, g, i, segment, lit, mask);
                notify(k + 1, i, segment, lit);
            }
        }
        if (animation != 0 && perStep > 0) {
            if (flushSteps) {
                m_frame = target.copy();
                repaint();
            }
            if (k < 7) {
                const int wanted = perStep - carry;
                const int remaining = static_cast<int>(stepStart + wanted - now());
                if (remaining > 0 && !waitStep(remaining))
                    return false;
                const int overshoot = static_cast<int>(now() - stepStart) - wanted;
                carry = std::clamp(overshoot, 0, perStep);
            }
        }
    }
    return true;
}

bool TLCD99::runPaint(bool animate)
{
    if (m_isPainting)
        return true; // re-entered through the events of an animation
    m_isPainting = true;
    const std::int64_t start = now();
    if (m_designing)
        m_changed = m_preview;

    // What this paint draws; the value may change while an animation lets
    // events through, and that change must still reach the screen.
    const QString drawn = m_value;
    const bool changed = m_changed;

    // Painted at the screen's own density, so that a scaled stage shows sharp
    // segments rather than magnified pixels.
    const QSize size(std::max(1, width()), std::max(1, height()));
    const qreal ratio = std::max<qreal>(1.0, devicePixelRatioF());
    QImage target(size * ratio, QImage::Format_RGB32);
    target.setDevicePixelRatio(ratio);
    target.fill(m_color);

    int animation = 0;
    if (animate && changed) {
        if (m_animation == anRandom)
            animation = anSpiral + QRandomGenerator::global()->bounded(5);
        else if (m_animation != anNone)
            animation = m_animation;
    }

    bool alive = true;
    if (!drawn.isEmpty()) {
        alive = drawPass(target, m_previous, QString(), 0, 0, false, false, start, false);
        const int budget = changed ? std::max<std::int64_t>(0, m_animationDelay - (now() - start)) : 0;
        if (alive)
            alive = drawPass(target, drawn, m_previous, changed ? animation : 0, budget, true, true,
                             start, animate);
    } else {
        alive = drawPass(target, QString(), m_previous, changed ? animation : 0,
                         changed ? m_animationDelay : 0, false, true, start, animate);
    }
    if (!alive)
        return false;

    m_previous = drawn;
    m_frame = target;
    if (animate)
        repaint();

    m_changed = m_value != drawn;
    m_isPainting = false;
    m_paintDuration = static_cast<int>(now() - start);
    if (m_changed)
        update();
    return true;
}

void TLCD99::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (m_isPainting) {
        // A paint during an animation only shows the picture so far.
        painter.drawImage(0, 0, m_frame);
        return;
    }

    const bool changed = m_designing ? m_preview : m_changed;
    if (changed && m_animation != anNone && m_animationDelay > 0 && isVisible()) {
        // The animation processes events between its steps, which must not
        // happen inside a paint event: show the current picture and run it
        // from the event loop.
        if (m_frame.deviceIndependentSize().toSize() == size())
            painter.drawImage(0, 0, m_frame);
        else
            painter.fillRect(rect(), m_color);
        if (!m_animationQueued) {
            m_animationQueued = true;
            QMetaObject::invokeMethod(
                this,
                [this] {
                    m_animationQueued = false;
                    runPaint(true);
                },
                Qt::QueuedConnection);
        }
        return;
    }

    runPaint(false);
    painter.drawImage(0, 0, m_frame);
}

void TLCD99::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    update();
}
