// While a lifeline dialog is open the main window ignores the mouse and its
// question countdown stands still, while the game clock runs on.
#include "GameState.h"
#include "MessageBox.h"
#include "Random.h"
#include "TFormMain.h"
#include "TFormPromptMan.h"
#include "TFormPromptTelephone.h"
#include "TThreadedTimer.h"

#include <QLabel>
#include <QTimer>
#include <QtTest>

#include <memory>

using namespace Qt::Literals::StringLiterals;

class TestLifelineHold : public QObject {
    Q_OBJECT

private slots:
    void mainWindowHeldWhileDialogOpen_data();
    void mainWindowHeldWhileDialogOpen();
};

void TestLifelineHold::mainWindowHeldWhileDialogOpen_data()
{
    QTest::addColumn<bool>("telephone");
    QTest::newRow("phone-a-friend") << true;
    QTest::newRow("ask-the-audience") << false;
}

void TestLifelineHold::mainWindowHeldWhileDialogOpen()
{
    QFETCH(bool, telephone);
    SetMessageSinkForTests([](const QString &) {});
    GameState state;
    state.PlayerName = u"Анна"_s;
    state.CurrentQuestion.Answers = {QString(), u"один"_s, u"два"_s, u"три"_s, u"четыре"_s};
    state.AnswerPos = {0, 1, 2, 3, 4};
    TFormMain main(state);
    QWidget about; // stands in for the about box: "?" shows it
    TFormPromptTelephone phone(state, main);
    TFormPromptMan man(state, main);
    main.setDialogs(&about, &phone, nullptr, &man, nullptr);
    // Only the test ticks the clocks.
    main.Timer->setEnabled(false);
    main.TimerForMenu->setEnabled(false); // the menu panel (and "?" on it) stays put
    phone.Timer->setInterval(600'000);
    phone.TimerAutoClose->setInterval(600'000);
    man.TimerAnimProc->setInterval(600'000);
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));

    // A game in progress, one second into the question.
    state.GameActive = true;
    state.SecondsLeft = 59;
    state.SecondTicks = 0;
    state.GameTicks = 10;

    QWidget *dialog = telephone ? static_cast<QWidget *>(&phone) : static_cast<QWidget *>(&man);
    dialog->show();
    QVERIFY(!main.Stage->isEnabled());

    for (int tick = 0; tick < 25; ++tick)
        main.TimerTimer();
    QCOMPARE(state.GameTicks, 35);   // the game clock runs...
    QCOMPARE(state.SecondsLeft, 59); // ...the question countdown does not

    // A click on "?" does not reach the held window.
    QCOMPARE(main.PanelMenu->x(), 545);
    const QPoint aboutButton = main.LabelBtnAbout->mapTo(&main, main.LabelBtnAbout->rect().center());
    QTest::mouseClick(main.windowHandle(), Qt::LeftButton, {}, aboutButton);
    QVERIFY(!about.isVisible());

    if (telephone)
        phone.TimerAutoCloseTimer();
    else
        for (int tick = 0; tick < 100; ++tick)
            man.TimerAnimProcTimer();
    QVERIFY(!dialog->isVisible());
    QVERIFY(main.Stage->isEnabled());

    for (int tick = 0; tick < 10; ++tick)
        main.TimerTimer();
    QCOMPARE(state.GameTicks, 45);
    QCOMPARE(state.SecondsLeft, 58);
    QTest::mouseClick(main.windowHandle(), Qt::LeftButton, {}, aboutButton);
    QVERIFY(about.isVisible());

    state.GameActive = false;
    SetMessageSinkForTests({});
}

QTEST_MAIN(TestLifelineHold)
#include "tst_lifelinehold.moc"
