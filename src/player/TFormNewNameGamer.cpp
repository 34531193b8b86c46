#include "TFormNewNameGamer.h"

TFormNewNameGamer::TFormNewNameGamer(GameState &state, TFormMain &main, QWidget *parent)
    : QWidget(parent, Qt::FramelessWindowHint), m_state(state), m_main(main)
{
}
