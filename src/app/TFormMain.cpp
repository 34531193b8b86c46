#include "TFormMain.h"

#include "PictureLabel.h"

#include "Art.h"
#include "AutoSizeLabel.h"
#include "Fonts.h"
#include "GameState.h"
#include "MainLayout.h"
#include "MessageBox.h"
#include "TGauge.h"
#include "TLCD99.h"
#include "TThreadedTimer.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QCursor>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

namespace {

const QString FullScreenError = QStringLiteral("Ошибка! Невозможно перейти в полноэкранный режим!");

void setTextColour(QWidget *widget, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    palette.setColor(QPalette::Text, colour);
    widget->setPalette(palette);
}

// The picture of a control; the four answer highlights share one picture.
QPixmap controlPicture(const QString &name)
{
    QPixmap picture = Art::Picture(QStringLiteral("TFormMain/") + name);
    if (picture.isNull() && name.startsWith(QLatin1String("ImageAnswer")))
        picture = Art::Picture(QStringLiteral("TFormMain/ImageAnswerA"));
    return picture;
}

} // namespace

TFormMain::TFormMain(GameState &state, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), m_state(state)
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
    TimerForMenu->setEnabled(true);

    FormCreate();
}

TFormMain::~TFormMain()
{
    // The timers' handlers reach into this window: stop them before the
    // controls go.
    Timer->setEnabled(false);
    TimerForMenu->setEnabled(false);
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
            setTextColour(label, row.colour);
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

    routeMouse(LabelClkA, &TFormMain::LabelClkAMouseDown, &TFormMain::LabelClkAMouseUp);
    routeMouse(LabelClkB, &TFormMain::LabelClkBMouseDown, &TFormMain::LabelClkBMouseUp);
    routeMouse(LabelClkC, &TFormMain::LabelClkCMouseDown, &TFormMain::LabelClkCMouseUp);
    routeMouse(LabelClkD, &TFormMain::LabelClkDMouseDown, &TFormMain::LabelClkDMouseUp);
    routeClick(LabelPrompt50, &TFormMain::LabelPrompt50Click);
    routeClick(LabelPromptTel, &TFormMain::LabelPromptTelClick);
    routeClick(LabelPromptMan, &TFormMain::LabelPromptManClick);
    routeMouse(LabelBtnNewGame, &TFormMain::LabelBtnNewGameMouseDown, &TFormMain::LabelBtnNewGameMouseUp);
    routeMouse(LabelNewName, &TFormMain::LabelNewNameMouseDown, &TFormMain::LabelNewNameMouseUp);
    routeMouse(LabelBtnClose, &TFormMain::LabelBtnCloseMouseDown, &TFormMain::LabelBtnCloseMouseUp);
    routeMouse(LabelBtnAbout, &TFormMain::LabelBtnAboutMouseDown, &TFormMain::LabelBtnAboutMouseUp);
}

QWidget *TFormMain::control(const QString &name) const
{
    return m_controls.value(name);
}

void TFormMain::routeMouse(QLabel *label, void (TFormMain::*down)(), void (TFormMain::*up)())
{
    MouseRoute &route = m_routes[label];
    route.down = down;
    route.up = up;
    label->installEventFilter(this);
}

void TFormMain::routeClick(QLabel *label, void (TFormMain::*click)())
{
    m_routes[label].click = click;
    label->installEventFilter(this);
}

bool TFormMain::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick
        && type != QEvent::MouseButtonRelease)
        return QWidget::eventFilter(watched, event);
    const auto found = m_routes.find(watched);
    if (found == m_routes.end())
        return QWidget::eventFilter(watched, event);

    auto *area = static_cast<QWidget *>(watched);
    auto *mouse = static_cast<QMouseEvent *>(event);
    // Copies: a handler may do anything, including processing events that
    // change the routes' state.
    MouseRoute route = *found;
    if (type == QEvent::MouseButtonRelease) {
        // Qt hands the release to the area that took the press.
        if (!route.pressed)
            return true;
        found->pressed = false;
        const bool inside = area->rect().contains(mouse->position().toPoint());
        if (route.up)
            (this->*route.up)();
        if (route.click && mouse->button() == Qt::LeftButton && inside)
            (this->*route.click)();
        return true;
    }
    // A disabled area takes no input.
    if (!area->isEnabled())
        return true;
    found->pressed = true;
    if (route.down)
        (this->*route.down)();
    return true;
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
    setEnabled(false);
}

void TFormMain::releaseFrom(QWidget *dialog)
{
    if (!m_holders.remove(dialog))
        return;
    disconnect(dialog, &QObject::destroyed, this, nullptr);
    if (m_holders.isEmpty())
        setEnabled(true);
}

QPoint TFormMain::CursorOnStage() const
{
    return Stage->mapFromGlobal(QCursor::pos());
}

void TFormMain::placeStage()
{
    const QSize area = size();
    Stage->move((area.width() - MainLayout::StageWidth) / 2, (area.height() - MainLayout::StageHeight) / 2);
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
    if (m_state.GameActive)
        FinishGame();
    TimerForMenu->setEnabled(false);
    LeaveFullScreen();
}

void TFormMain::EndSession(bool displayLost)
{
    if (m_closed)
        return; // closed already, the game with it
    m_sessionEnding = true;
    SetMessagesUnattended(true);
    if (displayLost) {
        if (m_state.GameActive)
            FinishGame();
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
