// The about box: the splash, the phase cycle and its scrolling steps driven
// by calling the timer handlers, the reset on hide, OK and the links.
#include "app/TFormAbout.h"
#include "widgets/TThreadedTimer.h"

#include <QDesktopServices>
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <memory>

// Receives the links the box hands to the desktop.
class UrlRecorder : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl &url) { urls << url; }
};

class TestAbout : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void startsAsASplashOnTheFirstScreen();
    void splashHidesOnceAndLaterShowingsStay();
    void phasesFollowTheirTable_data();
    void phasesFollowTheirTable();
    void oneCycleScrollsThroughTheFourScreens();
    void returnEndsOnePixelLowAndTheNextCycleStartsThere();
    void eachPhaseStopsAtItsScreen();
    void scrollTimerRestsOnAScreenUntilTheNextPhase();
    void hideResetsTheSheetButNotItsPicture();
    void showingAgainRestsOnTheFirstScreenThenBeginsTheEightSecondPhase();
    void okHidesItsPictureWhileHeldAndClosesOnRelease();
    void linksGoToTheDesktopAndLeaveTheBoxOpen();
    void viewportClipsTheSheet();

private:
    void runTicks(int count);
    void toPhase(int phase);

    std::unique_ptr<QWidget> m_surface; // stands in for the main window the box is drawn on
    std::unique_ptr<TFormAbout> m_box;
    UrlRecorder m_recorder;
};

void TestAbout::init()
{
    m_surface = std::make_unique<QWidget>();
    m_surface->resize(1066, 600);
    m_surface->show();
    m_box = std::make_unique<TFormAbout>(m_surface.get());
    // The handlers are called by hand here.
    m_box->TimerAnimate->setEnabled(false);
    m_recorder.urls.clear();
    QDesktopServices::setUrlHandler(QStringLiteral("mailto"), &m_recorder, "open");
    QDesktopServices::setUrlHandler(QStringLiteral("http"), &m_recorder, "open");
}

void TestAbout::cleanup()
{
    QDesktopServices::unsetUrlHandler(QStringLiteral("mailto"));
    QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
    m_box.reset();
    m_surface.reset();
}

void TestAbout::runTicks(int count)
{
    for (int i = 0; i < count; ++i)
        m_box->TimerAnimateTimer();
}

// Runs the interval timer until the box is in `phase`.
void TestAbout::toPhase(int phase)
{
    for (int guard = 0; m_box->ScrollPhase() != phase && guard < 4; ++guard)
        m_box->TimerIntervalTimer();
    QCOMPARE(m_box->ScrollPhase(), phase);
}

void TestAbout::startsAsASplashOnTheFirstScreen()
{
    QCOMPARE(m_box->ScrollPhase(), 4);
    QCOMPARE(m_box->size(), QSize(290, 223));
    // A panel on the main window, not a window of its own: no window
    // manager decides where it goes or whether it stays on top.
    QVERIFY(!m_box->isWindow());
    QCOMPARE(m_box->parentWidget(), m_surface.get());
    m_box->show();
    QCOMPARE(m_box->geometry().center(), m_surface->rect().center());
    QCOMPARE(m_box->windowTitle(), QStringLiteral("About"));
    QVERIFY(m_box->TimerClose->isActive());
    QCOMPARE(m_box->TimerClose->interval(), 2000);
    QVERIFY(m_box->TimerInterval->isActive());
    QCOMPARE(m_box->TimerInterval->interval(), 5000);
    QCOMPARE(m_box->TimerAnimate->Interval(), 1);
    QCOMPARE(m_box->PanelAnimate->y(), 0);
    // Phase 4 on the first screen does nothing.
    runTicks(10);
    QCOMPARE(m_box->PanelAnimate->y(), 0);
    QCOMPARE(m_box->ImageInfo->y(), 0);
}

void TestAbout::splashHidesOnceAndLaterShowingsStay()
{
    m_box->show();
    QVERIFY(m_box->isVisible());
    m_box->TimerCloseTimer();
    QVERIFY(!m_box->isVisible());
    QVERIFY(!m_box->TimerClose->isActive());
    m_box->show();
    QVERIFY(!m_box->TimerClose->isActive());
    QVERIFY(m_box->isVisible());
}

void TestAbout::phasesFollowTheirTable_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("interval");
    QTest::addColumn<int>("to");
    QTest::newRow("1 -> 2") << 1 << 15000 << 2;
    QTest::newRow("2 -> 3") << 2 << 15000 << 3;
    QTest::newRow("3 -> 4") << 3 << 15000 << 4;
    QTest::newRow("4 -> 1, the short one") << 4 << 8000 << 1;
}

void TestAbout::phasesFollowTheirTable()
{
    QFETCH(int, from);
    QFETCH(int, interval);
    QFETCH(int, to);
    toPhase(from);
    m_box->TimerIntervalTimer();
    QCOMPARE(m_box->ScrollPhase(), to);
    QCOMPARE(m_box->TimerInterval->interval(), interval);
    QVERIFY(m_box->TimerInterval->isActive());
}

void TestAbout::oneCycleScrollsThroughTheFourScreens()
{
    toPhase(1);
    runTicks(124);
    QCOMPARE(m_box->PanelAnimate->y(), -124);
    runTicks(50);
    QCOMPARE(m_box->PanelAnimate->y(), -125);

    toPhase(2);
    runTicks(200);
    QCOMPARE(m_box->PanelAnimate->y(), -250);
    QCOMPARE(m_box->ImageInfo->y(), 0);

    // The picture moves down as the sheet moves up: it keeps its place.
    toPhase(3);
    const int onScreen = m_box->PanelAnimate->y() + m_box->ImageInfo->y();
    runTicks(60);
    QCOMPARE(m_box->PanelAnimate->y() + m_box->ImageInfo->y(), onScreen);
    runTicks(200);
    QCOMPARE(m_box->PanelAnimate->y(), -375);
    QCOMPARE(m_box->ImageInfo->y(), 125);
}

void TestAbout::returnEndsOnePixelLowAndTheNextCycleStartsThere()
{
    toPhase(1);
    runTicks(200);
    toPhase(2);
    runTicks(200);
    toPhase(3);
    runTicks(200);
    toPhase(4);
    runTicks(187);
    QCOMPARE(m_box->PanelAnimate->y(), -1);
    runTicks(1);
    QCOMPARE(m_box->PanelAnimate->y(), 1);
    QCOMPARE(m_box->ImageInfo->y(), -1);
    runTicks(50);
    QCOMPARE(m_box->PanelAnimate->y(), 1);

    toPhase(1);
    runTicks(126);
    QCOMPARE(m_box->PanelAnimate->y(), -125);
    toPhase(2);
    runTicks(200);
    toPhase(3);
    runTicks(200);
    QCOMPARE(m_box->ImageInfo->y(), 124);
    toPhase(4);
    runTicks(200);
    QCOMPARE(m_box->PanelAnimate->y(), 1);
    QCOMPARE(m_box->ImageInfo->y(), 0);
}

void TestAbout::eachPhaseStopsAtItsScreen()
{
    // A phase entered past its own screen leaves the sheet alone.
    toPhase(1);
    runTicks(130);
    toPhase(2);
    runTicks(130);
    toPhase(3);
    runTicks(130);
    QCOMPARE(m_box->PanelAnimate->y(), -375);
    toPhase(1);
    runTicks(5);
    QCOMPARE(m_box->PanelAnimate->y(), -375);
    toPhase(2);
    runTicks(5);
    QCOMPARE(m_box->PanelAnimate->y(), -375);
}

void TestAbout::scrollTimerRestsOnAScreenUntilTheNextPhase()
{
    m_box->show();
    // The phases are stepped by hand, and the splash must not end meanwhile.
    m_box->TimerClose->stop();
    m_box->TimerInterval->stop();
    TThreadedTimer *timer = m_box->TimerAnimate;
    timer->setEnabled(true);
    // The splash stands on the first screen: nothing to scroll.
    QTRY_VERIFY(timer->Resting());
    QVERIFY(timer->Enabled());
    m_box->TimerIntervalTimer();
    QCOMPARE(m_box->ScrollPhase(), 1);
    QVERIFY(!timer->Resting());
    QTRY_VERIFY_WITH_TIMEOUT(timer->Resting(), 20000);
    QCOMPARE(m_box->PanelAnimate->y(), -TFormAbout::ScreenHeight);
}

void TestAbout::hideResetsTheSheetButNotItsPicture()
{
    m_box->show();
    toPhase(3);
    runTicks(40);
    QCOMPARE(m_box->ImageInfo->y(), 40);
    m_box->TimerInterval->setInterval(15000);
    m_box->hide();
    QCOMPARE(m_box->ScrollPhase(), 4);
    QCOMPARE(m_box->PanelAnimate->y(), 0);
    QCOMPARE(m_box->ImageInfo->y(), 40);
    QCOMPARE(m_box->TimerInterval->interval(), 5000);
    QVERIFY(!m_box->TimerInterval->isActive());
    QVERIFY(!m_box->TimerAnimate->Enabled());
}

void TestAbout::showingAgainRestsOnTheFirstScreenThenBeginsTheEightSecondPhase()
{
    m_box->show();
    toPhase(2);
    runTicks(150);
    m_box->close(); // closing only hides
    QVERIFY(!m_box->isVisible());
    m_box->show();
    QVERIFY(m_box->TimerInterval->isActive());
    QCOMPARE(m_box->TimerInterval->interval(), 5000);
    QVERIFY(m_box->TimerAnimate->Enabled());
    QCOMPARE(m_box->PanelAnimate->y(), 0);
    m_box->TimerAnimate->setEnabled(false);
    m_box->TimerIntervalTimer();
    QCOMPARE(m_box->ScrollPhase(), 1);
    QCOMPARE(m_box->TimerInterval->interval(), 8000);
}

void TestAbout::okHidesItsPictureWhileHeldAndClosesOnRelease()
{
    m_box->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_box.get()));
    QVERIFY(!m_box->ImageOk->pixmap().isNull());
    QWindow *window = m_surface->windowHandle();
    const QPoint ok = m_box->mapTo(m_surface.get(), m_box->ImageOk->geometry().center());
    QTest::mousePress(window, Qt::LeftButton, {}, ok);
    QVERIFY(m_box->OkHeld());
    QVERIFY(m_box->ImageOk->pixmap().isNull());
    QVERIFY(m_box->isVisible());
    // Released beside the plate: the press still owns the release.
    QTest::mouseRelease(window, Qt::LeftButton, {}, ok + QPoint(40, 0));
    QVERIFY(!m_box->OkHeld());
    QVERIFY(!m_box->ImageOk->pixmap().isNull());
    QVERIFY(!m_box->isVisible());
}

void TestAbout::linksGoToTheDesktopAndLeaveTheBoxOpen()
{
    m_box->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_box.get()));
    QWindow *window = m_surface->windowHandle();
    for (QLabel *link : {m_box->LabelMail, m_box->LabelWeb}) {
        QCOMPARE(link->cursor().shape(), Qt::PointingHandCursor);
        const QPoint at = link->mapTo(m_surface.get(), QPoint(3, link->height() / 2));
        QTest::mouseClick(window, Qt::LeftButton, {}, at);
    }
    QCOMPARE(m_recorder.urls,
             QList<QUrl>({QUrl(QStringLiteral("mailto:") + TFormAbout::MailAddress), TFormAbout::WebUrl()}));
    QVERIFY(TFormAbout::WebUrl().host().endsWith(QLatin1String("example.org")));
    QVERIFY(m_box->isVisible());
}

void TestAbout::viewportClipsTheSheet()
{
    QCOMPARE(m_box->PanelAbout->geometry(), QRect(24, 55, 247, 125));
    QCOMPARE(m_box->PanelAnimate->parentWidget(), m_box->PanelAbout);
    QCOMPARE(m_box->PanelAnimate->size(), QSize(247, 500));
    QCOMPARE(m_box->PanelAnimate->palette().color(QPalette::Window), QColor(252, 250, 202));
    QCOMPARE(m_box->ImageInfo->geometry(), QRect(0, 0, 246, 250));
    QCOMPARE(m_box->ImageOk->geometry(), QRect(130, 195, 36, 19));
    // The "All" heading of the last screen lies below the viewport until
    // the sheet has scrolled there.
    m_box->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_box.get()));
    QVERIFY(m_box->Label17->visibleRegion().isEmpty());
    QVERIFY(!m_box->LabelTitle->visibleRegion().isEmpty());
    m_box->PanelAnimate->move(0, -375);
    QVERIFY(!m_box->Label17->visibleRegion().isEmpty());
    QVERIFY(m_box->LabelTitle->visibleRegion().isEmpty());
    QCOMPARE(m_box->Label17->geometry(), QRect(134, 376, 109, 37));
    QCOMPARE(m_box->Label17->alignment(), Qt::AlignRight | Qt::AlignTop);
}

QTEST_MAIN(TestAbout)
#include "tst_about.moc"
