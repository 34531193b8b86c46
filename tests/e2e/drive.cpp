// Plays whole games from inside the process, on whatever display the
// platform plugin connects to (made for a Wayland compositor, which lets no
// client inject input into another). The game is started exactly as the
// executable starts it; the driver then finds the controls by their object
// names and sends mouse and key events through their windows, as a player's
// pointer would arrive. After each step it asks the compositor for a
// screenshot (weston-screenshooter) and checks that the screen shows what
// the player should see: the region where a panel lies must look like the
// panel itself (compared on a coarse grid of average colours, so the
// compositor's scaling and the last bits of rasterising do not matter).
//
//   zorban_drive --out DIR [--screenshooter PROGRAM]
//
// Runs in a scratch folder prepared by tests/e2e/wayland.py. Exit code 0
// when both games played and every screenshot showed what it should.
#include "main/GameStart.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QGraphicsProxyWidget>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <cmath>
#include <cstdio>
#include <functional>
#include <stdexcept>

namespace {

// Average colour difference (0..255) below which a screen region shows a
// panel, and above which it plainly does not. Measured at 1920 x 1080: a
// shown panel differs by less than 1, the stage under a hidden one by 28 and
// more.
constexpr double ShownBelow = 12.0;
constexpr double GoneAbove = 20.0;
constexpr int GridColumns = 32;
constexpr int GridRows = 24;

struct Failure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

void Check(bool condition, const QString &what)
{
    if (!condition)
        throw Failure(what.toStdString());
}

void Wait(int ms)
{
    QTest::qWait(ms);
}

void WaitFor(const std::function<bool()> &done, const QString &what, int timeoutMs = 20000)
{
    if (!QTest::qWaitFor(done, timeoutMs))
        throw Failure(("timed out waiting for " + what).toStdString());
}

// Mean absolute difference of two pictures of one region, over a coarse grid.
double GridDifference(const QImage &a, const QImage &b)
{
    const QImage ga = a.convertToFormat(QImage::Format_RGB32)
                          .scaled(GridColumns, GridRows, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const QImage gb = b.convertToFormat(QImage::Format_RGB32)
                          .scaled(GridColumns, GridRows, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    double sum = 0;
    for (int y = 0; y < GridRows; ++y)
        for (int x = 0; x < GridColumns; ++x) {
            const QRgb p = ga.pixel(x, y), q = gb.pixel(x, y);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
        }
    return sum / (3.0 * GridColumns * GridRows);
}

class Driver {
public:
    Driver(QWidget *main, QString out, QString screenshooter)
        : m_main(main), m_out(std::move(out)), m_screenshooter(std::move(screenshooter))
    {
    }

    bool failed() const { return m_failed; }

    void run()
    {
        try {
            play();
        } catch (const Failure &f) {
            m_failed = true;
            std::fprintf(stderr, "drive failed: %s\n", f.what());
            try {
                shoot(QStringLiteral("failure"));
            } catch (const Failure &) {
            }
            QCoreApplication::exit(1);
        }
    }

private:
    // ---- Finding and working controls ----------------------------------
    QWidget *form(const QString &name) const
    {
        for (QWidget *w : QApplication::allWidgets())
            if (w->objectName() == name)
                return w;
        throw Failure(("no window or panel named " + name).toStdString());
    }

    QWidget *control(const QString &formName, const QString &name) const
    {
        QWidget *found = form(formName)->findChild<QWidget *>(name);
        Check(found, "no control " + name + " in " + formName);
        return found;
    }

    // A point of `widget` in the window the screen shows: the widget's own
    // top-level window, or, where the main window is drawn through a
    // transform onto a smaller screen, the window of the view that draws it.
    struct WindowPoint {
        QWidget *top = nullptr;
        QWindow *window = nullptr;
        QPointF at;
    };
    static WindowPoint Locate(QWidget *widget, QPointF local)
    {
        QWidget *top = widget->window();
        const QPointF inTop = widget->mapTo(top, local);
        if (QGraphicsProxyWidget *proxy = top->graphicsProxyWidget()) {
            const QList<QGraphicsView *> views = proxy->scene()->views();
            Check(!views.isEmpty(), QStringLiteral("the main window is drawn by no view"));
            QGraphicsView *view = views.first();
            const QPointF inViewport = view->viewportTransform().map(proxy->mapToScene(inTop));
            const QPointF inWindow = inViewport + view->viewport()->mapTo(view->window(), QPoint(0, 0));
            return {view->window(), view->window()->windowHandle(), inWindow};
        }
        return {top, top->windowHandle(), inTop};
    }

    // Presses and releases the left button in the middle of `target`, sent
    // to the window that holds it; the control that gets it is whichever
    // lies there, so a control covered by another panel is reported.
    void click(QWidget *target)
    {
        QWidget *top = target->window();
        const QPoint inTop = target->mapTo(top, target->rect().center());
        QWidget *there = top->childAt(inTop);
        Check(there == target, target->objectName() + " is not reachable: " +
                                   (there ? there->objectName() : QStringLiteral("nothing")) + " lies over it");
        Check(target->isEnabled(), target->objectName() + " is disabled");
        const WindowPoint p = Locate(target, QPointF(target->rect().center()));
        Check(p.window, target->objectName() + " has no window");
        const QPoint at = p.at.toPoint();
        QTest::mouseMove(p.window, at);
        Wait(30);
        QTest::mousePress(p.window, Qt::LeftButton, Qt::NoModifier, at);
        Wait(30);
        QTest::mouseRelease(p.window, Qt::LeftButton, Qt::NoModifier, at);
        Wait(100);
    }

    void pointAt(const QPoint &onStage)
    {
        QWidget *stage = control(QStringLiteral("TFormMain"), QStringLiteral("Stage"));
        const WindowPoint p = Locate(stage, QPointF(onStage));
        QTest::mouseMove(p.window, p.at.toPoint());
    }

    // The menu panel slides in while the pointer is at the stage's right
    // edge and out when it leaves; only a strip of it stays on the stage.
    void menuIn()
    {
        QWidget *panel = control(QStringLiteral("TFormMain"), QStringLiteral("PanelMenu"));
        QWidget *stage = panel->parentWidget();
        WaitFor([&] {
            pointAt(QPoint(stage->width() - 2, stage->height() / 2));
            return panel->x() + panel->width() <= stage->width();
        }, QStringLiteral("the menu panel to slide in"));
    }

    void menuOut()
    {
        QWidget *panel = control(QStringLiteral("TFormMain"), QStringLiteral("PanelMenu"));
        QWidget *stage = panel->parentWidget();
        WaitFor([&] {
            pointAt(QPoint(300, 200));
            return panel->x() >= stage->width() - 10;
        }, QStringLiteral("the menu panel to slide out"));
    }

    QLabel *answerLabel(char place) const
    {
        return qobject_cast<QLabel *>(control(QStringLiteral("TFormMain"), QStringLiteral("LabelAnswer") + QChar(place)));
    }

    // The place of the right answer: in the test base it is the one long
    // text among single letters.
    char rightPlace() const
    {
        char best = 0;
        qsizetype longest = -1;
        for (char p : {'A', 'B', 'C', 'D'}) {
            QLabel *label = answerLabel(p);
            if (label->isVisible() && label->text().size() > longest) {
                longest = label->text().size();
                best = p;
            }
        }
        return best;
    }

    char wrongPlace() const
    {
        const char right = rightPlace();
        for (char p : {'A', 'B', 'C', 'D'})
            if (p != right && answerLabel(p)->isVisible())
                return p;
        throw Failure("no wrong answer on screen");
    }

    void answer(char place)
    {
        click(control(QStringLiteral("TFormMain"), QStringLiteral("LabelClk") + QChar(place)));
    }

    QString question() const
    {
        return qobject_cast<QLabel *>(control(QStringLiteral("TFormMain"), QStringLiteral("LabelQuestion")))->text();
    }

    // ---- Screenshots ----------------------------------------------------
    QImage shoot(const QString &name)
    {
        // Let the last paint reach the compositor.
        Wait(250);
        // The screenshot tool names its picture by the time; it writes into
        // a folder of its own, emptied first.
        QDir scratch(m_shooterDir.path());
        for (const QString &old : scratch.entryList(QDir::Files))
            scratch.remove(old);
        QProcess shooter;
        shooter.setWorkingDirectory(scratch.path());
        shooter.start(m_screenshooter, {});
        Check(shooter.waitForFinished(20000) && shooter.exitCode() == 0,
              "the compositor gave no screenshot: " + QString::fromLocal8Bit(shooter.readAllStandardError()));
        const QStringList files = scratch.entryList({QStringLiteral("*.png")}, QDir::Files);
        Check(files.size() == 1, QStringLiteral("the screenshot tool wrote no picture"));
        const QString path = QStringLiteral("%1/%2-%3.png").arg(m_out).arg(++m_step, 2, 10, QChar('0')).arg(name);
        QFile::remove(path);
        QFile::rename(scratch.filePath(files.first()), path);
        QImage shot(path);
        Check(!shot.isNull(), "unreadable screenshot " + path);
        return shot;
    }

    // How far the screen region where `panel` lies is from the panel's own
    // picture of itself.
    double difference(const QImage &shot, QWidget *panel) const
    {
        const WindowPoint topLeft = Locate(panel, QPointF(0, 0));
        const WindowPoint bottomRight = Locate(panel, QPointF(panel->width(), panel->height()));
        if (!topLeft.window)
            return 255.0;
        // Screen pixels: the window's place on the screen (its top left when
        // it fills the screen) and the platform's scale.
        const qreal ratio = topLeft.window->devicePixelRatio();
        const QPointF origin = QPointF(topLeft.window->position());
        const QPoint from = ((origin + topLeft.at) * ratio).toPoint();
        const QPoint to = ((origin + bottomRight.at) * ratio).toPoint();
        const QRect region(from, QSize(to.x() - from.x(), to.y() - from.y()));
        if (region.isEmpty() || !shot.rect().contains(region))
            return 255.0;
        return GridDifference(shot.copy(region), panel->grab().toImage());
    }

    void expectShown(const QImage &shot, QWidget *panel, const QString &what)
    {
        const double d = difference(shot, panel);
        std::printf("%-28s shown: difference %.1f\n", qPrintable(what), d);
        std::fflush(stdout);
        Check(d < ShownBelow, QStringLiteral("%1 is not on the screen (difference %2)").arg(what).arg(d));
    }

    void expectGone(const QImage &shot, QWidget *panel, const QString &what)
    {
        const double d = difference(shot, panel);
        std::printf("%-28s gone: difference %.1f\n", qPrintable(what), d);
        std::fflush(stdout);
        Check(d > GoneAbove, QStringLiteral("%1 is still on the screen (difference %2)").arg(what).arg(d));
    }

    // ---- The game -------------------------------------------------------
    void play()
    {
        const QString mainForm = QStringLiteral("TFormMain");
        QWidget *stage = control(mainForm, QStringLiteral("Stage"));
        QWidget *newGame = form(QStringLiteral("FormNewNameGamer"));
        QWidget *about = form(QStringLiteral("TFormAbout"));
        QWidget *telephone = form(QStringLiteral("TFormPromptTelephone"));
        QWidget *man = form(QStringLiteral("TFormPromptMan"));
        QWidget *top5 = form(QStringLiteral("FormTop5"));

        // 1. The splash goes by itself; the new-game dialog waits for a name.
        WaitFor([&] { return m_main->isVisible() && newGame->isVisible(); }, QStringLiteral("the new-game dialog"));
        WaitFor([&] { return !about->isVisible(); }, QStringLiteral("the splash to go"));
        QImage shot = shoot(QStringLiteral("new-game"));
        expectShown(shot, newGame, QStringLiteral("the new-game dialog"));

        auto *name = qobject_cast<QLineEdit *>(control(QStringLiteral("FormNewNameGamer"), QStringLiteral("EditNewNameGamer")));
        // A compositor gives the keyboard to the window under a real seat's
        // pointer; the headless one has no keyboard to give, so the window
        // is made the active one as it would be.
        QApplication::setActiveWindow(Locate(name, QPointF()).top);
        click(name);
        Check(name->hasFocus(), QStringLiteral("a click on the name box does not focus it"));
        name->selectAll();
        QTest::keyClick(name, Qt::Key_Delete);
        // Typed into the window's focus (the name box, or the view that draws
        // it and hands it the keys), one character at a time: the name is
        // Cyrillic, which the test library's key table does not hold.
        for (const QChar c : m_player)
            QTest::sendKeyEvent(QTest::Click, QApplication::focusWidget(), Qt::Key_unknown, QString(c),
                                Qt::NoModifier);
        Check(name->text() == m_player, "the name box reads " + name->text());
        click(control(QStringLiteral("FormNewNameGamer"), QStringLiteral("LabelBtnOk")));
        WaitFor([&] { return !newGame->isVisible(); }, QStringLiteral("the new-game dialog to close"));
        menuOut();
        shot = shoot(QStringLiteral("greeting"));
        expectGone(shot, newGame, QStringLiteral("the new-game dialog"));

        // 2. A game: fifty-fifty, phone a friend, ask the audience, each
        // followed by the right answer, then take the money.
        menuIn();
        click(control(mainForm, QStringLiteral("LabelBtnNewGame")));
        WaitFor([&] { return !question().isEmpty(); }, QStringLiteral("the first question"));
        menuOut();
        shot = shoot(QStringLiteral("question-1"));
        expectShown(shot, stage, QStringLiteral("the first question"));

        menuIn();
        click(control(mainForm, QStringLiteral("LabelPrompt50")));
        menuOut();
        int hidden = 0;
        for (char p : {'A', 'B', 'C', 'D'})
            hidden += answerLabel(p)->isVisible() ? 0 : 1;
        Check(hidden == 2, QStringLiteral("fifty-fifty hid %1 answers").arg(hidden));
        shot = shoot(QStringLiteral("fifty-fifty"));
        expectShown(shot, stage, QStringLiteral("two answers left"));
        nextQuestion(rightPlace(), 2);

        menuIn();
        click(control(mainForm, QStringLiteral("LabelPromptTel")));
        WaitFor([&] { return telephone->isVisible(); }, QStringLiteral("the phone dialog"));
        for (const char *key : {"Label1", "Label2", "Label3", "Label4", "Label5"})
            click(control(QStringLiteral("TFormPromptTelephone"), QString::fromLatin1(key)));
        click(control(QStringLiteral("TFormPromptTelephone"), QStringLiteral("LabelStartNum")));
        shot = shoot(QStringLiteral("phone"));
        expectShown(shot, telephone, QStringLiteral("the phone dialog"));
        WaitFor([&] { return !telephone->isVisible(); }, QStringLiteral("the phone dialog to close"));
        nextQuestion(rightPlace(), 3);

        menuIn();
        click(control(mainForm, QStringLiteral("LabelPromptMan")));
        WaitFor([&] { return man->isVisible(); }, QStringLiteral("the audience dialog"));
        Wait(1500); // the bars grow
        shot = shoot(QStringLiteral("audience"));
        expectShown(shot, man, QStringLiteral("the audience dialog"));
        WaitFor([&] { return !man->isVisible(); }, QStringLiteral("the audience dialog to close"));
        menuOut();
        shot = shoot(QStringLiteral("after-lifelines"));
        expectGone(shot, man, QStringLiteral("the audience dialog"));
        expectShown(shot, stage, QStringLiteral("the third question"));
        nextQuestion(rightPlace(), 4);

        menuIn();
        click(control(mainForm, QStringLiteral("LabelBtnNewGame"))); // "Забрать деньги..."
        WaitFor([&] { return top5->isVisible(); }, QStringLiteral("the leaderboard"));
        shot = shoot(QStringLiteral("leaderboard"));
        expectShown(shot, top5, QStringLiteral("the leaderboard"));
        click(control(QStringLiteral("FormTop5"), QStringLiteral("LabelBtnOk")));
        WaitFor([&] { return !top5->isVisible(); }, QStringLiteral("the leaderboard to close"));

        // 3. A second game, lost on a wrong answer.
        menuIn();
        click(control(mainForm, QStringLiteral("LabelBtnNewGame")));
        WaitFor([&] { return !question().isEmpty() && answerLabel(rightPlace())->isVisible(); },
                QStringLiteral("the second game's question"));
        menuOut();
        answer(wrongPlace());
        WaitFor([&] { return top5->isVisible(); }, QStringLiteral("the leaderboard after a wrong answer"));
        shot = shoot(QStringLiteral("leaderboard-wrong"));
        expectShown(shot, top5, QStringLiteral("the leaderboard"));
        click(control(QStringLiteral("FormTop5"), QStringLiteral("LabelBtnOk")));
        WaitFor([&] { return !top5->isVisible(); }, QStringLiteral("the leaderboard to close"));

        // 4. "?" opens the about box; its OK closes it.
        menuIn();
        click(control(mainForm, QStringLiteral("LabelBtnAbout")));
        WaitFor([&] { return about->isVisible(); }, QStringLiteral("the about box"));
        menuOut();
        shot = shoot(QStringLiteral("about"));
        expectShown(shot, about, QStringLiteral("the about box"));
        click(control(QStringLiteral("TFormAbout"), QStringLiteral("ImageOk")));
        WaitFor([&] { return !about->isVisible(); }, QStringLiteral("the about box to close"));

        // 5. "X" closes the game.
        menuIn();
        click(control(mainForm, QStringLiteral("LabelBtnClose")));
        WaitFor([&] { return !m_main->isVisible(); }, QStringLiteral("the main window to close"));
    }

    // Answers at `place` (the right one) and waits for question `number`.
    void nextQuestion(char place, int number)
    {
        const QString before = question();
        answer(place);
        WaitFor([&] { return question() != before && !question().isEmpty(); },
                QStringLiteral("question %1").arg(number));
        Check(question().contains(QStringLiteral("Уровень %1,").arg(number)),
              QStringLiteral("question %1 expected, the screen asks: %2").arg(number).arg(question()));
    }

    QWidget *m_main;
    QString m_out;
    QString m_screenshooter;
    QTemporaryDir m_shooterDir;
    QString m_player = QStringLiteral("Тестер");
    int m_step = 0;
    bool m_failed = false;
};

} // namespace

int main(int argc, char **argv)
{
    QString out = QStringLiteral(".");
    QString screenshooter = QStringLiteral("weston-screenshooter");
    for (int i = 1; i + 1 < argc; ++i) {
        if (qstrcmp(argv[i], "--out") == 0)
            out = QString::fromLocal8Bit(argv[++i]);
        else if (qstrcmp(argv[i], "--screenshooter") == 0)
            screenshooter = QString::fromLocal8Bit(argv[++i]);
    }
    GameStart game(argc, argv);
    Driver driver(game.mainWindow(), QFileInfo(out).absoluteFilePath(), screenshooter);
    QTimer::singleShot(0, game.mainWindow(), [&driver] { driver.run(); });
    const int code = game.exec();
    return driver.failed() ? 1 : code;
}
