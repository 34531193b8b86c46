// The program is scaled so that the 800 x 600 stage fills the screen, the
// six windows are created in their fixed order and live until the main
// window closes. The main window is the one top-level window; the other five
// are panels drawn on it.
#include "main/GameStart.h"

#include "app/FullScreen.h"
#include "player/GameOptions.h"
#include "game/GameSession.h"
#include "app/Keyboard.h"
#include "app/WindowMode.h"
#include "app/SessionEnd.h"
#include "app/ShowSound.h"
#include "sound/SoundBoard.h"
#include "app/TFormAbout.h"
#include "app/TFormMain.h"
#include "player/TFormNewNameGamer.h"
#include "lifelines/TFormPromptMan.h"
#include "lifelines/TFormPromptTelephone.h"
#include "player/TFormTop5.h"

#include <QApplication>
#include <QLineEdit>
#include <QTimer>

#include <cstdlib>

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

struct GameStart::Windows {
    GameSession session;
    TFormMain main{session};
    TFormAbout about{&main};
    TFormPromptTelephone telephone{session, main};
    TFormNewNameGamer newNameGamer{session, main};
    TFormPromptMan man{session, main};
    TFormTop5 top5{session, main};
    // A signal, a logout or a lost display finishes a running game first.
    SessionEnd sessionEnd{[this](bool displayLost) { main.EndSession(displayLost); }};
    // The player's own choices (the sound, the window), kept beside Zorban.ini.
    GameOptions options = GameOptions::Read(QString::fromLatin1(GameOptions::FileName));
    SoundBoard sound;
    Keyboard keyboard{main};
    // Last, so that it gives the main window back before the windows go.
    WindowMode windowMode;

    explicit Windows(double scaleBelowOne)
        : windowMode(main, scaleBelowOne)
    {
        main.setDialogs(&about, &telephone, &newNameGamer, &man, &top5);
        QObject::connect(&main, &TFormMain::closed, qApp, &QCoreApplication::quit);

        sound.SetEnabled(options.Sound);
        ConnectShowSound(session, &sound, [this](SoundCue cue) { sound.Play(cue); });
        QObject::connect(&telephone, &TFormPromptTelephone::callMade, &sound,
                         [this] { sound.Play(SoundCue::PhoneLine); });
        keyboard.setOnToggleSound([this] {
            options.Sound = !options.Sound;
            sound.SetEnabled(options.Sound);
            keepOptions();
        });
        keyboard.setOnToggleWindow([this] {
            if (windowMode.PlayInWindow(!windowMode.InWindow())) {
                options.Window = windowMode.InWindow();
                keepOptions();
            }
        });
        if (options.Window)
            windowMode.PlayInWindow(true);
    }

    void keepOptions() const { options.Write(QString::fromLatin1(GameOptions::FileName)); }

    // The windows that are up from the start: the main window, the splash
    // over it, and the new-game dialog waiting for the player's name.
    void showAtStart()
    {
        newNameGamer.show();
        about.show(); // the splash lies above the new-game dialog
        windowMode.Show();
        newNameGamer.EditNewNameGamer->setFocus(Qt::OtherFocusReason);
        // The splash's two seconds count from here, once every window is
        // built: on a very large screen painting the pictures takes a good
        // part of them.
        about.TimerClose->start();
        sound.Play(SoundCue::Splash);
    }
};

GameStart::GameStart(int &argc, char **argv)
{
    auto keepAlive = std::make_unique<XServerKeepAlive>();
    const double scale = FullScreen::ProbeScaleFactor(argc, argv);
    // From scale 1 up the program scales itself; below it the main window is
    // drawn through a transform.
    const bool drawnScaled = scale > 0.0 && scale < 1.0;
    if (scale >= 1.0)
        FullScreen::SetScaleFactorVariable(scale);
    m_app = std::make_unique<QApplication>(argc, argv);
    if (drawnScaled)
        FullScreen::SetDrawnScale(scale);
    keepAlive.reset();
    FullScreen::ClearScaleFactorVariable();
    QApplication::setApplicationDisplayName(QString());
    // The menu entry's name: desktops match the running window to it (and its icon) by this.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.Zorban"));
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setWindowIcon(WindowMode::Icon());
    m_windows = std::make_unique<Windows>(drawnScaled ? scale : 0.0);
}

GameStart::~GameStart() = default;

int GameStart::exec()
{
    m_windows->showAtStart();
    return QApplication::exec();
}

QWidget *GameStart::mainWindow() const
{
    return &m_windows->main;
}
