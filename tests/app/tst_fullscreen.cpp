// Scaling the stage to the screen, and what the main window does when the
// screen cannot hold it.
#include "app/FullScreen.h"
#include "game/GameSession.h"
#include "forms/MessageBox.h"
#include "app/ScaledSurface.h"
#include "app/TFormMain.h"
#include "widgets/TThreadedTimer.h"

#include <QLabel>
#include <QMouseEvent>
#include <QTest>

#include <memory>

class TestFullScreen : public QObject {
    Q_OBJECT

private slots:
    void cleanup();

    void stageFillsTheScreenWithItsAspectKept_data();
    void stageFillsTheScreenWithItsAspectKept();
    void emptyScreenHasNoPlacement_data();
    void emptyScreenHasNoPlacement();
    void everyScreenIsScaledToFit_data();
    void everyScreenIsScaledToFit();
    void scaledScreenHoldsTheStage_data();
    void scaledScreenHoldsTheStage();
    void scaleVariableIsSetAndCleared();

    void stageIsCentredInTheFullScreenWindow();
    void windowModeGoesAndComesBack();
    void smallScreenShowsTheWholeStageWithEveryControlInReach();
    void screenTooSmallIsReportedOnceAndPlaysInAWindow_data();
    void screenTooSmallIsReportedOnceAndPlaysInAWindow();
};

void TestFullScreen::cleanup()
{
    FullScreen::SetScreenSizeForTests(std::nullopt);
    SetMessageSinkForTests({});
}

void TestFullScreen::stageFillsTheScreenWithItsAspectKept_data()
{
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<double>("scale");
    QTest::addColumn<QRect>("stage");
    QTest::newRow("1920x1080: bars at the sides") << QSize(1920, 1080) << 1.8 << QRect(240, 0, 1440, 1080);
    QTest::newRow("1280x1024: bars top and bottom") << QSize(1280, 1024) << 1.6 << QRect(0, 32, 1280, 960);
    QTest::newRow("800x600: the stage is the screen") << QSize(800, 600) << 1.0 << QRect(0, 0, 800, 600);
    QTest::newRow("1600x1200: exactly twice") << QSize(1600, 1200) << 2.0 << QRect(0, 0, 1600, 1200);
    QTest::newRow("1366x768: fractional") << QSize(1366, 768) << 1.28 << QRect(171, 0, 1024, 768);
    QTest::newRow("2560x1080: ultra-wide") << QSize(2560, 1080) << 1.8 << QRect(560, 0, 1440, 1080);
    QTest::newRow("640x480: smaller than the stage") << QSize(640, 480) << 0.8 << QRect(0, 0, 640, 480);
    QTest::newRow("1080x1920: portrait") << QSize(1080, 1920) << 1.35 << QRect(0, 555, 1080, 810);
}

void TestFullScreen::stageFillsTheScreenWithItsAspectKept()
{
    QFETCH(QSize, screen);
    QFETCH(double, scale);
    QFETCH(QRect, stage);
    const std::optional<FullScreen::Placement> placement = FullScreen::PlaceStage(screen);
    QVERIFY(placement);
    QVERIFY(qFuzzyCompare(placement->scale, scale));
    QCOMPARE(placement->stage, stage);
}

void TestFullScreen::emptyScreenHasNoPlacement_data()
{
    QTest::addColumn<QSize>("screen");
    QTest::newRow("no screen") << QSize();
    QTest::newRow("no width") << QSize(0, 600);
    QTest::newRow("no height") << QSize(800, 0);
    QTest::newRow("negative") << QSize(-800, 600);
}

void TestFullScreen::emptyScreenHasNoPlacement()
{
    QFETCH(QSize, screen);
    QVERIFY(!FullScreen::PlaceStage(screen));
}

void TestFullScreen::everyScreenIsScaledToFit_data()
{
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<double>("scale");
    QTest::newRow("1920x1080") << QSize(1920, 1080) << 1.8;
    QTest::newRow("800x600") << QSize(800, 600) << 1.0;
    QTest::newRow("640x480: scaled down") << QSize(640, 480) << 0.8;
    QTest::newRow("800x480: scaled down") << QSize(800, 480) << 0.8;
    QTest::newRow("1024x576: a little low") << QSize(1024, 576) << 0.96;
    QTest::newRow("no screen") << QSize() << 0.0;
}

void TestFullScreen::everyScreenIsScaledToFit()
{
    QFETCH(QSize, screen);
    QFETCH(double, scale);
    QVERIFY(qFuzzyCompare(1.0 + FullScreen::ScaleToApply(screen), 1.0 + scale));
}

void TestFullScreen::scaledScreenHoldsTheStage_data()
{
    QTest::addColumn<QSize>("logical");
    QTest::addColumn<bool>("holds");
    QTest::newRow("1920x1080 scaled by 1.8") << QSize(1067, 600) << true;
    QTest::newRow("1280x1024 scaled by 1.6") << QSize(800, 640) << true;
    QTest::newRow("rounded a pixel short") << QSize(799, 599) << true;
    QTest::newRow("unscaled 640x480") << QSize(640, 480) << false;
    QTest::newRow("too narrow") << QSize(700, 600) << false;
    QTest::newRow("no screen") << QSize() << false;
}

void TestFullScreen::scaledScreenHoldsTheStage()
{
    QFETCH(QSize, logical);
    QFETCH(bool, holds);
    QCOMPARE(FullScreen::HoldsStage(logical), holds);
}

void TestFullScreen::scaleVariableIsSetAndCleared()
{
    const QByteArray before = qgetenv("QT_SCALE_FACTOR");
    FullScreen::SetScaleFactorVariable(1.28);
    QCOMPARE(qgetenv("QT_SCALE_FACTOR"), QByteArray("1.28"));
    FullScreen::ClearScaleFactorVariable();
    QVERIFY(!qEnvironmentVariableIsSet("QT_SCALE_FACTOR"));
    if (!before.isEmpty())
        qputenv("QT_SCALE_FACTOR", before);
}

void TestFullScreen::stageIsCentredInTheFullScreenWindow()
{
    // A 1920 x 1080 screen after the program scaled itself by 1.8.
    QStringList messages;
    SetMessageSinkForTests([&](const QString &text) { messages << text; });
    FullScreen::SetScreenSizeForTests(QSize(1067, 600));
    GameSession session;
    TFormMain form(session);
    QVERIFY(messages.isEmpty());
    QVERIFY(form.IsFullScreen());
    QCOMPARE(form.size(), QSize(1067, 600));
    QCOMPARE(form.Stage->geometry(), QRect(133, 0, 800, 600));
    form.LeaveFullScreen();
    QVERIFY(!form.IsFullScreen());
    QVERIFY(!form.ScreenSaverHeld());
}

void TestFullScreen::windowModeGoesAndComesBack()
{
    SetMessageSinkForTests([](const QString &) {});
    FullScreen::SetScreenSizeForTests(QSize(1067, 600));
    GameSession session;
    TFormMain form(session);
    form.show();
    QVERIFY(form.PlayInWindow(true));
    QVERIFY(form.InWindow());
    QVERIFY(!form.IsFullScreen());
    QVERIFY2(!(form.windowFlags() & Qt::FramelessWindowHint), "a window of its own has a frame");
    QCOMPARE(form.minimumSize(), QSize(800, 600));
    form.resize(900, 700);
    QCOMPARE(form.Stage->geometry(), QRect(50, 50, 800, 600));
    QVERIFY(form.isVisible());

    QVERIFY(form.PlayInWindow(false));
    QVERIFY(form.IsFullScreen());
    QVERIFY(form.windowFlags() & Qt::FramelessWindowHint);
    QCOMPARE(form.Stage->geometry(), QRect(133, 0, 800, 600));
    SetMessageSinkForTests({});
}

void TestFullScreen::smallScreenShowsTheWholeStageWithEveryControlInReach()
{
    // A 640 x 480 screen: the main window works in 800 x 600 and is drawn at 0.8.
    QStringList messages;
    SetMessageSinkForTests([&](const QString &text) { messages << text; });
    FullScreen::SetScreenSizeForTests(QSize(800, 600));
    GameSession session;
    TFormMain form(session);
    QWidget about; // "?" shows it
    form.setDialogs(&about, nullptr, nullptr, nullptr, nullptr);
    form.TimerForMenu->setEnabled(false); // the menu panel stays where it is
    ScaledSurface surface(form, 0.8);
    surface.resize(640, 480);
    surface.show();
    QVERIFY(QTest::qWaitForWindowExposed(&surface));
    QVERIFY(messages.isEmpty());
    QVERIFY(form.IsFullScreen());

    // The whole stage is on the screen: its far corner is drawn at 640 x 480.
    QCOMPARE(surface.mapFromScene(QPointF(800, 600)), QPoint(640, 480));
    // A click where "?" is drawn reaches "?".
    const QPointF onStage = form.LabelBtnAbout->mapTo(&form, form.LabelBtnAbout->rect().center());
    const QPoint drawn = surface.mapFromScene(onStage);
    QTest::mouseClick(surface.viewport(), Qt::LeftButton, {}, drawn);
    QVERIFY(about.isVisible());
}

void TestFullScreen::screenTooSmallIsReportedOnceAndPlaysInAWindow_data()
{
    QTest::addColumn<QSize>("screen");
    QTest::newRow("no screen") << QSize();
    // The window system did not take the scale: the screen is still smaller
    // than the stage.
    QTest::newRow("scale not taken on 640x480") << QSize(640, 480);
}

void TestFullScreen::screenTooSmallIsReportedOnceAndPlaysInAWindow()
{
    QFETCH(QSize, screen);
    QStringList messages;
    SetMessageSinkForTests([&](const QString &text) { messages << text; });
    FullScreen::SetScreenSizeForTests(screen);
    GameSession session;
    TFormMain form(session);
    QCOMPARE(messages, QStringList{QStringLiteral("Ошибка! Невозможно перейти в полноэкранный режим!")});
    QVERIFY(!form.IsFullScreen());
    QVERIFY(!(form.windowState() & Qt::WindowFullScreen));
    QVERIFY2(!form.ScreenSaverHeld(), "the screen saver is left alone");
    QCOMPARE(form.size(), QSize(800, 600));
    QCOMPARE(form.Stage->pos(), QPoint(0, 0));
    // The game is still built and playable.
    QVERIFY(form.ImageNewYear->pixmap().width() > 0);
}

QTEST_MAIN(TestFullScreen)
#include "tst_fullscreen.moc"
