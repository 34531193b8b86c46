// The ask-the-audience dialog: its bars, the animation and the host's summary.
#include "game/GameSession.h"
#include "questionbase/GameState.h"
#include "lifelines/LifelineRules.h"
#include "forms/MessageBox.h"
#include "questionbase/Random.h"
#include "app/TFormMain.h"
#include "lifelines/TFormPromptMan.h"
#include "widgets/TGauge.h"
#include "widgets/TThreadedTimer.h"

#include <QLabel>
#include <QRegularExpression>
#include <QtTest>

#include <functional>
#include <memory>

using namespace Qt::Literals::StringLiterals;

namespace {

// Changes the session's position of play the way a test needs it.
void Arrange(GameSession &session, const std::function<void(GameState &)> &change)
{
    GameState position = session.state();
    change(position);
    session.Restore(position);
}

} // namespace

class TestFormPromptMan : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void layoutOfTheWindow();
    void everyOpeningVotesAHundred();
    void shareOf99IsReachedAtTick99();
    void summaryListsThePlacesInOrder_data();
    void summaryListsThePlacesInOrder();
    void hidingResetsTheBars();
    void mainWindowHeldWhileShown();
    void closingByTheWindowSystemClosesTheMainWindow();

private:
    void openDialog();
    void runAnimation();

    std::unique_ptr<GameSession> m_session;
    const GameState *m_state = nullptr;
    std::unique_ptr<TFormMain> m_main;
    std::unique_ptr<TFormPromptMan> m_dialog;
    // Every reseed reads the next millisecond from this list (the last repeats).
    QList<std::uint32_t> m_clock{0};
    int m_reseeds = 0;
    RandomGenerator m_random{[this] { return m_clock.at(qMin(m_reseeds++, int(m_clock.size()) - 1)); }};
};

void TestFormPromptMan::init()
{
    SetMessageSinkForTests([](const QString &) {});
    m_session = std::make_unique<GameSession>();
    m_state = &m_session->state();
    Arrange(*m_session, [&](GameState &s) {
        s.PlayerName = u"Пётр"_s;
        s.DifficultyTier = 1;
        s.AnswerPos = {0, 1, 2, 3, 4};
    });
    m_main = std::make_unique<TFormMain>(*m_session);
    m_dialog = std::make_unique<TFormPromptMan>(*m_session, *m_main);
    m_dialog->setRandom(m_random);
    // The tests run the animation ticks themselves.
    m_dialog->TimerAnimProc->setInterval(600'000);
}

void TestFormPromptMan::cleanup()
{
    m_dialog.reset();
    m_main.reset();
    m_state = nullptr;
    m_session.reset();
    SetMessageSinkForTests({});
}

void TestFormPromptMan::openDialog()
{
    m_reseeds = 0;
    m_main->show();
    m_dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_dialog.get()));
}

void TestFormPromptMan::runAnimation()
{
    for (int tick = 0; tick < 100 && m_dialog->isVisible(); ++tick)
        m_dialog->TimerAnimProcTimer();
}

void TestFormPromptMan::layoutOfTheWindow()
{
    TFormPromptMan &d = *m_dialog;
    QCOMPARE(d.size(), QSize(205, 280));
    QCOMPARE(d.windowTitle(), u"Помощь зала"_s);
    // A panel on the main window, above its stage.
    QVERIFY(!d.isWindow());
    QCOMPARE(d.parentWidget(), m_main.get());
    QCOMPARE(d.palette().color(QPalette::Window), QColor(16, 8, 41));
    QCOMPARE(d.ImageForm->geometry(), QRect(0, 0, 205, 280));

    const auto gauges = d.Gauges();
    const int lefts[] = {0, 5, 55, 105, 155};
    for (int place = 1; place <= 4; ++place) {
        TGauge *gauge = gauges[place];
        QCOMPARE(gauge->objectName(), u"Gauge"_s + QChar(u'A' + place - 1));
        QCOMPARE(gauge->geometry(), QRect(lefts[place], 43, 45, 202));
        QCOMPARE(gauge->Kind(), TGauge::gkVerticalBar);
        QCOMPARE(gauge->ForeColor(), QColor(185, 255, 0));
        QCOMPARE(gauge->BackColor(), QColor(16, 8, 41));
        QCOMPARE(gauge->Color(), QColor(16, 8, 41));
        QCOMPARE(gauge->MinValue(), 0);
        QCOMPARE(gauge->MaxValue(), 100);
        QCOMPARE(gauge->Progress(), 0);
        QVERIFY(gauge->ShowText());
        QCOMPARE(gauge->BorderStyle(), TGauge::bsSingle);
        QCOMPARE(gauge->font().pixelSize(), 11);
    }

    QCOMPARE(d.LabelTitle->geometry(), QRect(12, 7, 148, 25));
    QCOMPARE(d.LabelTitle->text(), u"Помощь зала"_s);
    for (QLabel *label : d.findChildren<QLabel *>())
        QVERIFY2(label->textFormat() == Qt::PlainText, qPrintable(label->objectName()));
    QCOMPARE(d.LabelTitle->cursor().shape(), Qt::SizeAllCursor);
    QCOMPARE(d.LabelTitle->font().pixelSize(), 13);
    QVERIFY(d.LabelTitle->font().bold());
    // The title lies above the bars, the bars above the background.
    const QObjectList &stack = d.children();
    QVERIFY(stack.indexOf(d.LabelTitle) > stack.indexOf(d.GaugeD));
    QVERIFY(stack.indexOf(d.GaugeA) > stack.indexOf(d.ImageForm));

    QCOMPARE(d.TimerAnimProc->Interval(), 600'000); // set by init(); 35 in the game
    QVERIFY(!d.TimerAnimProc->Enabled());
    TFormPromptMan fresh(*m_session, *m_main);
    QCOMPARE(fresh.TimerAnimProc->Interval(), 35);
}

void TestFormPromptMan::everyOpeningVotesAHundred()
{
    for (int tier = 1; tier <= 3; ++tier) {
        Arrange(*m_session, [&](GameState &s) { s.DifficultyTier = tier; });
        for (std::uint32_t ms : {0u, 999u, 12'345'678u, 86'399'999u}) {
            m_clock = {ms};
            openDialog();
            const Lifelines::AudienceShares shares = m_dialog->AudienceShares();
            QCOMPARE(shares[1] + shares[2] + shares[3] + shares[4], 100);
            QVERIFY(m_dialog->TimerAnimProc->Enabled());
            runAnimation();
            QVERIFY(!m_dialog->isVisible());
        }
    }
}

void TestFormPromptMan::shareOf99IsReachedAtTick99()
{
    // A share of 99 needs a scattered audience whose correct answer gets 1,
    // which only happens when the millisecond turns between the reseeds.
    Arrange(*m_session, [&](GameState &s) { s.DifficultyTier = 3; });
    bool found = false;
    for (std::uint32_t ms = 0; ms < 5'000'000u && !found; ++ms) {
        int calls = 0;
        RandomGenerator probe([&] { return ms + std::uint32_t(calls++); });
        const Lifelines::AudienceShares shares = Lifelines::AudienceVote(3, probe);
        if (shares[2] == 99) {
            m_clock = {ms, ms + 1};
            found = true;
        }
    }
    QVERIFY2(found, "no vote in the range gave a share of 99");

    Arrange(*m_session, [&](GameState &s) { s.AnswerPos = {0, 3, 2, 4, 1}; }); // answer 2 at place B
    openDialog();
    QCOMPARE(m_dialog->AudienceShares()[2], 99);
    for (int tick = 1; tick <= 98; ++tick)
        m_dialog->TimerAnimProcTimer();
    QCOMPARE(m_dialog->GaugeB->Progress(), 98);
    m_dialog->TimerAnimProcTimer();
    QCOMPARE(m_dialog->GaugeB->Progress(), 99);
    QCOMPARE(m_dialog->GaugeD->Progress(), 1); // answer 1 at place D got 1
    QCOMPARE(m_dialog->AnimationTicks(), 99);
    QVERIFY(m_dialog->isVisible());
    m_dialog->TimerAnimProcTimer();
    QVERIFY(!m_dialog->isVisible());
    QCOMPARE(m_main->LabelDialog->text(),
             u"Пётр, вы выбрали подсказку \"помощь зала\". 0% зала считает, что верный вариант ответа A, "
             "99% считает, что верный ответ B, 0% думает, что \u0421 и наконец 1%, что D. "
             "Прислушаетесь ли вы к большинству?"_s);
}

void TestFormPromptMan::summaryListsThePlacesInOrder_data()
{
    QTest::addColumn<int>("a");
    QTest::addColumn<int>("b");
    QTest::addColumn<int>("c");
    QTest::addColumn<int>("d");
    QTest::addColumn<int>("fiftyHide1");
    QTest::addColumn<int>("fiftyHide2");
    QTest::newRow("in answer order") << 1 << 2 << 3 << 4 << 0 << 0;
    QTest::newRow("shuffled") << 3 << 1 << 4 << 2 << 0 << 0;
    QTest::newRow("reversed, fifty-fifty removed A and D") << 4 << 3 << 2 << 1 << 1 << 4;
    QTest::newRow("correct at C, fifty-fifty removed B and D") << 2 << 4 << 1 << 3 << 2 << 4;
}

void TestFormPromptMan::summaryListsThePlacesInOrder()
{
    QFETCH(int, a);
    QFETCH(int, b);
    QFETCH(int, c);
    QFETCH(int, d);
    QFETCH(int, fiftyHide1);
    QFETCH(int, fiftyHide2);
    Arrange(*m_session, [&](GameState &s) {
        s.AnswerPos = {0, a, b, c, d};
        s.FiftyHide1 = fiftyHide1;
        s.FiftyHide2 = fiftyHide2;
    });
    m_clock = {4'321'000};
    openDialog();
    const Lifelines::AudienceShares shares = m_dialog->AudienceShares();
    // Every answer got a vote here, the removed ones too.
    for (int answer = 1; answer <= 4; ++answer)
        QVERIFY(shares[answer] > 0);
    runAnimation();
    QVERIFY(!m_dialog->isVisible());

    const QString summary = m_main->LabelDialog->text();
    QCOMPARE(summary, Lifelines::AudienceSummary(u"Пётр"_s, shares[a], shares[b], shares[c], shares[d]));
    static const QRegularExpression numbers(u"(\\d+)%"_s);
    QStringList found;
    for (const auto &match : numbers.globalMatch(summary))
        found << match.captured(1);
    QCOMPARE(found, (QStringList{QString::number(shares[a]), QString::number(shares[b]),
                                 QString::number(shares[c]), QString::number(shares[d])}));
}

void TestFormPromptMan::hidingResetsTheBars()
{
    openDialog();
    for (int tick = 0; tick < 30; ++tick)
        m_dialog->TimerAnimProcTimer();
    QVERIFY(m_dialog->GaugeA->Progress() > 0);
    const int a = m_dialog->GaugeA->Progress();
    const int b = m_dialog->GaugeB->Progress();
    const int c = m_dialog->GaugeC->Progress();
    const int d = m_dialog->GaugeD->Progress();
    m_dialog->hide();
    for (TGauge *gauge : {m_dialog->GaugeA, m_dialog->GaugeB, m_dialog->GaugeC, m_dialog->GaugeD})
        QCOMPARE(gauge->Progress(), 0);
    QCOMPARE(m_dialog->AnimationTicks(), 0);
    QVERIFY(!m_dialog->TimerAnimProc->Enabled());
    // Hidden early, the summary names what the bars showed at that moment.
    QCOMPARE(m_main->LabelDialog->text(), Lifelines::AudienceSummary(u"Пётр"_s, a, b, c, d));
}

void TestFormPromptMan::mainWindowHeldWhileShown()
{
    openDialog();
    QVERIFY(!m_main->Stage->isEnabled());
    runAnimation();
    QVERIFY(m_main->Stage->isEnabled());
}

void TestFormPromptMan::closingByTheWindowSystemClosesTheMainWindow()
{
    openDialog();
    m_dialog->close();
    QVERIFY(!m_dialog->isVisible());
    QVERIFY(!m_main->isVisible());
}

QTEST_MAIN(TestFormPromptMan)
#include "tst_formpromptman.moc"

