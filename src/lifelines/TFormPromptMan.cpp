#include "TFormPromptMan.h"

TFormPromptMan::TFormPromptMan(GameState &state, TFormMain &main, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
    , m_state(state)
    , m_main(main)
{
    setWindowTitle(QString::fromUtf8("Помощь зала"));
    setFixedSize(205, 280);
}
