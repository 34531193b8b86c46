#include "TFormPromptMan.h"

#include "Art.h"
#include "DialogTitleDrag.h"
#include "Fonts.h"
#include "GameSession.h"
#include "Random.h"
#include "TFormMain.h"
#include "TGauge.h"
#include "TThreadedTimer.h"

#include <QCloseEvent>
#include <QLabel>
#include <QScreen>

using namespace Qt::Literals::StringLiterals;

namespace {

const QColor WindowColor(16, 8, 41);
const QColor BarColor(185, 255, 0);

} // namespace

TFormPromptMan::TFormPromptMan(GameSession &session, TFormMain &main, QWidget *parent)
    : QWidget(parent, Qt::Dialog | Qt::FramelessWindowHint)
    , m_session(session)
    , m_main(main)
    , m_random(&SystemRandom())
{
    setObjectName(u"TFormPromptMan"_s);
    setWindowTitle(u"Помощь зала"_s);
    setFixedSize(205, 280);
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, WindowColor);
    setPalette(palette);
    setFont(GameFont(FontFamily::MsSansSerif, 11));

    ImageForm = new QLabel(this);
    ImageForm->setObjectName(u"ImageForm"_s);
    ImageForm->setTextFormat(Qt::PlainText);
    ImageForm->setGeometry(0, 0, 205, 280);
    ImageForm->setPixmap(Art::Picture(u"TFormPromptMan/ImageForm"_s));

    const struct {
        TGauge *&gauge;
        const char16_t *name;
        int left;
    } gauges[] = {
        {GaugeA, u"GaugeA", 5},
        {GaugeB, u"GaugeB", 55},
        {GaugeC, u"GaugeC", 105},
        {GaugeD, u"GaugeD", 155},
    };
    for (const auto &g : gauges) {
        auto *gauge = new TGauge(this);
        gauge->setObjectName(QString::fromUtf16(g.name));
        gauge->setGeometry(g.left, 43, 45, 202);
        gauge->setKind(TGauge::gkVerticalBar);
        gauge->setForeColor(BarColor);
        gauge->setBackColor(WindowColor);
        gauge->setColor(WindowColor);
        gauge->setFont(GameFont(FontFamily::MsSansSerif, 11));
        QPalette text = gauge->palette();
        text.setColor(QPalette::WindowText, Qt::black);
        gauge->setPalette(text);
        gauge->setProgress(0);
        g.gauge = gauge;
    }

    LabelTitle = new QLabel(this);
    LabelTitle->setObjectName(u"LabelTitle"_s);
    LabelTitle->setTextFormat(Qt::PlainText);
    LabelTitle->setAlignment(Qt::AlignCenter);
    LabelTitle->setGeometry(12, 7, 148, 25);
    LabelTitle->setFont(GameFont(FontFamily::Arial, 13, true));
    QPalette white = LabelTitle->palette();
    white.setColor(QPalette::WindowText, Qt::white);
    LabelTitle->setPalette(white);
    LabelTitle->setText(u"Помощь зала"_s);
    LabelTitle->setCursor(Qt::SizeAllCursor);
    m_titleDrag = new DialogTitleDrag(LabelTitle, this);

    TimerAnimProc = new TThreadedTimer(this);
    TimerAnimProc->setObjectName(u"TimerAnimProc"_s);
    TimerAnimProc->setInterval(35);
    TimerAnimProc->setOnTimer([this] { TimerAnimProcTimer(); });
}

TFormPromptMan::~TFormPromptMan()
{
    // Stop the worker before the gauges that its handler touches go away.
    delete TimerAnimProc;
    TimerAnimProc = nullptr;
}

void TFormPromptMan::FormShow()
{
    if (QScreen *screen = this->screen())
        move(screen->geometry().center() - rect().center());
    m_main.holdFor(this);
    m_audienceShares = Lifelines::AudienceVote(m_session.state().DifficultyTier, *m_random);
    TimerAnimProc->setEnabled(true);
}

void TFormPromptMan::TimerAnimProcTimer()
{
    const auto gauges = Gauges();
    for (int place = 1; place <= 4; ++place) {
        const int answer = m_session.state().AnswerPos[place];
        const int share = answer >= 1 && answer <= 4 ? m_audienceShares[answer] : 0;
        if (gauges[place]->Progress() < share)
            gauges[place]->setProgress(gauges[place]->Progress() + 1);
    }
    ++m_animationTicks;
    if (m_animationTicks >= Lifelines::AnimationTicksToHide)
        hide();
}

void TFormPromptMan::FormHide()
{
    m_main.releaseFrom(this);
    m_session.LeaveHostMessage(Lifelines::AudienceSummary(
        m_session.state().PlayerName, GaugeA->Progress(), GaugeB->Progress(), GaugeC->Progress(), GaugeD->Progress()));
    for (TGauge *gauge : {GaugeA, GaugeB, GaugeC, GaugeD})
        gauge->setProgress(0);
    TimerAnimProc->setEnabled(false);
    m_animationTicks = 0;
}

void TFormPromptMan::FormClose()
{
    m_main.close();
}

void TFormPromptMan::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TFormPromptMan::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    if (!event->spontaneous())
        FormHide();
}

void TFormPromptMan::closeEvent(QCloseEvent *event)
{
    // Only the window system closes this dialog (it hides itself otherwise):
    // that ends the program through the main window.
    FormClose();
    event->accept();
}
