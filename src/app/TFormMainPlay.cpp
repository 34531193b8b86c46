// The game on the main window: starting and ending a game with the base's
// loading and saving, the question draw, the ladder, the countdown, and every
// mouse area of the window.
#include "TFormMain.h"

#include "AutoSizeLabel.h"
#include "Art.h"
#include "BaseDescription.h"
#include "BaseList.h"
#include "BaseLoader.h"
#include "Countdown.h"
#include "GameState.h"
#include "HostText.h"
#include "Ladder.h"
#include "MainLayout.h"
#include "MenuPanel.h"
#include "MessageBox.h"
#include "MoneyLadder.h"
#include "QuestionDraw.h"
#include "Random.h"
#include "TFormAbout.h"
#include "TGauge.h"
#include "TLCD99.h"
#include "TThreadedTimer.h"

#include <QCoreApplication>
#include <QDir>
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

// ---- Places A..D --------------------------------------------------------

QLabel *TFormMain::answerLabel(int place) const
{
    const std::array<QLabel *, 5> labels{nullptr, LabelAnswerA, LabelAnswerB, LabelAnswerC,
                                         LabelAnswerD};
    return place >= 1 && place <= 4 ? labels[place] : nullptr;
}

void TFormMain::answerPressed(int place)
{
    const std::array<QLabel *, 5> highlights{nullptr, ImageAnswerA, ImageAnswerB, ImageAnswerC,
                                             ImageAnswerD};
    const std::array<QLabel *, 5> letters{nullptr, LabelA, LabelB, LabelC, LabelD};
    highlights[place]->show();
    SetFontColour(letters[place], PressedLetterColour);
}

void TFormMain::answerReleased(int place)
{
    const std::array<QLabel *, 5> highlights{nullptr, ImageAnswerA, ImageAnswerB, ImageAnswerC,
                                             ImageAnswerD};
    const std::array<QLabel *, 5> letters{nullptr, LabelA, LabelB, LabelC, LabelD};
    highlights[place]->hide();
    SetFontColour(letters[place], MainLayout::LetterColour);
    // The areas are enabled only in a game; a release that arrives after the
    // game ended under the pressed button (the time ran out) answers nothing.
    if (m_state.GameActive)
        AnswerChosen(place);
}

void TFormMain::setMarker(int position, const QString &picture)
{
    if (position >= 1 && position <= 15)
        ImagePos[position]->setPixmap(Art::Picture(picture));
}

// ---- Loading and saving -------------------------------------------------

void TFormMain::showProgress(qint64 processed, qint64 total)
{
    GaugeLoad->setProgress(GaugeValue(processed, total));
    if (!m_sessionEnding)
        QCoreApplication::processEvents();
}

void TFormMain::BeginGame()
{
    if (m_baseBusy || m_state.GameActive)
        return;
    m_baseBusy = true;
    const auto progress = [this](qint64 processed, qint64 total) {
        showProgress(processed, total);
    };

    GaugeLoad->setProgress(0);
    GaugeLoad->show();
    LabelLoad->show();
    LabelLoad->setText(QStringLiteral("Загрузка вопросной базы..."));
    LabelBtnNewGame->setEnabled(false);
    // The new-game dialog reads bases too; keep it closed while this one loads.
    LabelNewName->setEnabled(false);

    std::int32_t gamesPlayed = 0;
    const std::optional<BaseFailure> failure =
        LoadBase(BasePath(m_state.CurrentBaseFile), m_state, &gamesPlayed, progress);

    if (failure || m_closed) {
        // No game on a base that did not load whole: the window stays between games.
        if (failure)
            LabelDialog->setText(HostText::LoadFailure(m_state.PlayerName, TFormAbout::WebAddress));
        LabelNewName->setEnabled(true);
        GaugeLoad->hide();
        LabelLoad->hide();
        LabelBtnNewGame->setEnabled(true);
        m_baseBusy = false;
        // With no base at all the player also learns what a base is and
        // where it goes, as the new-game dialog tells it.
        if (failure && !m_closed && ListBaseFiles(QStringLiteral("QA")).isEmpty())
            ShowMessage(this, NoBasesMessage(QDir(QStringLiteral("QA")).absolutePath()));
        return;
    }
    LabelNumLoad->setText(QString::number(qint64(gamesPlayed) + 1));

    if (gamesPlayed < 1) {
        LabelLoad->setText(QStringLiteral("Первый запуск..."));
        GaugeLoad->setProgress(0);
        ShuffleLevels(m_state, SystemRandom(), progress);
    }

    for (int position = 1; position <= 15; ++position)
        setMarker(position, Ladder::MarkerPicture(Ladder::Marker::None));

    LabelNewName->setEnabled(false);
    LabelBtnNewGame->setText(QStringLiteral("Забрать деньги..."));

    for (QLabel *area : {LabelClkA, LabelClkB, LabelClkC, LabelClkD, LabelPrompt50, LabelPromptTel,
                         LabelPromptMan})
        area->setEnabled(true);

    SetFontColour(LabelTimer, QColor(0, 255, 0));
    Timer->setEnabled(true);
    LCD99->setValue(QStringLiteral("0:00.0"));

    m_state.GameActive = true;

    GaugeLoad->hide();
    LabelLoad->hide();
    LabelBtnNewGame->setEnabled(true);
    m_baseBusy = false;
}

void TFormMain::FinishGame()
{
    if (m_baseBusy || !m_state.GameActive)
        return;
    m_baseBusy = true;
    m_state.GameActive = false;

    for (QLabel *label : {LabelQuestion, LabelAutorQuestion, LabelAnswerA, LabelAnswerB,
                          LabelAnswerC, LabelAnswerD, LabelTypeScience})
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
    m_state.SecondTicks = 0;
    m_state.SecondsLeft = 60;

    m_state.Leaders.fill(BestTable());
    std::int32_t gamesPlayed = 0;

    GaugeLoad->setProgress(0);
    GaugeLoad->show();
    LabelLoad->show();
    LabelBtnNewGame->setEnabled(false);

    const QString path = BasePath(m_state.CurrentBaseFile);
    QByteArray headerLine;
    LabelLoad->setText(QStringLiteral("Чтение таблицы лидеров..."));
    std::optional<BaseFailure> failure =
        ReadLeaderboard(path, &headerLine, m_state.Leaders, &gamesPlayed);
    if (!failure) {
        m_state.Leaders[6] = BestTable{m_state.PlayerName,
                                       MoneyLadder::StepOfWinnings(m_state.Winnings),
                                       m_state.GameTicks};
        RankLeaders(m_state.Leaders);
        gamesPlayed = NextGamesPlayed(gamesPlayed);

        if (m_top5 && !m_sessionEnding)
            m_top5->show();

        LabelLoad->setText(QStringLiteral("Запись в вопросную базу..."));
        failure = RewriteBase(path, headerLine, m_state, gamesPlayed,
                              [this](qint64 processed, qint64 total) {
                                  showProgress(processed, total);
                              });
    }
    if (failure)
        ShowMessage(this, HostText::WriteFailure());

    m_state.QuestionNumber = 1;
    m_state.GameTicks = 0;
    LabelNewName->setEnabled(true);
    LabelBtnNewGame->setText(QStringLiteral("Новая игра..."));

    GaugeLoad->hide();
    LabelLoad->hide();
    LabelBtnNewGame->setEnabled(true);
    m_baseBusy = false;
}

// ---- The question and the ladder ----------------------------------------

bool TFormMain::DrawQuestion()
{
    if (!QuestionDraw::Draw(m_state, SystemRandom()))
        return false;
    const QABase &question = m_state.CurrentQuestion;

    LabelTypeScience->setText(QuestionDraw::SubjectLine(m_state, question));
    LabelAutorQuestion->setText(QuestionDraw::AuthorLine(m_state, question));
    LabelTimer->setText(QStringLiteral("60"));

    LabelQuestion->setText(question.Question);
    m_questionPoints = QuestionDraw::QuestionFontPoints(int(question.Question.size()), m_questionPoints);
    SetPixelSize(LabelQuestion, QuestionDraw::PointsToPixels(m_questionPoints));

    for (int place = 1; place <= 4; ++place)
        answerLabel(place)->setText(question.Answers[m_state.AnswerPos[place]]);
    m_answerPoints = QuestionDraw::AnswerFontPoints(QuestionDraw::LongestAnswerLength(question),
                                                    m_answerPoints);
    for (int place = 1; place <= 4; ++place)
        SetPixelSize(answerLabel(place), QuestionDraw::PointsToPixels(m_answerPoints));
    return true;
}

void TFormMain::AdvanceLadder()
{
    for (int place = 1; place <= 4; ++place)
        answerLabel(place)->show();

    const Ladder::Step step = Ladder::StepFor(m_state.QuestionNumber, m_state.PlayerName);
    if (step.tier != 0)
        m_state.DifficultyTier = step.tier;
    if (step.drawsQuestion && !DrawQuestion()) {
        // A level without questions cannot be played; the loading refuses such
        // bases, so this only guards against a table changed behind its back.
        LabelDialog->setText(HostText::LoadFailure(m_state.PlayerName, TFormAbout::WebAddress));
        FinishGame();
        LabelScore->setText(QString::number(m_state.Winnings));
        return;
    }
    m_state.Winnings = step.winnings;
    LabelDialog->setText(step.message);
    for (const Ladder::MarkerChange &change : step.markers)
        setMarker(change.position, Ladder::MarkerPicture(change.marker));
    if (step.endsGame)
        FinishGame();
    LabelScore->setText(QString::number(m_state.Winnings));
}

void TFormMain::AnswerChosen(int place)
{
    if (place < 1 || place > 4)
        return;
    if (m_state.AnswerPos[place] == 1) {
        ++m_state.QuestionNumber;
        AdvanceLadder();
    } else {
        WrongAnswer(m_state.CurrentQuestion.Answers[m_state.AnswerPos[place]]);
    }
}

void TFormMain::WrongAnswer(const QString &chosen)
{
    const Ladder::WrongOutcome outcome = Ladder::WrongAnswer(m_state, chosen);
    LabelScore->setText(QString::number(m_state.Winnings));
    LabelDialog->setText(outcome.message);
    setMarker(outcome.redMarker, Ladder::MarkerPicture(Ladder::Marker::Red));
    if (m_state.GameActive)
        FinishGame();
}

// ---- Timers -------------------------------------------------------------

void TFormMain::TimerTimer()
{
    if (!m_state.GameActive)
        return;
    // The countdown stands still while a dialog holds the window.
    const Countdown::Tick tick = Countdown::TimerTick(m_state, isEnabled());
    LCD99->setValue(tick.clock);
    if (!tick.secondPassed)
        return;
    LabelTimer->setText(QString::number(tick.secondsLeft));
    if (tick.recolour)
        SetFontColour(LabelTimer, QColor(tick.colour.red, tick.colour.green, tick.colour.blue));
    if (!tick.message.isEmpty())
        LabelDialog->setText(tick.message);
    if (tick.timeUp)
        FinishGame();
}

void TFormMain::TimerForMenuTimer()
{
    const int left = PanelMenu->x();
    const int moved = MenuPanel::Slide(left, CursorOnStage().x());
    if (moved != left)
        PanelMenu->move(moved, PanelMenu->y());
    QCoreApplication::processEvents();
}

// ---- Mouse areas --------------------------------------------------------

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
    if (!m_state.GameActive)
        return;
    LabelPrompt50->setEnabled(false);
    ImagePrompt50->show();
    if (QLabel *first = answerLabel(m_state.FiftyHide1))
        first->hide();
    if (QLabel *second = answerLabel(m_state.FiftyHide2))
        second->hide();
    LabelDialog->setText(HostText::FiftyFifty(m_state.PlayerName));
}

void TFormMain::LabelPromptTelClick()
{
    if (!m_state.GameActive)
        return;
    ImagePromptTel->show();
    LabelPromptTel->setEnabled(false);
    if (m_telephone)
        m_telephone->show();
}

void TFormMain::LabelPromptManClick()
{
    if (!m_state.GameActive)
        return;
    ImagePromptMan->show();
    LabelPromptMan->setEnabled(false);
    if (m_man)
        m_man->show();
}

void TFormMain::LabelBtnNewGameMouseDown()
{
    ImageNewGame->show();
}

void TFormMain::LabelBtnNewGameMouseUp()
{
    ImageNewGame->hide();
    // Loading or saving is under way: the press belongs to neither.
    if (m_baseBusy)
        return;
    if (!m_state.GameActive) {
        BeginGame();
        if (m_state.GameActive)
            AdvanceLadder();
    } else {
        LabelDialog->setText(HostText::TakeMoney(m_state));
        FinishGame();
    }
}

void TFormMain::LabelNewNameMouseDown()
{
    ImageNewName->show();
}

void TFormMain::LabelNewNameMouseUp()
{
    ImageNewName->hide();
    if (m_state.GameActive || m_baseBusy)
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
