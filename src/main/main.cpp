// Zorban! starts here: the program is scaled so that the 800 x 600 stage
// fills the screen, the six windows are created in their fixed order and
// live until the main window closes. The main window is the one top-level
// window; the other five are panels drawn on it.
#include "FullScreen.h"
#include "GameOptions.h"
#include "Keyboard.h"
#include "ShowSound.h"
#include "SoundBoard.h"
#include "GameSession.h"
#include "TFormAbout.h"
#include "TFormMain.h"
#include "TFormNewNameGamer.h"
#include "TFormPromptMan.h"
#include "TFormPromptTelephone.h"
#include "TFormTop5.h"

#include <QApplication>
#include <QLineEdit>

#include <cstdlib>
#include <memory>

#if ZORBAN_HAVE_XCB
#include <xcb/xcb.h>
#endif

namespace {

// Holds a connection to the X server from before the scale probe until the
// real application object has its own. An X server with no client left
// resets itself, and the moment between the probe letting go and the
// application connecting is enough for a bare server (a virtual screen, a
// kiosk) to refuse the game's connection.
class XServerKeepAlive {
public:
    XServerKeepAlive()
    {
#if ZORBAN_HAVE_XCB
        if (std::getenv("DISPLAY")) {
            m_connection = xcb_connect(nullptr, nullptr);
            if (xcb_connection_has_error(m_connection)) {
                xcb_disconnect(m_connection);
                m_connection = nullptr;
            }
        }
#endif
    }
    ~XServerKeepAlive()
    {
#if ZORBAN_HAVE_XCB
        if (m_connection)
            xcb_disconnect(m_connection);
#endif
    }
    XServerKeepAlive(const XServerKeepAlive &) = delete;
    XServerKeepAlive &operator=(const XServerKeepAlive &) = delete;

private:
#if ZORBAN_HAVE_XCB
    xcb_connection_t *m_connection = nullptr;
#endif
};

} // namespace

int main(int argc, char **argv)
{
    auto keepAlive = std::make_unique<XServerKeepAlive>();
    const double scale = FullScreen::ProbeScaleFactor(argc, argv);
    if (scale > 0.0)
        FullScreen::SetScaleFactorVariable(scale);
    QApplication app(argc, argv);
    keepAlive.reset();
    FullScreen::ClearScaleFactorVariable();
    QApplication::setApplicationDisplayName(QString());
    // The menu entry's name: desktops match the running window to it (and its icon) by this.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.Zorban"));
    QApplication::setQuitOnLastWindowClosed(false);

    GameSession session;
    TFormMain main(session);
    TFormAbout about(&main);
    TFormPromptTelephone telephone(session, main);
    TFormNewNameGamer newNameGamer(session, main);
    TFormPromptMan man(session, main);
    TFormTop5 top5(session, main);
    main.setDialogs(&about, &telephone, &newNameGamer, &man, &top5);
    QObject::connect(&main, &TFormMain::closed, &app, &QCoreApplication::quit);

    // The player's own choices: the sound and the window, kept beside Zorban.ini.
    GameOptions options = GameOptions::Read(QString::fromLatin1(GameOptions::FileName));
    const auto keepOptions = [&options] { options.Write(QString::fromLatin1(GameOptions::FileName)); };
    SoundBoard sound;
    sound.SetEnabled(options.Sound);
    ConnectShowSound(session, &sound, [&sound](SoundCue cue) { sound.Play(cue); });
    QObject::connect(&telephone, &TFormPromptTelephone::callMade, &sound,
                     [&sound] { sound.Play(SoundCue::PhoneLine); });

    Keyboard keyboard(main);
    keyboard.setOnToggleSound([&] {
        options.Sound = !options.Sound;
        sound.SetEnabled(options.Sound);
        keepOptions();
    });
    keyboard.setOnToggleWindow([&] {
        if (main.PlayInWindow(!main.InWindow())) {
            options.Window = main.InWindow();
            keepOptions();
        }
    });
    if (options.Window)
        main.PlayInWindow(true);

    // The windows that are up from the start: the main window, the splash
    // over it, and the new-game dialog waiting for the player's name.
    main.show();
    newNameGamer.show();
    about.show(); // the splash lies above the new-game dialog
    main.activateWindow();
    newNameGamer.EditNewNameGamer->setFocus(Qt::OtherFocusReason);
    sound.Play(SoundCue::Splash);
    return app.exec();
}
