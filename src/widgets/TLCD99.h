#pragma once

#include <QColor>
#include <QImage>
#include <QPolygon>
#include <QRect>
#include <QString>
#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>

class QPainter;

// A self-drawn row of seven-segment cells, like a pocket calculator's display:
// digits, the letters A to Z in seven-segment approximations, "-", ":",
// blanks and decimal points. Every segment is always drawn, lit ones in
// OnColor and the rest in OffColor. DotDisplay builds the segments from
// round dots instead. A changed value can be redrawn segment group by segment
// group with an animation lasting AnimationDelay milliseconds.
//
// Segment numbers: 1 top, 2 upper left, 3 upper right, 4 middle, 5 lower
// left, 6 lower right, 7 bottom, 8 colon (two dots in the middle of a cell).
class TLCD99 : public QWidget {
    Q_OBJECT

public:
    enum TLCDAbout { abNone, abAbout };
    Q_ENUM(TLCDAbout)
    enum TLCDAnimation { anNone, anSpiral, anUp, anDown, anLeft, anRight, anRandom };
    Q_ENUM(TLCDAnimation)

    // OnChange(Sender, OldValue, NewValue); OldValue is the value replaced.
    using TLCDChangeProc = std::function<void(TLCD99 *sender, const QString &oldValue,
                                              const QString &newValue)>;

    explicit TLCD99(QWidget *parent = nullptr);
    ~TLCD99() override;

    // --- properties (setters do nothing when the value is unchanged) ---
    TLCDAbout About() const { return abNone; }
    void setAbout(TLCDAbout about); // abAbout shows the information box

    TLCDAnimation Animation() const { return m_animation; }
    void setAnimation(TLCDAnimation animation);

    int AnimationDelay() const { return m_animationDelay; }
    void setAnimationDelay(int milliseconds);

    QColor Color() const { return m_color; }
    void setColor(const QColor &color);

    int DigitNum() const { return m_digitNum; } // at least 1
    void setDigitNum(int count);

    int DigitSpacing() const { return m_digitSpacing; }
    void setDigitSpacing(int pixels);

    bool DotDisplay() const { return m_dotDisplay; }
    void setDotDisplay(bool dots);

    int DotSpacing() const { return m_dotSpacing; } // at least 0
    void setDotSpacing(int pixels);

    // Every paint is composed in an off-screen picture and shown in one
    // piece (and after each animation step) whatever this says; the property
    // is kept, with its default, for the windows that set it.
    bool DoubleBuffer() const { return m_doubleBuffer; }
    void setDoubleBuffer(bool on);

    int GapX() const { return m_gapX; }
    void setGapX(int pixels);

    int GapY() const { return m_gapY; }
    void setGapY(int pixels);

    bool IsPainting() const { return m_isPainting; }

    QColor OffColor() const { return m_offColor; }
    void setOffColor(const QColor &color);

    QColor OnColor() const { return m_onColor; }
    void setOnColor(const QColor &color);

    int PaintDuration() const { return m_paintDuration; }

    bool Preview() const { return m_preview; }
    void setPreview(bool preview);

    int SegmentSize() const { return m_segmentSize; } // at least 1
    void setSegmentSize(int pixels);

    QString Value() const { return m_value; }
    void setValue(const QString &value);

    const TLCDChangeProc &OnChange() const { return m_onChange; }
    void setOnChange(TLCDChangeProc handler);

    // True while a form designer edits the control: Preview then decides
    // whether every repaint animates, and animations do not process events.
    bool Designing() const { return m_designing; }
    void setDesigning(bool designing);

    QSize sizeHint() const override { return QSize(92, 34); }

    // --- pure tables and geometry -------------------------------------

    // Upper case (a..z only), any character outside "0-9 -.A-Z:" blanks the
    // whole value, and one trailing "." is dropped.
    static QString NormalizeValue(const QString &value);

    // Lit segments of a character as a bit mask: bit g (1..8) set when
    // segment g is lit. Blank and characters without a row give 0.
    static std::uint16_t SegmentMap(QChar ch);
    // The same by row of the 38-row table: "0".."9", "-", ":", "A".."Z".
    static std::uint16_t SegmentMapRow(int row);
    static constexpr int SegmentMapRows = 38;

    // The order in which the eight segment groups are drawn; anNone and
    // anRandom give the top-to-bottom order.
    static std::array<int, 8> SegmentOrder(TLCDAnimation animation);

    // A value split into the cell text and the decimal-point text, both
    // right-aligned by blanks to at least digitNum characters. A point
    // belongs to the cell after it.
    struct Split {
        QString cells;
        QString points;
    };
    static Split SplitDots(const QString &value, int digitNum);

    // Nearest integer, halves to the even neighbour.
    static int RoundHalfEven(double v);

    struct Geometry {
        int pitch = 0;       // S
        int cellWidth = 0;   // CW
        int cellHeight = 0;  // CH
        int gapX = 0;        // gx
        int gapY = 0;        // gy
        int hLength = 0;     // HL
        int vLength = 0;     // VL
        int segmentSize = 0; // s
        int dotSpacing = 0;  // d
        bool dots = false;
        int cellX(int cell) const { return pitch + (cell - 1) * (pitch + cellWidth); } // cell 1..N
    };
    static Geometry ComputeGeometry(QSize client, int digitNum, int digitSpacing, int segmentSize,
                                    int dotSpacing, int gapX, int gapY, bool dotDisplay);

    // Start, length and signed thickness (depth into the cell) of segment 1..7.
    struct Placement {
        int x = 0;
        int y = 0;
        int length = 0;
        int thickness = 0;
        bool horizontal = true;
    };
    static Placement PlaceSegment(const Geometry &g, int cell, int segment);

    // Outline of segment 1..7 in segment mode.
    static QPolygon SegmentPolygon(int segment, const Placement &p, int segmentSize);

    // Colon dots (ellipse boxes, right and bottom exclusive) and the decimal
    // point before a cell.
    static QRect ColonDot(const Geometry &g, int cell, bool upper);
    static QRect PointBox(const Geometry &g, int cell);

    // Dot boxes of a segment in dot mode, first to last.
    static QList<QRect> SegmentDots(const Placement &p, int segmentSize, int dotSpacing);

    // In dot mode, whether an unlit segment leaves out its first or last dot
    // because a lit neighbour owns that corner.
    static bool SkipFirstDot(int segment, std::uint16_t litMask);
    static bool SkipLastDot(int segment, std::uint16_t litMask);

    // --- seams for tests and tools -------------------------------------

    // Called for every decimal point (segment 0) and segment group drawn.
    struct DrawStep {
        bool secondPass; // false: the previous picture redrawn in full
        int step;        // 1..8 for segments, 0 for decimal points
        int cell;        // 1..DigitNum
        int segment;     // 1..8, 0 for the decimal point
        bool lit;
    };
    void setDrawObserver(std::function<void(const DrawStep &)> observer);

    // Replaces the pause between animation steps: wait the given
    // milliseconds, processing events meanwhile. Timing is read from the
    // clock below, so a test waiter can advance a fake clock.
    void setStepWaiter(std::function<void(int milliseconds)> waiter);

    // Replaces the millisecond tick count used for timing paints.
    void setClock(std::function<std::int64_t()> clock);

    // Replaces the information box shown by setAbout(abAbout).
    static void setAboutHandler(std::function<void(QWidget *parent, const QString &text)> handler);
    static QString AboutText();

    // The picture currently on screen (last composed frame).
    QImage Frame() const { return m_frame; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    // Both return false when the control was destroyed while events were
    // processed; the caller must then return without touching it.
    bool runPaint(bool animate);
    bool drawPass(QImage &target, const QString &newValue, const QString &oldValue,
                  int animation, int budget, bool onlyChanged, bool secondPass,
                  std::int64_t paintStart, bool flushSteps);
    void drawSegment(QPainter &p, const Geometry &g, int cell, int segment, bool lit,
                     std::uint16_t litMask) const;
    void drawPoint(QPainter &p, const Geometry &g, int cell, bool lit) const;
    std::int64_t now() const;
    bool waitStep(int milliseconds);

    QString m_value;
    QString m_previous; // the value drawn by the previous paint
    TLCDChangeProc m_onChange;
    QColor m_color = Qt::black;
    QColor m_offColor = Qt::black;
    QColor m_onColor = QColor(0, 255, 0);
    TLCDAnimation m_animation = anNone;
    int m_animationDelay = 0;
    int m_digitNum = 4;
    int m_digitSpacing = 5;
    int m_dotSpacing = 2;
    int m_gapX = 2;
    int m_gapY = 2;
    int m_segmentSize = 2;
    int m_paintDuration = 0;
    bool m_dotDisplay = false;
    bool m_doubleBuffer = true;
    bool m_preview = false;
    bool m_designing = false;
    bool m_changed = false;
    bool m_isPainting = false;
    bool m_animationQueued = false;
    QImage m_frame;
    std::function<void(const DrawStep &)> m_observer;
    std::function<void(int)> m_waiter;
    std::function<std::int64_t()> m_clock;
};
