#pragma once

#include <QPoint>
#include <QWidget>

#include <array>

class PressLabel;
class QLabel;
class TFormMain;
class GameSession;

// The leaderboard dialog: the five best results of the base just played,
// shown at the end of every game. It only displays. Showing it holds the main
// window; OK hides it and lets go. It is dragged by its title, and closing it
// through the window system closes the main window.
class TFormTop5 : public QWidget {
    Q_OBJECT

public:
    TFormTop5(GameSession &session, TFormMain &main, QWidget *parent = nullptr);

    static constexpr int FormWidth = 442;
    static constexpr int FormHeight = 235;
    static constexpr int Rows = 5;

    // ---- Controls, in stacking order (bottom first) ----------------------
    QLabel *Image1 = nullptr;
    // Index 1..5 is the row; element 0 is unused.
    std::array<QLabel *, Rows + 1> LabelNames{};  // LabelName1..LabelName5
    std::array<QLabel *, Rows + 1> LabelScores{}; // LabelScore1..LabelScore5
    std::array<QLabel *, Rows + 1> LabelTimes{};  // LabelTime1..LabelTime5
    QLabel *LabelScore = nullptr; // column headers
    QLabel *LabelName = nullptr;
    QLabel *LabelTime = nullptr;
    PressLabel *LabelTitle = nullptr;
    QLabel *ImageBtnOk = nullptr;
    PressLabel *LabelBtnOk = nullptr;
    std::array<QLabel *, Rows + 1> LabelRanks{}; // Label1..Label5
    QLabel *Label6 = nullptr;

    // ---- Handlers --------------------------------------------------------
    void FormShow();
    void FormHide();
    void FormClose();
    void LabelBtnOkMouseDown();
    void LabelBtnOkMouseUp();
    void LabelTitleMouseDown(const QPoint &globalPos);
    void LabelTitleMouseMove(const QPoint &globalPos);
    void LabelTitleMouseUp();

    // The sum shown for a ladder step; a step outside 0..15 shows as itself.
    static QString SumText(int step);

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildControls();

    GameSession &m_session;
    TFormMain &m_main;
    // Set while the title is dragged by hand (no window manager to do it).
    bool m_dragByHand = false;
    QPoint m_dragOffset; // pointer position relative to the window's corner
};
