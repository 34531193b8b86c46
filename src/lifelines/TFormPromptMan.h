#pragma once

#include <QWidget>

struct GameState;
class TFormMain;

// The ask-the-audience dialog: four bars grow to the studio audience's vote.
class TFormPromptMan : public QWidget {
public:
    TFormPromptMan(GameState &state, TFormMain &main, QWidget *parent = nullptr);

private:
    GameState &m_state;
    TFormMain &m_main;
};
