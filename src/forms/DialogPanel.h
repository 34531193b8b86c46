#pragma once

#include <QPoint>
#include <QWidget>

class DialogHost;
class QColor;
class QString;

// A dialog of the game: a borderless panel the size of its background
// picture, drawn on the one top-level window above the stage. Showing it
// raises it above everything else there and centres it; it is dragged by its
// title, always kept wholly on the surface. Showing and hiding run FormShow
// and FormHide; a close request runs FormClose.
//
// Without a host surface (a dialog tried on its own) it is a borderless
// window of its own, centred on the screen.
class DialogPanel : public QWidget {
    Q_OBJECT

public:
    // `host` may be null: such a dialog holds nothing.
    DialogPanel(DialogHost *host, QWidget *surface, const QString &caption, QSize size,
                const QColor &background);

    // What the Parts call showing, hiding and closing the window.
    virtual void FormShow() {}
    virtual void FormHide() {}
    // By default the program ends, as it does when a dialog is closed.
    virtual void FormClose();

    // Centres the panel on its surface (or on the screen).
    void Centre();
    // Makes `title` the handle the dialog is dragged by.
    void DragBy(QWidget *title);
    // Moves the panel's top left to `topLeft`, kept wholly on the surface.
    void MoveWithin(QPoint topLeft);

    DialogHost *host() const { return m_host; }

protected:
    void HoldStage();
    void ReleaseStage();

    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    // A global pointer position in the surface's coordinates (the screen's
    // for a dialog on its own).
    QPoint onSurface(QPointF global) const;

    DialogHost *m_host;
    QPoint m_dragStart;   // pointer position on the surface at the title's press
    QPoint m_posAtPress;  // the panel's place then
    bool m_described = false;
    bool m_up = false;    // FormShow ran and FormHide has not yet
};
