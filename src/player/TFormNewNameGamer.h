#pragma once

#include <QWidget>

struct GameState;
class TFormMain;

// The new-game dialog: the player's name and the question base.
class TFormNewNameGamer : public QWidget {
    Q_OBJECT
public:
    TFormNewNameGamer(GameState &state, TFormMain &main, QWidget *parent = nullptr);

private:
    GameState &m_state;
    TFormMain &m_main;
};
