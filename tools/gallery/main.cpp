// zorban-gallery: every self-drawn widget of the game in its variants on one
// window, driven by threaded timers, so that anyone can look at them.

#include "widgets/TGauge.h"
#include "widgets/TLCD99.h"
#include "widgets/TThreadedTimer.h"

#include <QApplication>
#include <QLabel>
#include <QWidget>

#include <array>

namespace {

QLabel *Caption(QWidget *parent, const QString &text, int x, int y)
{
    auto *label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    label->setStyleSheet(QStringLiteral("color: #c8c8e0; font-size: 11px;"));
    label->move(x, y);
    label->adjustSize();
    return label;
}

TLCD99 *Lcd(QWidget *parent, const QRect &place, const QString &value)
{
    auto *lcd = new TLCD99(parent);
    lcd->setGeometry(place);
    lcd->setValue(value);
    return lcd;
}

TGauge *Gauge(QWidget *parent, const QRect &place, TGauge::TGaugeKind kind, int progress)
{
    auto *gauge = new TGauge(parent);
    gauge->setGeometry(place);
    gauge->setKind(kind);
    gauge->setProgress(progress);
    return gauge;
}

// Play time from tenths of a second, as the game clock shows it.
QString ClockText(int ticks)
{
    return QStringLiteral("%1:%2.%3")
        .arg(ticks / 600)
        .arg(ticks / 10 % 60, 2, 10, QLatin1Char('0'))
        .arg(ticks % 10);
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);

    QWidget window;
    window.setWindowTitle(QStringLiteral("Zorban! widget gallery"));
    window.setFixedSize(800, 600);
    window.setStyleSheet(QStringLiteral("background: #1a1438;"));

    // --- seven-segment displays ------------------------------------------
    Caption(&window, QStringLiteral("TLCD99"), 20, 12);

    Caption(&window, QStringLiteral("game clock, 105 x 21, ticking"), 20, 36);
    TLCD99 *clock = Lcd(&window, QRect(20, 54, 105, 21), ClockText(0));
    clock->setDigitNum(6);
    clock->setSegmentSize(1);
    clock->setOffColor(QColor(40, 40, 40));
    clock->setOnColor(QColor(185, 255, 0));

    Caption(&window, QStringLiteral("defaults, 92 x 34"), 200, 36);
    Lcd(&window, QRect(200, 54, 92, 34), QStringLiteral("12.5"));

    Caption(&window, QStringLiteral("off segments visible"), 340, 36);
    TLCD99 *dim = Lcd(&window, QRect(340, 54, 160, 48), QStringLiteral("-42.0"));
    dim->setDigitNum(5);
    dim->setSegmentSize(3);
    dim->setOffColor(QColor(30, 50, 30));

    Caption(&window, QStringLiteral("letters"), 540, 36);
    TLCD99 *letters = Lcd(&window, QRect(540, 54, 240, 60), QStringLiteral("ZORBAN"));
    letters->setDigitNum(6);
    letters->setSegmentSize(4);
    letters->setOnColor(QColor(255, 170, 40));
    letters->setOffColor(QColor(50, 35, 20));

    Caption(&window, QStringLiteral("dot display"), 20, 124);
    TLCD99 *dots = Lcd(&window, QRect(20, 142, 220, 70), QStringLiteral("12:34"));
    dots->setDigitNum(5);
    dots->setDotDisplay(true);
    dots->setSegmentSize(4);
    dots->setDotSpacing(2);
    dots->setOnColor(QColor(255, 60, 60));
    dots->setOffColor(QColor(60, 20, 20));

    Caption(&window, QStringLiteral("spiral animation, 700 ms"), 280, 124);
    TLCD99 *spiral = Lcd(&window, QRect(280, 142, 200, 70), QStringLiteral("2026"));
    spiral->setSegmentSize(5);
    spiral->setOffColor(QColor(20, 40, 60));
    spiral->setOnColor(QColor(80, 200, 255));
    spiral->setAnimation(TLCD99::anSpiral);
    spiral->setAnimationDelay(700);

    Caption(&window, QStringLiteral("random animation, dots"), 520, 124);
    TLCD99 *random = Lcd(&window, QRect(520, 142, 260, 70), QStringLiteral("HELP"));
    random->setDotDisplay(true);
    random->setSegmentSize(3);
    random->setDotSpacing(1);
    random->setOffColor(QColor(35, 35, 55));
    random->setOnColor(QColor(230, 230, 255));
    random->setAnimation(TLCD99::anRandom);
    random->setAnimationDelay(500);

    // --- gauges ------------------------------------------------------------
    Caption(&window, QStringLiteral("TGauge"), 20, 236);

    Caption(&window, QStringLiteral("horizontal bar, loading"), 20, 260);
    TGauge *loading = Gauge(&window, QRect(20, 278, 100, 20), TGauge::gkHorizontalBar, 0);
    loading->setForeColor(QColor(0, 0, 160));

    Caption(&window, QStringLiteral("no border, 37%"), 20, 310);
    TGauge *flat = Gauge(&window, QRect(20, 328, 160, 24), TGauge::gkHorizontalBar, 37);
    flat->setBorderStyle(TGauge::bsNone);
    flat->setForeColor(QColor(200, 40, 40));
    flat->setBackColor(QColor(250, 230, 200));

    Caption(&window, QStringLiteral("text only"), 20, 364);
    Gauge(&window, QRect(20, 382, 100, 30), TGauge::gkText, 64);

    Caption(&window, QStringLiteral("pie"), 220, 260);
    TGauge *pie = Gauge(&window, QRect(220, 278, 100, 100), TGauge::gkPie, 0);
    pie->setForeColor(QColor(20, 120, 20));
    pie->setBackColor(QColor(220, 250, 220));
    pie->setColor(QColor(26, 20, 56));

    Caption(&window, QStringLiteral("needle"), 340, 260);
    TGauge *needle = Gauge(&window, QRect(340, 278, 120, 80), TGauge::gkNeedle, 0);
    needle->setForeColor(QColor(120, 0, 0));
    needle->setBackColor(QColor(255, 250, 220));
    needle->setColor(QColor(26, 20, 56));

    Caption(&window, QStringLiteral("audience bars, 45 x 202"), 500, 260);
    std::array<TGauge *, 4> votes{};
    const std::array<QColor, 4> voteColours = {QColor(255, 200, 0), QColor(0, 160, 255),
                                               QColor(0, 200, 90), QColor(230, 60, 160)};
    for (int i = 0; i < 4; ++i) {
        votes[std::size_t(i)] = Gauge(&window, QRect(500 + i * 70, 278, 45, 202), TGauge::gkVerticalBar, 0);
        votes[std::size_t(i)]->setForeColor(voteColours[std::size_t(i)]);
        votes[std::size_t(i)]->setBackColor(QColor(10, 10, 40));
        Caption(&window, QString(QChar(u'A' + i)), 518 + i * 70, 484);
    }

    // --- the threaded timers drive everything ------------------------------
    Caption(&window, QStringLiteral("TThreadedTimer: 100 ms clock, 35 ms bars, 1500 ms values"), 20, 560);

    int tenths = 0;
    TThreadedTimer clockTimer;
    clockTimer.setThreadPriority(TThreadedTimer::tpHighest);
    clockTimer.setInterval(100);
    clockTimer.setOnTimer([&] { clock->setValue(ClockText(++tenths)); });
    clockTimer.setEnabled(true);

    int frame = 0;
    const std::array<int, 4> targets = {48, 27, 16, 9};
    TThreadedTimer barTimer;
    barTimer.setInterval(35);
    barTimer.setOnTimer([&] {
        ++frame;
        const int phase = frame % 200; // grow for 100 frames, hold, restart
        const int grown = std::min(phase, 100);
        for (int i = 0; i < 4; ++i)
            votes[std::size_t(i)]->setProgress(targets[std::size_t(i)] * grown / 100);
        loading->setProgress(std::min(100, phase));
        pie->setProgress(phase / 2);
        needle->setProgress(std::min(100, phase));
    });
    barTimer.setEnabled(true);

    int value = 0;
    const std::array<const char *, 4> words = {"HELP", "CASH", "50 50", "A B"};
    TThreadedTimer valueTimer;
    valueTimer.setInterval(1500);
    valueTimer.setOnTimer([&] {
        ++value;
        spiral->setValue(QString::number(2026 + value));
        random->setValue(QString::fromLatin1(words[std::size_t(value % 4)]));
    });
    valueTimer.setEnabled(true);

    window.show();
    return app.exec();
}
