// The picture catalogue: every name the windows load exists at its exact
// size with a twice-as-large copy, transparent parts are transparent, the
// banner keeps its transparent colour clean, pressed looks join their
// backgrounds, and the money ladder lines up with the ladder markers.

#include "art/Art.h"

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QtTest>

#include <cmath>

namespace {

const QRgb kBannerKey = qRgb(116, 113, 115);

QImage Image(const QString &name, qreal ratio = 1)
{
    return Art::Picture(name, ratio).toImage().convertToFormat(QImage::Format_ARGB32);
}

int Distance(QRgb a, QRgb b)
{
    return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b))
           + std::abs(qBlue(a) - qBlue(b));
}

bool IsKey(QRgb c)
{
    return (c & 0xffffff) == (kBannerKey & 0xffffff);
}

} // namespace

class TestArt : public QObject {
    Q_OBJECT

private slots:
    void pictureHasItsSizeAndDoubleCopy_data();
    void pictureHasItsSizeAndDoubleCopy();
    void everyCatalogueNameIsListed();
    void unknownNamesGiveNullPixmaps_data();
    void unknownNamesGiveNullPixmaps();
    void defaultDensityFollowsTheScreen();
    void transparentPicturesAreClearAroundTheirShape_data();
    void transparentPicturesAreClearAroundTheirShape();
    void bannerPiecesUseTheExactTransparentColour_data();
    void bannerPiecesUseTheExactTransparentColour();
    void bannerPiecesJoinWithoutSeams();
    void pressedLooksJoinTheirBackground_data();
    void pressedLooksJoinTheirBackground();
    void ladderRowsLineUpWithMarkers_data();
    void ladderRowsLineUpWithMarkers();
};

namespace {

struct Entry {
    const char *name;
    int width;
    int height;
};

// Every picture the windows load, with the size of its place on screen.
const Entry kCatalogue[] = {
    {"TFormMain/ImageForm", 800, 600},
    {"TFormMain/ImageMenu", 255, 600},
    {"TFormMain/ImageAnswerA", 368, 48},
    {"TFormMain/ImageAnswerB", 368, 48},
    {"TFormMain/ImageAnswerC", 368, 48},
    {"TFormMain/ImageAnswerD", 368, 48},
    {"TFormMain/ImageClose", 33, 25},
    {"TFormMain/ImageAbout", 33, 25},
    {"TFormMain/ImageNewGame", 209, 25},
    {"TFormMain/ImageNewName", 209, 25},
    {"NONE", 1, 1},
    {"YELLOW", 17, 23},
    {"GREEN", 17, 23},
    {"RED", 17, 23},
    {"NOCLICK", 56, 39},
    {"NEW_YEAR", 58, 50},
    {"SNOW", 299, 50},
    {"TFormAbout/ImageAbout", 290, 223},
    {"TFormAbout/ImageOk", 36, 19},
    {"TFormAbout/ImageInfo", 246, 250},
    {"TFormPromptTelephone/ImageForm", 576, 228},
    {"TFormPromptTelephone/Image0", 51, 35},
    {"TFormPromptTelephone/Image1", 51, 35},
    {"TFormPromptTelephone/Image2", 51, 35},
    {"TFormPromptTelephone/Image3", 51, 35},
    {"TFormPromptTelephone/Image4", 51, 35},
    {"TFormPromptTelephone/Image5", 51, 35},
    {"TFormPromptTelephone/Image6", 51, 35},
    {"TFormPromptTelephone/Image7", 51, 35},
    {"TFormPromptTelephone/Image8", 51, 35},
    {"TFormPromptTelephone/Image9", 51, 35},
    {"TFormPromptTelephone/ImageStartNum", 51, 35},
    {"TFormPromptTelephone/ImageReset", 51, 35},
    {"TFormPromptMan/ImageForm", 205, 280},
    {"TFormNewNameGamer/ImageForm", 459, 183},
    {"TFormNewNameGamer/ImageBtnOk", 51, 35},
    {"TFormNewNameGamer/ImageNextN1", 25, 35},
    {"TFormNewNameGamer/ImageNextN2", 25, 35},
    {"TFormNewNameGamer/ImageBckB", 30, 12},
    {"TFormNewNameGamer/ImageNxtB", 30, 12},
    {"TFormTop5/Image1", 442, 235},
    {"TFormTop5/ImageForm", 442, 235},
    {"TFormTop5/ImageBtnOk", 51, 35},
};

} // namespace

void TestArt::pictureHasItsSizeAndDoubleCopy_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QSize>("size");
    for (const Entry &e : kCatalogue)
        QTest::newRow(e.name) << QString::fromLatin1(e.name) << QSize(e.width, e.height);
}

void TestArt::pictureHasItsSizeAndDoubleCopy()
{
    QFETCH(QString, name);
    QFETCH(QSize, size);

    const QPixmap single = Art::Picture(name, 1.0);
    QVERIFY2(!single.isNull(), qPrintable(name));
    QCOMPARE(single.size(), size);
    QCOMPARE(single.devicePixelRatio(), 1.0);

    const QPixmap twice = Art::Picture(name, 2.0);
    QVERIFY(!twice.isNull());
    QCOMPARE(twice.size(), size * 2);
    QCOMPARE(twice.devicePixelRatio(), 2.0);
    QCOMPARE(twice.deviceIndependentSize().toSize(), size);

    // A fractional density (a 1.8 stage) also takes the sharp copy.
    QCOMPARE(Art::Picture(name, 1.8).devicePixelRatio(), 2.0);
}

void TestArt::everyCatalogueNameIsListed()
{
    const QStringList names = Art::Names();
    for (const Entry &e : kCatalogue)
        QVERIFY2(names.contains(QString::fromLatin1(e.name)), e.name);
    for (const QString &name : names)
        QVERIFY2(!name.endsWith(QLatin1String("@2x")), qPrintable(name));
}

void TestArt::unknownNamesGiveNullPixmaps_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("empty") << QString();
    QTest::newRow("unknown") << QStringLiteral("TFormMain/ImageNothing");
    QTest::newRow("wrong case") << QStringLiteral("snow");
    QTest::newRow("with extension") << QStringLiteral("SNOW.png");
    QTest::newRow("double copy by name") << QStringLiteral("SNOW@2x");
    QTest::newRow("climbing out") << QStringLiteral("../art/SNOW");
}

void TestArt::unknownNamesGiveNullPixmaps()
{
    QFETCH(QString, name);
    QVERIFY(Art::Picture(name).isNull());
    QVERIFY(Art::Picture(name, 2.0).isNull());
}

void TestArt::defaultDensityFollowsTheScreen()
{
    const qreal screen = QGuiApplication::primaryScreen()->devicePixelRatio();
    const QPixmap form = Art::Picture(QStringLiteral("TFormMain/ImageForm"));
    QCOMPARE(form.devicePixelRatio(), screen > 1.0 ? 2.0 : 1.0);
    QCOMPARE(form.deviceIndependentSize().toSize(), QSize(800, 600));
    if (qEnvironmentVariable("QT_SCALE_FACTOR").toDouble() > 1.0)
        QCOMPARE(form.devicePixelRatio(), 2.0);
}

void TestArt::transparentPicturesAreClearAroundTheirShape_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<qreal>("ratio");
    for (const char *name : {"YELLOW", "GREEN", "RED", "NOCLICK"}) {
        QTest::newRow(name) << QString::fromLatin1(name) << 1.0;
        QTest::newRow(qPrintable(QStringLiteral("%1@2x").arg(QLatin1String(name))))
            << QString::fromLatin1(name) << 2.0;
    }
}

void TestArt::transparentPicturesAreClearAroundTheirShape()
{
    QFETCH(QString, name);
    QFETCH(qreal, ratio);
    const QImage img = Image(name, ratio);
    QVERIFY(img.hasAlphaChannel());
    const int w = img.width() - 1, h = img.height() - 1;
    for (QPoint corner : {QPoint(0, 0), QPoint(w, 0), QPoint(0, h), QPoint(w, h)})
        QCOMPARE(qAlpha(img.pixel(corner)), 0);
    QCOMPARE(qAlpha(img.pixel(img.width() / 2, img.height() / 2)), 255);

    const QImage none = Image(QStringLiteral("NONE"), ratio);
    for (int y = 0; y < none.height(); ++y)
        for (int x = 0; x < none.width(); ++x)
            QCOMPARE(qAlpha(none.pixel(x, y)), 0);
}

void TestArt::bannerPiecesUseTheExactTransparentColour_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<qreal>("ratio");
    for (const char *name : {"NEW_YEAR", "SNOW"}) {
        QTest::newRow(name) << QString::fromLatin1(name) << 1.0;
        QTest::newRow(qPrintable(QStringLiteral("%1@2x").arg(QLatin1String(name))))
            << QString::fromLatin1(name) << 2.0;
    }
}

void TestArt::bannerPiecesUseTheExactTransparentColour()
{
    QFETCH(QString, name);
    QFETCH(qreal, ratio);
    const QImage img = Image(name, ratio);
    int key = 0, shape = 0;
    for (int y = 0; y < img.height(); ++y) {
        for (int x = 0; x < img.width(); ++x) {
            const QRgb c = img.pixel(x, y);
            QCOMPARE(qAlpha(c), 255);
            if (IsKey(c)) {
                ++key;
                continue;
            }
            ++shape;
            // No edge pixel of the snow is a blend with the transparent
            // colour: such a pixel would show as a grey fringe round it.
            if (Distance(c, kBannerKey) >= 40)
                continue;
            for (QPoint n : {QPoint(x - 1, y), QPoint(x + 1, y), QPoint(x, y - 1), QPoint(x, y + 1)}) {
                if (img.rect().contains(n) && IsKey(img.pixel(n)))
                    QFAIL(qPrintable(QStringLiteral("fringe pixel at %1,%2").arg(x).arg(y)));
            }
        }
    }
    // Snow covers part of the strip and the background shows through the rest.
    const int all = img.width() * img.height();
    QVERIFY2(key > all / 3, qPrintable(QString::number(key)));
    QVERIFY2(shape > all / 5, qPrintable(QString::number(shape)));

    // A snow cap runs along the whole top edge, so the black base title
    // written over the banner stays readable; the bottom row is clear.
    for (int x = 0; x < img.width(); ++x) {
        QVERIFY(!IsKey(img.pixel(x, 0)));
        QVERIFY(qGray(img.pixel(x, int(4 * ratio))) > 200);
    }
    int clearBottom = 0;
    for (int x = 0; x < img.width(); ++x)
        clearBottom += IsKey(img.pixel(x, img.height() - 1));
    QVERIFY(clearBottom > img.width() * 3 / 4);
}

void TestArt::bannerPiecesJoinWithoutSeams()
{
    // Where one piece ends and the next begins, the snow cap has the same
    // depth on both sides of the join.
    for (qreal ratio : {1.0, 2.0}) {
        const QImage newYear = Image(QStringLiteral("NEW_YEAR"), ratio);
        const QImage snow = Image(QStringLiteral("SNOW"), ratio);
        auto capDepth = [](const QImage &img, int x) {
            int y = 0;
            while (y < img.height() && !IsKey(img.pixel(x, y)))
                ++y;
            return y;
        };
        const int snowLeft = capDepth(snow, 0);
        const int snowRight = capDepth(snow, snow.width() - 1);
        const int newYearRight = capDepth(newYear, newYear.width() - 1);
        QVERIFY2(std::abs(snowRight - snowLeft) <= int(ratio),
                 qPrintable(QStringLiteral("%1 vs %2").arg(snowRight).arg(snowLeft)));
        QVERIFY2(std::abs(newYearRight - snowLeft) <= int(ratio),
                 qPrintable(QStringLiteral("%1 vs %2").arg(newYearRight).arg(snowLeft)));
    }
}

void TestArt::pressedLooksJoinTheirBackground_data()
{
    QTest::addColumn<QString>("overlay");
    QTest::addColumn<QString>("background");
    QTest::addColumn<QPoint>("place");
    const QString main = QStringLiteral("TFormMain/ImageForm");
    const QString menu = QStringLiteral("TFormMain/ImageMenu");
    const QString phone = QStringLiteral("TFormPromptTelephone/ImageForm");
    QTest::newRow("answer A") << QStringLiteral("TFormMain/ImageAnswerA") << main << QPoint(31, 465);
    QTest::newRow("answer B") << QStringLiteral("TFormMain/ImageAnswerB") << main << QPoint(401, 465);
    QTest::newRow("answer C") << QStringLiteral("TFormMain/ImageAnswerC") << main << QPoint(31, 517);
    QTest::newRow("answer D") << QStringLiteral("TFormMain/ImageAnswerD") << main << QPoint(401, 517);
    QTest::newRow("close") << QStringLiteral("TFormMain/ImageClose") << menu << QPoint(216, 2);
    QTest::newRow("about") << QStringLiteral("TFormMain/ImageAbout") << menu << QPoint(183, 2);
    QTest::newRow("new game") << QStringLiteral("TFormMain/ImageNewGame") << menu << QPoint(24, 51);
    QTest::newRow("new name") << QStringLiteral("TFormMain/ImageNewName") << menu << QPoint(24, 87);
    QTest::newRow("key 1") << QStringLiteral("TFormPromptTelephone/Image1") << phone << QPoint(10, 42);
    QTest::newRow("key 6") << QStringLiteral("TFormPromptTelephone/Image6") << phone << QPoint(118, 79);
    QTest::newRow("key 0") << QStringLiteral("TFormPromptTelephone/Image0") << phone << QPoint(64, 153);
    QTest::newRow("key #") << QStringLiteral("TFormPromptTelephone/ImageReset") << phone
                           << QPoint(118, 153);
    QTest::newRow("new game OK") << QStringLiteral("TFormNewNameGamer/ImageBtnOk")
                                 << QStringLiteral("TFormNewNameGamer/ImageForm") << QPoint(351, 137);
    QTest::newRow("name arrow up") << QStringLiteral("TFormNewNameGamer/ImageNextN1")
                                   << QStringLiteral("TFormNewNameGamer/ImageForm") << QPoint(348, 56);
    QTest::newRow("base arrow down") << QStringLiteral("TFormNewNameGamer/ImageNxtB")
                                     << QStringLiteral("TFormNewNameGamer/ImageForm")
                                     << QPoint(277, 155);
    QTest::newRow("leaderboard OK") << QStringLiteral("TFormTop5/ImageBtnOk")
                                    << QStringLiteral("TFormTop5/Image1") << QPoint(196, 192);
}

void TestArt::pressedLooksJoinTheirBackground()
{
    // The overlay's border pixels match the background under them, so the
    // overlay shows no box edge when it appears; its middle differs, so it
    // does show a change.
    QFETCH(QString, overlay);
    QFETCH(QString, background);
    QFETCH(QPoint, place);
    for (qreal ratio : {1.0, 2.0}) {
        const QImage top = Image(overlay, ratio);
        const QImage ground = Image(background, ratio);
        const QPoint origin = place * int(ratio);
        long border = 0, inside = 0;
        int borderCount = 0;
        for (int y = 0; y < top.height(); ++y) {
            for (int x = 0; x < top.width(); ++x) {
                const int d = Distance(top.pixel(x, y), ground.pixel(origin + QPoint(x, y)));
                const bool edge = x == 0 || y == 0 || x == top.width() - 1 || y == top.height() - 1;
                if (edge) {
                    border += d;
                    ++borderCount;
                } else {
                    inside += d;
                }
            }
        }
        const double meanBorder = double(border) / borderCount;
        const double meanInside = double(inside) / ((top.width() - 2) * (top.height() - 2));
        QVERIFY2(meanBorder < 30, qPrintable(QStringLiteral("border differs by %1").arg(meanBorder)));
        QVERIFY2(meanInside > 60, qPrintable(QStringLiteral("inside differs by %1").arg(meanInside)));
    }
}

void TestArt::ladderRowsLineUpWithMarkers_data()
{
    QTest::addColumn<int>("step");
    for (int step = 1; step <= 15; ++step)
        QTest::newRow(qPrintable(QStringLiteral("step %1").arg(step))) << step;
}

void TestArt::ladderRowsLineUpWithMarkers()
{
    // Marker n sits at left 71, top 573 - 25 n, 17 x 23 on the menu panel.
    // The row's amount stands to the right of it, centred on the marker, in
    // white for steps 5, 10 and 15 and in gold for the others; the step
    // number stands to its left in the same ink.
    QFETCH(int, step);
    const QImage menu = Image(QStringLiteral("TFormMain/ImageMenu"));
    const int top = 573 - 25 * step;
    const bool safe = step % 5 == 0;
    auto white = [](QRgb c) { return qRed(c) > 225 && qGreen(c) > 225 && qBlue(c) > 225; };
    auto gold = [](QRgb c) { return qRed(c) > 215 && qGreen(c) > 160 && qBlue(c) < 130; };

    struct Zone {
        QRect rect;
        int minimumInk;
    };
    // The amount right of the marker, the step number left of it.
    for (const Zone &zone : {Zone{QRect(92, top - 3, 150, 29), 60}, Zone{QRect(12, top - 3, 56, 29), 12}}) {
        long sumY = 0;
        int whiteCount = 0, goldCount = 0;
        for (int y = zone.rect.top(); y <= zone.rect.bottom(); ++y) {
            for (int x = zone.rect.left(); x <= zone.rect.right(); ++x) {
                const QRgb c = menu.pixel(x, y);
                const bool isWhite = white(c), isGold = gold(c);
                whiteCount += isWhite;
                goldCount += isGold;
                if (isWhite || isGold)
                    sumY += y;
            }
        }
        const int ink = safe ? whiteCount : goldCount;
        QVERIFY2(ink > zone.minimumInk, qPrintable(QStringLiteral("white %1 gold %2").arg(whiteCount).arg(goldCount)));
        QVERIFY2((safe ? goldCount : whiteCount) < ink / 4,
                 qPrintable(QStringLiteral("white %1 gold %2").arg(whiteCount).arg(goldCount)));
        const double centre = double(sumY) / (whiteCount + goldCount);
        QVERIFY2(std::abs(centre - (top + 11.5)) <= 2.0,
                 qPrintable(QStringLiteral("text centred at %1, marker at %2").arg(centre).arg(top + 11.5)));
    }
}

QTEST_MAIN(TestArt)
#include "tst_art.moc"
