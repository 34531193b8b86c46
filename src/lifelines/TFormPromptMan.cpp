#include "lifelines/TFormPromptMan.h"

#include "art/Art.h"
#include "forms/DialogHost.h"
#include "forms/Fonts.h"
#include "game/GameSession.h"
#include "questionbase/Random.h"
#include "forms/Palette.h"
#include "widgets/TGauge.h"
#include "widgets/TThreadedTimer.h"

#include <QCloseEvent>
#include <QLabel>
#include <QScreen>

using namespace Qt::Literals::StringLiterals;

namespace {

const QColor WindowColor = Palette::Studio;
const QColor BarColor = Palette::LcdLit;

} // namespace

TFormPromptMan::TFormPromptMan(GameSession &session, DialogHost &host)
    : DialogPanel(&host, host.DialogSurface(), u"Помощь зала"_s, QSize(205, 280), WindowColor)
    , m_session(session)
    , m_random(&SystemRandom())
{
    setObjectName(u"TFormPromptMan"_s);
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
    DragBy(LabelTitle);

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
    HoldStage();
    // The focus comes to the dialog, so that a screen reader names it; the
    // vote is read out by the host when it closes.
    setFocus(Qt::OtherFocusReason);
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
    ReleaseStage();
    m_session.LeaveHostMessage(Lifelines::AudienceSummary(
        m_session.state().PlayerName, GaugeA->Progress(), GaugeB->Progress(), GaugeC->Progress(), GaugeD->Progress()));
    for (TGauge *gauge : {GaugeA, GaugeB, GaugeC, GaugeD})
        gauge->setProgress(0);
    TimerAnimProc->setEnabled(false);
    m_animationTicks = 0;
}
