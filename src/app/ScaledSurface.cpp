#include "app/ScaledSurface.h"

#include "app/MainLayout.h"
#include "app/TFormMain.h"

#include <QCloseEvent>
#include <QGraphicsProxyWidget>
#include <QGraphicsScene>
#include <QGuiApplication>
#include <QScreen>

ScaledSurface::ScaledSurface(TFormMain &main, double scale)
    : QGraphicsView(), m_main(main)
{
    setObjectName(QStringLiteral("ScaledSurface"));
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setWindowTitle(main.windowTitle());
    setFrameStyle(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setBackgroundBrush(MainLayout::WindowColour);
    setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform | QPainter::TextAntialiasing);
    // The whole window is repainted on every change: the scene is one widget.
    setViewportUpdateMode(QGraphicsView::FullViewportUpdate);

    auto *scene = new QGraphicsScene(this);
    m_proxy = scene->addWidget(&main);
    scene->setSceneRect(QRectF(QPointF(), main.size()));
    setScene(scene);
    setTransform(QTransform::fromScale(scale, scale));
    setAlignment(Qt::AlignLeft | Qt::AlignTop);

    if (const QScreen *screen = QGuiApplication::primaryScreen())
        setGeometry(screen->geometry());
    setWindowState(Qt::WindowFullScreen);
}

ScaledSurface::~ScaledSurface()
{
    m_proxy->setWidget(nullptr);
}

void ScaledSurface::closeEvent(QCloseEvent *event)
{
    // The window system's close request ends the game as closing the main
    // window does.
    m_main.close();
    event->accept();
}
