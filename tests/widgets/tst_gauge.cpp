#include "widgets/TGauge.h"

#include <QApplication>
#include <QTest>

#include <limits>

namespace {

constexpr QRgb Black = 0xff000000u;
constexpr QRgb White = 0xffffffffu;
constexpr QRgb Red = 0xffff0000u;
constexpr QRgb Cyan = 0xff00ffffu; // red under inverted (white) text
constexpr QRgb Blue = 0xff0000ffu;

class CountingGauge : public TGauge {
public:
    int paints = 0;

protected:
    void paintEvent(QPaintEvent *event) override
    {
        ++paints;
        TGauge::paintEvent(event);
    }
};

void Colours(TGauge &gauge)
{
    gauge.setForeColor(Qt::red);
    gauge.setBackColor(Qt::white);
    gauge.setColor(Qt::blue);
}

} // namespace

class TestGauge : public QObject {
    Q_OBJECT

private slots:
    void defaults()
    {
        TGauge gauge;
        QCOMPARE(gauge.Kind(), TGauge::gkHorizontalBar);
        QCOMPARE(gauge.ShowText(), true);
        QCOMPARE(gauge.BorderStyle(), TGauge::bsSingle);
        QCOMPARE(gauge.ForeColor(), QColor(Qt::black));
        QCOMPARE(gauge.BackColor(), QColor(Qt::white));
        QCOMPARE(gauge.MinValue(), 0);
        QCOMPARE(gauge.MaxValue(), 100);
        QCOMPARE(gauge.Progress(), 0);
        QCOMPARE(gauge.size(), QSize(100, 100));
    }

    void percentage_data()
    {
        QTest::addColumn<int>("minValue");
        QTest::addColumn<int>("maxValue");
        QTest::addColumn<int>("progress");
        QTest::addColumn<int>("expected");
        constexpr int Min = std::numeric_limits<int>::min();
        constexpr int Max = std::numeric_limits<int>::max();
        QTest::newRow("half") << 0 << 100 << 50 << 50;
        QTest::newRow("one of three truncates") << 0 << 3 << 1 << 33;
        QTest::newRow("two of three truncates") << 0 << 3 << 2 << 66;
        QTest::newRow("empty range") << 7 << 7 << 7 << 0;
        QTest::newRow("negative range") << -200 << -100 << -150 << 50;
        QTest::newRow("full") << 0 << 1000 << 1000 << 100;
        QTest::newRow("just under one percent") << 0 << 1000 << 9 << 0;
        QTest::newRow("whole 32-bit range does not overflow") << Min << Max << 0 << 50;
        QTest::newRow("whole 32-bit range at the top") << Min << Max << Max << 100;
    }
    void percentage()
    {
        QFETCH(int, minValue);
        QFETCH(int, maxValue);
        QFETCH(int, progress);
        QFETCH(int, expected);
        QCOMPARE(TGauge::PercentageOf(minValue, maxValue, progress), expected);

        TGauge gauge;
        gauge.setLoading(true);
        gauge.setMinValue(minValue);
        gauge.setMaxValue(maxValue);
        gauge.setLoading(false);
        gauge.setProgress(progress);
        QCOMPARE(gauge.Percentage(), expected);
    }

    void progressIsClamped_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("stored");
        QTest::newRow("above the top") << 150 << 100;
        QTest::newRow("below the bottom") << -5 << 0;
        QTest::newRow("inside") << 42 << 42;
    }
    void progressIsClamped()
    {
        QFETCH(int, value);
        QFETCH(int, stored);
        TGauge gauge;
        gauge.setProgress(value);
        QCOMPARE(gauge.Progress(), stored);
    }

    void rangeChangesDragProgressAlong()
    {
        TGauge gauge;
        gauge.setProgress(50);
        gauge.setMinValue(60);
        QCOMPARE(gauge.Progress(), 60);
        gauge.setMaxValue(70);
        gauge.setProgress(70);
        gauge.setMaxValue(65);
        QCOMPARE(gauge.Progress(), 65);
    }

    void rangeErrors()
    {
        TGauge gauge;
        try {
            gauge.setMinValue(101);
            QFAIL("a minimum above the maximum was accepted");
        } catch (const TGaugeRangeError &e) {
            QCOMPARE(QString::fromUtf8(e.what()), QStringLiteral("Value must be between -2147483647 and 99"));
        }
        QCOMPARE(gauge.MinValue(), 0);

        try {
            gauge.setMaxValue(-1);
            QFAIL("a maximum below the minimum was accepted");
        } catch (const TGaugeRangeError &e) {
            QCOMPARE(QString::fromUtf8(e.what()), QStringLiteral("Value must be between 1 and 2147483647"));
            QCOMPARE(e.Low(), 1);
            QCOMPARE(e.High(), 2147483647);
        }
        QCOMPARE(gauge.MaxValue(), 100);

        // While a window sets its gauges up, the order does not matter.
        gauge.setLoading(true);
        gauge.setMinValue(500);
        gauge.setMaxValue(1000);
        gauge.setLoading(false);
        QCOMPARE(gauge.MinValue(), 500);
        QCOMPARE(gauge.MaxValue(), 1000);
        QCOMPARE(gauge.Progress(), 500);
    }

    void verticalBarFillsExactRows_data()
    {
        QTest::addColumn<int>("progress");
        QTest::addColumn<int>("firstRow");
        QTest::newRow("50%") << 50 << 101;
        QTest::newRow("100%") << 100 << 1;
        QTest::newRow("0%") << 0 << 201; // nothing filled
    }
    void verticalBarFillsExactRows()
    {
        QFETCH(int, progress);
        QFETCH(int, firstRow);
        TGauge gauge;
        gauge.resize(45, 202);
        gauge.setKind(TGauge::gkVerticalBar);
        gauge.setShowText(false);
        Colours(gauge);
        gauge.setProgress(progress);

        const QImage image = gauge.ComposeImage();
        QCOMPARE(image.size(), QSize(45, 202));
        for (int y = 0; y < 202; ++y) {
            for (int x = 0; x < 45; ++x) {
                QRgb expected = White;
                if (x == 0 || x == 44 || y == 0 || y == 201)
                    expected = Black;
                else if (y >= firstRow && y <= 200 && x >= 1 && x <= 43)
                    expected = Red;
                if (image.pixel(x, y) != expected)
                    QFAIL(qPrintable(QStringLiteral("pixel %1,%2 is %3").arg(x).arg(y).arg(image.pixel(x, y), 8, 16)));
            }
        }
    }

    void borderlessBarReachesTheEdges()
    {
        TGauge gauge;
        gauge.resize(100, 20);
        gauge.setBorderStyle(TGauge::bsNone);
        gauge.setShowText(false);
        Colours(gauge);
        gauge.setProgress(100);
        const QImage image = gauge.ComposeImage();
        QCOMPARE(image.pixel(0, 0), Red);
        QCOMPARE(image.pixel(99, 19), Red);
    }

    void horizontalBarAtZeroHasNoFilledPart()
    {
        TGauge gauge;
        gauge.resize(100, 20);
        Colours(gauge);
        gauge.setShowText(false);
        QImage image = gauge.ComposeImage();
        int red = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                red += image.pixel(x, y) == Red;
        QCOMPARE(red, 0);

        // The text "0%" is there, inverted to black over the white bar.
        gauge.setShowText(true);
        image = gauge.ComposeImage();
        int inverted = 0;
        for (int y = 1; y < 19; ++y)
            for (int x = 1; x < 99; ++x)
                inverted += image.pixel(x, y) == Black;
        QVERIFY(inverted > 0);
    }

    void textIsInvertedOverBothParts()
    {
        TGauge gauge;
        gauge.resize(100, 20);
        Colours(gauge);
        gauge.setProgress(50);
        const QImage image = gauge.ComposeImage();
        int overBar = 0;
        int overEmpty = 0;
        for (int y = 1; y < 19; ++y) {
            for (int x = 1; x < 99; ++x) {
                const QRgb c = image.pixel(x, y);
                QVERIFY2(c == Red || c == White || c == Cyan || c == Black,
                         qPrintable(QString::number(c, 16)));
                overBar += c == Cyan;
                overEmpty += c == Black;
            }
        }
        // "50%" is centred and straddles the end of the bar at x = 48.
        QVERIFY(overBar > 0);
        QVERIFY(overEmpty > 0);
    }

    void pieGrowsClockwiseFromTheTop()
    {
        TGauge gauge;
        gauge.setKind(TGauge::gkPie);
        gauge.setShowText(false);
        Colours(gauge);
        gauge.setProgress(25);
        QImage image = gauge.ComposeImage();
        QCOMPARE(image.pixel(75, 25), Red);   // top right
        QCOMPARE(image.pixel(25, 25), White); // top left
        QCOMPARE(image.pixel(75, 75), White); // bottom right
        QCOMPARE(image.pixel(3, 3), Blue);    // outside the disc
        QCOMPARE(image.pixel(0, 0), Black);   // border

        gauge.setProgress(75);
        image = gauge.ComposeImage();
        QCOMPARE(image.pixel(25, 75), Red);
        QCOMPARE(image.pixel(25, 25), White);
    }

    void needlePointsUpAtHalf()
    {
        TGauge gauge;
        gauge.setKind(TGauge::gkNeedle);
        gauge.setShowText(false);
        Colours(gauge);
        gauge.setProgress(50);
        const QImage image = gauge.ComposeImage();
        QCOMPARE(image.pixel(50, 60), Red);   // the needle
        QCOMPARE(image.pixel(30, 60), White); // the dial
        QCOMPARE(image.pixel(3, 3), Blue);    // outside the dial
    }

    void textKindShowsOnlyTheBackground()
    {
        TGauge gauge;
        gauge.setKind(TGauge::gkText);
        gauge.setShowText(false);
        Colours(gauge);
        gauge.setProgress(80);
        const QImage image = gauge.ComposeImage();
        QCOMPARE(image.pixel(50, 50), White);
        QCOMPARE(image.pixel(98, 98), White);
    }

    void repaintsOnlyWhenThePercentageChanges()
    {
        QWidget window;
        window.resize(200, 200);
        auto *gauge = new CountingGauge;
        gauge->setParent(&window);
        gauge->setMaxValue(1000);
        gauge->setProgress(1);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTRY_VERIFY(gauge->paints > 0);
        QTest::qWait(20);

        gauge->paints = 0;
        gauge->setProgress(9);
        QCOMPARE(gauge->Progress(), 9);
        QTest::qWait(50);
        QCOMPARE(gauge->paints, 0);

        gauge->setProgress(10);
        QTRY_VERIFY(gauge->paints > 0);

        // Unchanged properties do not repaint either.
        QTest::qWait(20);
        gauge->paints = 0;
        gauge->setKind(TGauge::gkHorizontalBar);
        gauge->setShowText(true);
        gauge->setForeColor(Qt::black);
        gauge->setMaxValue(1000);
        QTest::qWait(50);
        QCOMPARE(gauge->paints, 0);
    }
};

QTEST_MAIN(TestGauge)
#include "tst_gauge.moc"
