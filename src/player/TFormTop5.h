#pragma once

#include "forms/DialogPanel.h"

#include <QPoint>

#include <QString>

#include <array>

class PressLabel;
class QLabel;
class DialogHost;
class GameSession;

// The leaderboard dialog: the five best results of the base just played,
// shown at the end of every game. It only displays. Showing it holds the
// stage; OK hides it and lets go. It is dragged by its title, and closing it
// ends the program.
class TFormTop5 : public DialogPanel {
    Q_OBJECT

public:
    TFormTop5(GameSession &session, DialogHost &host);

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
    void FormShow() override;
    void FormHide() override;
    void LabelBtnOkMouseDown();
    void LabelBtnOkMouseUp();

    // The sum shown for a ladder step; a step outside 0..15 shows as itself.
    static QString SumText(int step);

private:
    void buildControls();

    GameSession &m_session;
    QString m_closingWords; // the host's words since the last question, for screen readers
};
