#pragma once

#include "forms/Press.h"

#include <QLabel>

// A transparent plain-text label that works as a button or a handle through
// the game's one press mechanism (PressArea): the left button's press and
// release run the handlers given; the release goes to the label that took the
// press, and acts only if the label still means what it meant at the press.
class PressLabel : public QLabel {
    Q_OBJECT

public:
    using Handler = PressArea::MouseHandler;

    explicit PressLabel(QWidget *parent);

    void setOnPress(Handler handler) { m_press->setOnPress(std::move(handler)); }
    void setOnRelease(Handler handler) { m_press->setOnRelease(std::move(handler)); }
    void setOnRestore(PressArea::Handler handler) { m_press->setOnRestore(std::move(handler)); }
    void setOnDrag(Handler handler) { m_press->setOnDrag(std::move(handler)); }
    void setMeaning(PressArea::Meaning meaning) { m_press->setMeaning(std::move(meaning)); }

    bool isPressed() const { return m_press->isPressed(); }
    PressArea *press() const { return m_press; }

private:
    PressArea *m_press;
};
