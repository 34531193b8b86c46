// What a screen reader learns of the game through Qt's accessibility
// interfaces: every control's role and name, and the changes it is told of.
#include "forms/Accessible.h"
#include "game/GameSession.h"
#include "forms/MessageBox.h"
#include "app/TFormMain.h"
#include "lifelines/TFormPromptTelephone.h"
#include "widgets/TThreadedTimer.h"
#include "MainWindowBench.h"

#include <QAccessible>
#include <QDir>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

QAccessibleInterface *readerOf(QObject *object)
{
    return QAccessible::queryAccessibleInterface(object);
}

// The controls whose names the reader was told changed.
QList<QObject *> &announced()
{
    static QList<QObject *> objects;
    return objects;
}

} // namespace

class TestScreenReader : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void everyControlHasItsRoleAndName_data();
    void everyControlHasItsRoleAndName();
    void aQuestionIsReadAndAnnouncedWithItsAnswers();

private:
    MainWindowBench m_bench;
};

void TestScreenReader::initTestCase()
{
    Accessible::SetAnnouncementWatcherForTests([](QWidget *widget) { announced() << widget; });
}

void TestScreenReader::init()
{
    QVERIFY(m_bench.Open());
    m_bench.form->show();
    m_bench.phone->show();
    m_bench.phone->hide();
    announced().clear();
}

void TestScreenReader::cleanup()
{
    m_bench.Close();
}

void TestScreenReader::everyControlHasItsRoleAndName_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("role");
    QTest::addColumn<QString>("name");
    const auto row = [](const char *control, QAccessible::Role role, const char *name) {
        QTest::newRow(control) << QString::fromUtf8(control) << int(role) << QString::fromUtf8(name);
    };
    row("LabelBtnNewGame", QAccessible::Button, "Новая игра...");
    row("LabelBtnClose", QAccessible::Button, "Выход");
    row("LabelBtnAbout", QAccessible::Button, "О программе");
    row("LabelPrompt50", QAccessible::Button, "50 на 50");
    row("LabelPromptTel", QAccessible::Button, "Звонок другу");
    row("LabelPromptMan", QAccessible::Button, "Помощь зала");
    row("LabelClkC", QAccessible::Button, "C: ");
    row("LabelTimer", QAccessible::StaticText, "Осталось секунд: нет");
    row("ImagePos5", QAccessible::ListItem, "Вопрос 5: 1000 рублей");
    row("TFormPromptTelephone", QAccessible::Dialog, "Звонок другу");
    row("LabelReset", QAccessible::Button, "#");
}

void TestScreenReader::everyControlHasItsRoleAndName()
{
    QFETCH(QString, control);
    QFETCH(int, role);
    QFETCH(QString, name);
    QObject *object = m_bench.form->findChild<QObject *>(control);
    QVERIFY(object);
    QAccessibleInterface *reader = readerOf(object);
    QVERIFY(reader);
    QCOMPARE(int(reader->role()), role);
    QCOMPARE(reader->text(QAccessible::Name), name);
}

void TestScreenReader::aQuestionIsReadAndAnnouncedWithItsAnswers()
{
    m_bench.session->NewGameOrTakeMoney();
    m_bench.form->Timer->setEnabled(false);
    const GameState &state = m_bench.session->state();
    QVERIFY(state.GameActive);

    QCOMPARE(readerOf(m_bench.form->LabelQuestion)->text(QAccessible::Name), state.CurrentQuestion.Question);
    QVERIFY(announced().contains(m_bench.form->LabelQuestion));
    QVERIFY(announced().contains(m_bench.form->LabelDialog));
    const QString answerA = state.CurrentQuestion.Answers[state.AnswerPos[1]];
    QCOMPARE(readerOf(m_bench.form->LabelClkA)->text(QAccessible::Name), QStringLiteral("A: ") + answerA);
    QCOMPARE(readerOf(m_bench.form->ImagePos[1])->text(QAccessible::Name),
             QStringLiteral("Вопрос 1: 100 рублей, текущий вопрос"));
    QCOMPARE(readerOf(m_bench.form->LabelDialog)->text(QAccessible::Name), m_bench.form->LabelDialog->text());

    // Fifty-fifty takes two answers away; the reader hears their places empty.
    announced().clear();
    m_bench.session->UseLifeline(GameSession::Lifeline::FiftyFifty);
    const std::array<QLabel *, 5> areas{nullptr, m_bench.form->LabelClkA, m_bench.form->LabelClkB, m_bench.form->LabelClkC,
                                        m_bench.form->LabelClkD};
    for (int place : {state.FiftyHide1, state.FiftyHide2}) {
        QVERIFY(announced().contains(areas[place]));
        QCOMPARE(readerOf(areas[place])->text(QAccessible::Name), QString(QChar(u'A' + place - 1)) + ": ");
    }
}

QTEST_MAIN(TestScreenReader)
#include "tst_screenreader.moc"
