// The main window as the game session's view: the session's signals change
// the controls, and every mouse area and timer of the window hands its input
// to the session.
#include "app/TFormMain.h"

#include "forms/AutoSizeLabel.h"
#include "art/Art.h"
#include "game/GameSession.h"
#include "app/MainLayout.h"
#include "app/MenuPointer.h"
#include "game/MenuPanel.h"
#include "forms/MessageBox.h"
#include "game/QuestionDraw.h"
#include "app/TFormAbout.h"
#include "widgets/TGauge.h"
#include "widgets/TLCD99.h"
#include "widgets/TThreadedTimer.h"

#include <QCoreApplication>
#include <QLabel>

namespace {

const QColor PressedLetterColour{255, 255, 255};

void SetFontColour(QLabel *label, const QColor &colour)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
}

void SetPixelSize(QLabel *label, int pixels)
{
    QFont font = label->font();
    if (font.pixelSize() == pixels)
        return;
    font.setPixelSize(pixels);
    label->setFont(font);
}

} // namespace

// ---- What the session says ------------------------------------------------

void TFormMain::followSession()
{
    GameSession *session = &m_session;
    m_session.SetWebSite(TFormAbout::WebAddress);

    connect(session, &GameSession::hostSaid, LabelDialog, &QLabel::setText);

    connect(session, &GameSession::progressStarted, this, [this] {
        GaugeLoad->setProgress(0);
        GaugeLoad->show();
        LabelLoad->show();
        LabelBtnNewGame->setEnabled(false);
    });
    connect(session, &GameSession::progressCaption, this,
            [this](const QString &caption) { LabelLoad->setText(caption); });
    connect(session, &GameSession::progressMoved, GaugeLoad, &TGauge::setProgress);
    connect(session, &GameSession::progressEnded, this, [this] {
        GaugeLoad->hide();
        LabelLoad->hide();
        LabelBtnNewGame->setEnabled(true);
    });
    connect(session, &GameSession::newNameAllowed, LabelNewName, &QWidget::setEnabled);
    connect(session, &GameSession::gameNumberShown, this,
            [this](qint64 number) { LabelNumLoad->setText(QString::number(number)); });

    connect(session, &GameSession::gameStarted, this, [this] {
        LabelNewName->setEnabled(false);
        LabelBtnNewGame->setText(QStringLiteral("Забрать деньги..."));
        for (QLabel *area : {LabelClkA, LabelClkB, LabelClkC, LabelClkD, LabelPrompt50, LabelPromptTel,
                             LabelPromptMan})
            area->setEnabled(true);
        SetFontColour(LabelTimer, QColor(0, 255, 0));
        Timer->setEnabled(true);
        LCD99->setValue(QStringLiteral("0:00.0"));
    });
    connect(session, &GameSession::playStopped, this, [this] {
        for (QLabel *label : {LabelQuestion, LabelAutorQuestion, LabelAnswerA, LabelAnswerB, LabelAnswerC,
                              LabelAnswerD, LabelTypeScience})
            label->clear();
        for (QLabel *area : {LabelClkA, LabelClkB, LabelClkC, LabelClkD})
            area->setEnabled(false);
        for (QLabel *cross : {ImagePrompt50, ImagePromptTel, ImagePromptMan})
            cross->hide();
        for (QLabel *answer : {LabelAnswerA, LabelAnswerB, LabelAnswerC, LabelAnswerD})
            answer->show();
        for (QLabel *lifeline : {LabelPrompt50, LabelPromptTel, LabelPromptMan})
            lifeline->setEnabled(false);
        Timer->setEnabled(false);
    });
    connect(session, &GameSession::gameFinished, this, [this] {
        LabelNewName->setEnabled(true);
        LabelBtnNewGame->setText(QStringLiteral("Новая игра..."));
    });
    connect(session, &GameSession::leaderboardReady, this, [this] {
        if (m_top5)
            m_top5->show();
    });
    connect(session, &GameSession::failureShown, this, [this](const QString &text) { ShowMessage(this, text); });

    connect(session, &GameSession::markerChanged, this, [this](int position, const QString &picture) {
        ImagePos[position]->setPixmap(Art::Picture(picture));
    });
    connect(session, &GameSession::questionShown, this, &TFormMain::showQuestion);
    connect(session, &GameSession::answersRestored, this, [this] {
        for (int place = 1; place <= 4; ++place)
            answerLabel(place)->show();
    });
    connect(session, &GameSession::answerRemoved, this, [this](int place) {
        if (QLabel *answer = answerLabel(place))
            answer->hide();
    });
    connect(session, &GameSession::lifelineUsed, this, [this](GameSession::Lifeline lifeline) {
        switch (lifeline) {
        case GameSession::Lifeline::FiftyFifty:
            LabelPrompt50->setEnabled(false);
            ImagePrompt50->show();
            break;
        case GameSession::Lifeline::Telephone:
            ImagePromptTel->show();
            LabelPromptTel->setEnabled(false);
            break;
        case GameSession::Lifeline::Audience:
            ImagePromptMan->show();
            LabelPromptMan->setEnabled(false);
            break;
        }
    });
    connect(session, &GameSession::winningsShown, this,
            [this](int roubles) { LabelScore->setText(QString::number(roubles)); });
    connect(session, &GameSession::clockShown, LCD99, &TLCD99::setValue);
    connect(session, &GameSession::countdownShown, this,
            [this](int secondsLeft) { LabelTimer->setText(QString::number(secondsLeft)); });
    connect(session, &GameSession::countdownColoured, this, [this](Countdown::Rgb colour) {
        SetFontColour(LabelTimer, QColor(colour.red, colour.green, colour.blue));
    });

    connect(session, &GameSession::baseSummaryShown, this, [this](const QString &text) { LblNmQA->setText(text); });
    connect(session, &GameSession::boardCleared, this, [this] {
        LabelScore->setText(QString());
        LabelTimer->setText(QString());
        LCD99->setValue(QString());
        const QPixmap none = Art::Picture(QStringLiteral("NONE"));
        for (int step = 1; step <= 15; ++step)
            ImagePos[step]->setPixmap(none);
    });
    connect(session, &GameSession::playerAnnounced, LabelNameGamer, &QLabel::setText);
}

void TFormMain::showQuestion()
{
    const GameState &state = m_session.state();
    const QABase &question = state.CurrentQuestion;

    LabelTypeScience->setText(QuestionDraw::SubjectLine(state, question));
    LabelAutorQuestion->setText(QuestionDraw::AuthorLine(state, question));
    LabelTimer->setText(QStringLiteral("60"));

    LabelQuestion->setText(question.Question);
    SetPixelSize(LabelQuestion, QuestionDraw::PointsToPixels(m_session.QuestionPoints()));

    for (int place = 1; place <= 4; ++place)
        answerLabel(place)->setText(question.Answers[state.AnswerPos[place]]);
    for (int place = 1; place <= 4; ++place)
        SetPixelSize(answerLabel(place), QuestionDraw::PointsToPixels(m_session.AnswerPoints()));
}

// ---- Places A..D ----------------------------------------------------------

QLabel *TFormMain::answerLabel(int place) const
{
    const std::array<QLabel *, 5> labels{nullptr, LabelAnswerA, LabelAnswerB, LabelAnswerC, LabelAnswerD};
    return place >= 1 && place <= 4 ? labels[place] : nullptr;
}

void TFormMain::answerPressed(int place)
{
    const std::array<QLabel *, 5> highlights{nullptr, ImageAnswerA, ImageAnswerB, ImageAnswerC, ImageAnswerD};
    const std::array<QLabel *, 5> letters{nullptr, LabelA, LabelB, LabelC, LabelD};
    highlights[place]->show();
    SetFontColour(letters[place], PressedLetterColour);
}

void TFormMain::answerReleased(int place)
{
    const std::array<QLabel *, 5> highlights{nullptr, ImageAnswerA, ImageAnswerB, ImageAnswerC, ImageAnswerD};
    const std::array<QLabel *, 5> letters{nullptr, LabelA, LabelB, LabelC, LabelD};
    highlights[place]->hide();
    SetFontColour(letters[place], MainLayout::LetterColour);
    m_session.Answer(place);
}

// ---- Timers ---------------------------------------------------------------

void TFormMain::TimerTimer()
{
    // The countdown stands still while a dialog holds the stage.
    m_session.TimerTick(Stage->isEnabled());
}

void TFormMain::TimerForMenuTimer()
{
    // A motion still waiting in the queue is the latest word on the pointer.
    QCoreApplication::processEvents();
    const int left = PanelMenu->x();
    const int moved = MenuPanel::Slide(left, Stage->mapFromGlobal(m_menuPointer->Position()).x());
    if (moved != left)
        PanelMenu->move(moved, PanelMenu->y());
    m_menuPointer->TickDone();
    QCoreApplication::processEvents();
}

// ---- Mouse areas ----------------------------------------------------------

void TFormMain::LabelClkAMouseDown() { answerPressed(1); }
void TFormMain::LabelClkAMouseUp() { answerReleased(1); }
void TFormMain::LabelClkBMouseDown() { answerPressed(2); }
void TFormMain::LabelClkBMouseUp() { answerReleased(2); }
void TFormMain::LabelClkCMouseDown() { answerPressed(3); }
void TFormMain::LabelClkCMouseUp() { answerReleased(3); }
void TFormMain::LabelClkDMouseDown() { answerPressed(4); }
void TFormMain::LabelClkDMouseUp() { answerReleased(4); }

void TFormMain::LabelPrompt50Click()
{
    m_session.UseLifeline(GameSession::Lifeline::FiftyFifty);
}

void TFormMain::LabelPromptTelClick()
{
    if (m_session.UseLifeline(GameSession::Lifeline::Telephone) && m_telephone)
        m_telephone->show();
}

void TFormMain::LabelPromptManClick()
{
    if (m_session.UseLifeline(GameSession::Lifeline::Audience) && m_man)
        m_man->show();
}

void TFormMain::LabelBtnNewGameMouseDown()
{
    ImageNewGame->show();
}

void TFormMain::LabelBtnNewGameMouseUp()
{
    ImageNewGame->hide();
    m_session.NewGameOrTakeMoney();
}

void TFormMain::LabelNewNameMouseDown()
{
    ImageNewName->show();
}

void TFormMain::LabelNewNameMouseUp()
{
    ImageNewName->hide();
    if (!m_session.BetweenGames())
        return;
    if (m_newNameGamer)
        m_newNameGamer->show();
}

void TFormMain::LabelBtnCloseMouseDown()
{
    ImageClose->show();
}

void TFormMain::LabelBtnCloseMouseUp()
{
    ImageClose->hide();
    close();
}

void TFormMain::LabelBtnAboutMouseDown()
{
    ImageAbout->show();
}

void TFormMain::LabelBtnAboutMouseUp()
{
    ImageAbout->hide();
    if (m_about) {
        m_about->show();
        m_about->raise();
    }
}
