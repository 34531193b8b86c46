#pragma once

#include <QWidget>

struct GameState;
class TFormMain;

// The phone-a-friend dialog: a keypad to dial a friend within 30 seconds.
class TFormPromptTelephone : public QWidget {
public:
    TFormPromptTelephone(GameState &state, TFormMain &main, QWidget *parent = nullptr);

private:
    GameState &m_state;
    TFormMain &m_main;
};
