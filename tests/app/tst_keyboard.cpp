// The game from the keyboard: keys press the buttons they stand for with the
// mouse's semantics (the look on the key's press, the action on its release,
// and only if the button still means what it meant at the press).
#include "game/GameSession.h"
#include "app/Keyboard.h"
#include "forms/MessageBox.h"
#include "game/QuestionDraw.h"
#include "app/TFormMain.h"
#include "lifelines/TFormPromptTelephone.h"
#include "widgets/TThreadedTimer.h"
#include "MainWindowBench.h"

#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

class TestKeyboard : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void answerKeysInEveryLayout_data();
    void answerKeysInEveryLayout();
    void heldKeyActsOnlyIfTheButtonStillMeansTheSame();
    void moneyIsTakenOnlyWithCtrlBackspaceDuringAGame();
    void heldStageTakesNoKeysButThePhoneTakesItsOwn();
    void f1ShowsTheKeysAndEscapePutsThemAway();
    void messageTakesEveryKeyButF11();

private:
    void tap(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    bool startGame();

    MainWindowBench m_bench;
    Keyboard *m_keyboard = nullptr;
};

void TestKeyboard::init()
{
    QVERIFY(m_bench.Open());
    m_bench.form->setDialogs(nullptr, m_bench.phone.get(), nullptr, nullptr, nullptr);
    m_keyboard = new Keyboard(*m_bench.form);
    m_bench.form->show();
}

void TestKeyboard::cleanup()
{
    m_bench.Close();
}

namespace {

// A key event as the window system sends it (Cyrillic keys included).
void send(QWidget *to, QEvent::Type type, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    const QString text = key < 0x10000 && QChar(key).isPrint() ? QString(QChar(key)) : QString();
    QKeyEvent event(type, key, modifiers, text);
    QApplication::sendEvent(to, &event);
}

} // namespace

void TestKeyboard::tap(int key, Qt::KeyboardModifiers modifiers)
{
    send(m_bench.form.get(), QEvent::KeyPress, key, modifiers);
    send(m_bench.form.get(), QEvent::KeyRelease, key, modifiers);
}

bool TestKeyboard::startGame()
{
    tap(Qt::Key_N, Qt::ControlModifier);
    m_bench.form->Timer->setEnabled(false); // the test is the clock
    return m_bench.session->state().GameActive;
}

void TestKeyboard::answerKeysInEveryLayout_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("place");
    QTest::newRow("A") << int(Qt::Key_A) << 1;
    QTest::newRow("2") << int(Qt::Key_2) << 2;
    QTest::newRow("C") << int(Qt::Key_C) << 3;
    QTest::newRow("4") << int(Qt::Key_4) << 4;
    // The same physical keys on a Russian layout.
    QTest::newRow("Ф") << 0x0424 << 1;
    QTest::newRow("И") << 0x0418 << 2;
    QTest::newRow("С") << 0x0421 << 3;
    QTest::newRow("В") << 0x0412 << 4;
}

void TestKeyboard::answerKeysInEveryLayout()
{
    QFETCH(int, key);
    QFETCH(int, place);
    QVERIFY(startGame());
    const GameState &state = m_bench.session->state();
    const bool right = state.AnswerPos[place] == 1;
    const std::array<QLabel *, 5> highlights{nullptr, m_bench.form->ImageAnswerA, m_bench.form->ImageAnswerB,
                                             m_bench.form->ImageAnswerC, m_bench.form->ImageAnswerD};

    send(m_bench.form.get(), QEvent::KeyPress, key);
    QVERIFY2(highlights[place]->isVisibleTo(m_bench.form.get()), "the press shows the pressed place");
    QCOMPARE(state.QuestionNumber, 1);
    send(m_bench.form.get(), QEvent::KeyRelease, key);
    QVERIFY(!highlights[place]->isVisibleTo(m_bench.form.get()));
    if (right)
        QCOMPARE(state.QuestionNumber, 2);
    else
        QVERIFY(!state.GameActive);
}

void TestKeyboard::heldKeyActsOnlyIfTheButtonStillMeansTheSame()
{
    QVERIFY(startGame());
    const GameState &state = m_bench.session->state();
    const int right = QuestionDraw::CorrectPlace(state.AnswerPos);
    const int held = right == 1 ? 2 : 1;
    send(m_bench.form.get(), QEvent::KeyPress, Qt::Key_1 + held - 1);
    // Another key answers meanwhile: the held place now shows the next question.
    tap(Qt::Key_1 + right - 1);
    QCOMPARE(state.QuestionNumber, 2);
    send(m_bench.form.get(), QEvent::KeyRelease, Qt::Key_1 + held - 1);
    QCOMPARE(state.QuestionNumber, 2);
    QVERIFY2(state.GameActive, "the held key answered a question it never saw");
}

void TestKeyboard::moneyIsTakenOnlyWithCtrlBackspaceDuringAGame()
{
    QVERIFY(startGame());
    const GameState &state = m_bench.session->state();
    tap(QuestionDraw::CorrectPlace(state.AnswerPos) + Qt::Key_1 - 1);
    tap(Qt::Key_Backspace);
    tap(Qt::Key_N, Qt::ControlModifier);
    QVERIFY2(state.GameActive, "Backspace alone or Ctrl+N during a game ends nothing");
    tap(Qt::Key_Backspace, Qt::ControlModifier);
    QVERIFY(!state.GameActive);
    QCOMPARE(state.Leaders[1].Name, QStringLiteral("Вера"));
    QCOMPARE(state.Leaders[1].Step, 1); // the 100 roubles of the first question
}

void TestKeyboard::heldStageTakesNoKeysButThePhoneTakesItsOwn()
{
    QVERIFY(startGame());
    tap(Qt::Key_F3);
    QVERIFY(m_bench.phone->isVisible());
    QVERIFY(!m_bench.form->Stage->isEnabled());
    for (int key : {Qt::Key_1, Qt::Key_2, Qt::Key_NumberSign, Qt::Key_7, Qt::Key_0})
        tap(key);
    QCOMPARE(m_bench.phone->DialledNumber(), QStringLiteral("70"));
    // "#" as Shift+3, Shift let go first: the release comes as "3" from the
    // same physical key and ends the press of "#", which clears the number.
    constexpr quint32 key3 = 12;
    QKeyEvent press(QEvent::KeyPress, Qt::Key_NumberSign, Qt::ShiftModifier, key3, 0, 0, QStringLiteral("#"));
    QApplication::sendEvent(m_bench.form.get(), &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_3, Qt::NoModifier, key3, 0, 0, QStringLiteral("3"));
    QApplication::sendEvent(m_bench.form.get(), &release);
    QCOMPARE(m_bench.phone->DialledNumber(), QString());
    QCOMPARE(m_bench.session->state().QuestionNumber, 1);
    QVERIFY(m_bench.session->state().GameActive);
}

void TestKeyboard::f1ShowsTheKeysAndEscapePutsThemAway()
{
    tap(Qt::Key_F1);
    QVERIFY(m_keyboard->KeysPanel()->isVisible());
    QVERIFY(m_bench.form->rect().contains(m_keyboard->KeysPanel()->geometry()));
    tap(Qt::Key_Escape);
    QVERIFY(!m_keyboard->KeysPanel()->isVisible());
}

void TestKeyboard::messageTakesEveryKeyButF11()
{
    int soundToggles = 0;
    int windowToggles = 0;
    m_keyboard->setOnToggleSound([&] { ++soundToggles; });
    m_keyboard->setOnToggleWindow([&] { ++windowToggles; });
    SetMessageSinkForTests({}); // a real message on the window, answered below
    QTimer::singleShot(0, m_bench.form.get(), [this] {
        tap(Qt::Key_M);
        tap(Qt::Key_F11);
        auto *box = m_bench.form->findChild<QWidget *>(QStringLiteral("GameMessage"));
        QWidget *ok = box ? box->focusWidget() : nullptr;
        send(ok ? ok : m_bench.form.get(), QEvent::KeyPress, Qt::Key_Return);
    });
    ShowMessage(m_bench.form.get(), QStringLiteral("Проба"));
    QCOMPARE(windowToggles, 1);
    QCOMPARE(soundToggles, 0);
}

QTEST_MAIN(TestKeyboard)
#include "tst_keyboard.moc"
