#include "TFormPromptTelephone.h"

TFormPromptTelephone::TFormPromptTelephone(GameState &state, TFormMain &main, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
    , m_state(state)
    , m_main(main)
{
    setWindowTitle(QString::fromUtf8("Звонок другу"));
    setFixedSize(576, 228);
}
