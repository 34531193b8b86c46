// Zorban! starts here: the program is scaled so that the 800 x 600 stage
// fills the screen, the six windows are created in their fixed order and
// live until the main window closes.
#include "FullScreen.h"
#include "GameState.h"
#include "TFormAbout.h"
#include "TFormMain.h"
#include "TFormNewNameGamer.h"
#include "TFormPromptMan.h"
#include "TFormPromptTelephone.h"
#include "TFormTop5.h"

#include <QApplication>

int main(int argc, char **argv)
{
    const double scale = FullScreen::ProbeScaleFactor(argc, argv);
    if (scale > 0.0)
        FullScreen::SetScaleFactorVariable(scale);
    QApplication app(argc, argv);
    FullScreen::ClearScaleFactorVariable();
    QApplication::setApplicationDisplayName(QString());
    QApplication::setQuitOnLastWindowClosed(false);

    GameState state;
    TFormMain main(state);
    TFormAbout about;
    TFormPromptTelephone telephone(state, main);
    TFormNewNameGamer newNameGamer(state, main);
    TFormPromptMan man(state, main);
    TFormTop5 top5(state, main);
    main.setDialogs(&about, &telephone, &newNameGamer, &man, &top5);
    QObject::connect(&main, &TFormMain::closed, &app, &QCoreApplication::quit);

    // The windows that are up from the start: the main window, the splash
    // over it, and the new-game dialog waiting for the player's name.
    main.show();
    about.show();
    newNameGamer.show();
    newNameGamer.activateWindow();
    // The splash stays above the others even where no window manager keeps
    // it there.
    about.raise();
    return app.exec();
}
