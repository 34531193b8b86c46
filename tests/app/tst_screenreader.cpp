// What a screen reader learns of the game through Qt's accessibility
// interfaces: every control's role and name, and the changes it is told of.
#include "forms/Accessible.h"
#include "game/GameSession.h"
#include "forms/MessageBox.h"
#include "app/TFormMain.h"
#include "lifelines/TFormPromptTelephone.h"
#include "widgets/TThreadedTimer.h"
#include "TestBase.h"

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
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_previous;
    std::unique_ptr<GameSession> m_session;
    std::unique_ptr<TFormMain> m_form;
    std::unique_ptr<TFormPromptTelephone> m_phone;
};

void TestScreenReader::initTestCase()
{
    Accessible::SetAnnouncementWatcherForTests([](QWidget *widget) { announced() << widget; });
}

void TestScreenReader::init()
{
    SetMessageSinkForTests([](const QString &) {});
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_dir->path()));
    QVERIFY(QDir().mkdir(QStringLiteral("QA")));
    QVERIFY(TestBase::Write(QStringLiteral("QA/Base.QA"), TestBase::Make(3, 1)));
    m_session = std::make_unique<GameSession>();
    m_session->ChooseBase(QStringLiteral("Base.QA"));
    m_session->NamePlayer(QStringLiteral("Вера"), QStringLiteral("Проверочная база"), 45);
    m_form = std::make_unique<TFormMain>(*m_session);
    m_form->TimerForMenu->setEnabled(false);
    m_phone = std::make_unique<TFormPromptTelephone>(*m_session, *m_form);
    m_form->show();
    m_phone->show();
    m_phone->hide();
    announced().clear();
}

void TestScreenReader::cleanup()
{
    m_phone.reset();
    m_form.reset();
    m_session.reset();
    QDir::setCurrent(m_previous);
    m_dir.reset();
    SetMessageSinkForTests({});
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
    row("LabelTimer", QAccessible::Clock, "Осталось секунд: нет");
    row("ImagePos5", QAccessible::ListItem, "Вопрос 5: 1000 рублей");
    row("TFormPromptTelephone", QAccessible::Dialog, "Звонок другу");
    row("LabelReset", QAccessible::Button, "#");
}

void TestScreenReader::everyControlHasItsRoleAndName()
{
    QFETCH(QString, control);
    QFETCH(int, role);
    QFETCH(QString, name);
    QObject *object = m_form->findChild<QObject *>(control);
    QVERIFY(object);
    QAccessibleInterface *reader = readerOf(object);
    QVERIFY(reader);
    QCOMPARE(int(reader->role()), role);
    QCOMPARE(reader->text(QAccessible::Name), name);
}

void TestScreenReader::aQuestionIsReadAndAnnouncedWithItsAnswers()
{
    m_session->NewGameOrTakeMoney();
    m_form->Timer->setEnabled(false);
    const GameState &state = m_session->state();
    QVERIFY(state.GameActive);

    QCOMPARE(readerOf(m_form->LabelQuestion)->text(QAccessible::Name), state.CurrentQuestion.Question);
    QVERIFY(announced().contains(m_form->LabelQuestion));
    QVERIFY(announced().contains(m_form->LabelDialog));
    const QString answerA = state.CurrentQuestion.Answers[state.AnswerPos[1]];
    QCOMPARE(readerOf(m_form->LabelClkA)->text(QAccessible::Name), QStringLiteral("A: ") + answerA);
    QCOMPARE(readerOf(m_form->ImagePos[1])->text(QAccessible::Name),
             QStringLiteral("Вопрос 1: 100 рублей, текущий вопрос"));
    QCOMPARE(readerOf(m_form->LabelDialog)->text(QAccessible::Name), m_form->LabelDialog->text());

    // Fifty-fifty takes two answers away; the reader hears their places empty.
    announced().clear();
    m_session->UseLifeline(GameSession::Lifeline::FiftyFifty);
    const std::array<QLabel *, 5> areas{nullptr, m_form->LabelClkA, m_form->LabelClkB, m_form->LabelClkC,
                                        m_form->LabelClkD};
    for (int place : {state.FiftyHide1, state.FiftyHide2}) {
        QVERIFY(announced().contains(areas[place]));
        QCOMPARE(readerOf(areas[place])->text(QAccessible::Name), QString(QChar(u'A' + place - 1)) + ": ");
    }
}

QTEST_MAIN(TestScreenReader)
#include "tst_screenreader.moc"
