#pragma once

#include <QWidget>

struct GameState;
class TFormMain;

// The leaderboard dialog: the five best results of the base just played.
class TFormTop5 : public QWidget {
    Q_OBJECT
public:
    TFormTop5(GameState &state, TFormMain &main, QWidget *parent = nullptr);

private:
    GameState &m_state;
    TFormMain &m_main;
};
