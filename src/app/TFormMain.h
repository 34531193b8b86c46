#pragma once

#include "FullScreen.h"

#include <QColor>
#include <QHash>
#include <QPixmap>
#include <QPoint>
#include <QSet>
#include <QWidget>

#include <array>

class AutoSizeLabel;
class QLabel;
class TGauge;
class TLCD99;
class TThreadedTimer;
struct GameState;

// The main window: a borderless full-screen window in the window colour with
// the game's 800 x 600 stage in its middle. The controls are public and named
// as the game addresses them; their places and looks come from MainLayout.
class TFormMain : public QWidget {
    Q_OBJECT

public:
    explicit TFormMain(GameState &state, QWidget *parent = nullptr);
    ~TFormMain() override;

    GameState &state() const { return m_state; }

    // ---- Controls, in stacking order (bottom first) ----------------------
    QWidget *Stage = nullptr; // the 800 x 600 stage all controls live on

    QLabel *ImageForm = nullptr;
    QLabel *ImageAnswerA = nullptr;
    QLabel *ImageAnswerD = nullptr;
    QLabel *ImageAnswerC = nullptr;
    QLabel *ImageAnswerB = nullptr;
    QLabel *LabelQuestion = nullptr;
    QLabel *LabelAnswerA = nullptr;
    QLabel *LabelAnswerB = nullptr;
    QLabel *LabelAnswerC = nullptr;
    QLabel *LabelAnswerD = nullptr;
    QLabel *LabelTitle = nullptr;
    QLabel *LabelTimer = nullptr;
    QLabel *LabelTypeScience = nullptr;
    QLabel *LabelAutorQuestion = nullptr;
    QLabel *LabelB = nullptr;
    QLabel *LabelD = nullptr;
    QLabel *LabelA = nullptr;
    QLabel *LabelC = nullptr;
    QLabel *LabelClkA = nullptr;
    QLabel *LabelClkB = nullptr;
    QLabel *LabelClkC = nullptr;
    QLabel *LabelClkD = nullptr;
    QLabel *ImageNewYear = nullptr;
    AutoSizeLabel *LblNmQA = nullptr;    // sized to its text
    AutoSizeLabel *LabelScore = nullptr; // sized to its text, keeps its right edge
    QLabel *LabelDialog = nullptr;

    QWidget *PanelMenu = nullptr;
    QLabel *ImageMenu = nullptr;
    QLabel *ImagePrompt50 = nullptr;
    QLabel *ImagePromptTel = nullptr;
    QLabel *ImagePromptMan = nullptr;
    QLabel *LabelPrompt50 = nullptr;
    QLabel *LabelPromptMan = nullptr;
    QLabel *LabelPromptTel = nullptr;
    QLabel *LabelNameGamer = nullptr;
    QLabel *ImageClose = nullptr;
    QLabel *LabelBtnClose = nullptr;
    QLabel *ImageAbout = nullptr;
    QLabel *LabelBtnAbout = nullptr;
    QLabel *ImageNewGame = nullptr;
    QLabel *LabelBtnNewGame = nullptr;
    QLabel *ImageNewName = nullptr;
    QLabel *LabelNewName = nullptr;
    std::array<QLabel *, 16> ImagePos{}; // 1..15; element 0 unused
    QLabel *LabelNumLoad = nullptr;
    TGauge *GaugeLoad = nullptr;
    AutoSizeLabel *LabelLoad = nullptr; // sized to its text
    TLCD99 *LCD99 = nullptr;

    TThreadedTimer *Timer = nullptr;        // 100 ms, game clock and countdown
    TThreadedTimer *TimerForMenu = nullptr; // 5 ms, menu panel slide

    // The control called `name` (as in MainLayout), or nullptr.
    QWidget *control(const QString &name) const;

    // ---- Dialogs ---------------------------------------------------------
    // The other windows, known here only as widgets; shown with show().
    void setDialogs(QWidget *about, QWidget *telephone, QWidget *newNameGamer, QWidget *man,
                    QWidget *top5);
    QWidget *FormAbout() const { return m_about; }
    QWidget *FormPromptTelephone() const { return m_telephone; }
    QWidget *FormNewNameGamer() const { return m_newNameGamer; }
    QWidget *FormPromptMan() const { return m_man; }
    QWidget *FormTop5() const { return m_top5; }

    // A dialog that must keep the player off the main window while it is
    // shown holds it: the window is disabled while at least one dialog holds
    // it. Both calls are idempotent; a destroyed dialog lets go by itself.
    void holdFor(QWidget *dialog);
    void releaseFrom(QWidget *dialog);
    bool isHeldBy(QWidget *dialog) const { return m_holders.contains(dialog); }

    // The mouse pointer in stage coordinates (the menu panel follows it).
    QPoint CursorOnStage() const;

    // ---- Full screen -----------------------------------------------------
    // True when the stage fills the screen; false runs the game in a plain
    // 800 x 600 window.
    bool EnterFullScreen();
    void LeaveFullScreen();
    bool IsFullScreen() const { return m_fullScreen; }
    bool ScreenSaverHeld() const { return m_screenSaver.Held(); }

    // ---- Handlers --------------------------------------------------------
    void FormCreate();
    // Runs when the window closes, whatever asked it to.
    void FormClose();
    // The session ends from outside (a signal, a logout, the display gone):
    // a running game is finished and saved as closing the window would, with
    // no dialog shown that nobody would answer, and the window closes. With
    // the display gone only the game is finished and no event is processed,
    // because the process ends right after.
    void EndSession(bool displayLost);

    void LabelClkAMouseDown();
    void LabelClkAMouseUp();
    void LabelClkBMouseDown();
    void LabelClkBMouseUp();
    void LabelClkCMouseDown();
    void LabelClkCMouseUp();
    void LabelClkDMouseDown();
    void LabelClkDMouseUp();
    void LabelPrompt50Click();
    void LabelPromptTelClick();
    void LabelPromptManClick();
    void LabelBtnNewGameMouseDown();
    void LabelBtnNewGameMouseUp();
    void LabelNewNameMouseDown();
    void LabelNewNameMouseUp();
    void LabelBtnCloseMouseDown();
    void LabelBtnCloseMouseUp();
    void LabelBtnAboutMouseDown();
    void LabelBtnAboutMouseUp();

    void TimerTimer();
    void TimerForMenuTimer();

    // Loading a base and starting a game; ending it and saving the base.
    void BeginGame();
    void FinishGame();

    // The banner: `newYear` at 0 and `snow` four times from x 58 on a
    // button-face fill; pixels of BannerKey become transparent. Returns the
    // top 800 x 50 of the working picture.
    static QPixmap BuildBanner(const QPixmap &newYear, const QPixmap &snow, const QColor &buttonFace);
    static inline const QColor BannerKey{116, 113, 115};

signals:
    // The window has closed; the program ends.
    void closed();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void buildControls();
    void routeMouse(QLabel *label, void (TFormMain::*down)(), void (TFormMain::*up)());
    void routeClick(QLabel *label, void (TFormMain::*click)());
    void placeStage();

    struct MouseRoute {
        void (TFormMain::*down)() = nullptr;
        void (TFormMain::*up)() = nullptr;
        void (TFormMain::*click)() = nullptr;
        bool pressed = false;
    };

    GameState &m_state;
    QHash<QString, QWidget *> m_controls;
    QHash<QObject *, MouseRoute> m_routes;
    QSet<QWidget *> m_holders;
    QWidget *m_about = nullptr;
    QWidget *m_telephone = nullptr;
    QWidget *m_newNameGamer = nullptr;
    QWidget *m_man = nullptr;
    QWidget *m_top5 = nullptr;
    ScreenSaverInhibitor m_screenSaver;
    bool m_fullScreen = false;
    bool m_closed = false;

    // ---- Game play (src/app/TFormMainPlay.cpp) ---------------------------
    // Private members that the game's handlers need go below this line.
    // Puts the question of level QuestionNumber on screen; false when the
    // level holds no question.
    bool DrawQuestion();
    void AdvanceLadder();
    void AnswerChosen(int place); // place 1..4 = A..D
    void WrongAnswer(const QString &chosen);

    QLabel *answerLabel(int place) const;
    void answerPressed(int place);
    void answerReleased(int place);
    void setMarker(int position, const QString &picture);
    // Moves GaugeLoad and lets the window process its events.
    void showProgress(qint64 processed, qint64 total);

    // BeginGame or FinishGame is loading or saving the base: the window keeps
    // processing events meanwhile, and nothing may start either again.
    bool m_baseBusy = false;
    // The session is ending: nobody looks at the screen or answers a dialog.
    bool m_sessionEnding = false;
    // Point sizes of the question and the answers; a long text keeps the
    // size the previous question left.
    int m_questionPoints = 16;
    int m_answerPoints = 14;
};
