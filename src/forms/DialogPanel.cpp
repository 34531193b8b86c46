#include "forms/DialogPanel.h"

#include "forms/Accessible.h"

#include "forms/DialogHost.h"
#include "forms/Palette.h"
#include "forms/Press.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>

#include <algorithm>

DialogPanel::DialogPanel(DialogHost *host, QWidget *surface, const QString &caption, QSize size,
                         const QColor &background)
    : QWidget(surface, surface ? Qt::Widget : Qt::Window | Qt::FramelessWindowHint), m_host(host)
{
    setWindowTitle(caption);
    setFixedSize(size);
    Palette::SetBackground(this, background);
    // A panel stays hidden until shown, like the window it stands for.
    setVisible(false);
}

void DialogPanel::FormClose()
{
    if (m_host)
        m_host->CloseProgram();
}

namespace {

QRect surfaceRect(const QWidget *panel)
{
    if (const QWidget *surface = panel->parentWidget())
        return surface->rect();
    const QScreen *screen = panel->screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry() : QRect(QPoint(), panel->size());
}

} // namespace

void DialogPanel::Centre()
{
    const QRect area = surfaceRect(this);
    move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
}

void DialogPanel::MoveWithin(QPoint topLeft)
{
    const QRect area = surfaceRect(this);
    const int right = std::max(area.left(), area.left() + area.width() - width());
    const int bottom = std::max(area.top(), area.top() + area.height() - height());
    move(std::clamp(topLeft.x(), area.left(), right), std::clamp(topLeft.y(), area.top(), bottom));
}

void DialogPanel::DragBy(QWidget *title)
{
    title->setCursor(Qt::SizeAllCursor);
    PressArea *press = PressArea::Of(title);
    // The pointer is followed in the surface's own units: where the surface
    // is drawn scaled, a move of the pointer is a larger or smaller move on it.
    press->setOnPress([this](QMouseEvent *event) {
        m_dragStart = onSurface(event->globalPosition());
        m_posAtPress = pos();
    });
    press->setOnDrag([this](QMouseEvent *event) {
        MoveWithin(m_posAtPress + onSurface(event->globalPosition()) - m_dragStart);
    });
}

QPoint DialogPanel::onSurface(QPointF global) const
{
    if (const QWidget *surface = parentWidget())
        return surface->mapFromGlobal(global).toPoint();
    return global.toPoint();
}

void DialogPanel::HoldStage()
{
    if (m_host)
        m_host->holdFor(this);
}

void DialogPanel::ReleaseStage()
{
    if (m_host)
        m_host->releaseFrom(this);
}

void DialogPanel::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // A spontaneous show is the window coming back from being minimised:
    // nothing to run again.
    // So is a show while the dialog is up already: the window it is drawn on
    // came back on the screen in another frame (F11).
    if (event->spontaneous() || m_up)
        return;
    m_up = true;
    // Described once the dialog is whole: readers take an interface made
    // for a class still under construction for a stale one.
    if (!m_described) {
        Accessible::Describe(this, QAccessible::Dialog, [this] { return windowTitle(); });
        m_described = true;
    }
    raise();
    Centre();
    FormShow();
}

void DialogPanel::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    if (event->spontaneous() || !m_up)
        return;
    m_up = false;
    FormHide();
}

void DialogPanel::closeEvent(QCloseEvent *event)
{
    event->accept();
    FormClose();
}
