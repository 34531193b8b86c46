#include "app/TFormMain.h"

#include "forms/PictureLabel.h"

#include "art/Art.h"
#include "forms/AutoSizeLabel.h"
#include "forms/Fonts.h"
#include "game/GameSession.h"
#include "questionbase/GameState.h"
#include "app/MainLayout.h"
#include "app/MenuPointer.h"
#include "forms/MessageBox.h"
#include "forms/Palette.h"
#include "forms/Press.h"
#include "widgets/TGauge.h"
#include "widgets/TLCD99.h"
#include "widgets/TThreadedTimer.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QCursor>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

#include <algorithm>

namespace {

const QString FullScreenError = QStringLiteral("Ошибка! Невозможно перейти в полноэкранный режим!");

// The picture of a control; the four answer highlights share one picture.
QPixmap controlPicture(const QString &name)
{
    QPixmap picture = Art::Picture(QStringLiteral("TFormMain/") + name);
    if (picture.isNull() && name.startsWith(QLatin1String("ImageAnswer")))
        picture = Art::Picture(QStringLiteral("TFormMain/ImageAnswerA"));
    return picture;
}

} // namespace

TFormMain::TFormMain(GameSession &session, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), m_session(session)
{
    setWindowTitle(QStringLiteral("Зорбан! Vantor"));
    setObjectName(QStringLiteral("TFormMain"));
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, MainLayout::WindowColour);
    palette.setColor(QPalette::WindowText, Qt::white);
    setPalette(palette);
    setFont(GameFont(FontFamily::Arial, 11));
    resize(MainLayout::StageWidth, MainLayout::StageHeight);

    Stage = new QWidget(this);
    Stage->setObjectName(QStringLiteral("Stage"));
    Stage->setGeometry(0, 0, MainLayout::StageWidth, MainLayout::StageHeight);
    buildControls();

    Timer = new TThreadedTimer(this);
    Timer->setObjectName(QStringLiteral("Timer"));
    Timer->setInterval(100);
    Timer->setThreadPriority(TThreadedTimer::tpHighest);
    Timer->setOnTimer([this] { TimerTimer(); });

    TimerForMenu = new TThreadedTimer(this);
    TimerForMenu->setObjectName(QStringLiteral("TimerForMenu"));
    TimerForMenu->setInterval(5);
    TimerForMenu->setThreadPriority(TThreadedTimer::tpNormal);
    TimerForMenu->setOnTimer([this] { TimerForMenuTimer(); });
    m_menuPointer = new MenuPointer(Stage, PanelMenu, TimerForMenu, this);
    TimerForMenu->setEnabled(true);

    followSession();
    describeForScreenReaders();
    FormCreate();
}

TFormMain::~TFormMain()
{
    // The timers' handlers reach into this window: stop them before the
    // controls go.
    Timer->setEnabled(false);
    TimerForMenu->setEnabled(false);
    // It watches the stage's events: gone before the stage is.
    delete m_menuPointer;
    m_menuPointer = nullptr;
    m_screenSaver.Release();
}

void TFormMain::buildControls()
{
    for (const ControlLayout &row : MainLayout::Rows()) {
        QWidget *parent = row.onPanel ? PanelMenu : Stage;
        QWidget *widget = nullptr;
        switch (row.kind) {
        case ControlKind::Picture: {
            auto *picture = new PictureLabel(parent);
            picture->setTextFormat(Qt::PlainText);
            picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            picture->setPixmap(controlPicture(row.name));
            picture->setGeometry(row.geometry);
            widget = picture;
            break;
        }
        case ControlKind::Label:
        case ControlKind::AutoLabel: {
            QLabel *label = nullptr;
            if (row.kind == ControlKind::AutoLabel) {
                label = new AutoSizeLabel(parent, row.geometry.topLeft(),
                                          row.rightAnchored ? AutoSizeLabel::Anchor::Right
                                                            : AutoSizeLabel::Anchor::Left);
            } else {
                label = new QLabel(parent);
                label->setGeometry(row.geometry);
            }
            label->setTextFormat(Qt::PlainText);
            label->setAlignment(row.alignment);
            label->setWordWrap(row.wordWrap);
            label->setMargin(0);
            label->setIndent(0);
            Palette::SetTextColour(label, row.colour);
            label->setFont(GameFont(row.family, row.pixelSize, row.bold, row.italic));
            if (auto *autoLabel = qobject_cast<AutoSizeLabel *>(label))
                autoLabel->setText(row.text);
            else
                label->setText(row.text);
            widget = label;
            break;
        }
        case ControlKind::Panel: {
            PanelMenu = new QWidget(parent);
            PanelMenu->setAutoFillBackground(true);
            QPalette palette = PanelMenu->palette();
            palette.setColor(QPalette::Window, row.colour);
            PanelMenu->setPalette(palette);
            PanelMenu->setGeometry(row.geometry);
            widget = PanelMenu;
            break;
        }
        case ControlKind::Gauge: {
            GaugeLoad = new TGauge(parent);
            GaugeLoad->setGeometry(row.geometry);
            // The loading gauge sits on the system's window colour.
            GaugeLoad->setBackColor(QApplication::palette().color(QPalette::Base));
            widget = GaugeLoad;
            break;
        }
        case ControlKind::Lcd: {
            LCD99 = new TLCD99(parent);
            LCD99->setColor(Qt::black);
            LCD99->setDigitNum(6);
            LCD99->setSegmentSize(1);
            LCD99->setOffColor(QColor(40, 40, 40));
            LCD99->setOnColor(QColor(185, 255, 0));
            LCD99->setGeometry(row.geometry);
            widget = LCD99;
            break;
        }
        }
        widget->setObjectName(row.name);
        widget->setVisible(row.visible);
        widget->setEnabled(row.enabled);
        m_controls.insert(row.name, widget);
    }

    const auto label = [this](const char *name) {
        return qobject_cast<QLabel *>(m_controls.value(QString::fromLatin1(name)));
    };
    const auto autoLabel = [this](const char *name) {
        return qobject_cast<AutoSizeLabel *>(m_controls.value(QString::fromLatin1(name)));
    };
    ImageForm = label("ImageForm");
    ImageAnswerA = label("ImageAnswerA");
    ImageAnswerD = label("ImageAnswerD");
    ImageAnswerC = label("ImageAnswerC");
    ImageAnswerB = label("ImageAnswerB");
    LabelQuestion = label("LabelQuestion");
    LabelAnswerA = label("LabelAnswerA");
    LabelAnswerB = label("LabelAnswerB");
    LabelAnswerC = label("LabelAnswerC");
    LabelAnswerD = label("LabelAnswerD");
    LabelTitle = label("LabelTitle");
    LabelTimer = label("LabelTimer");
    LabelTypeScience = label("LabelTypeScience");
    LabelAutorQuestion = label("LabelAutorQuestion");
    LabelB = label("LabelB");
    LabelD = label("LabelD");
    LabelA = label("LabelA");
    LabelC = label("LabelC");
    LabelClkA = label("LabelClkA");
    LabelClkB = label("LabelClkB");
    LabelClkC = label("LabelClkC");
    LabelClkD = label("LabelClkD");
    ImageNewYear = label("ImageNewYear");
    LblNmQA = autoLabel("LblNmQA");
    LabelScore = autoLabel("LabelScore");
    LabelDialog = label("LabelDialog");
    ImageMenu = label("ImageMenu");
    ImagePrompt50 = label("ImagePrompt50");
    ImagePromptTel = label("ImagePromptTel");
    ImagePromptMan = label("ImagePromptMan");
    LabelPrompt50 = label("LabelPrompt50");
    LabelPromptMan = label("LabelPromptMan");
    LabelPromptTel = label("LabelPromptTel");
    LabelNameGamer = label("LabelNameGamer");
    ImageClose = label("ImageClose");
    LabelBtnClose = label("LabelBtnClose");
    ImageAbout = label("ImageAbout");
    LabelBtnAbout = label("LabelBtnAbout");
    ImageNewGame = label("ImageNewGame");
    LabelBtnNewGame = label("LabelBtnNewGame");
    ImageNewName = label("ImageNewName");
    LabelNewName = label("LabelNewName");
    for (int step = 1; step <= 15; ++step)
        ImagePos[step] = label(("ImagePos" + QByteArray::number(step)).constData());
    LabelNumLoad = label("LabelNumLoad");
    LabelLoad = autoLabel("LabelLoad");

    // A release that may not act only ends the pressed look.
    const auto answerLook = [](QLabel *highlight, QLabel *letter) {
        return [highlight, letter] {
            highlight->hide();
            Palette::SetTextColour(letter, Palette::Letter);
        };
    };
    const auto hides = [](QLabel *picture) { return [picture] { picture->hide(); }; };
    routeMouse(LabelClkA, &TFormMain::LabelClkAMouseDown, &TFormMain::LabelClkAMouseUp,
               answerLook(ImageAnswerA, LabelA));
    routeMouse(LabelClkB, &TFormMain::LabelClkBMouseDown, &TFormMain::LabelClkBMouseUp,
               answerLook(ImageAnswerB, LabelB));
    routeMouse(LabelClkC, &TFormMain::LabelClkCMouseDown, &TFormMain::LabelClkCMouseUp,
               answerLook(ImageAnswerC, LabelC));
    routeMouse(LabelClkD, &TFormMain::LabelClkDMouseDown, &TFormMain::LabelClkDMouseUp,
               answerLook(ImageAnswerD, LabelD));
    routeClick(LabelPrompt50, &TFormMain::LabelPrompt50Click);
    routeClick(LabelPromptTel, &TFormMain::LabelPromptTelClick);
    routeClick(LabelPromptMan, &TFormMain::LabelPromptManClick);
    routeMouse(LabelBtnNewGame, &TFormMain::LabelBtnNewGameMouseDown, &TFormMain::LabelBtnNewGameMouseUp,
               hides(ImageNewGame));
    routeMouse(LabelNewName, &TFormMain::LabelNewNameMouseDown, &TFormMain::LabelNewNameMouseUp,
               hides(ImageNewName));
    routeMouse(LabelBtnClose, &TFormMain::LabelBtnCloseMouseDown, &TFormMain::LabelBtnCloseMouseUp,
               hides(ImageClose));
    routeMouse(LabelBtnAbout, &TFormMain::LabelBtnAboutMouseDown, &TFormMain::LabelBtnAboutMouseUp,
               hides(ImageAbout));
}

const GameState &TFormMain::state() const
{
    return m_session.state();
}

QWidget *TFormMain::control(const QString &name) const
{
    return m_controls.value(name);
}

void TFormMain::routeMouse(QLabel *label, void (TFormMain::*down)(), void (TFormMain::*up)(),
                           std::function<void()> restore)
{
    PressArea *press = PressArea::Of(label);
    press->setMeaning([this, label] { return pressMeaning(label); });
    press->setOnPress([this, down](QMouseEvent *) { (this->*down)(); });
    press->setOnRelease([this, up](QMouseEvent *) { (this->*up)(); });
    press->setOnRestore(std::move(restore));
}

void TFormMain::routeClick(QLabel *label, void (TFormMain::*click)())
{
    PressArea *press = PressArea::Of(label);
    press->setMeaning([this, label] { return pressMeaning(label); });
    press->setOnClick([this, click] { (this->*click)(); });
}

QString TFormMain::pressMeaning(const QLabel *area) const
{
    return QStringLiteral("%1|%2|%3|%4")
        .arg(state().GameActive ? QStringLiteral("game") : QStringLiteral("idle"))
        .arg(state().QuestionNumber)
        .arg(state().CurrentQuestion.Question, area->text());
}

void TFormMain::setDialogs(QWidget *about, QWidget *telephone, QWidget *newNameGamer, QWidget *man,
                           QWidget *top5)
{
    m_about = about;
    m_telephone = telephone;
    m_newNameGamer = newNameGamer;
    m_man = man;
    m_top5 = top5;
}

void TFormMain::holdFor(QWidget *dialog)
{
    if (!dialog || m_holders.contains(dialog))
        return;
    m_holders.insert(dialog);
    connect(dialog, &QObject::destroyed, this, [this, dialog] { releaseFrom(dialog); });
    Stage->setEnabled(false);
}

void TFormMain::releaseFrom(QWidget *dialog)
{
    if (!m_holders.remove(dialog))
        return;
    disconnect(dialog, &QObject::destroyed, this, nullptr);
    if (m_holders.isEmpty())
        Stage->setEnabled(true);
}

QPoint TFormMain::CursorOnStage() const
{
    return Stage->mapFromGlobal(QCursor::pos());
}

void TFormMain::placeStage()
{
    const QSize area = size();
    const QPoint before = Stage->pos();
    Stage->move((area.width() - MainLayout::StageWidth) / 2, (area.height() - MainLayout::StageHeight) / 2);
    const QPoint shift = Stage->pos() - before;
    if (shift.isNull())
        return;
    // The panels that are up (dialogs, a message, the key list) keep their
    // place on the stage, wholly on the window: centred ones stay centred.
    for (QWidget *panel : findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly)) {
        if (panel == Stage || panel->isHidden())
            continue;
        const QPoint topLeft = panel->pos() + shift;
        panel->move(std::clamp(topLeft.x(), 0, std::max(0, area.width() - panel->width())),
                    std::clamp(topLeft.y(), 0, std::max(0, area.height() - panel->height())));
    }
}

void TFormMain::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    placeStage();
}

bool TFormMain::EnterFullScreen()
{
    const QSize screen = FullScreen::ScreenSize();
    if (!FullScreen::HoldsStage(screen)) {
        m_fullScreen = false;
        return false;
    }
    // The program is already scaled so that the stage fills the screen; the
    // window covers the whole screen and shows the window colour around it.
    const QScreen *primary = QGuiApplication::primaryScreen();
    setGeometry(QRect(primary ? primary->geometry().topLeft() : QPoint(), screen));
    placeStage(); // a hidden window gets its resize event only when shown
    setWindowState(windowState() | Qt::WindowFullScreen);
    m_fullScreen = true;
    m_screenSaver.Inhibit();
    return true;
}

void TFormMain::LeaveFullScreen()
{
    if (m_fullScreen) {
        setWindowState(windowState() & ~Qt::WindowFullScreen);
        m_fullScreen = false;
    }
    m_screenSaver.Release();
    if (QClipboard *clipboard = QGuiApplication::clipboard())
        clipboard->clear();
}

bool TFormMain::PlayInWindow(bool window)
{
    if (window == m_inWindow)
        return true;
    if (window) {
        if (m_fullScreen) {
            setWindowState(windowState() & ~Qt::WindowFullScreen);
            m_fullScreen = false;
        }
        m_screenSaver.Release();
        setGeometry(0, 0, MainLayout::StageWidth, MainLayout::StageHeight);
        m_inWindow = true;
    } else {
        if (!FullScreen::HoldsStage(FullScreen::ScreenSize()))
            return false;
        m_inWindow = false;
        EnterFullScreen();
    }
    placeStage();
    return true;
}

QPixmap TFormMain::BuildBanner(const QPixmap &newYear, const QPixmap &snow, const QColor &buttonFace)
{
    // Work at the pieces' density so the banner stays sharp on a scaled screen.
    const qreal ratio = std::max<qreal>(1.0, std::max(newYear.devicePixelRatio(), snow.devicePixelRatio()));
    QImage work(QSize(MainLayout::StageWidth, MainLayout::StageHeight) * ratio, QImage::Format_ARGB32);
    work.setDevicePixelRatio(ratio);
    work.fill(buttonFace);
    {
        QPainter painter(&work);
        painter.drawPixmap(0, 0, newYear);
        for (int x : {58, 357, 656, 955})
            painter.drawPixmap(x, 0, snow);
    }
    QImage strip = work.copy(0, 0, work.width(), int(MainLayout::BannerHeight * ratio));
    strip.setDevicePixelRatio(ratio);
    const QRgb key = BannerKey.rgb();
    for (int y = 0; y < strip.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(strip.scanLine(y));
        for (int x = 0; x < strip.width(); ++x) {
            if ((line[x] | 0xff000000u) == key && qAlpha(line[x]) == 255)
                line[x] = qRgba(0, 0, 0, 0);
        }
    }
    return QPixmap::fromImage(strip);
}

void TFormMain::FormCreate()
{
    if (!EnterFullScreen()) {
        ShowMessage(this, FullScreenError);
        // Played in a plain window of the stage's size, in the screen's middle.
        resize(MainLayout::StageWidth, MainLayout::StageHeight);
        placeStage();
        if (const QScreen *primary = QGuiApplication::primaryScreen())
            move(primary->geometry().center() - rect().center());
    }

    const QPixmap cross = Art::Picture(QStringLiteral("NOCLICK"));
    ImagePrompt50->setPixmap(cross);
    ImagePromptTel->setPixmap(cross);
    ImagePromptMan->setPixmap(cross);

    ImageNewYear->setPixmap(BuildBanner(Art::Picture(QStringLiteral("NEW_YEAR")),
                                        Art::Picture(QStringLiteral("SNOW")),
                                        QApplication::palette().color(QPalette::Button)));
}

void TFormMain::FormClose()
{
    if (m_closed)
        return;
    m_closed = true;
    m_session.Close();
    TimerForMenu->setEnabled(false);
    LeaveFullScreen();
}

void TFormMain::EndSession(bool displayLost)
{
    if (m_closed)
        return; // closed already, the game with it
    SetMessagesUnattended(true);
    m_session.SetUnattended(true);
    if (displayLost) {
        m_session.FinishGame(); // does nothing between games
        return;
    }
    close();
}

void TFormMain::closeEvent(QCloseEvent *event)
{
    FormClose();
    QWidget::closeEvent(event);
    emit closed();
}
