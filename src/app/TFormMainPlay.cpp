// The main window's game handlers: answers, lifelines, the menu entries, the
// two timers, and starting and finishing a game.
#include "TFormMain.h"

#include "GameState.h"

#include <QLabel>

void TFormMain::LabelClkAMouseDown() {}
void TFormMain::LabelClkAMouseUp() {}
void TFormMain::LabelClkBMouseDown() {}
void TFormMain::LabelClkBMouseUp() {}
void TFormMain::LabelClkCMouseDown() {}
void TFormMain::LabelClkCMouseUp() {}
void TFormMain::LabelClkDMouseDown() {}
void TFormMain::LabelClkDMouseUp() {}

void TFormMain::LabelPrompt50Click() {}
void TFormMain::LabelPromptTelClick() {}
void TFormMain::LabelPromptManClick() {}

void TFormMain::LabelBtnNewGameMouseDown() {}
void TFormMain::LabelBtnNewGameMouseUp() {}
void TFormMain::LabelNewNameMouseDown() {}
void TFormMain::LabelNewNameMouseUp() {}

void TFormMain::LabelBtnCloseMouseDown()
{
    ImageClose->show();
}

void TFormMain::LabelBtnCloseMouseUp()
{
    ImageClose->hide();
    close();
}

void TFormMain::LabelBtnAboutMouseDown()
{
    ImageAbout->show();
}

void TFormMain::LabelBtnAboutMouseUp()
{
    ImageAbout->hide();
    if (FormAbout()) {
        FormAbout()->show();
        FormAbout()->raise();
    }
}

void TFormMain::TimerTimer() {}
void TFormMain::TimerForMenuTimer() {}

void TFormMain::BeginGame() {}
void TFormMain::FinishGame() {}
