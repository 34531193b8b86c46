#pragma once

#include <QGraphicsView>

class QGraphicsProxyWidget;
class TFormMain;

// The screen's one window where the program cannot scale itself (below scale
// 1): it shows the main window, panels and all, through a transform, so that
// the stage fills a small screen with every control still reachable. Mouse
// and keyboard go to the main window's controls at their drawn places;
// closing this window closes the main window, which ends the program.
class ScaledSurface : public QGraphicsView {
    Q_OBJECT

public:
    ScaledSurface(TFormMain &main, double scale);
    // Gives the main window back: it outlives this window.
    ~ScaledSurface() override;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    TFormMain &m_main;
    QGraphicsProxyWidget *m_proxy = nullptr;
};
