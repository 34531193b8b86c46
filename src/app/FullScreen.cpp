#include "app/FullScreen.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QGuiApplication>
#include <QScreen>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace FullScreen {

namespace {

std::optional<QSize> &screenOverride()
{
    static std::optional<QSize> size;
    return size;
}

double &drawnScale()
{
    static double scale = 0.0;
    return scale;
}

} // namespace

std::optional<Placement> PlaceStage(QSize screenPixels)
{
    if (screenPixels.width() <= 0 || screenPixels.height() <= 0)
        return std::nullopt;
    Placement placement;
    placement.scale = std::min(double(screenPixels.width()) / StageWidth,
                               double(screenPixels.height()) / StageHeight);
    const int width = int(std::lround(StageWidth * placement.scale));
    const int height = int(std::lround(StageHeight * placement.scale));
    placement.stage = QRect((screenPixels.width() - width) / 2, (screenPixels.height() - height) / 2,
                            width, height);
    return placement;
}

double ScaleToApply(QSize screenPixels)
{
    const std::optional<Placement> placement = PlaceStage(screenPixels);
    return placement ? placement->scale : 0.0;
}

double FirstWindowScale(QSize available)
{
    const double fits = 0.8 * ScaleToApply(available);
    const double step = fits >= 1.0 ? 0.25 : 0.05;
    // A hair of tolerance, so that exactly 1.25 does not become 1.
    const double whole = std::floor(fits / step + 1e-9) * step;
    return std::max(whole, SmallestWindowScale(available));
}

double SmallestWindowScale(QSize available)
{
    return std::min(MinimumWindowScale, ScaleToApply(available));
}

bool HoldsStage(QSize logicalSize)
{
    return logicalSize.width() >= StageWidth - 1 && logicalSize.height() >= StageHeight - 1;
}

double ProbeScaleFactor(int argc, char **argv)
{
    // The probe must see the screen unscaled.
    ClearScaleFactorVariable();
    // The application object strips the arguments it knows; the real one
    // must still see them, so the probe works on a copy.
    std::vector<char *> probeArgv(argv, argv + argc);
    probeArgv.push_back(nullptr);
    int probeArgc = argc;
    QGuiApplication probe(probeArgc, probeArgv.data());
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return 0.0;
    return ScaleToApply(screen->geometry().size());
}

void SetScaleFactorVariable(double scale)
{
    qputenv("QT_SCALE_FACTOR", QByteArray::number(scale, 'g', 10));
}

void ClearScaleFactorVariable()
{
    qunsetenv("QT_SCALE_FACTOR");
}

void SetDrawnScale(double scale)
{
    drawnScale() = scale;
}

double DrawnScale()
{
    return drawnScale();
}

QSize ScreenSize()
{
    if (screenOverride())
        return *screenOverride();
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return QSize();
    const QSize size = screen->geometry().size();
    if (drawnScale() > 0.0)
        return QSize(int(std::ceil(size.width() / drawnScale() - 0.001)),
                     int(std::ceil(size.height() / drawnScale() - 0.001)));
    return size;
}

void SetScreenSizeForTests(std::optional<QSize> size)
{
    screenOverride() = size;
}

} // namespace FullScreen

namespace {

const QString Service = QStringLiteral("org.freedesktop.ScreenSaver");
const QString Path = QStringLiteral("/org/freedesktop/ScreenSaver");
const QString Interface = QStringLiteral("org.freedesktop.ScreenSaver");
constexpr int CallTimeoutMs = 1000;

} // namespace

ScreenSaverInhibitor::~ScreenSaverInhibitor()
{
    Release();
}

bool ScreenSaverInhibitor::Inhibit()
{
    if (m_cookie)
        return true;
    // Without a session bus address there is nobody to ask; connecting would
    // only try to start a bus of its own.
    if (qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
        return false;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    QDBusMessage call = QDBusMessage::createMethodCall(Service, Path, Interface, QStringLiteral("Inhibit"));
    call << QStringLiteral("zorban") << QStringLiteral("Игра идёт");
    const QDBusMessage reply = bus.call(call, QDBus::Block, CallTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return false;
    m_cookie = reply.arguments().constFirst().toUInt();
    return true;
}

void ScreenSaverInhibitor::Release()
{
    if (!m_cookie)
        return;
    const unsigned cookie = *m_cookie;
    m_cookie.reset();
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    QDBusMessage call = QDBusMessage::createMethodCall(Service, Path, Interface, QStringLiteral("UnInhibit"));
    call << cookie;
    bus.call(call, QDBus::Block, CallTimeoutMs);
}
