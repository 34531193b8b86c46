#include "widgets/TLCD99.h"

#include <QApplication>
#include <QTest>
#include <QTimer>

#include <set>
#include <vector>

namespace {

const QColor ClockOff(40, 40, 40);
const QColor ClockOn(185, 255, 0);

// The main window's game clock.
void GameClock(TLCD99 &lcd)
{
    lcd.resize(105, 21);
    lcd.setColor(Qt::black);
    lcd.setDigitNum(6);
    lcd.setSegmentSize(1);
    lcd.setOffColor(ClockOff);
    lcd.setOnColor(ClockOn);
}

QImage Render(TLCD99 &lcd)
{
    return lcd.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

class CountingLCD : public TLCD99 {
public:
    int paints = 0;

protected:
    void paintEvent(QPaintEvent *event) override
    {
        ++paints;
        TLCD99::paintEvent(event);
    }
};

struct Recorded {
    int step;
    int cell;
    int segment;
    bool lit;
    bool operator==(const Recorded &o) const = default;
};

} // namespace

class TestLCD99 : public QObject {
    Q_OBJECT

private slots:
    void defaults()
    {
        TLCD99 lcd;
        QCOMPARE(lcd.size(), QSize(92, 34));
        QCOMPARE(lcd.About(), TLCD99::abNone);
        QCOMPARE(lcd.Animation(), TLCD99::anNone);
        QCOMPARE(lcd.AnimationDelay(), 0);
        QCOMPARE(lcd.Color(), QColor(Qt::black));
        QCOMPARE(lcd.DigitNum(), 4);
        QCOMPARE(lcd.DigitSpacing(), 5);
        QCOMPARE(lcd.DotDisplay(), false);
        QCOMPARE(lcd.DotSpacing(), 2);
        QCOMPARE(lcd.DoubleBuffer(), true);
        QCOMPARE(lcd.GapX(), 2);
        QCOMPARE(lcd.GapY(), 2);
        QCOMPARE(lcd.IsPainting(), false);
        QCOMPARE(lcd.OffColor(), QColor(Qt::black));
        QCOMPARE(lcd.OnColor(), QColor(0, 255, 0));
        QCOMPARE(lcd.PaintDuration(), 0);
        QCOMPARE(lcd.Preview(), false);
        QCOMPARE(lcd.SegmentSize(), 2);
        QCOMPARE(lcd.Value(), QString());
    }

    void normalizeValue_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("stored");
        QTest::newRow("game clock") << "0:00.0" << "0:00.0";
        QTest::newRow("lower case upper-cased") << "abc-xyz" << "ABC-XYZ";
        QTest::newRow("one trailing point dropped") << "12." << "12";
        QTest::newRow("only one trailing point") << "1.." << "1.";
        QTest::newRow("lone point") << "." << "";
        QTest::newRow("plus blanks the value") << "+12" << "";
        QTest::newRow("cyrillic blanks the value") << QString::fromUtf8("12Ж") << "";
        QTest::newRow("cyrillic lower case too") << QString::fromUtf8("б") << "";
        QTest::newRow("accented letter is not a-z") << QString::fromUtf8("é") << "";
        QTest::newRow("tab blanks the value") << "1\t2" << "";
        QTest::newRow("blanks kept") << " 1 2 " << " 1 2 ";
        QTest::newRow("empty") << "" << "";
    }
    void normalizeValue()
    {
        QFETCH(QString, input);
        QFETCH(QString, stored);
        QCOMPARE(TLCD99::NormalizeValue(input), stored);
        TLCD99 lcd;
        lcd.setValue(QStringLiteral("8"));
        lcd.setValue(input);
        QCOMPARE(lcd.Value(), stored);
    }

    void splitDots_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<int>("digits");
        QTest::addColumn<QString>("cells");
        QTest::addColumn<QString>("points");
        QTest::newRow("12.5") << "12.5" << 4 << " 125" << "   .";
        QTest::newRow("1..2") << "1..2" << 3 << "1 2" << " ..";
        QTest::newRow(".5") << ".5" << 1 << "5" << ".";
        QTest::newRow("game clock") << "0:00.0" << 6 << " 0:000" << "     .";
        QTest::newRow("empty") << "" << 4 << "    " << "    ";
        QTest::newRow("longer is not cut") << "123456" << 4 << "123456" << "      ";
    }
    void splitDots()
    {
        QFETCH(QString, value);
        QFETCH(int, digits);
        QFETCH(QString, cells);
        QFETCH(QString, points);
        const TLCD99::Split split = TLCD99::SplitDots(value, digits);
        QCOMPARE(split.cells, cells);
        QCOMPARE(split.points, points);
    }

    void segmentMapRows()
    {
        auto mask = [](std::initializer_list<int> s) {
            int m = 0;
            for (int g : s)
                m |= 1 << g;
            return std::uint16_t(m);
        };
        QCOMPARE(TLCD99::SegmentMap(u'0'), mask({1, 2, 3, 5, 6, 7}));
        QCOMPARE(TLCD99::SegmentMap(u'2'), mask({1, 3, 4, 5, 7}));
        QCOMPARE(TLCD99::SegmentMap(u'8'), mask({1, 2, 3, 4, 5, 6, 7}));
        QCOMPARE(TLCD99::SegmentMap(u'-'), mask({4}));
        QCOMPARE(TLCD99::SegmentMap(u':'), mask({8}));
        QCOMPARE(TLCD99::SegmentMap(u'K'), mask({2, 3, 4, 5, 6}));
        QCOMPARE(TLCD99::SegmentMap(u'Z'), mask({1, 3, 4, 5, 7}));
        QCOMPARE(TLCD99::SegmentMap(u' '), std::uint16_t(0));
        QCOMPARE(TLCD99::SegmentMap(u'.'), std::uint16_t(0));

        // Row order: digits, "-", ":", then a letter at its code minus 53.
        for (char16_t c = u'0'; c <= u'9'; ++c)
            QCOMPARE(TLCD99::SegmentMap(c), TLCD99::SegmentMapRow(c - u'0'));
        QCOMPARE(TLCD99::SegmentMapRow(10), TLCD99::SegmentMap(u'-'));
        QCOMPARE(TLCD99::SegmentMapRow(11), TLCD99::SegmentMap(u':'));
        for (char16_t c = u'A'; c <= u'Z'; ++c)
            QCOMPARE(TLCD99::SegmentMap(c), TLCD99::SegmentMapRow(c - 53));
        QCOMPARE(TLCD99::SegmentMapRow(TLCD99::SegmentMapRows), std::uint16_t(0));

        // Letters that share a shape.
        QCOMPARE(TLCD99::SegmentMap(u'M'), TLCD99::SegmentMap(u'N'));
        QCOMPARE(TLCD99::SegmentMap(u'U'), TLCD99::SegmentMap(u'W'));
        QCOMPARE(TLCD99::SegmentMap(u'I'), TLCD99::SegmentMap(u'1'));
        QCOMPARE(TLCD99::SegmentMap(u'G'), TLCD99::SegmentMap(u'6'));
        QCOMPARE(TLCD99::SegmentMap(u'S'), TLCD99::SegmentMap(u'5'));
    }

    void segmentOrderRowsArePermutations()
    {
        using A = std::array<int, 8>;
        QCOMPARE(TLCD99::SegmentOrder(TLCD99::anUp), (A{7, 6, 5, 8, 4, 3, 2, 1}));
        QCOMPARE(TLCD99::SegmentOrder(TLCD99::anSpiral), (A{8, 4, 2, 1, 3, 6, 7, 5}));
        QCOMPARE(TLCD99::SegmentOrder(TLCD99::anNone), TLCD99::SegmentOrder(TLCD99::anDown));
        for (auto a : {TLCD99::anSpiral, TLCD99::anUp, TLCD99::anDown, TLCD99::anLeft, TLCD99::anRight}) {
            const A row = TLCD99::SegmentOrder(a);
            QCOMPARE(std::set<int>(row.begin(), row.end()), (std::set<int>{1, 2, 3, 4, 5, 6, 7, 8}));
        }
    }

    void roundHalfEven_data()
    {
        QTest::addColumn<double>("v");
        QTest::addColumn<int>("rounded");
        QTest::newRow("0.5") << 0.5 << 0;
        QTest::newRow("1.5") << 1.5 << 2;
        QTest::newRow("2.5") << 2.5 << 2;
        QTest::newRow("-0.5") << -0.5 << 0;
        QTest::newRow("-1.5") << -1.5 << -2;
        QTest::newRow("0.25") << 0.25 << 0;
        QTest::newRow("0.75") << 0.75 << 1;
        QTest::newRow("-0.75") << -0.75 << -1;
    }
    void roundHalfEven()
    {
        QFETCH(double, v);
        QFETCH(int, rounded);
        QCOMPARE(TLCD99::RoundHalfEven(v), rounded);
    }

    void segmentPolygons()
    {
        using P = QPolygon;
        // Middle, thickness 3: the points sit R(1.5) = 2 down.
        QCOMPARE(TLCD99::SegmentPolygon(4, {0, 0, 12, 3, true}, 3),
                 (P{QList<QPoint>{{0, 2}, {3, 0}, {9, 0}, {12, 2}, {9, 3}, {3, 3}}}));
        // Middle, thickness 1: R(0.5) = 0.
        QCOMPARE(TLCD99::SegmentPolygon(4, {10, 10, 6, 1, true}, 1),
                 (P{QList<QPoint>{{10, 10}, {11, 10}, {15, 10}, {16, 10}, {15, 11}, {11, 11}}}));
        // Bottom, thickness -6: R(-1.5) = -2.
        QCOMPARE(TLCD99::SegmentPolygon(7, {0, 40, 20, -6, true}, 6),
                 (P{QList<QPoint>{{0, 38}, {3, 40}, {17, 40}, {20, 38}, {14, 34}, {6, 34}}}));
        // Upper right, thickness -2: R(-0.5) = 0.
        QCOMPARE(TLCD99::SegmentPolygon(3, {50, 10, 12, -2, false}, 2),
                 (P{QList<QPoint>{{50, 10}, {50, 11}, {50, 21}, {50, 22}, {48, 20}, {48, 12}}}));
    }

    void gameClockGeometry()
    {
        const TLCD99::Geometry g = TLCD99::ComputeGeometry(QSize(105, 21), 6, 5, 1, 2, 2, 2, false);
        QCOMPARE(g.pitch, 6);
        QCOMPARE(g.cellWidth, 10);
        QCOMPARE(g.cellHeight, 20);
        QCOMPARE(g.hLength, 6);
        QCOMPARE(g.vLength, 6);
        const int starts[] = {6, 22, 38, 54, 70, 86};
        for (int i = 1; i <= 6; ++i) {
            const int x0 = starts[i - 1];
            QCOMPARE(g.cellX(i), x0);
            QCOMPARE(TLCD99::ColonDot(g, i, true), QRect(x0 + 4, 6, 2, 2));
            QCOMPARE(TLCD99::ColonDot(g, i, false), QRect(x0 + 4, 12, 2, 2));
            QCOMPARE(TLCD99::PointBox(g, i), QRect(x0 - 3, 19, 1, 1));
        }
        const TLCD99::Placement lowerLeft = TLCD99::PlaceSegment(g, 2, 5);
        QCOMPARE(lowerLeft.x, 22);
        QCOMPARE(lowerLeft.y, 12);
        const TLCD99::Placement bottom = TLCD99::PlaceSegment(g, 1, 7);
        QCOMPARE(bottom.y, 20);
        QCOMPARE(bottom.thickness, -1);
    }

    void dotModeGeometry()
    {
        // The default 92 x 34 control with dots of 2 spaced 2.
        const TLCD99::Geometry g = TLCD99::ComputeGeometry(QSize(92, 34), 4, 5, 2, 2, 2, 2, true);
        QCOMPARE(g.pitch, 5);
        QCOMPARE(g.cellWidth, 14);
        QCOMPARE(g.cellHeight, 26);
        QCOMPARE(g.gapX, 0);
        QCOMPARE(g.hLength, 14);
        QCOMPARE(g.vLength, 13);
        QCOMPARE(TLCD99::PlaceSegment(g, 1, 5).y, 12); // lower halves start at the middle row
        const QList<QRect> dots = TLCD99::SegmentDots(TLCD99::PlaceSegment(g, 1, 2), 2, 2);
        QCOMPARE(dots.size(), 4);
        QCOMPARE(dots.first(), QRect(5, 0, 2, 2));
        QCOMPARE(dots.last(), QRect(5, 12, 2, 2));
        const QList<QRect> right = TLCD99::SegmentDots(TLCD99::PlaceSegment(g, 1, 3), 2, 2);
        QCOMPARE(right.first(), QRect(17, 0, 2, 2)); // thickness -2 reaches left
    }

    void dotCornerRules()
    {
        auto bit = [](int g) { return std::uint16_t(1u << g); };
        QVERIFY(TLCD99::SkipFirstDot(1, bit(2))); // unlit top over a lit upper left
        QVERIFY(!TLCD99::SkipFirstDot(1, bit(3)));
        QVERIFY(TLCD99::SkipLastDot(1, bit(3)));
        QVERIFY(TLCD99::SkipFirstDot(4, bit(5)));
        QVERIFY(TLCD99::SkipLastDot(2, bit(5)));
        QVERIFY(TLCD99::SkipFirstDot(6, bit(4)));
        QVERIFY(TLCD99::SkipLastDot(5, bit(7)));
        QVERIFY(!TLCD99::SkipLastDot(5, bit(6)));
    }

    // "0:00.0" on the game clock: blank, 0, colon, 0, 0, 0, the point before
    // the last cell, and every unlit segment in the off colour.
    void gameClockPixels()
    {
        TLCD99 lcd;
        GameClock(lcd);
        lcd.setValue(QStringLiteral("0:00.0"));
        const QImage image = Render(lcd);
        QCOMPARE(image.size(), QSize(105, 21));

        const std::set<int> zero = {1, 2, 3, 5, 6, 7};
        const std::set<int> lit[7] = {{}, {}, zero, {8}, zero, zero, zero};
        for (int cell = 1; cell <= 6; ++cell) {
            const int x0 = 6 + (cell - 1) * 16;
            const struct {
                int segment;
                QPoint at;
            } probes[] = {
                {1, {x0 + 5, 0}}, {7, {x0 + 5, 20}},  {4, {x0 + 5, 10}},  {2, {x0, 5}},
                {5, {x0, 15}},    {3, {x0 + 10, 5}}, {6, {x0 + 10, 15}}, {8, {x0 + 4, 6}},
                {8, {x0 + 5, 13}},
            };
            for (const auto &probe : probes) {
                const QColor expected = lit[cell].count(probe.segment) ? ClockOn : ClockOff;
                QVERIFY2(image.pixelColor(probe.at) == expected,
                         qPrintable(QStringLiteral("cell %1 segment %2").arg(cell).arg(probe.segment)));
            }
            const QColor point = cell == 6 ? ClockOn : ClockOff;
            QCOMPARE(image.pixelColor(x0 - 3, 19), point);
        }
        QCOMPARE(image.pixelColor(19, 5), QColor(Qt::black)); // gap between cells
    }

    void dotModeKeepsALitNeighboursCornerDot()
    {
        TLCD99 lcd;
        lcd.setDotDisplay(true);
        lcd.setOffColor(QColor(40, 40, 40));
        lcd.setValue(QStringLiteral("C")); // top lit, upper right unlit
        const QImage image = Render(lcd);
        const int x0 = 62; // cell 4
        QCOMPARE(image.pixelColor(x0 + 12, 0), QColor(0, 255, 0));  // shared corner
        QCOMPARE(image.pixelColor(x0 + 12, 4), QColor(40, 40, 40)); // upper right's own dot
        QCOMPARE(image.pixelColor(x0 + 4, 0), QColor(0, 255, 0));   // top
    }

    void longerValueShowsItsLeftmostCells()
    {
        TLCD99 lcd;
        std::vector<Recorded> drawn;
        lcd.setDrawObserver([&](const TLCD99::DrawStep &s) {
            if (s.secondPass && s.segment != 0)
                drawn.push_back({s.step, s.cell, s.segment, s.lit});
        });
        lcd.setValue(QStringLiteral("12345"));
        Render(lcd);
        auto litAt = [&](int cell, int segment) {
            for (const Recorded &r : drawn)
                if (r.cell == cell && r.segment == segment)
                    return r.lit;
            return false;
        };
        QVERIFY(litAt(4, 3));  // "4" has an upper right
        QVERIFY(!litAt(4, 1)); // "5" would have a top
        QVERIFY(litAt(1, 6) && !litAt(1, 1)); // "1"
    }

    void settingTheSameValueDoesNothing()
    {
        QWidget window;
        auto *lcd = new CountingLCD;
        lcd->setParent(&window);
        int changes = 0;
        QString lastOld;
        QString lastNew;
        lcd->setOnChange([&](TLCD99 *, const QString &o, const QString &n) {
            ++changes;
            lastOld = o;
            lastNew = n;
        });
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        lcd->setValue(QStringLiteral("12"));
        QCOMPARE(changes, 1);
        QCOMPARE(lastOld, QString());
        QCOMPARE(lastNew, QStringLiteral("12"));
        QTRY_VERIFY(lcd->paints > 0);
        QTest::qWait(20);

        lcd->paints = 0;
        lcd->setValue(QStringLiteral("12"));
        lcd->setDigitNum(4);
        lcd->setOnColor(QColor(0, 255, 0));
        QTest::qWait(50);
        QCOMPARE(lcd->paints, 0);
        QCOMPARE(changes, 1);

        // Not the same text, although it is stored as the same value.
        lcd->setValue(QStringLiteral("12."));
        QCOMPARE(changes, 2);
        QCOMPARE(lcd->Value(), QStringLiteral("12"));
        QTRY_VERIFY(lcd->paints > 0);
        QTest::qWait(20);
        lcd->paints = 0;

        lcd->setValue(QStringLiteral("13"));
        QCOMPARE(lastOld, QStringLiteral("12"));
        QTRY_VERIFY(lcd->paints > 0);
    }

    // anUp redraws only the changed cell, bottom segment first, with seven
    // pauses sharing the animation time; an overshoot shortens the next.
    void animatedRedrawOrder()
    {
        QWidget window;
        auto *lcd = new TLCD99(&window);
        lcd->setValue(QStringLiteral("10"));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTest::qWait(20);

        std::int64_t clock = 1000;
        std::vector<int> waits;
        std::vector<Recorded> second;
        lcd->setClock([&] { return clock; });
        lcd->setStepWaiter([&](int ms) {
            waits.push_back(ms);
            clock += ms + 10; // every pause overshoots by 10 ms
        });
        lcd->setDrawObserver([&](const TLCD99::DrawStep &s) {
            if (s.secondPass)
                second.push_back({s.step, s.cell, s.segment, s.lit});
        });
        lcd->setAnimation(TLCD99::anUp);
        lcd->setAnimationDelay(700);
        lcd->setValue(QStringLiteral("12"));

        QTRY_COMPARE(second.size(), std::size_t(8));
        QTRY_VERIFY(!lcd->IsPainting());
        const std::vector<Recorded> expected = {
            {1, 4, 7, true}, {2, 4, 6, false}, {3, 4, 5, true},  {4, 4, 8, false},
            {5, 4, 4, true}, {6, 4, 3, true},  {7, 4, 2, false}, {8, 4, 1, true},
        };
        QVERIFY(second == expected);
        QCOMPARE(waits, (std::vector<int>{100, 90, 90, 90, 90, 90, 90}));
    }

    void noAnimationDrawsAtOnce_data()
    {
        QTest::addColumn<int>("animation");
        QTest::addColumn<int>("delay");
        QTest::newRow("anNone") << int(TLCD99::anNone) << 700;
        QTest::newRow("no time") << int(TLCD99::anUp) << 0;
    }
    void noAnimationDrawsAtOnce()
    {
        QFETCH(int, animation);
        QFETCH(int, delay);
        QWidget window;
        auto *lcd = new TLCD99(&window);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTest::qWait(20);
        int waits = 0;
        int segments = 0;
        lcd->setStepWaiter([&](int) { ++waits; });
        lcd->setDrawObserver([&](const TLCD99::DrawStep &s) { segments += s.secondPass && s.segment; });
        lcd->setAnimation(TLCD99::TLCDAnimation(animation));
        lcd->setAnimationDelay(delay);
        lcd->setValue(QStringLiteral("8"));
        QTRY_VERIFY(segments > 0);
        QCOMPARE(waits, 0);
        QCOMPARE(segments, 8);
    }

    void eventsAreProcessedBetweenSteps()
    {
        QWidget window;
        auto *lcd = new TLCD99(&window);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTest::qWait(20);
        int step = 0;
        int stepWhenEventRan = -1;
        lcd->setDrawObserver([&](const TLCD99::DrawStep &s) {
            if (!s.secondPass || s.segment == 0)
                return;
            step = s.step;
            if (s.step == 1)
                QTimer::singleShot(0, lcd, [&] { stepWhenEventRan = step; });
        });
        lcd->setAnimation(TLCD99::anDown);
        lcd->setAnimationDelay(70);
        lcd->setValue(QStringLiteral("8"));
        QTRY_VERIFY(step == 8 && !lcd->IsPainting());
        QVERIFY(stepWhenEventRan >= 1);
        QVERIFY(stepWhenEventRan < 8);
    }

    // A paint asked for during an animation does not start a second one, and
    // a value stored meanwhile is drawn once the animation has finished.
    void reentryDuringAnimation()
    {
        QWidget window;
        auto *lcd = new TLCD99(&window);
        lcd->setValue(QStringLiteral("10"));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTest::qWait(20);

        int depth = 0;
        int maxDepth = 0;
        bool paintingSeen = true;
        bool nineDrawn = false;
        lcd->setStepWaiter([](int) { QCoreApplication::processEvents(); });
        lcd->setDrawObserver([&](const TLCD99::DrawStep &s) {
            maxDepth = std::max(maxDepth, ++depth);
            paintingSeen = paintingSeen && lcd->IsPainting();
            if (s.secondPass && s.step == 3 && s.cell == 4) {
                lcd->repaint();
                lcd->setValue(QStringLiteral("99"));
            }
            if (s.secondPass && s.cell == 3 && s.segment == 1 && s.lit)
                nineDrawn = true; // only "9" lights the top of cell 3
            --depth;
        });
        lcd->setAnimation(TLCD99::anDown);
        lcd->setAnimationDelay(700);
        lcd->setValue(QStringLiteral("12"));
        QTRY_VERIFY(nineDrawn);
        QTRY_VERIFY(!lcd->IsPainting());
        QCOMPARE(maxDepth, 1);
        QVERIFY(paintingSeen);
        QCOMPARE(lcd->Value(), QStringLiteral("99"));
    }

    void destroyedDuringAnimation()
    {
        auto *window = new QWidget;
        auto *lcd = new TLCD99(window);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        bool deleted = false;
        lcd->setStepWaiter([&](int) {
            if (!deleted) {
                deleted = true;
                delete window;
            }
        });
        lcd->setAnimation(TLCD99::anSpiral);
        lcd->setAnimationDelay(700);
        lcd->setValue(QStringLiteral("88"));
        QTRY_VERIFY(deleted);
        QTest::qWait(20);
    }

    void aboutNamesTheControlAndReturnsToNone()
    {
        QStringList shown;
        TLCD99::setAboutHandler([&](QWidget *, const QString &text) { shown << text; });
        TLCD99 lcd;
        lcd.setAbout(TLCD99::abAbout);
        TLCD99::setAboutHandler(nullptr);
        QCOMPARE(shown.size(), 1);
        QVERIFY(shown.first().contains(QStringLiteral("TLCD99")));
        QVERIFY(shown.first().contains(QStringLiteral("Zorban!")));
        QCOMPARE(lcd.About(), TLCD99::abNone);
    }

    void blankValueBlanksEveryCell()
    {
        TLCD99 lcd;
        GameClock(lcd);
        lcd.setValue(QStringLiteral("0:00.0"));
        Render(lcd);
        lcd.setValue(QStringLiteral("+"));
        QCOMPARE(lcd.Value(), QString());
        const QImage image = Render(lcd);
        for (int cell = 1; cell <= 6; ++cell) {
            const int x0 = 6 + (cell - 1) * 16;
            QCOMPARE(image.pixelColor(x0 + 5, 0), ClockOff);
            QCOMPARE(image.pixelColor(x0 + 4, 6), ClockOff);
            QCOMPARE(image.pixelColor(x0 - 3, 19), ClockOff);
        }
    }
};

QTEST_MAIN(TestLCD99)
#include "tst_lcd99.moc"
