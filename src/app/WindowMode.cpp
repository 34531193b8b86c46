#include "app/WindowMode.h"

#include "app/ScaledSurface.h"
#include "app/TFormMain.h"

#include <QApplication>
#include <QPointer>
#include <QWindow>

WindowMode::WindowMode(TFormMain &main, double drawnScale)
    : m_main(main), m_drawnScale(drawnScale)
{
    if (m_drawnScale > 0.0) {
        m_surface = std::make_unique<ScaledSurface>(m_main, m_drawnScale);
        m_surface->ShowFullScreen();
    }
}

WindowMode::~WindowMode() = default;

QIcon WindowMode::Icon()
{
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icon/%1.png").arg(size), QSize(size, size));
    return icon;
}

bool WindowMode::InWindow() const
{
    return m_main.InWindow();
}

QWidget *WindowMode::TopLevel() const
{
    if (m_surface && m_surface->Embedded())
        return m_surface.get();
    return &m_main;
}

void WindowMode::Show()
{
    m_shown = true;
    m_main.show();
    if (!m_surface || !m_surface->Embedded()) {
        m_main.activateWindow();
        return;
    }
    if (InWindow())
        m_surface->ShowWindow();
    else
        m_surface->show();
    m_surface->activateWindow();
}

bool WindowMode::PlayInWindow(bool window)
{
    if (window == InWindow())
        return true;
    QPointer<QWidget> focus = m_main.focusWidget();
    if (window) {
        if (!m_surface)
            m_surface = std::make_unique<ScaledSurface>(m_main, 0.0);
        // Drawn on the surface first, so that the full-screen window does
        // not show the stage shrinking.
        m_surface->Embed();
        m_main.PlayInWindow(true);
        if (m_shown)
            m_surface->ShowWindow();
    } else {
        if (!m_main.PlayInWindow(false))
            return false;
        if (m_drawnScale > 0.0) {
            m_surface->ShowFullScreen();
        } else {
            m_surface->hide();
            m_surface->Release();
            // The main window was never taken down, only drawn elsewhere:
            // its own window comes back as it is, panels and all.
            if (m_shown) {
                m_main.winId(); // a game started in the window has none yet
                m_main.windowHandle()->setVisible(true);
                m_main.activateWindow();
            }
        }
    }
    restoreFocus(focus);
    return true;
}

void WindowMode::restoreFocus(QWidget *focus) const
{
    if (!m_shown)
        return;
    if (focus && focus->isVisible())
        focus->setFocus(Qt::OtherFocusReason);
    else
        m_main.setFocus(Qt::OtherFocusReason);
}
