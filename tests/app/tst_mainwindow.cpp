// The main window against its layout table, the mouse routing of its areas,
// the dialog hold, the banner and closing between games.
#include "forms/AutoSizeLabel.h"
#include "game/GameSession.h"
#include "questionbase/GameState.h"
#include "app/MainLayout.h"
#include "forms/MessageBox.h"
#include "app/TFormMain.h"
#include "widgets/TGauge.h"
#include "widgets/TLCD99.h"
#include "widgets/TThreadedTimer.h"
#include "TestBase.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QLabel>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

class TestMainWindow : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void everyControlMatchesTheLayoutTable_data();
    void everyControlMatchesTheLayoutTable();
    void controlsStackInTableOrder();
    void ladderMarkersLineUpWithTheLadder();
    void sizedToTextLabelsFollowTheirText();
    void startsWithoutAGame();

    void pressAndReleaseReachTheirHandlers();
    void releaseOutsideStillReachesTheAreaThatTookThePress();
    void disabledAreaTakesNoPress();

    void dialogsHoldTheWindowUntilTheLastLetsGo();
    void destroyedDialogLetsGo();

    void bannerKeyColourBecomesTransparent();
    void bannerCutsTheLastPieceAtTheRightEdge();
    void bannerOnTheWindowShowsTheBackgroundThroughTheKey();

    void closeBetweenGamesTouchesNoFileAndEmptiesTheClipboard();
    void closeButtonClosesTheWindowAndAboutButtonShowsTheAboutBox();
    void closingMidGameFinishesTheGameBeforeLeavingFullScreen();

private:
    std::unique_ptr<GameSession> m_session;
    const GameState *m_state = nullptr;
    std::unique_ptr<TFormMain> m_form;
    QStringList m_messages;
};

void TestMainWindow::init()
{
    m_messages.clear();
    SetMessageSinkForTests([this](const QString &text) { m_messages << text; });
    m_session = std::make_unique<GameSession>();
    m_state = &m_session->state();
    m_form = std::make_unique<TFormMain>(*m_session);
    // The menu panel follows the pointer; keep it where the table puts it.
    m_form->TimerForMenu->setEnabled(false);
}

void TestMainWindow::cleanup()
{
    m_form.reset();
    m_state = nullptr;
    m_session.reset();
    SetMessageSinkForTests({});
}

void TestMainWindow::everyControlMatchesTheLayoutTable_data()
{
    QTest::addColumn<QString>("name");
    for (const ControlLayout &row : MainLayout::Rows())
        QTest::newRow(qPrintable(row.name)) << row.name;
}

void TestMainWindow::everyControlMatchesTheLayoutTable()
{
    QFETCH(QString, name);
    const ControlLayout *row = MainLayout::Find(name);
    QVERIFY(row);
    QWidget *widget = m_form->control(name);
    QVERIFY2(widget, "control missing");
    QCOMPARE(widget->objectName(), name);
    QCOMPARE(widget->parentWidget(), row->onPanel ? m_form->PanelMenu : m_form->Stage);
    QCOMPARE(!widget->isHidden(), row->visible);
    QCOMPARE(widget->isEnabled(), row->enabled);

    switch (row->kind) {
    case ControlKind::Picture:
        QVERIFY(qobject_cast<QLabel *>(widget));
        QCOMPARE(widget->geometry(), row->geometry);
        break;
    case ControlKind::Panel:
        QCOMPARE(widget->geometry(), row->geometry);
        QVERIFY(widget->autoFillBackground());
        QCOMPARE(widget->palette().color(QPalette::Window), row->colour);
        break;
    case ControlKind::Gauge:
        QVERIFY(qobject_cast<TGauge *>(widget));
        QCOMPARE(widget->geometry(), row->geometry);
        break;
    case ControlKind::Lcd: {
        auto *lcd = qobject_cast<TLCD99 *>(widget);
        QVERIFY(lcd);
        QCOMPARE(widget->geometry(), row->geometry);
        QCOMPARE(lcd->Value(), QString());
        break;
    }
    case ControlKind::Label:
    case ControlKind::AutoLabel: {
        auto *label = qobject_cast<QLabel *>(widget);
        QVERIFY(label);
        QCOMPARE(label->textFormat(), Qt::PlainText);
        QCOMPARE(label->text(), row->text);
        QCOMPARE(label->alignment(), row->alignment);
        QCOMPARE(label->wordWrap(), row->wordWrap);
        QVERIFY2(!label->autoFillBackground(), "labels are transparent");
        QCOMPARE(label->palette().color(QPalette::WindowText), row->colour);
        QCOMPARE(label->font().pixelSize(), row->pixelSize);
        QCOMPARE(label->font().bold(), row->bold);
        QCOMPARE(label->font().italic(), row->italic);
        QCOMPARE(label->font().family(), FontFamilyName(row->family));
        if (row->kind == ControlKind::Label) {
            QCOMPARE(widget->geometry(), row->geometry);
        } else {
            QVERIFY(qobject_cast<AutoSizeLabel *>(widget));
            QCOMPARE(widget->y(), row->geometry.y());
            QCOMPARE(widget->size(), widget->sizeHint());
            if (row->rightAnchored)
                QCOMPARE(widget->x() + widget->width(), row->geometry.x());
            else
                QCOMPARE(widget->x(), row->geometry.x());
        }
        break;
    }
    }
}

void TestMainWindow::controlsStackInTableOrder()
{
    // Later siblings are drawn above earlier ones.
    const auto stackIndex = [](QWidget *widget) {
        return widget->parentWidget()->children().indexOf(widget);
    };
    const ControlLayout *previous = nullptr;
    for (const ControlLayout &row : MainLayout::Rows()) {
        if (previous && previous->onPanel == row.onPanel) {
            QVERIFY2(stackIndex(m_form->control(previous->name)) < stackIndex(m_form->control(row.name)),
                     qPrintable(previous->name + " should lie below " + row.name));
        }
        previous = &row;
    }
    // The panel is above every control of the stage itself.
    QCOMPARE(m_form->Stage->children().last(), m_form->PanelMenu);
}

void TestMainWindow::ladderMarkersLineUpWithTheLadder()
{
    QCOMPARE(m_form->ImagePos[1]->geometry(), QRect(71, 548, 17, 23));
    QCOMPARE(m_form->ImagePos[15]->geometry(), QRect(71, 198, 17, 23));
    for (int step = 2; step <= 15; ++step)
        QCOMPARE(m_form->ImagePos[step - 1]->y() - m_form->ImagePos[step]->y(), 25);
}

void TestMainWindow::sizedToTextLabelsFollowTheirText()
{
    AutoSizeLabel *score = m_form->LabelScore;
    score->setText(QStringLiteral("1000000"));
    const int wide = score->width();
    QVERIFY(wide > 100);
    QCOMPARE(score->x() + score->width(), 789);
    score->setText(QStringLiteral("100"));
    QVERIFY(score->width() < wide);
    QCOMPARE(score->x() + score->width(), 789);

    AutoSizeLabel *title = m_form->LblNmQA;
    title->setText(QStringLiteral("Base. Всего вопросов: 1700."));
    QCOMPARE(title->x(), 60);
    QVERIFY(title->width() > 100);
    title->setFont(GameFont(FontFamily::Arial, 22));
    QCOMPARE(title->x(), 60);
    QCOMPARE(title->size(), title->sizeHint());
}

void TestMainWindow::startsWithoutAGame()
{
    QVERIFY(!m_form->Timer->Enabled());
    QCOMPARE(m_form->Timer->Interval(), 100);
    QCOMPARE(m_form->Timer->ThreadPriority(), TThreadedTimer::tpHighest);
    QCOMPARE(m_form->TimerForMenu->Interval(), 5);
    QCOMPARE(m_form->LabelBtnNewGame->text(), QStringLiteral("Новая игра..."));
    QCOMPARE(m_form->windowTitle(), QStringLiteral("Зорбан! Vantor"));
    QVERIFY(m_form->windowFlags() & Qt::FramelessWindowHint);
    QCOMPARE(m_form->palette().color(QPalette::Window), QColor(16, 8, 41));
    // Every lifeline overlay carries the cross, hidden until used.
    for (QLabel *cross : {m_form->ImagePrompt50, m_form->ImagePromptTel, m_form->ImagePromptMan}) {
        QVERIFY(cross->isHidden());
        QVERIFY(!cross->pixmap().isNull());
        QCOMPARE(cross->pixmap().deviceIndependentSize().toSize(), QSize(56, 39));
    }
    // The offscreen screen holds the stage: no complaint.
    QVERIFY(m_messages.isEmpty());
}

namespace {

// Sends a press or release through the window, as the window system would.
void sendMouse(QWidget *area, QEvent::Type type, QPoint local, Qt::MouseButton button = Qt::LeftButton)
{
    QWindow *window = area->window()->windowHandle();
    const QPoint inWindow = area->mapTo(area->window(), local);
    if (type == QEvent::MouseButtonPress)
        QTest::mousePress(window, button, {}, inWindow);
    else
        QTest::mouseRelease(window, button, {}, inWindow);
}

} // namespace

void TestMainWindow::pressAndReleaseReachTheirHandlers()
{
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    QVERIFY(m_form->ImageAbout->isHidden());
    sendMouse(m_form->LabelBtnAbout, QEvent::MouseButtonPress, {5, 5});
    QVERIFY2(!m_form->ImageAbout->isHidden(), "the press shows the pressed look");
    sendMouse(m_form->LabelBtnAbout, QEvent::MouseButtonRelease, {5, 5});
    QVERIFY(m_form->ImageAbout->isHidden());
}

void TestMainWindow::releaseOutsideStillReachesTheAreaThatTookThePress()
{
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    sendMouse(m_form->LabelBtnAbout, QEvent::MouseButtonPress, {5, 5});
    QVERIFY(!m_form->ImageAbout->isHidden());
    // Released far away, over the question.
    sendMouse(m_form->LabelBtnAbout, QEvent::MouseButtonRelease, {-400, 400});
    QVERIFY(m_form->ImageAbout->isHidden());
}

void TestMainWindow::disabledAreaTakesNoPress()
{
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    m_form->LabelBtnAbout->setEnabled(false);
    sendMouse(m_form->LabelBtnAbout, QEvent::MouseButtonPress, {5, 5});
    QVERIFY(m_form->ImageAbout->isHidden());
    sendMouse(m_form->LabelBtnAbout, QEvent::MouseButtonRelease, {5, 5});
    QVERIFY(m_form->ImageAbout->isHidden());
}

void TestMainWindow::dialogsHoldTheWindowUntilTheLastLetsGo()
{
    QWidget first;
    QWidget second;
    m_form->holdFor(&first);
    QVERIFY(!m_form->Stage->isEnabled());
    m_form->holdFor(&second);
    m_form->holdFor(&first); // twice is once
    m_form->releaseFrom(&first);
    QVERIFY2(!m_form->Stage->isEnabled(), "the second dialog still holds it");
    m_form->releaseFrom(&first); // a stray release changes nothing
    QVERIFY(!m_form->Stage->isEnabled());
    m_form->releaseFrom(&second);
    QVERIFY(m_form->Stage->isEnabled());
    QVERIFY(m_form->LabelBtnNewGame->isEnabled());
    // The areas that start disabled stay disabled after the hold.
    QVERIFY(!m_form->LabelClkA->isEnabled());
}

void TestMainWindow::destroyedDialogLetsGo()
{
    auto dialog = std::make_unique<QWidget>();
    m_form->holdFor(dialog.get());
    QVERIFY(!m_form->Stage->isEnabled());
    dialog.reset();
    QVERIFY(m_form->Stage->isEnabled());
}

namespace {

const QColor Key(116, 113, 115);

QPixmap piece(QSize size, QColor fill, QRect keyArea)
{
    QImage image(size, QImage::Format_ARGB32);
    image.fill(fill);
    for (int y = keyArea.top(); y <= keyArea.bottom(); ++y)
        for (int x = keyArea.left(); x <= keyArea.right(); ++x)
            image.setPixelColor(x, y, Key);
    return QPixmap::fromImage(image);
}

} // namespace

void TestMainWindow::bannerKeyColourBecomesTransparent()
{
    // The key fills part of each piece; a colour one step off it must stay.
    const QPixmap newYear = piece({58, 50}, Qt::red, {0, 40, 58, 10});
    const QPixmap snow = piece({299, 50}, QColor(116, 113, 116), {0, 0, 150, 50});
    const QPixmap banner = TFormMain::BuildBanner(newYear, snow, QColor(212, 208, 200));
    QCOMPARE(banner.size(), QSize(800, 50));
    const QImage image = banner.toImage().convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(image.pixelColor(10, 10), QColor(Qt::red));
    QCOMPARE(image.pixelColor(10, 45).alpha(), 0);                   // key in NEW_YEAR
    QCOMPARE(image.pixelColor(58 + 20, 20).alpha(), 0);              // key in the first SNOW
    QCOMPARE(image.pixelColor(58 + 200, 20), QColor(116, 113, 116)); // one step off the key
    QCOMPARE(image.pixelColor(656 + 100, 0).alpha(), 0);
    QCOMPARE(image.pixelColor(357 + 200, 49), QColor(116, 113, 116));
}

void TestMainWindow::bannerCutsTheLastPieceAtTheRightEdge()
{
    // Pieces narrower than their slots leave the button face showing; the
    // fourth piece starts at 955, beyond the strip.
    const QColor face(212, 208, 200);
    const QPixmap banner = TFormMain::BuildBanner(piece({58, 50}, Qt::red, {}), piece({250, 50}, Qt::blue, {}), face);
    const QImage image = banner.toImage().convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(image.pixelColor(57, 0), QColor(Qt::red));
    QCOMPARE(image.pixelColor(58 + 249, 0), QColor(Qt::blue));
    QCOMPARE(image.pixelColor(58 + 250, 0), face);
    QCOMPARE(image.pixelColor(656 + 143, 49), QColor(Qt::blue));
    // The button face itself is not the key, or it would vanish too.
    QVERIFY(QApplication::palette().color(QPalette::Button) != Key);
}

void TestMainWindow::bannerOnTheWindowShowsTheBackgroundThroughTheKey()
{
    const QImage banner = m_form->ImageNewYear->pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(banner.deviceIndependentSize().toSize(), QSize(800, 50));
    m_form->resize(800, 600);
    const QImage shot = m_form->Stage->grab(QRect(0, 0, 800, 50)).toImage().convertToFormat(QImage::Format_RGB32);
    const QImage background = m_form->ImageForm->grab(QRect(0, 0, 800, 50)).toImage().convertToFormat(QImage::Format_RGB32);
    const qreal ratio = banner.devicePixelRatio();
    int transparent = 0;
    for (int y = 0; y < banner.height(); ++y) {
        for (int x = 0; x < banner.width(); ++x) {
            if (qAlpha(banner.pixel(x, y)) != 0)
                continue;
            ++transparent;
            const QPoint at(int(x / ratio), int(y / ratio));
            if (m_form->LblNmQA->geometry().contains(at) || at.x() >= m_form->PanelMenu->x())
                continue;
            QCOMPARE(shot.pixelColor(at), background.pixelColor(at));
        }
    }
    QVERIFY2(transparent > 0, "the banner pictures carry the transparent colour around the snow");
}

void TestMainWindow::closeBetweenGamesTouchesNoFileAndEmptiesTheClipboard()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("QA")));
    QFile base(dir.filePath(QStringLiteral("QA/Base.QA")));
    QVERIFY(base.open(QIODevice::WriteOnly));
    base.write("base bytes\r\n");
    base.close();
    const QDateTime written = QFileInfo(base).lastModified();
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(dir.path()));

    QGuiApplication::clipboard()->setText(QStringLiteral("left behind"));
    m_form->TimerForMenu->setEnabled(true);
    QVERIFY(!m_state->GameActive);
    m_form->show();
    m_form->close();

    QStringList entries;
    QDirIterator it(dir.path(), QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        entries << QDir(dir.path()).relativeFilePath(it.next());
    entries.sort();
    QDir::setCurrent(previous);

    QCOMPARE(entries, QStringList({QStringLiteral("QA"), QStringLiteral("QA/Base.QA")}));
    QCOMPARE(QFileInfo(base).lastModified(), written);
    QVERIFY(!m_form->TimerForMenu->Enabled());
    QVERIFY(!m_form->IsFullScreen());
    QVERIFY(!m_form->ScreenSaverHeld());
    QVERIFY(QGuiApplication::clipboard()->text().isEmpty());
    QVERIFY(m_messages.isEmpty());
}

void TestMainWindow::closeButtonClosesTheWindowAndAboutButtonShowsTheAboutBox()
{
    QWidget about;
    m_form->setDialogs(&about, nullptr, nullptr, nullptr, nullptr);
    QSignalSpy closed(m_form.get(), &TFormMain::closed);
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));

    sendMouse(m_form->LabelBtnAbout, QEvent::MouseButtonPress, {5, 5});
    sendMouse(m_form->LabelBtnAbout, QEvent::MouseButtonRelease, {5, 5});
    QVERIFY(about.isVisible());
    QVERIFY2(m_form->Stage->isEnabled(), "the about box does not hold the window");

    sendMouse(m_form->LabelBtnClose, QEvent::MouseButtonPress, {5, 5});
    QVERIFY(!m_form->ImageClose->isHidden());
    sendMouse(m_form->LabelBtnClose, QEvent::MouseButtonRelease, {5, 5});
    QVERIFY(m_form->ImageClose->isHidden());
    QVERIFY(!m_form->isVisible());
    QCOMPARE(closed.count(), 1);
}

namespace {

// Notes what the main window looked like when the leaderboard came up.
class ShowWatcher : public QObject {
public:
    explicit ShowWatcher(TFormMain &form) : m_form(form) {}
    bool shown = false;
    bool fullScreenAtShow = false;
    bool menuTimerAtShow = false;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show && !shown) {
            shown = true;
            fullScreenAtShow = m_form.IsFullScreen();
            menuTimerAtShow = m_form.TimerForMenu->Enabled();
        }
        return QObject::eventFilter(watched, event);
    }

private:
    TFormMain &m_form;
};

} // namespace

void TestMainWindow::closingMidGameFinishesTheGameBeforeLeavingFullScreen()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("QA")));
    const QString basePath = dir.filePath(QStringLiteral("QA/Base.QA"));
    QVERIFY(TestBase::Write(basePath, TestBase::Make(2, 3)));
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(dir.path()));

    QWidget top5;
    ShowWatcher watcher(*m_form);
    top5.installEventFilter(&watcher);
    m_form->setDialogs(nullptr, nullptr, nullptr, nullptr, &top5);
    GameState start;
    start.PlayerName = QStringLiteral("Вера");
    start.CurrentBaseFile = QStringLiteral("Base.QA");
    m_session->Restore(start);
    m_form->TimerForMenu->setEnabled(true);
    m_form->show();
    m_session->BeginGame();
    const bool started = m_state->GameActive;
    m_form->close();
    bool ok = false;
    const BaseFileModel after = TestBase::Read(basePath, &ok);
    QDir::setCurrent(previous);

    QVERIFY(started);
    QVERIFY(!m_state->GameActive);
    QVERIFY2(watcher.shown, "the leaderboard comes up");
    QVERIFY2(watcher.fullScreenAtShow, "the game ends while the window still fills the screen");
    QVERIFY(watcher.menuTimerAtShow);
    QVERIFY(ok);
    QCOMPARE(after.GamesPlayed, 4);
    QVERIFY(!m_form->TimerForMenu->Enabled());
    QVERIFY(!m_form->Timer->Enabled());
    QVERIFY(!m_form->IsFullScreen());
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
