#pragma once

#include "forms/DialogHost.h"
#include "app/FullScreen.h"

#include <QColor>
#include <QHash>
#include <QPixmap>
#include <QPoint>
#include <QSet>
#include <QWidget>

#include <array>
#include <functional>

class AutoSizeLabel;
class QLabel;
class TGauge;
class TLCD99;
class MenuPointer;
class TThreadedTimer;
class GameSession;
struct GameState;

// The main window: the game's one top-level window, borderless and filling
// the screen in the window colour. The 800 x 600 stage in its middle holds the
// main window's controls; every dialog is a panel on this window above the
// stage. The controls are public and named as the game addresses them; their
// places and looks come from MainLayout. It is the game session's view: it
// shows what the session says and hands it the player's clicks and the
// timer's ticks; the rules live in the session.
class TFormMain : public QWidget, public DialogHost {
    Q_OBJECT

public:
    explicit TFormMain(GameSession &session, QWidget *parent = nullptr);
    ~TFormMain() override;

    GameSession &session() const { return m_session; }
    const GameState &state() const;

    // ---- Controls, in stacking order (bottom first) ----------------------
    QWidget *Stage = nullptr; // the 800 x 600 stage all controls live on; disabled while held

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
    TThreadedTimer *TimerForMenu = nullptr; // 5 ms, menu panel slide; rests while the panel cannot move

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

    // ---- What the dialogs see of this window (DialogHost) ---------------
    QWidget *DialogSurface() override { return this; }
    void holdFor(QWidget *dialog) override;
    void releaseFrom(QWidget *dialog) override;
    bool isHeldBy(QWidget *dialog) const override { return m_holders.contains(dialog); }
    void CloseProgram() override { close(); }

    // The mouse pointer in stage coordinates (the menu panel follows it).
    QPoint CursorOnStage() const;

    // ---- Full screen -----------------------------------------------------
    // True when the stage fills the screen; false runs the game in a plain
    // 800 x 600 window.
    bool EnterFullScreen();
    void LeaveFullScreen();
    bool IsFullScreen() const { return m_fullScreen; }
    // Plays in a window: this window becomes the bare stage, 800 x 600, for
    // the framed window that draws it scaled (ScaledSurface); or back on the
    // full screen. Panels that are up keep their place on the stage. False
    // when the full screen was asked for and the screen cannot hold it.
    // Which window shows this one on the screen is WindowMode's business.
    bool PlayInWindow(bool window);
    bool InWindow() const { return m_inWindow; }
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

    // The banner: `newYear` at 0 and `snow` four times from x 58 on a
    // button-face fill; pixels of BannerKey become transparent. Returns the
    // top 800 x 50 of the working picture.
    static QPixmap BuildBanner(const QPixmap &newYear, const QPixmap &snow, const QColor &buttonFace);
    static inline const QColor BannerKey{116, 113, 115};

signals:
    // The window has closed; the program ends.
    void closed();

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void buildControls();
    // The areas work through the game's one press mechanism; `restore`
    // ends the pressed look of a release that may not act.
    void routeMouse(QLabel *label, void (TFormMain::*down)(), void (TFormMain::*up)(),
                    std::function<void()> restore);
    void routeClick(QLabel *label, void (TFormMain::*click)());
    // What an area means at a moment: its caption, in this game, at this
    // question. A release acts only if that is still what it meant at the press.
    QString pressMeaning(const QLabel *area) const;
    void placeStage();

    GameSession &m_session;
    QHash<QString, QWidget *> m_controls;
    QSet<QWidget *> m_holders;
    QWidget *m_about = nullptr;
    QWidget *m_telephone = nullptr;
    QWidget *m_newNameGamer = nullptr;
    QWidget *m_man = nullptr;
    QWidget *m_top5 = nullptr;
    MenuPointer *m_menuPointer = nullptr; // the pointer the panel follows
    ScreenSaverInhibitor m_screenSaver;
    bool m_fullScreen = false;
    bool m_inWindow = false;
    bool m_closed = false;

    // ---- Game play (src/app/TFormMainPlay.cpp) ---------------------------
    // Connects the session's signals to the controls they change.
    void followSession();
    // Roles and names for screen readers (src/app/TFormMainAccess.cpp).
    void describeForScreenReaders();
    void showQuestion();

    QLabel *answerLabel(int place) const;
    void answerPressed(int place);
    void answerReleased(int place);
};
