#pragma once

#include <QObject>
#include <QPoint>

class QWidget;

// Lets the player drag a borderless dialog by its title label. A press asks
// the window system for an interactive move; where it has none (no window
// manager), the dialog follows the mouse by hand until the button goes up.
class DialogTitleDrag : public QObject {
public:
    DialogTitleDrag(QWidget *title, QWidget *dialog);

    // What a press on the title does: true when the window system took over.
    bool StartMove(const QPoint &globalPressPos);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_title;
    QWidget *m_dialog;
    bool m_manual = false;
    QPoint m_pressOffset; // the press position relative to the dialog's top left
};
