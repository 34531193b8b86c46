// The artwork generator: the committed pictures are what it paints today, up
// to the last bits that differ from one processor to another (so nobody
// forgets to run it after changing a painter, and the check holds on every
// machine), its output does not change from run to run, and the snapping
// that keeps the banner's transparent colour clean does what it promises.

#include "art/Art.h"
#include "Paint.h"
#include "Pictures.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QtTest>
#if ZORBAN_HAVE_QTSVG
#include <QSvgRenderer>
#endif

#include <cmath>


class TestArtGen : public QObject {
    Q_OBJECT

private slots:
    void committedPicturesMatchThePainters_data();
    void committedPicturesMatchThePainters();
    void committedIconsMatchThePainter_data();
    void committedIconsMatchThePainter();
    void catalogueNamesAreUnique();
    void paintingIsRepeatable();
    void realChangesAreNotNoise_data();
    void realChangesAreNotNoise();
    void snapToKeyLeavesNoBlend();
    void hexPathHasPointedEnds();
};

void TestArtGen::committedPicturesMatchThePainters_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("scale");
    const std::vector<PictureRecipe> list = Catalogue();
    for (int i = 0; i < int(list.size()); ++i) {
        for (int scale : {1, 2}) {
            QTest::newRow(qPrintable(QStringLiteral("%1 x%2").arg(list[i].name).arg(scale)))
                << i << scale;
        }
    }
}

void TestArtGen::committedPicturesMatchThePainters()
{
    QFETCH(int, index);
    QFETCH(int, scale);
    const PictureRecipe recipe = Catalogue()[index];
    const QImage painted = recipe.paint(scale);
    QCOMPARE(painted.size(), recipe.size * scale);

    // Encoded as the generator writes files and decoded again, the painting
    // must give the committed picture, up to the rasteriser's last bits.
    const QImage expected = QImage::fromData(Encode(painted, recipe.format))
                                .convertToFormat(QImage::Format_ARGB32);
    QImage committed = Art::Picture(recipe.name, scale).toImage().convertToFormat(QImage::Format_ARGB32);
    committed.setDevicePixelRatio(1.0);
    QCOMPARE(committed.size(), painted.size());
    const PictureDifference d = ComparePictures(committed, expected);
    if (!d.SamePicture()) {
        QFAIL(qPrintable(QStringLiteral("%1 is stale (mean difference %2, %3 % of the pixels "
                                        "changed, largest %4): run zorban-artgen")
                             .arg(recipe.name)
                             .arg(d.mean)
                             .arg(100.0 * d.changedShare)
                             .arg(d.largest)));
    }
}

void TestArtGen::committedIconsMatchThePainter_data()
{
    QTest::addColumn<int>("size"); // 0 for the SVG
    for (int size : IconArt::Sizes)
        QTest::newRow(qPrintable(QStringLiteral("%1 px").arg(size))) << size;
    QTest::newRow("scalable") << 0;
}

void TestArtGen::committedIconsMatchThePainter()
{
    // The icon theme folder that dist/ installs, as `--icons dist/icons` writes it.
    QFETCH(int, size);
    const QString dir = QStringLiteral(ZORBAN_ICON_THEME_DIR "/%1/apps/")
                            .arg(size ? QStringLiteral("%1x%1").arg(size) : QStringLiteral("scalable"));
    QFile file(dir + IconArt::Name + (size ? ".png" : ".svg"));
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.fileName()));
    const QByteArray committed = file.readAll();
    if (size == 0) {
        QVERIFY2(committed == IconArt::Svg(), "the SVG icon is stale: run zorban-artgen --icons dist/icons");
#if ZORBAN_HAVE_QTSVG
        // Drawn by an SVG renderer, it is the 512 px picture but for edges.
        QSvgRenderer svg(committed);
        QVERIFY(svg.isValid());
        QImage drawn(512, 512, QImage::Format_ARGB32_Premultiplied);
        drawn.fill(Qt::transparent);
        QPainter p(&drawn);
        svg.render(&p);
        p.end();
        const PictureDifference d = ComparePictures(drawn, IconArt::Icon(512));
        QVERIFY2(d.mean < 1.0 && d.changedShare < 0.02,
                 qPrintable(QStringLiteral("mean %1, %2 % changed").arg(d.mean).arg(100 * d.changedShare)));
#endif
        return;
    }
    const QImage painted = IconArt::Icon(size);
    QCOMPARE(painted.size(), QSize(size, size));
    // Transparent round the emblem, opaque in its middle.
    QCOMPARE(qAlpha(painted.pixel(0, 0)), 0);
    QCOMPARE(qAlpha(painted.pixel(size / 2, size / 2)), 255);
    const QImage expected = QImage::fromData(Encode(painted, QStringLiteral("png")));
    const PictureDifference d = ComparePictures(QImage::fromData(committed), expected);
    if (!d.SamePicture())
        QFAIL(qPrintable(QStringLiteral("the %1 px icon is stale (mean difference %2): run zorban-artgen --icons dist/icons")
                             .arg(size)
                             .arg(d.mean)));
}

void TestArtGen::catalogueNamesAreUnique()
{
    QSet<QString> seen;
    for (const PictureRecipe &recipe : Catalogue()) {
        QVERIFY2(!seen.contains(recipe.name), qPrintable(recipe.name));
        seen.insert(recipe.name);
        QVERIFY(recipe.format == QLatin1String("jpg") || recipe.format == QLatin1String("png"));
        QVERIFY(!recipe.role.isEmpty());
    }
}

void TestArtGen::paintingIsRepeatable()
{
    // The snowflakes are placed by a seeded generator; two runs must agree
    // or every regeneration would rewrite the committed files.
    for (const QString &name : {QStringLiteral("SNOW"), QStringLiteral("TFormMain/ImageMenu"),
                                QStringLiteral("TFormAbout/ImageAbout")}) {
        for (const PictureRecipe &recipe : Catalogue()) {
            if (recipe.name == name)
                QCOMPARE(recipe.paint(1), recipe.paint(1));
        }
    }
}

void TestArtGen::realChangesAreNotNoise_data()
{
    // Each row changes the 2x question frame picture the way a painter's
    // change or a rasteriser's would, and says whether the check must see it.
    QTest::addColumn<QString>("change");
    QTest::addColumn<bool>("samePicture");
    QTest::newRow("last bits of every edge") << QStringLiteral("edges") << true;
    QTest::newRow("a level brighter in the gradients") << QStringLiteral("gradient") << true;
    QTest::newRow("shape moved by one pixel") << QStringLiteral("shift") << false;
    QTest::newRow("a small shape in another colour") << QStringLiteral("spot") << false;
    QTest::newRow("every colour a little warmer") << QStringLiteral("warmer") << false;
}

void TestArtGen::realChangesAreNotNoise()
{
    QFETCH(QString, change);
    QFETCH(bool, samePicture);
    const QImage original = MainArt::Form(2).convertToFormat(QImage::Format_ARGB32);
    QImage changed = original;
    if (change == QLatin1String("edges") || change == QLatin1String("gradient")) {
        // Antialiasing noise: where a pixel differs from its right neighbour
        // (an edge) or here and there on a slope (a gradient), a channel's
        // last bit flips.
        for (int y = 0; y < changed.height(); ++y) {
            QRgb *row = reinterpret_cast<QRgb *>(changed.scanLine(y));
            for (int x = 0; x + 1 < changed.width(); ++x) {
                const bool edge = qAbs(qGreen(row[x]) - qGreen(row[x + 1])) > 40;
                const bool slope = !edge && (x + y) % 11 == 0;
                if ((change == QLatin1String("edges") && edge) || (change == QLatin1String("gradient") && slope))
                    row[x] = qRgba(qRed(row[x]) ^ 1, qGreen(row[x]), qBlue(row[x]), qAlpha(row[x]));
            }
        }
    } else if (change == QLatin1String("shift")) {
        changed.fill(Qt::black);
        QPainter(&changed).drawImage(1, 0, original);
    } else if (change == QLatin1String("spot")) {
        QPainter(&changed).fillRect(QRect(700, 500, 12, 12), QColor(255, 140, 0));
    } else if (change == QLatin1String("warmer")) {
        for (int y = 0; y < changed.height(); ++y) {
            QRgb *row = reinterpret_cast<QRgb *>(changed.scanLine(y));
            for (int x = 0; x < changed.width(); ++x)
                row[x] = qRgba(qMin(qRed(row[x]) + 4, 255), qGreen(row[x]), qBlue(row[x]), qAlpha(row[x]));
        }
    }
    QCOMPARE(ComparePictures(original, changed).SamePicture(), samePicture);
}

void TestArtGen::snapToKeyLeavesNoBlend()
{
    const QColor key = Paint::Palette::BannerKey;
    QImage argb(4, 1, QImage::Format_ARGB32);
    argb.setPixel(0, 0, qRgba(255, 255, 255, 255)); // fully covered
    argb.setPixel(1, 0, qRgba(200, 220, 255, 130)); // more than half covered
    argb.setPixel(2, 0, qRgba(255, 255, 255, 127)); // less than half covered
    argb.setPixel(3, 0, qRgba(116, 113, 115, 255)); // shape that happens to be the key
    const QImage out = Paint::SnapToKey(argb, key);

    QCOMPARE(out.format(), QImage::Format_RGB32);
    QCOMPARE(out.pixel(0, 0), qRgb(255, 255, 255));
    QCOMPARE(out.pixel(1, 0), qRgb(200, 220, 255));
    QCOMPARE(out.pixel(2, 0), key.rgb());
    QVERIFY(out.pixel(3, 0) != key.rgb());
    QVERIFY(std::abs(qBlue(out.pixel(3, 0)) - 115) <= 1);
}

void TestArtGen::hexPathHasPointedEnds()
{
    const QRectF r(10, 20, 100, 40);
    const QPainterPath hex = Paint::HexPath(r, 15);
    QCOMPARE(hex.boundingRect(), r);
    QVERIFY(hex.contains(r.center()));
    // The corners are cut off; the points of the ends are on the mid line.
    QVERIFY(!hex.contains(r.topLeft() + QPointF(2, 2)));
    QVERIFY(!hex.contains(r.bottomRight() - QPointF(2, 2)));
    QVERIFY(hex.contains(QPointF(r.left() + 2, r.center().y())));
    QVERIFY(hex.contains(QPointF(r.right() - 2, r.center().y())));
}

QTEST_MAIN(TestArtGen)
#include "tst_artgen.moc"
