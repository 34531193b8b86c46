#pragma once

#include <QColor>
#include <QImage>
#include <QWidget>

#include <cstdint>
#include <stdexcept>

// Raised by TGauge when MinValue or MaxValue is set outside the allowed
// range at run time. what() reads "Value must be between <low> and <high>".
class TGaugeRangeError : public std::logic_error {
public:
    TGaugeRangeError(std::int32_t low, std::int32_t high);
    std::int32_t Low() const { return m_low; }
    std::int32_t High() const { return m_high; }

private:
    std::int32_t m_low;
    std::int32_t m_high;
};

// A self-drawn gauge showing where Progress lies between MinValue and
// MaxValue: a horizontal or vertical bar, a pie, a needle or text only, with
// the percentage written over it inverted (exclusive-or) so that it stays
// readable over both the filled and the empty part.
//
// The whole control is composed in an off-screen image and copied in one
// piece. Progress changes that leave the displayed percentage unchanged do
// not repaint.
class TGauge : public QWidget {
    Q_OBJECT

public:
    enum TGaugeKind { gkText, gkHorizontalBar, gkVerticalBar, gkPie, gkNeedle };
    Q_ENUM(TGaugeKind)
    enum TBorderStyle { bsNone, bsSingle };
    Q_ENUM(TBorderStyle)

    explicit TGauge(QWidget *parent = nullptr);

    TGaugeKind Kind() const { return m_kind; }
    void setKind(TGaugeKind kind);

    bool ShowText() const { return m_showText; }
    void setShowText(bool show);

    TBorderStyle BorderStyle() const { return m_borderStyle; }
    void setBorderStyle(TBorderStyle style);

    QColor ForeColor() const { return m_foreColor; }
    void setForeColor(const QColor &color);

    QColor BackColor() const { return m_backColor; }
    void setBackColor(const QColor &color);

    // Surround of the pie and the needle. Until set it follows the parent's
    // background colour.
    QColor Color() const;
    void setColor(const QColor &color);

    // Throws TGaugeRangeError when the value is above MaxValue (unless
    // Loading()); Progress is raised to the new minimum if needed.
    std::int32_t MinValue() const { return m_minValue; }
    void setMinValue(std::int32_t value);

    // Throws TGaugeRangeError when the value is below MinValue (unless
    // Loading()); Progress is lowered to the new maximum if needed.
    std::int32_t MaxValue() const { return m_maxValue; }
    void setMaxValue(std::int32_t value);

    // Always kept within MinValue..MaxValue; out-of-range values are clamped.
    std::int32_t Progress() const { return m_progress; }
    void setProgress(std::int32_t value);

    // 0..100: (Progress - MinValue) * 100 / (MaxValue - MinValue), truncated;
    // 0 for an empty range.
    int Percentage() const { return PercentageOf(m_minValue, m_maxValue, m_progress); }
    static int PercentageOf(std::int32_t minValue, std::int32_t maxValue, std::int32_t progress);

    // While a window sets up its gauges, the range checks are skipped so that
    // MinValue and MaxValue may arrive in any order.
    bool Loading() const { return m_loading; }
    void setLoading(bool loading) { m_loading = loading; }

    // The control as it is painted: composed off-screen at the widget's size.
    QImage ComposeImage() const;

    QSize sizeHint() const override { return QSize(100, 100); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QRect paintRect() const;
    void drawKind(QImage &overlay, const QRect &area) const;
    void drawText(QImage &image, const QRect &area) const;

    TGaugeKind m_kind = gkHorizontalBar;
    TBorderStyle m_borderStyle = bsSingle;
    QColor m_foreColor = Qt::black;
    QColor m_backColor = Qt::white;
    QColor m_color; // invalid: follow the parent
    std::int32_t m_minValue = 0;
    std::int32_t m_maxValue = 100;
    std::int32_t m_progress = 0;
    bool m_showText = true;
    bool m_loading = false;
};
