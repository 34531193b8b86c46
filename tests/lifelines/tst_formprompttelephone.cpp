// The phone-a-friend dialog driven through its window: the keypad, the call,
// the countdown and the way it hands its message to the main window.
#include "game/GameSession.h"
#include "questionbase/GameState.h"
#include "forms/MessageBox.h"
#include "questionbase/Random.h"
#include "app/TFormMain.h"
#include "lifelines/TFormPromptTelephone.h"
#include "widgets/TThreadedTimer.h"

#include <QLabel>
#include <QMouseEvent>
#include <QTimer>
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

QColor TextColor(const QLabel *label)
{
    return label->palette().color(QPalette::WindowText);
}

} // namespace

class TestFormPromptTelephone : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void layoutOfTheWindow();
    void keypad_data();
    void keypad();

    void pressedKeyHidesItsCapUntilRelease();
    void releaseAfterTimeOutDialsNothing();
    void doubleClickPressesTheKeyAgain();
    void digitsAppendUpToSevenAndResetClears();
    void shortNumberIsRefused();
    void zeroesAtTierOneCallTheRightFriend();
    void numberOneKeepsDivisorThree();
    void wrongFriendNamesAWrongAnswerEvenAfterFiftyFifty();
    void countdownMessagesAndColours_data();
    void countdownMessagesAndColours();
    void refusedCallAtTwelveIsReplacedAtTen();
    void validCallWithFifteenLeftKeepsFifteen();
    void timeOutHidesAndHandsTheMessageToTheMainWindow();
    void dialledDigitsStayForTheNextOpening();
    void mainWindowHeldWhileShown();
    void closingByTheWindowSystemClosesTheMainWindow();
    void titleDragsTheDialog();

private:
    void openDialog();
    void click(QLabel *label);
    void dial(const QString &digits);
    void tickUntil(int secondsLeft);

    std::unique_ptr<GameSession> m_session;
    const GameState *m_state = nullptr;
    std::unique_ptr<TFormMain> m_main;
    std::unique_ptr<TFormPromptTelephone> m_dialog;
    std::uint32_t m_millisecond = 0;
    RandomGenerator m_random{[this] { return m_millisecond; }};
    QStringList m_messages;
};

void TestFormPromptTelephone::init()
{
    SetMessageSinkForTests([this](const QString &text) { m_messages << text; });
    m_session = std::make_unique<GameSession>();
    m_state = &m_session->state();
    Arrange(*m_session, [&](GameState &s) {
        s.PlayerName = u"Ольга"_s;
        s.CurrentQuestion.Question = u"Столица Франции?"_s;
        s.CurrentQuestion.Answers = {QString(), u"Париж"_s, u"Лион"_s, u"Ницца"_s, u"Марсель"_s};
        s.DifficultyTier = 1;
    });
    m_main = std::make_unique<TFormMain>(*m_session);
    m_dialog = std::make_unique<TFormPromptTelephone>(*m_session, *m_main);
    m_dialog->setRandom(m_random);
    // The tests tick the countdown and the auto-close themselves.
    m_dialog->Timer->setInterval(600'000);
    m_dialog->TimerAutoClose->setInterval(600'000);
}

void TestFormPromptTelephone::cleanup()
{
    m_dialog.reset();
    m_main.reset();
    m_state = nullptr;
    m_session.reset();
    SetMessageSinkForTests({});
}

void TestFormPromptTelephone::openDialog()
{
    m_main->show();
    m_dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_dialog.get()));
}

void TestFormPromptTelephone::click(QLabel *label)
{
    const QPoint at = label->mapTo(m_main.get(), label->rect().center());
    QTest::mouseClick(m_main->windowHandle(), Qt::LeftButton, {}, at);
}

void TestFormPromptTelephone::dial(const QString &digits)
{
    for (QChar digit : digits)
        click(m_dialog->Label[digit.digitValue()]);
}

void TestFormPromptTelephone::tickUntil(int secondsLeft)
{
    while (m_dialog->CallSecondsLeft() > secondsLeft)
        m_dialog->TimerTimer();
}

void TestFormPromptTelephone::layoutOfTheWindow()
{
    TFormPromptTelephone &d = *m_dialog;
    QCOMPARE(d.size(), QSize(576, 228));
    QCOMPARE(d.windowTitle(), u"Звонок другу"_s);
    // A panel on the main window, above its stage.
    QVERIFY(!d.isWindow());
    QCOMPARE(d.parentWidget(), m_main.get());
    QCOMPARE(d.palette().color(QPalette::Window), QColor(0, 12, 50));
    QVERIFY(!d.isVisible());

    QCOMPARE(d.ImageForm->geometry(), QRect(0, 0, 576, 228));
    QCOMPARE(d.LabelTitle->geometry(), QRect(12, 7, 148, 25));
    QCOMPARE(d.LabelTitle->text(), u"Звонок другу"_s);
    QCOMPARE(d.LabelTitle->cursor().shape(), Qt::SizeAllCursor);
    QCOMPARE(d.LabelTitle->font().pixelSize(), 13);
    QVERIFY(d.LabelTitle->font().bold());

    QCOMPARE(d.LabelTimer->geometry(), QRect(526, 5, 26, 30));
    QCOMPARE(d.LabelTimer->text(), u"30"_s);
    QCOMPARE(TextColor(d.LabelTimer), QColor(0, 255, 0));
    QCOMPARE(d.LabelTimer->cursor().shape(), Qt::WaitCursor);
    QCOMPARE(d.LabelTimer->font().pixelSize(), 19);

    QCOMPARE(d.LabelNumber->geometry(), QRect(32, 192, 113, 26));
    QVERIFY(d.LabelNumber->text().isEmpty());
    QCOMPARE(d.LabelNumber->font().pixelSize(), 16);

    QCOMPARE(d.LabelDialog->geometry(), QRect(192, 24, 369, 193));
    QCOMPARE(d.LabelDialog->text(), u"Итак, кому будем звонить?"_s);
    QVERIFY(d.LabelDialog->wordWrap());
    QCOMPARE(d.LabelDialog->font().pixelSize(), 24);
    QVERIFY(!d.LabelDialog->font().bold());

    for (QLabel *label : d.findChildren<QLabel *>())
        QVERIFY2(label->textFormat() == Qt::PlainText, qPrintable(label->objectName()));

    QVERIFY(!d.Timer->Enabled());
    QCOMPARE(d.Timer->ThreadPriority(), TThreadedTimer::tpHighest);
    QVERIFY(!d.TimerAutoClose->isActive());
}

void TestFormPromptTelephone::keypad_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QRect>("cap");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("name");
    const int columns[] = {10, 64, 118};
    const int rows[] = {42, 79, 116, 153};
    for (int digit = 1; digit <= 9; ++digit) {
        QTest::addRow("%d", digit) << digit
            << QRect(columns[(digit - 1) % 3], rows[(digit - 1) / 3], 51, 35)
            << QString::number(digit) << QString::number(digit);
    }
    QTest::newRow("*") << int(TFormPromptTelephone::KeyStartNum) << QRect(10, 153, 51, 35) << u"*"_s << u"StartNum"_s;
    QTest::newRow("0") << 0 << QRect(64, 153, 51, 35) << u"0"_s << u"0"_s;
    QTest::newRow("#") << int(TFormPromptTelephone::KeyReset) << QRect(118, 153, 51, 35) << u"#"_s << u"Reset"_s;
}

void TestFormPromptTelephone::keypad()
{
    QFETCH(int, key);
    QFETCH(QRect, cap);
    QFETCH(QString, text);
    QFETCH(QString, name);
    QLabel *image = m_dialog->Image[key];
    QLabel *label = m_dialog->Label[key];
    QCOMPARE(image->objectName(), u"Image"_s + name);
    QCOMPARE(label->objectName(), u"Label"_s + name);
    QCOMPARE(image->geometry(), cap);
    QRect labelRect = cap;
    if (key == 3)
        labelRect.setWidth(49);
    QCOMPARE(label->geometry(), labelRect);
    QCOMPARE(label->text(), text);
    QCOMPARE(label->font().pixelSize(), 21);
    QVERIFY(label->font().bold());
    QCOMPARE(label->alignment(), Qt::AlignCenter);
    // The key lies over its cap, the cap over the background.
    const QObjectList &stack = m_dialog->children();
    QVERIFY(stack.indexOf(label) > stack.indexOf(image));
    QVERIFY(stack.indexOf(image) > stack.indexOf(m_dialog->ImageForm));
    if (key == TFormPromptTelephone::KeyStartNum)
        QCOMPARE(label->toolTip(), u"Позвонить по данному номеру"_s);
    if (key == TFormPromptTelephone::KeyReset)
        QCOMPARE(label->toolTip(), u"Сброс"_s);
}

void TestFormPromptTelephone::pressedKeyHidesItsCapUntilRelease()
{
    openDialog();
    QLabel *label = m_dialog->Label[5];
    const QPoint at = m_dialog->mapTo(m_main.get(), label->geometry().center());
    QTest::mousePress(m_main->windowHandle(), Qt::LeftButton, {}, at);
    QVERIFY(m_dialog->Image[5]->isHidden());
    QVERIFY(m_dialog->DialledNumber().isEmpty());
    // Released over another key: the press's key still gets it.
    QTest::mouseRelease(m_main->windowHandle(), Qt::LeftButton, {}, m_dialog->mapTo(m_main.get(), m_dialog->Label[9]->geometry().center()));
    QVERIFY(!m_dialog->Image[5]->isHidden());
    QCOMPARE(m_dialog->DialledNumber(), u"5"_s);
}

void TestFormPromptTelephone::releaseAfterTimeOutDialsNothing()
{
    openDialog();
    dial(u"1234"_s);
    const QPoint at = m_dialog->mapTo(m_main.get(), m_dialog->Label[5]->geometry().center());
    QTest::mousePress(m_main->windowHandle(), Qt::LeftButton, {}, at);
    tickUntil(0); // the keys go dead while the button is still down
    QTest::mouseRelease(m_main->windowHandle(), Qt::LeftButton, {}, at);
    QCOMPARE(m_dialog->DialledNumber(), u"1234"_s);
    // The cap that stayed down is up again when the dialog next opens.
    m_dialog->TimerAutoCloseTimer();
    QVERIFY(!m_dialog->Image[5]->isHidden());
}

void TestFormPromptTelephone::doubleClickPressesTheKeyAgain()
{
    openDialog();
    QLabel *key = m_dialog->Label[7];
    const QPoint at = key->rect().center();
    const QPoint global = key->mapToGlobal(at);
    const auto send = [&](QEvent::Type type, Qt::MouseButtons buttons) {
        QMouseEvent event(type, at, global, Qt::LeftButton, buttons, {});
        QApplication::sendEvent(key, &event);
    };
    send(QEvent::MouseButtonPress, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, Qt::NoButton);
    send(QEvent::MouseButtonDblClick, Qt::LeftButton); // the second press of a quick pair
    QVERIFY(m_dialog->Image[7]->isHidden());
    send(QEvent::MouseButtonRelease, Qt::NoButton);
    QVERIFY(!m_dialog->Image[7]->isHidden());
    QCOMPARE(m_dialog->DialledNumber(), u"77"_s);
}

void TestFormPromptTelephone::digitsAppendUpToSevenAndResetClears()
{
    openDialog();
    dial(u"0123456"_s);
    QCOMPARE(m_dialog->DialledNumber(), u"0123456"_s);
    dial(u"7"_s); // an eighth digit only beeps
    QCOMPARE(m_dialog->DialledNumber(), u"0123456"_s);
    click(m_dialog->LabelReset);
    QVERIFY(m_dialog->DialledNumber().isEmpty());
    QVERIFY(m_dialog->LabelDialog->text() == u"Итак, кому будем звонить?"_s);
}

void TestFormPromptTelephone::shortNumberIsRefused()
{
    openDialog();
    for (const QString &digits : {QString(), u"1234"_s}) {
        click(m_dialog->LabelReset);
        dial(digits);
        click(m_dialog->LabelStartNum);
        QCOMPARE(m_dialog->LabelDialog->text(),
                 u"Ольга, прежде, чем позвонить, надо набрать 5-7 значный номер."_s);
        QVERIFY(m_dialog->Timer->Enabled());
        QVERIFY(!m_dialog->TimerAutoClose->isActive());
        QVERIFY(m_dialog->LabelStartNum->isEnabled());
        QVERIFY(m_dialog->FriendAnswer().isEmpty());
    }
}

void TestFormPromptTelephone::zeroesAtTierOneCallTheRightFriend()
{
    openDialog();
    dial(u"00000"_s);
    // Whatever the millisecond, divisor 2 + tier 1 leaves only right answers.
    for (std::uint32_t ms : {0u, 1234u, 43'200'000u, 86'399'999u}) {
        m_millisecond = ms;
        m_dialog->LabelStartNumMouseUp();
        QCOMPARE(m_dialog->ReliabilityDivisor(), 3);
        QCOMPARE(m_dialog->FriendAnswer(), u"Париж"_s);
    }
    QCOMPARE(m_dialog->LabelDialog->text(),
             u"Ольга, вы позвонили своему другу по номеру 00000. Насчет данного вопроса он думает, "
             "что верный ответ это Париж"_s);
    QVERIFY(!m_dialog->Timer->Enabled());
    QVERIFY(m_dialog->TimerAutoClose->isActive());
    for (QLabel *key : m_dialog->Label)
        QVERIFY(!key->isEnabled());
}

void TestFormPromptTelephone::numberOneKeepsDivisorThree()
{
    openDialog();
    dial(u"00001"_s);
    click(m_dialog->LabelStartNum);
    QCOMPARE(m_dialog->ReliabilityDivisor(), 3);
    QCOMPARE(m_dialog->FriendAnswer(), u"Париж"_s);
}

void TestFormPromptTelephone::wrongFriendNamesAWrongAnswerEvenAfterFiftyFifty()
{
    // A seven-digit prime: the friend is nearly always wrong, and the places
    // that fifty-fifty removed do not matter to him.
    Arrange(*m_session, [&](GameState &s) {
        s.FiftyHide1 = 1;
        s.FiftyHide2 = 2;
        s.AnswerPos = {0, 2, 3, 1, 4};
    });
    openDialog();
    dial(u"9999991"_s);
    m_millisecond = 40'000'000;
    click(m_dialog->LabelStartNum);
    QCOMPARE(m_dialog->ReliabilityDivisor(), 9999992);
    const QStringList wrong{u"Лион"_s, u"Ницца"_s, u"Марсель"_s};
    QVERIFY(wrong.contains(m_dialog->FriendAnswer()));
    QVERIFY(m_dialog->LabelDialog->text().endsWith(u"верный ответ это "_s + m_dialog->FriendAnswer()));
}

void TestFormPromptTelephone::countdownMessagesAndColours_data()
{
    QTest::addColumn<QString>("digits");
    QTest::addColumn<QString>("at20");
    QTest::addColumn<QString>("at10");
    QTest::addColumn<QString>("at0");
    QTest::newRow("empty") << QString()
        << u"Ольга, просто наберите 5-7 значный номер телефона своего друга, нажимая на кнопки с цифрами"_s
        << u"Хватит раздумывать, кому позвонить, Ольга. Тыркайте цифры наугад! Времени осталось очень мало!!!"_s
        << u"Поздравляю вас, Ольга!!! Время вышло, а вы даже циферки не набрали! Эта игра для более "
           "интеллектуальных людей, чем вы!"_s;
    QTest::newRow("partial") << u"12"_s
        << u"Ольга, лучше поспешите с набором номера т.к. время истекает!"_s
        << u"Ольга, набирайте любой номер! Вы же так хорошо начали! Времени осталось уже меньше 10-ти секунд!"_s
        << u"Ольга, вы же так хорошо начали... и плохо кончили! Время вышло..."_s;
    QTest::newRow("complete") << u"123456"_s
        << u"Чего тормозите, Ольга? Жмите позвонить (*) и все!"_s
        << u"Ольга, хватит тормозить!!! Жмите позвонить (*) без раздумываний, и побыстрее! Времени осталось "
           "очень мало!"_s
        << u"Ольга, вы даже очень затормозили! Времечко то ваше вышло! Мои вам соболезнования..."_s;
}

void TestFormPromptTelephone::countdownMessagesAndColours()
{
    QFETCH(QString, digits);
    QFETCH(QString, at20);
    QFETCH(QString, at10);
    QFETCH(QString, at0);
    openDialog();
    dial(digits);
    const QString greeting = m_dialog->LabelDialog->text();

    tickUntil(21);
    QCOMPARE(m_dialog->LabelTimer->text(), u"21"_s);
    QCOMPARE(m_dialog->LabelDialog->text(), greeting);
    QCOMPARE(TextColor(m_dialog->LabelTimer), QColor(0, 255, 0));
    tickUntil(20);
    QCOMPARE(m_dialog->LabelDialog->text(), at20);
    QCOMPARE(TextColor(m_dialog->LabelTimer), QColor(255, 255, 0));

    tickUntil(10);
    QCOMPARE(m_dialog->LabelDialog->text(), at10);
    QCOMPARE(TextColor(m_dialog->LabelTimer), QColor(255, 0, 0));
    QCOMPARE(m_dialog->LabelTimer->text(), u"10"_s);

    tickUntil(1);
    QVERIFY(m_dialog->Timer->Enabled());
    tickUntil(0);
    QCOMPARE(m_dialog->LabelDialog->text(), at0);
    QCOMPARE(m_dialog->LabelTimer->text(), u"0"_s);
    QVERIFY(!m_dialog->Timer->Enabled());
    QVERIFY(m_dialog->TimerAutoClose->isActive());
    QVERIFY(m_dialog->FriendAnswer().isEmpty());
    for (QLabel *key : m_dialog->Label)
        QVERIFY(!key->isEnabled());
}

void TestFormPromptTelephone::refusedCallAtTwelveIsReplacedAtTen()
{
    openDialog();
    tickUntil(12);
    dial(u"1234"_s);
    click(m_dialog->LabelStartNum);
    QCOMPARE(m_dialog->LabelDialog->text(),
             u"Ольга, прежде, чем позвонить, надо набрать 5-7 значный номер."_s);
    tickUntil(11);
    QCOMPARE(m_dialog->LabelDialog->text(),
             u"Ольга, прежде, чем позвонить, надо набрать 5-7 значный номер."_s);
    tickUntil(10);
    QCOMPARE(m_dialog->LabelDialog->text(),
             u"Ольга, набирайте любой номер! Вы же так хорошо начали! Времени осталось уже меньше 10-ти секунд!"_s);
}

void TestFormPromptTelephone::validCallWithFifteenLeftKeepsFifteen()
{
    openDialog();
    dial(u"24680"_s);
    tickUntil(15);
    click(m_dialog->LabelStartNum);
    QVERIFY(!m_dialog->Timer->Enabled());
    QCoreApplication::processEvents();
    QCOMPARE(m_dialog->LabelTimer->text(), u"15"_s);
    QCOMPARE(m_dialog->CallSecondsLeft(), 15);
    const QString answer = m_dialog->LabelDialog->text();
    QVERIFY(answer.startsWith(u"Ольга, вы позвонили своему другу по номеру 24680."_s));

    m_dialog->TimerAutoCloseTimer();
    QVERIFY(!m_dialog->isVisible());
    QCOMPARE(m_main->LabelDialog->text(), answer);
    QCOMPARE(m_dialog->LabelTimer->text(), u"30"_s);
}

void TestFormPromptTelephone::timeOutHidesAndHandsTheMessageToTheMainWindow()
{
    openDialog();
    tickUntil(0);
    const QString timeOut = m_dialog->LabelDialog->text();
    QVERIFY(timeOut.startsWith(u"Поздравляю вас, "_s));
    QVERIFY(m_dialog->isVisible());

    m_dialog->TimerAutoCloseTimer();
    QVERIFY(!m_dialog->isVisible());
    QCOMPARE(m_main->LabelDialog->text(), timeOut);
    // Everything back for the next opening.
    QVERIFY(!m_dialog->TimerAutoClose->isActive());
    QVERIFY(!m_dialog->Timer->Enabled());
    for (QLabel *key : m_dialog->Label)
        QVERIFY(key->isEnabled());
    QCOMPARE(m_dialog->LabelTimer->text(), u"30"_s);
    QCOMPARE(TextColor(m_dialog->LabelTimer), QColor(0, 255, 0));
    QCOMPARE(m_dialog->LabelDialog->text(), u"А кому сейчас будем звонить?"_s);
    QCOMPARE(m_dialog->CallSecondsLeft(), 30);
    QVERIFY(m_dialog->FriendAnswer().isEmpty());
}

void TestFormPromptTelephone::dialledDigitsStayForTheNextOpening()
{
    openDialog();
    dial(u"555123"_s);
    click(m_dialog->LabelStartNum);
    m_dialog->TimerAutoCloseTimer();
    QVERIFY(!m_dialog->isVisible());

    m_dialog->show();
    QCOMPARE(m_dialog->DialledNumber(), u"555123"_s);
    QCOMPARE(m_dialog->LabelDialog->text(), u"А кому сейчас будем звонить?"_s);
    QVERIFY(m_dialog->Timer->Enabled());
    QVERIFY(m_dialog->LabelStartNum->isEnabled());
}

void TestFormPromptTelephone::mainWindowHeldWhileShown()
{
    openDialog();
    QVERIFY(!m_main->Stage->isEnabled());
    QVERIFY(m_main->isHeldBy(m_dialog.get()));
    m_dialog->TimerAutoCloseTimer();
    QVERIFY(m_main->Stage->isEnabled());
    QVERIFY(!m_main->isHeldBy(m_dialog.get()));
}

void TestFormPromptTelephone::closingByTheWindowSystemClosesTheMainWindow()
{
    openDialog();
    QVERIFY(m_main->isVisible());
    m_dialog->close();
    QVERIFY(!m_dialog->isVisible());
    QVERIFY(!m_main->isVisible());
}

void TestFormPromptTelephone::titleDragsTheDialog()
{
    openDialog();
    QLabel *title = m_dialog->LabelTitle;
    const QPoint start = m_dialog->pos();
    const QPoint local = title->rect().center();
    const QPoint global = title->mapToGlobal(local);
    QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton, {});
    QApplication::sendEvent(title, &press);
    // Without a window manager the dialog follows the mouse by hand.
    QMouseEvent move(QEvent::MouseMove, local + QPoint(30, 20), global + QPoint(30, 20), Qt::NoButton,
                     Qt::LeftButton, {});
    QApplication::sendEvent(title, &move);
    QMouseEvent release(QEvent::MouseButtonRelease, local + QPoint(30, 20), global + QPoint(30, 20),
                        Qt::LeftButton, Qt::NoButton, {});
    QApplication::sendEvent(title, &release);
    QCOMPARE(m_dialog->pos(), start + QPoint(30, 20));
}

QTEST_MAIN(TestFormPromptTelephone)
#include "tst_formprompttelephone.moc"
