#include "forms/AutoSizeLabel.h"
#include "questionbase/Cp1251.h"
#include "game/GameSession.h"
#include "questionbase/GameState.h"
#include "forms/MessageBox.h"
#include "player/PlayerSettings.h"
#include "forms/PressLabel.h"
#include "app/TFormMain.h"
#include "player/TFormNewNameGamer.h"
#include "player/TFormTop5.h"
#include "widgets/TLCD99.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <functional>
#include <memory>

namespace {

// Changes the session's position of play the way a test needs it.
void Arrange(GameSession &session, const std::function<void(GameState &)> &change)
{
    GameState position = session.state();
    change(position);
    session.Restore(position);
}

QByteArray Flipped(const QString &text)
{
    QByteArray bytes = Cp1251::Encode(text);
    for (char &b : bytes)
        b = char(FlipChar(std::uint8_t(b)));
    return bytes;
}

// A base file as far as the dialog reads it: the title and the level counts.
QByteArray BaseBytes(const QString &title, int perLevel)
{
    QByteArray counts;
    for (int level = 1; level <= 15; ++level)
        counts += (level > 1 ? "\x13" : "") + QByteArray::number(perLevel);
    return Flipped(title) + "\x13\r\n" + "\r\n" + Flipped("0") + "\r\n" + Flipped("0") + "\r\n" + counts
         + "\r\n";
}

QByteArray ReadFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

bool WriteFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Typing, one key event per character (any character, not only Latin-1).
void Type(QWidget *widget, const QString &text)
{
    for (const QChar ch : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(widget, &release);
    }
}

void Click(QWidget *label)
{
    QTest::mousePress(label, Qt::LeftButton);
    QTest::mouseRelease(label, Qt::LeftButton);
}

const QString Kino = QString::fromUtf8("Кино");

} // namespace

// Each test runs in a fresh working directory with a fresh main window and
// dialogs; message boxes are recorded instead of shown.
class TestPlayerDialogs : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void firstStartCreatesTheSettingsAndDescribesTheBase();
    void confirmationSetsUpTheMainWindowAndHides();
    void emptyNameBoxPlaysAnonymouslyAndKeepsTheList();
    void typedNameIsStoredFirstAndNeverTwice_data();
    void typedNameIsStoredFirstAndNeverTwice();
    void swappedKeysAreReadAndWrittenBackInOrder();
    void unreadableSettingsAreReplaced_data();
    void unreadableSettingsAreReplaced();
    void nameArrowsFromAFreshStart();
    void baseArrowsChooseAndDescribe();
    void oneBaseKeepsItsIndex();
    void baseThatCannotBeDescribedIsReportedAndTheDialogStays();
    void noBasesAtAllGetsAClearMessage();
    void settingsThatCannotBeWrittenKeepTheDialogOpen();
    void nameBoxTakesOnlyWhatTheFileCanHold();
    void pressedLooks();
    void clicksThroughTheWindowReachTheButtons();
    void describingDuringAGameLeavesTheGameCountsAlone();
    void closingTheNewGameDialogClosesTheMainWindow();

    void leaderboardShowsTheFiveRows();
    void leaderboardOkHidesAndReleasesTheMainWindow();
    void leaderboardIsDraggedByItsTitle_data();
    void leaderboardIsDraggedByItsTitle();
    void closingTheLeaderboardClosesTheMainWindow();

private:
    QString settings() const { return m_dir->filePath("Zorban.ini"); }
    void writeBase(const QString &name, const QString &title, int perLevel);

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_oldCurrent;
    QStringList m_messages;
    std::unique_ptr<GameSession> m_session;
    const GameState *m_state = nullptr;
    std::unique_ptr<TFormMain> m_main;
    std::unique_ptr<TFormNewNameGamer> m_newName;
    std::unique_ptr<TFormTop5> m_top5;
};

void TestPlayerDialogs::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_oldCurrent = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_dir->path()));
    m_messages.clear();
    SetMessageSinkForTests([this](const QString &text) { m_messages.append(text); });
    m_session = std::make_unique<GameSession>();
    m_state = &m_session->state();
    m_main = std::make_unique<TFormMain>(*m_session);
    m_newName = std::make_unique<TFormNewNameGamer>(*m_session, *m_main);
    m_top5 = std::make_unique<TFormTop5>(*m_session, *m_main);
    m_main->setDialogs(nullptr, nullptr, m_newName.get(), nullptr, m_top5.get());
    m_main->show();
}

void TestPlayerDialogs::cleanup()
{
    m_top5.reset();
    m_newName.reset();
    m_main.reset();
    m_state = nullptr;
    m_session.reset();
    SetMessageSinkForTests({});
    QDir::setCurrent(m_oldCurrent);
    m_dir.reset();
}

void TestPlayerDialogs::writeBase(const QString &name, const QString &title, int perLevel)
{
    QVERIFY(QDir(m_dir->path()).mkpath("QA"));
    QVERIFY(WriteFile(m_dir->filePath("QA/" + name), BaseBytes(title, perLevel)));
}

// ---- The new-game dialog --------------------------------------------------------

void TestPlayerDialogs::firstStartCreatesTheSettingsAndDescribesTheBase()
{
    writeBase("Base.QA", Kino, 100);
    m_newName->show();
    QCOMPARE(ReadFile(settings()), QByteArray("[Base]=Base.QA\r\n[Names]=0\r\n"));
    QCOMPARE(m_state->CurrentBaseFile, QString("Base.QA"));
    QCOMPARE(m_newName->LabelNBase->text(), Kino + " (Base.QA)");
    QCOMPARE(m_newName->BaseFileList, QStringList{"Base.QA"});
    QVERIFY(!m_main->Stage->isEnabled());
    QVERIFY(m_main->isHeldBy(m_newName.get()));
    QCoreApplication::processEvents();
    QCOMPARE(m_messages, QStringList());
}

void TestPlayerDialogs::confirmationSetsUpTheMainWindowAndHides()
{
    writeBase("Base.QA", Kino, 100);
    m_newName->show();
    m_main->LabelScore->setText("64000");
    m_main->LabelTimer->setText("12");
    m_main->LCD99->setValue("1:02.3");
    Type(m_newName->EditNewNameGamer, QString::fromUtf8("Вася"));
    Click(m_newName->LabelBtnOk);

    QCOMPARE(m_state->PlayerName, QString::fromUtf8("Вася"));
    QCOMPARE(m_main->LabelDialog->text(),
             QString::fromUtf8("Приветствую вас, Вася, на всемиизвестной, а также любимой телеигре "
                               "\"Зорбан!\"! Теперь мы можем начать игру!"));
    // Fifteen levels of 100 questions.
    QCOMPARE(m_main->LblNmQA->text(), Kino + QString::fromUtf8(" (Base.QA). Всего вопросов: 1500."));
    QCOMPARE(m_main->LabelScore->text(), QString());
    QCOMPARE(m_main->LabelTimer->text(), QString());
    QCOMPARE(m_main->LCD99->Value().trimmed(), QString());
    QVERIFY(m_newName->isHidden());
    QVERIFY(m_main->Stage->isEnabled());
    QCOMPARE(m_main->LabelNameGamer->text(), QString::fromUtf8("Играет Вася"));
    QCOMPARE(ReadFile(settings()), "[Base]=Base.QA\r\n[Names]=1\r\n" + Cp1251::Encode(QString::fromUtf8("Вася")) + "\r\n");
}

void TestPlayerDialogs::emptyNameBoxPlaysAnonymouslyAndKeepsTheList()
{
    writeBase("Base.QA", Kino, 1);
    const QByteArray before = "[Base]=Base.QA\r\n[Names]=2\r\nAnn\r\nBob\r\n";
    QVERIFY(WriteFile(settings(), before));
    m_newName->show();
    Click(m_newName->LabelBtnOk);
    QCOMPARE(m_state->PlayerName, QString::fromUtf8("Анонимный игрок"));
    QVERIFY(m_main->LabelDialog->text().startsWith(QString::fromUtf8("Приветствую вас, Анонимный игрок, на")));
    QCOMPARE(m_main->LabelNameGamer->text(), QString::fromUtf8("Играет Анонимный игрок"));
    QCOMPARE(ReadFile(settings()), before);
}

void TestPlayerDialogs::typedNameIsStoredFirstAndNeverTwice_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("typed again exactly") << "Bob" << QByteArray("[Base]=Base.QA\r\n[Names]=2\r\nAnn\r\nBob\r\n");
    QTest::newRow("other letter case") << "BOB" << QByteArray("[Base]=Base.QA\r\n[Names]=3\r\nBOB\r\nAnn\r\nBob\r\n");
}

void TestPlayerDialogs::typedNameIsStoredFirstAndNeverTwice()
{
    QFETCH(QString, typed);
    QFETCH(QByteArray, expected);
    writeBase("Base.QA", Kino, 1);
    QVERIFY(WriteFile(settings(), "[Base]=Base.QA\r\n[Names]=2\r\nAnn\r\nBob\r\n"));
    m_newName->show();
    QTest::keyClicks(m_newName->EditNewNameGamer, typed);
    Click(m_newName->LabelBtnOk);
    QCOMPARE(ReadFile(settings()), expected);
    QCOMPARE(m_state->PlayerName, typed);
}

void TestPlayerDialogs::swappedKeysAreReadAndWrittenBackInOrder()
{
    writeBase("Other.QA", Kino, 2);
    QVERIFY(WriteFile(settings(), "[Names]=1\r\nAnn\r\n[Base]=Other.QA\r\nleft over\r\n"));
    m_newName->show();
    QCOMPARE(m_state->CurrentBaseFile, QString("Other.QA"));
    QCOMPARE(m_newName->KnownPlayerNames, QStringList{"Ann"});
    Click(m_newName->LabelBtnOk);
    QCOMPARE(ReadFile(settings()), QByteArray("[Base]=Other.QA\r\n[Names]=1\r\nAnn\r\n"));
}

void TestPlayerDialogs::unreadableSettingsAreReplaced_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<QString>("base");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<bool>("replaced");
    QTest::newRow("huge count, not enough lines") << QByteArray("[Base]=Other.QA\r\n[Names]=2000000000\r\nAnn\r\n")
                                                  << "Other.QA" << QStringList{"Ann"} << false;
    QTest::newRow("path-like base name: only the name is refused")
        << QByteArray("[Base]=../Other.QA\r\n[Names]=1\r\nAnn\r\n") << "Base.QA" << QStringList{"Ann"} << false;
    QTest::newRow("count not a number") << QByteArray("[Base]=Other.QA\r\n[Names]=x\r\n") << "Base.QA"
                                        << QStringList() << true;
}

void TestPlayerDialogs::unreadableSettingsAreReplaced()
{
    QFETCH(QByteArray, contents);
    QFETCH(QString, base);
    QFETCH(QStringList, names);
    QFETCH(bool, replaced);
    writeBase("Base.QA", Kino, 1);
    writeBase("Other.QA", "Other", 1);
    QVERIFY(WriteFile(settings(), contents));
    m_newName->show();
    QCoreApplication::processEvents();
    QCOMPARE(m_newName->KnownPlayerNames, names);
    QCOMPARE(m_state->CurrentBaseFile, base);
    QCOMPARE(ReadFile(settings()), replaced ? PlayerSettings::DefaultContents() : contents);
    QCOMPARE(m_messages, QStringList());
    // Confirmed without a name: every name that was read is written back.
    Click(m_newName->LabelBtnOk);
    QCOMPARE(ReadFile(settings()), PlayerSettings::Compose(base, QString(), names));
}

void TestPlayerDialogs::nameArrowsFromAFreshStart()
{
    writeBase("Base.QA", Kino, 1);
    QVERIFY(WriteFile(settings(), "[Base]=Base.QA\r\n[Names]=3\r\nAnn\r\nBob\r\nCid\r\n"));
    m_newName->show();
    Click(m_newName->LabelNextN2);
    QCOMPARE(m_newName->EditNewNameGamer->text(), QString("Bob"));
    QCOMPARE(m_newName->KnownNameIndex, 1);

    // A fresh start again, this time the upper arrow first.
    m_newName = std::make_unique<TFormNewNameGamer>(*m_session, *m_main);
    m_newName->show();
    Click(m_newName->LabelNextN1);
    QCOMPARE(m_newName->EditNewNameGamer->text(), QString("Cid"));
    QCOMPARE(m_newName->KnownNameIndex, 2);
}

void TestPlayerDialogs::baseArrowsChooseAndDescribe()
{
    writeBase("a.qa", "First", 1);
    writeBase("B.QA", "Second", 2);
    writeBase("c.QA", "Third", 3);
    QVERIFY(WriteFile(settings(), "[Base]=a.qa\r\n[Names]=0\r\n"));
    m_newName->show();
    QCOMPARE(m_newName->BaseFileList, (QStringList{"a.qa", "B.QA", "c.QA"}));

    Click(m_newName->LabelBckB);
    QCOMPARE(m_newName->BaseFileIndex, 1);
    QCOMPARE(m_state->CurrentBaseFile, QString("B.QA"));
    QCOMPARE(m_newName->LabelNBase->text(), QString("Second (B.QA)"));
    QCOMPARE(m_state->LevelCounts[15], 2);

    Click(m_newName->LabelNxtB);
    Click(m_newName->LabelNxtB);
    QCOMPARE(m_newName->BaseFileIndex, 2);
    QCOMPARE(m_state->CurrentBaseFile, QString("c.QA"));
    Click(m_newName->LabelBtnOk);
    QCOMPARE(m_main->LblNmQA->text(), QString::fromUtf8("Third (c.QA). Всего вопросов: 45."));
    QVERIFY(ReadFile(settings()).startsWith("[Base]=c.QA\r\n"));
}

void TestPlayerDialogs::oneBaseKeepsItsIndex()
{
    writeBase("Only.QA", "Only", 1);
    QVERIFY(WriteFile(settings(), "[Base]=Only.QA\r\n[Names]=0\r\n"));
    m_newName->show();
    Click(m_newName->LabelBckB);
    QCOMPARE(m_newName->BaseFileIndex, 0);
    Click(m_newName->LabelNxtB);
    QCOMPARE(m_newName->BaseFileIndex, 0);
    QCOMPARE(m_newName->LabelNBase->text(), QString("Only (Only.QA)"));
    QCOMPARE(m_messages, QStringList());
}

void TestPlayerDialogs::baseThatCannotBeDescribedIsReportedAndTheDialogStays()
{
    writeBase("Base.QA", Kino, 1);
    QVERIFY(WriteFile(settings(), "[Base]=Gone.QA\r\n[Names]=0\r\n"));
    m_newName->show();
    QTRY_COMPARE(m_messages.size(), 1);
    QVERIFY(m_messages.first().contains("QA/Gone.QA"));
    QVERIFY(m_messages.first().contains("No such file", Qt::CaseInsensitive));
    QCOMPARE(m_newName->LabelNBase->text(), QString::fromUtf8("Имя"));
    QVERIFY(m_newName->isVisible());

    // A broken count line: reported at once, the title stays, the name is kept.
    QVERIFY(WriteFile(m_dir->filePath("QA/Bad.QA"), Flipped("Bad") + "\r\n\r\n\r\n\r\n1\x13x\r\n"));
    m_newName->BaseFileList.append("Bad.QA");
    Click(m_newName->LabelNxtB);
    QCOMPARE(m_state->CurrentBaseFile, QString("Bad.QA"));
    QCOMPARE(m_messages.size(), 2);
    QVERIFY(m_messages.last().contains("QA/Bad.QA"));
    QCOMPARE(m_newName->LabelNBase->text(), QString("Bad"));
    QVERIFY(m_newName->isVisible());
}

void TestPlayerDialogs::noBasesAtAllGetsAClearMessage()
{
    m_newName->show();
    QTRY_COMPARE(m_messages.size(), 1);
    QVERIFY(m_messages.first().contains(QDir(m_dir->path()).absoluteFilePath("QA")));
    QVERIFY(m_messages.first().contains(".QA"));
    // Arrows have nothing to choose; the player can still confirm a name.
    Click(m_newName->LabelBckB);
    QCOMPARE(m_state->CurrentBaseFile, QString("Base.QA"));
    // A base put into QA while the dialog is open is found by the next arrow.
    writeBase("Added.QA", Kino, 2);
    Click(m_newName->LabelBckB);
    QCOMPARE(m_state->CurrentBaseFile, QString("Added.QA"));
    QCOMPARE(m_newName->LabelNBase->text(), Kino + " (Added.QA)");
    QCOMPARE(m_messages.size(), 1);
    Click(m_newName->LabelBtnOk);
    QVERIFY(m_newName->isHidden());
    QVERIFY(m_main->Stage->isEnabled());
}

void TestPlayerDialogs::settingsThatCannotBeWrittenKeepTheDialogOpen()
{
    writeBase("Base.QA", Kino, 1);
    m_newName->show();
    // Something took the file's place that cannot be replaced.
    QVERIFY(QFile::remove(settings()));
    QVERIFY(QDir(m_dir->path()).mkpath("Zorban.ini/blocked"));
    QTest::keyClicks(m_newName->EditNewNameGamer, "Ann");
    Click(m_newName->LabelBtnOk);
    QCOMPARE(m_messages.size(), 1);
    QVERIFY(m_messages.first().contains("Zorban.ini"));
    QVERIFY(m_newName->isVisible());
    QVERIFY(!m_main->Stage->isEnabled());
}

void TestPlayerDialogs::nameBoxTakesOnlyWhatTheFileCanHold()
{
    writeBase("Base.QA", Kino, 1);
    m_newName->show();
    QLineEdit *box = m_newName->EditNewNameGamer;
    Type(box, QString::fromUtf8("Ж\tа日"));
    QCOMPARE(box->text(), QString::fromUtf8("Жа"));
    box->clear();
    // A paste is cleaned first, then cut to 20.
    box->insert(QString("\x01\x02") + QString(18, 'x') + QString::fromUtf8("日yzw"));
    QCOMPARE(box->text(), QString(18, 'x') + "yz");
    QTest::keyClicks(box, "q");
    QCOMPARE(box->text().size(), 20);
    QCOMPARE(m_newName->focusWidget(), box);
}

void TestPlayerDialogs::pressedLooks()
{
    writeBase("Base.QA", Kino, 1);
    m_newName->show();
    const struct {
        PressLabel *label;
        QLabel *image;
    } arrows[] = {{m_newName->LabelNextN1, m_newName->ImageNextN1},
                  {m_newName->LabelNextN2, m_newName->ImageNextN2},
                  {m_newName->LabelBckB, m_newName->ImageBckB},
                  {m_newName->LabelNxtB, m_newName->ImageNxtB}};
    for (const auto &arrow : arrows) {
        QVERIFY(arrow.image->isHidden());
        QTest::mousePress(arrow.label, Qt::LeftButton);
        QVERIFY2(!arrow.image->isHidden(), qPrintable(arrow.label->objectName()));
        QTest::mouseRelease(arrow.label, Qt::LeftButton);
        QVERIFY(arrow.image->isHidden());
    }
    QTest::mousePress(m_newName->LabelBtnOk, Qt::LeftButton);
    QVERIFY(m_newName->ImageBtnOk->isHidden());
    QTest::mouseRelease(m_newName->LabelBtnOk, Qt::LeftButton);
    QVERIFY(!m_newName->ImageBtnOk->isHidden());
}

void TestPlayerDialogs::clicksThroughTheWindowReachTheButtons()
{
    // Pictures lie under their labels: a click at the button's place reaches the label.
    writeBase("Base.QA", Kino, 1);
    QVERIFY(WriteFile(settings(), "[Base]=Base.QA\r\n[Names]=1\r\nAnn\r\n"));
    m_newName->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_newName.get()));
    QTest::mouseClick(m_main->windowHandle(), Qt::LeftButton, {}, m_newName->mapTo(m_main.get(), QPoint(360, 110))); // lower name arrow
    QCOMPARE(m_newName->EditNewNameGamer->text(), QString("Ann"));
    QTest::mouseClick(m_main->windowHandle(), Qt::LeftButton, {}, m_newName->mapTo(m_main.get(), QPoint(376, 154))); // OK
    QVERIFY(m_newName->isHidden());

    m_top5->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_top5.get()));
    QTest::mouseClick(m_main->windowHandle(), Qt::LeftButton, {}, m_top5->mapTo(m_main.get(), QPoint(221, 209))); // OK
    QVERIFY(m_top5->isHidden());
    QVERIFY(m_main->Stage->isEnabled());
}

void TestPlayerDialogs::describingDuringAGameLeavesTheGameCountsAlone()
{
    writeBase("Base.QA", Kino, 7);
    Arrange(*m_session, [&](GameState &s) {
        s.GameActive = true;
        s.LevelCounts.fill(3);
    });
    m_newName->show();
    QCOMPARE(m_state->LevelCounts[1], 3);
    QCOMPARE(m_newName->DescribedLevelCounts[1], 7);
}

void TestPlayerDialogs::closingTheNewGameDialogClosesTheMainWindow()
{
    writeBase("Base.QA", Kino, 1);
    m_newName->show();
    QVERIFY(m_main->isVisible());
    m_newName->close();
    QVERIFY(!m_main->isVisible());
}

// ---- The leaderboard dialog -------------------------------------------------------

void TestPlayerDialogs::leaderboardShowsTheFiveRows()
{
    Arrange(*m_session, [&](GameState &s) {
        s.Leaders[1] = {"Ann", 15, 6000};
        s.Leaders[2] = {QString::fromUtf8("Вася"), 10, 599};
        s.Leaders[3] = {"<b>Bob</b>", 7, 754};
        s.Leaders[4] = {"Odd", 99, 600};
        s.Leaders[5] = {};
        s.Leaders[6] = {"Dropped", 1, 1};
    });
    m_top5->show();

    const QStringList names = {"Ann", QString::fromUtf8("Вася"), "<b>Bob</b>", "Odd", ""};
    const QStringList sums = {"1000000", "32000", "4000", "99", "0"};
    const QStringList times = {"10:00.0", "0:59.9", "1:15.4", "1:00.0", "0:00.0"};
    for (int row = 1; row <= 5; ++row) {
        QCOMPARE(m_top5->LabelNames[row]->text(), names[row - 1]);
        QCOMPARE(m_top5->LabelScores[row]->text(), sums[row - 1]);
        QCOMPARE(m_top5->LabelTimes[row]->text(), times[row - 1]);
        QCOMPARE(m_top5->LabelNames[row]->textFormat(), Qt::PlainText);
        QCOMPARE(m_top5->LabelNames[row]->geometry(), QRect(50, 49 + 28 * (row - 1), 215, 26));
    }
    QVERIFY(!m_main->Stage->isEnabled());

    // Shown again after another game: the rows follow the table.
    m_top5->hide();
    Arrange(*m_session, [&](GameState &s) { s.Leaders[5] = {"Eve", 1, 5}; });
    m_top5->show();
    QCOMPARE(m_top5->LabelNames[5]->text(), QString("Eve"));
    QCOMPARE(m_top5->LabelScores[5]->text(), QString("100"));
}

void TestPlayerDialogs::leaderboardOkHidesAndReleasesTheMainWindow()
{
    m_top5->show();
    QVERIFY(m_main->isHeldBy(m_top5.get()));
    QTest::mousePress(m_top5->LabelBtnOk, Qt::LeftButton);
    QVERIFY(m_top5->ImageBtnOk->isHidden());
    QVERIFY(m_top5->isVisible());
    QTest::mouseRelease(m_top5->LabelBtnOk, Qt::LeftButton);
    QVERIFY(!m_top5->ImageBtnOk->isHidden());
    QVERIFY(m_top5->isHidden());
    QVERIFY(!m_main->isHeldBy(m_top5.get()));
    QVERIFY(m_main->Stage->isEnabled());
}

void TestPlayerDialogs::leaderboardIsDraggedByItsTitle_data()
{
    QTest::addColumn<QPoint>("drag");
    QTest::newRow("within the screen") << QPoint(30, 40);
    QTest::newRow("past the bottom right edge") << QPoint(5000, 5000);
    QTest::newRow("past the top left edge") << QPoint(-5000, -5000);
}

void TestPlayerDialogs::leaderboardIsDraggedByItsTitle()
{
    QFETCH(QPoint, drag);
    m_top5->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_top5.get()));
    QCOMPARE(m_top5->LabelTitle->cursor().shape(), Qt::SizeAllCursor);
    const QPoint start = m_top5->pos();
    const QPoint local(20, 10);
    const QPoint global = m_top5->LabelTitle->mapToGlobal(local);

    QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(m_top5->LabelTitle, &press);
    QMouseEvent move(QEvent::MouseMove, local + drag, global + drag, Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(m_top5->LabelTitle, &move);
    QMouseEvent release(QEvent::MouseButtonRelease, local + drag, global + drag, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(m_top5->LabelTitle, &release);
    // The panel follows the pointer but stays wholly on the screen.
    const QRect screen = m_main->rect();
    const QPoint expected(std::clamp(start.x() + drag.x(), 0, screen.width() - m_top5->width()),
                          std::clamp(start.y() + drag.y(), 0, screen.height() - m_top5->height()));
    QCOMPARE(m_top5->pos(), expected);
    QVERIFY(screen.contains(m_top5->geometry()));
    QVERIFY(m_top5->isVisible());
}

void TestPlayerDialogs::closingTheLeaderboardClosesTheMainWindow()
{
    m_top5->show();
    m_top5->close();
    QVERIFY(!m_main->isVisible());
    QVERIFY(m_top5->isHidden());
}

QTEST_MAIN(TestPlayerDialogs)
#include "tst_player_dialogs.moc"
