#include "app/SessionEnd.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QSocketNotifier>
#include <QThread>

#include <array>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr std::array<int, 3> HandledSignals = {SIGTERM, SIGHUP, SIGINT};

// [0] is read by the notifier, [1] written by the handler.
int g_pipe[2] = {-1, -1};
SessionEnd *g_instance = nullptr;
QtMessageHandler g_previousHandler = nullptr;
std::array<struct sigaction, HandledSignals.size()> g_previousActions{};

void OnSignal(int signal)
{
    const int saved = errno;
    const char number = char(signal);
    // Nothing else is safe here; a full pipe means an end is on its way anyway.
    [[maybe_unused]] const ssize_t written = ::write(g_pipe[1], &number, 1);
    errno = saved;
}

// The platform says this once the display's connection is gone, right before
// it ends the process.
bool IsDisplayLost(QtMsgType type, const QString &message)
{
    return type == QtWarningMsg && message.startsWith(QLatin1String("The X11 connection broke"));
}

void OnMessage(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (g_instance && IsDisplayLost(type, message) && QCoreApplication::instance()
        && QThread::currentThread() == QCoreApplication::instance()->thread())
        g_instance->end(true);
    if (g_previousHandler)
        g_previousHandler(type, context, message);
}

} // namespace

SessionEnd::SessionEnd(Finish finish, QObject *parent) : QObject(parent), m_finish(std::move(finish))
{
    g_instance = this;
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_pipe) == 0) {
        ::fcntl(g_pipe[1], F_SETFL, ::fcntl(g_pipe[1], F_GETFL) | O_NONBLOCK);
        m_notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, this);
        connect(m_notifier, &QSocketNotifier::activated, this, &SessionEnd::readSignals);
        struct sigaction action {};
        action.sa_handler = OnSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        for (std::size_t i = 0; i < HandledSignals.size(); ++i)
            ::sigaction(HandledSignals[i], &action, &g_previousActions[i]);
    }
    if (auto *app = qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        connect(app, &QGuiApplication::commitDataRequest, this, [this] { end(false); });
    if (QCoreApplication *app = QCoreApplication::instance())
        connect(app, &QCoreApplication::aboutToQuit, this, [this] { end(false); });
    g_previousHandler = qInstallMessageHandler(OnMessage);
}

SessionEnd::~SessionEnd()
{
    qInstallMessageHandler(g_previousHandler);
    g_previousHandler = nullptr;
    if (g_pipe[0] >= 0) {
        for (std::size_t i = 0; i < HandledSignals.size(); ++i)
            ::sigaction(HandledSignals[i], &g_previousActions[i], nullptr);
        delete m_notifier;
        ::close(g_pipe[0]);
        ::close(g_pipe[1]);
        g_pipe[0] = g_pipe[1] = -1;
    }
    g_instance = nullptr;
}

void SessionEnd::readSignals()
{
    char numbers[16];
    while (::recv(g_pipe[0], numbers, sizeof numbers, MSG_DONTWAIT) > 0) {
    }
    end(false);
}

void SessionEnd::end(bool displayLost)
{
    if (m_ended)
        return;
    m_ended = true;
    if (m_finish)
        m_finish(displayLost);
}
