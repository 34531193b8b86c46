#pragma once

#include <QObject>

#include <functional>

class QSocketNotifier;

// Notices that the game's session ends from outside, while the player may be
// in the middle of a game: SIGTERM, SIGHUP or SIGINT, the desktop logging out
// (commitDataRequest, aboutToQuit), or the connection to the display lost.
// Each of them calls `finish` once, on the user-interface thread, so that the
// running game is finished and saved as closing the main window would.
//
// The signal handlers only write the signal's number into a socket pair; a
// socket notifier picks it up in the event loop, where the work is safe.
// The display's loss is learnt from the platform's warning just before it
// ends the process; `finish` then runs at once with `displayLost` true and
// must not wait for events. One instance at a time.
class SessionEnd : public QObject {
    Q_OBJECT
public:
    using Finish = std::function<void(bool displayLost)>;

    explicit SessionEnd(Finish finish, QObject *parent = nullptr);
    ~SessionEnd() override;
    SessionEnd(const SessionEnd &) = delete;
    SessionEnd &operator=(const SessionEnd &) = delete;

    // Calls `finish` the first time; later calls do nothing.
    void end(bool displayLost);

private:
    void readSignals();

    Finish m_finish;
    bool m_ended = false;
    QSocketNotifier *m_notifier = nullptr;
};
