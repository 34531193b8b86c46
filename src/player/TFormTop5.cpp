#include "TFormTop5.h"

TFormTop5::TFormTop5(GameState &state, TFormMain &main, QWidget *parent)
    : QWidget(parent, Qt::FramelessWindowHint), m_state(state), m_main(main)
{
}
