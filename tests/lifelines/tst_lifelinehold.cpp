// While a lifeline dialog is open the main window ignores the mouse and its
// question countdown stands still, while the game clock runs on.
#include "game/GameSession.h"
#include "questionbase/GameState.h"
#include "forms/MessageBox.h"
#include "questionbase/Random.h"
#include "app/TFormMain.h"
#include "lifelines/TFormPromptMan.h"
#include "lifelines/TFormPromptTelephone.h"
#include "widgets/TThreadedTimer.h"

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
    GameState position;
    position.PlayerName = u"Анна"_s;
    position.CurrentQuestion.Answers = {QString(), u"один"_s, u"два"_s, u"три"_s, u"четыре"_s};
    position.AnswerPos = {0, 1, 2, 3, 4};
    GameSession session;
    session.Restore(position);
    const GameState &state = session.state();
    TFormMain main(session);
    QWidget about; // stands in for the about box: "?" shows it
    TFormPromptTelephone phone(session, main);
    TFormPromptMan man(session, main);
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
    position.GameActive = true;
    position.SecondsLeft = 59;
    position.SecondTicks = 0;
    position.GameTicks = 10;
    session.Restore(position);

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

    position.GameActive = false;
    session.Restore(position);
    SetMessageSinkForTests({});
}

QTEST_MAIN(TestLifelineHold)
#include "tst_lifelinehold.moc"
