// Scaling the stage to the screen, and what the main window does when the
// screen cannot hold it.
#include "app/FullScreen.h"
#include "game/GameSession.h"
#include "forms/MessageBox.h"
#include "app/ScaledSurface.h"
#include "app/TFormMain.h"
#include "app/WindowMode.h"
#include "forms/DialogPanel.h"
#include "widgets/TThreadedTimer.h"

#include <QApplication>

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
    void firstWindowShowsTheStageAtAWholeishScale_data();
    void firstWindowShowsTheStageAtAWholeishScale();
    void windowModeGoesAndComesBackWithTheDialogUp_data();
    void windowModeGoesAndComesBackWithTheDialogUp();
    void windowFitsTheStageAndAClickReachesTheControlDrawnThere_data();
    void windowFitsTheStageAndAClickReachesTheControlDrawnThere();
    void dialogFollowsThePointerOnTheDrawnStage();
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

namespace {

// A dialog that counts what the game would run on showing and hiding it,
// dragged by its title.
class CountingDialog : public DialogPanel {
public:
    CountingDialog(TFormMain &main)
        : DialogPanel(&main, &main, QStringLiteral("Проба"), QSize(400, 200), Qt::darkBlue)
    {
        title = new QLabel(this);
        title->setGeometry(0, 0, 400, 30);
        DragBy(title);
    }
    void FormShow() override { ++shows; }
    void FormHide() override { ++hides; }
    QLabel *title = nullptr;
    int shows = 0;
    int hides = 0;
};

// Sends a mouse event to the viewport at a drawn place, as the window system would.
void mouseAt(QGraphicsView &view, QEvent::Type type, QPoint drawn, Qt::MouseButtons buttons)
{
    const QPointF global = view.viewport()->mapToGlobal(QPointF(drawn));
    QMouseEvent event(type, QPointF(drawn), global, Qt::LeftButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(view.viewport(), &event);
}

} // namespace

void TestFullScreen::firstWindowShowsTheStageAtAWholeishScale_data()
{
    QTest::addColumn<QSize>("available");
    QTest::addColumn<double>("first");
    QTest::addColumn<double>("smallest");
    QTest::newRow("1920x1080: 1.25, 1000 x 750") << QSize(1920, 1080) << 1.25 << 0.6;
    QTest::newRow("2560x1440: 1.75") << QSize(2560, 1440) << 1.75 << 0.6;
    QTest::newRow("3840x2160: 2.75") << QSize(3840, 2160) << 2.75 << 0.6;
    QTest::newRow("1366x768: exactly the stage") << QSize(1366, 768) << 1.0 << 0.6;
    QTest::newRow("1024x576: twentieths below 1") << QSize(1024, 576) << 0.75 << 0.6;
    QTest::newRow("640x480: the smallest usable") << QSize(640, 480) << 0.6 << 0.6;
    QTest::newRow("400x300: all the screen there is") << QSize(400, 300) << 0.5 << 0.5;
    QTest::newRow("no screen") << QSize() << 0.0 << 0.0;
}

void TestFullScreen::firstWindowShowsTheStageAtAWholeishScale()
{
    QFETCH(QSize, available);
    QFETCH(double, first);
    QFETCH(double, smallest);
    QVERIFY(qFuzzyCompare(1.0 + FullScreen::FirstWindowScale(available), 1.0 + first));
    QVERIFY(qFuzzyCompare(1.0 + FullScreen::SmallestWindowScale(available), 1.0 + smallest));
}

void TestFullScreen::windowModeGoesAndComesBackWithTheDialogUp_data()
{
    QTest::addColumn<QSize>("screen");   // the program's logical screen
    QTest::addColumn<double>("drawn");   // the full screen's drawn scale, 0 for none
    QTest::newRow("1920x1080, scaled by 1.8") << QSize(1067, 600) << 0.0;
    QTest::newRow("1024x576, drawn at 0.96") << QSize(1067, 600) << 0.96;
    QTest::newRow("640x480, drawn at 0.8") << QSize(800, 600) << 0.8;
}

void TestFullScreen::windowModeGoesAndComesBackWithTheDialogUp()
{
    QFETCH(QSize, screen);
    QFETCH(double, drawn);
    SetMessageSinkForTests([](const QString &) {});
    FullScreen::SetScreenSizeForTests(screen);
    GameSession session;
    TFormMain form(session);
    form.TimerForMenu->setEnabled(false);
    CountingDialog dialog(form);
    WindowMode mode(form, drawn);
    dialog.show();
    mode.Show();
    QVERIFY(QTest::qWaitForWindowExposed(mode.TopLevel()));
    // The test platform may give the full screen a size of its own.
    const QPoint onStage = dialog.pos() - form.Stage->pos();

    QVERIFY(mode.PlayInWindow(true));
    ScaledSurface *window = mode.Surface();
    QVERIFY(window && window->Embedded() && window->InWindow());
    QCOMPARE(mode.TopLevel(), window);
    QVERIFY2(!(window->windowFlags() & Qt::FramelessWindowHint), "the window has a frame");
    QCOMPARE(window->windowTitle(), QStringLiteral("Зорбан! Vantor"));
    QVERIFY(!form.IsFullScreen());
    QVERIFY(!form.ScreenSaverHeld());
    // The window shows the bare stage, the dialog where it was on it.
    QCOMPARE(form.size(), QSize(800, 600));
    QCOMPARE(form.Stage->pos(), QPoint(0, 0));
    QCOMPARE(dialog.pos(), onStage);
    QVERIFY(QTest::qWaitForWindowExposed(window));

    QVERIFY(mode.PlayInWindow(false));
    QVERIFY(!mode.InWindow());
    QVERIFY(form.IsFullScreen());
    QVERIFY(QTest::qWaitForWindowExposed(mode.TopLevel()));
    QVERIFY(form.width() >= 800 && form.height() >= 600);
    QCOMPARE(form.Stage->pos(), QPoint((form.width() - 800) / 2, (form.height() - 600) / 2));
    QCOMPARE(dialog.pos() - form.Stage->pos(), onStage);
    QCOMPARE(mode.TopLevel()->isVisible(), true);
    if (drawn > 0.0) {
        QVERIFY(window->Embedded() && !window->InWindow());
        QVERIFY(window->windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(window->transform(), QTransform::fromScale(drawn, drawn));
    } else {
        QVERIFY(!window->Embedded() && !window->isVisible());
        QCOMPARE(mode.TopLevel(), &form);
    }
    // The dialog was up all along: nothing of it ran again.
    QVERIFY(dialog.isVisible());
    QCOMPARE(dialog.shows, 1);
    QCOMPARE(dialog.hides, 0);
    SetMessageSinkForTests({});
}

void TestFullScreen::windowFitsTheStageAndAClickReachesTheControlDrawnThere_data()
{
    QTest::addColumn<QSize>("viewport");
    QTest::addColumn<QRect>("stage"); // where the stage is drawn in it
    QTest::newRow("the stage's aspect, smaller") << QSize(480, 360) << QRect(0, 0, 480, 360);
    QTest::newRow("wider: bars at the sides") << QSize(1400, 600) << QRect(300, 0, 800, 600);
    QTest::newRow("taller: bars top and bottom") << QSize(500, 700) << QRect(0, 163, 500, 375);
    QTest::newRow("twice the stage") << QSize(1600, 1200) << QRect(0, 0, 1600, 1200);
}

void TestFullScreen::windowFitsTheStageAndAClickReachesTheControlDrawnThere()
{
    QFETCH(QSize, viewport);
    QFETCH(QRect, stage);
    SetMessageSinkForTests([](const QString &) {});
    FullScreen::SetScreenSizeForTests(QSize(1067, 600));
    GameSession session;
    TFormMain form(session);
    QWidget about; // "?" shows it
    form.setDialogs(&about, nullptr, nullptr, nullptr, nullptr);
    form.TimerForMenu->setEnabled(false); // the menu panel stays where it is
    WindowMode mode(form, 0.0);
    QVERIFY(mode.PlayInWindow(true));
    mode.Show();
    ScaledSurface &window = *mode.Surface();
    window.setMinimumSize(0, 0);
    window.resize(viewport);
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.viewport()->size(), viewport);
    QVERIFY(qAbs(window.DrawnStage().x() - stage.x()) <= 1 && qAbs(window.DrawnStage().y() - stage.y()) <= 1);
    QVERIFY(qAbs(window.DrawnStage().width() - stage.width()) <= 1);
    QVERIFY(qAbs(window.DrawnStage().height() - stage.height()) <= 1);

    // A click where "?" is drawn reaches "?".
    const QPoint drawn = window.mapFromScene(
        QPointF(form.LabelBtnAbout->mapTo(&form, form.LabelBtnAbout->rect().center())));
    QVERIFY(window.viewport()->rect().contains(drawn));
    QTest::mouseClick(window.viewport(), Qt::LeftButton, {}, drawn);
    QVERIFY(about.isVisible());
    SetMessageSinkForTests({});
}

void TestFullScreen::dialogFollowsThePointerOnTheDrawnStage()
{
    SetMessageSinkForTests([](const QString &) {});
    FullScreen::SetScreenSizeForTests(QSize(1067, 600));
    GameSession session;
    TFormMain form(session);
    form.TimerForMenu->setEnabled(false);
    CountingDialog dialog(form);
    WindowMode mode(form, 0.0);
    QVERIFY(mode.PlayInWindow(true));
    dialog.show();
    mode.Show();
    ScaledSurface &window = *mode.Surface();
    window.setMinimumSize(0, 0);
    window.resize(400, 300); // the stage drawn at half its size
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(dialog.pos(), QPoint(200, 200)); // centred on the stage

    // The title dragged 50 drawn pixels right and 20 up moves the dialog by
    // 100 and 40 on the stage: it stays under the pointer.
    const QPoint grip = window.mapFromScene(QPointF(dialog.mapTo(&form, QPoint(10, 10))));
    mouseAt(window, QEvent::MouseButtonPress, grip, Qt::LeftButton);
    mouseAt(window, QEvent::MouseMove, grip + QPoint(25, -10), Qt::LeftButton);
    mouseAt(window, QEvent::MouseMove, grip + QPoint(50, -20), Qt::LeftButton);
    mouseAt(window, QEvent::MouseButtonRelease, grip + QPoint(50, -20), Qt::NoButton);
    QCOMPARE(dialog.pos(), QPoint(300, 160));
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
