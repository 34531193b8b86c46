#include "app/ScaledSurface.h"

#include "app/FullScreen.h"
#include "app/MainLayout.h"
#include "app/TFormMain.h"

#include <QCloseEvent>
#include <QGraphicsProxyWidget>
#include <QGraphicsScene>
#include <QGuiApplication>
#include <QScreen>

#include <algorithm>
#include <cmath>

namespace {

const QScreen *screenOf(const QWidget *widget)
{
    const QScreen *screen = widget->screen();
    return screen ? screen : QGuiApplication::primaryScreen();
}

} // namespace

ScaledSurface::ScaledSurface(TFormMain &main, double fullScreenScale)
    : QGraphicsView(), m_main(main), m_fullScreenScale(fullScreenScale)
{
    setObjectName(QStringLiteral("ScaledSurface"));
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setWindowTitle(main.windowTitle());
    setFrameStyle(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setBackgroundBrush(MainLayout::WindowColour);
    setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform | QPainter::TextAntialiasing);
    setScene(new QGraphicsScene(this));
    Embed();
}

ScaledSurface::~ScaledSurface()
{
    Release();
}

void ScaledSurface::Embed()
{
    if (Embedded())
        return;
    if (!m_proxy)
        m_proxy = scene()->addWidget(&m_main);
    else
        m_proxy->setWidget(&m_main);
    // The keys reach the main window's controls through the proxy.
    scene()->setFocusItem(m_proxy);
    fit();
}

void ScaledSurface::Release()
{
    if (Embedded())
        m_proxy->setWidget(nullptr);
}

bool ScaledSurface::Embedded() const
{
    return m_proxy && m_proxy->widget() == &m_main;
}

void ScaledSurface::ShowFullScreen()
{
    const bool wasVisible = isVisible();
    m_inWindow = false;
    // The whole screen is repainted on every change: the scene is one widget.
    setViewportUpdateMode(QGraphicsView::FullViewportUpdate);
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setMinimumSize(0, 0);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        setGeometry(screen->geometry());
    setWindowState(Qt::WindowFullScreen);
    fit();
    if (wasVisible) {
        show();
        activateWindow();
    }
}

void ScaledSurface::ShowWindow()
{
    m_inWindow = true;
    // A window may be as large as the screen and is repainted where its
    // controls changed: the clock and the countdown are small.
    setViewportUpdateMode(QGraphicsView::SmartViewportUpdate);
    setWindowState(windowState() & ~Qt::WindowFullScreen);
    // Changing the frame takes the window down; it comes back below.
    setWindowFlags(Qt::Window);
    const QScreen *screen = screenOf(this);
    const QRect available = screen ? screen->availableGeometry() : QRect(0, 0, 800, 600);
    // The scales are in screen pixels; the window's sizes are in the
    // program's own units, which the program's scale divides.
    const double ratio = pixelRatio();
    const QSize pixels = (QSizeF(available.size()) * ratio).toSize();
    const auto stageAt = [ratio](double scale) {
        return QSize(int(std::lround(MainLayout::StageWidth * scale / ratio)),
                     int(std::lround(MainLayout::StageHeight * scale / ratio)));
    };
    const double smallest = FullScreen::SmallestWindowScale(pixels);
    setMinimumSize(smallest > 0.0 ? stageAt(smallest) : QSize(1, 1));
    if (m_windowGeometry.isValid()) {
        setGeometry(m_windowGeometry);
    } else {
        const double first = FullScreen::FirstWindowScale(pixels);
        resize(first > 0.0 ? stageAt(first) : QSize(MainLayout::StageWidth, MainLayout::StageHeight));
        move(available.center() - rect().center());
    }
    fit();
    show();
    activateWindow();
}

QRect ScaledSurface::DrawnStage() const
{
    return mapFromScene(QRectF(m_main.Stage->geometry())).boundingRect();
}

double ScaledSurface::pixelRatio() const
{
    const QScreen *screen = screenOf(this);
    return screen ? std::max(0.01, screen->devicePixelRatio()) : 1.0;
}

void ScaledSurface::fit()
{
    scene()->setSceneRect(QRectF(QPointF(), m_main.size()));
    if (!m_inWindow) {
        m_scale = m_fullScreenScale > 0.0 ? m_fullScreenScale : 1.0;
        setAlignment(Qt::AlignLeft | Qt::AlignTop);
    } else {
        // The main window is the stage here: fit it into the window.
        if (const auto placement = FullScreen::PlaceStage(viewport()->size()))
            m_scale = placement->scale;
        setAlignment(Qt::AlignCenter);
    }
    setTransform(QTransform::fromScale(m_scale, m_scale));
}

void ScaledSurface::resizeEvent(QResizeEvent *event)
{
    QGraphicsView::resizeEvent(event);
    fit();
    keepWindowPlace();
}

void ScaledSurface::moveEvent(QMoveEvent *event)
{
    QGraphicsView::moveEvent(event);
    keepWindowPlace();
}

void ScaledSurface::keepWindowPlace()
{
    if (m_inWindow && isVisible() && !(windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)))
        m_windowGeometry = geometry();
}

void ScaledSurface::closeEvent(QCloseEvent *event)
{
    // The window system's close request ends the game as closing the main
    // window does.
    m_main.close();
    event->accept();
}
