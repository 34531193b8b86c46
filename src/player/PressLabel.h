#pragma once

#include <QLabel>

#include <functional>

class QMouseEvent;

// A transparent label that works as a button or a handle: the left button's
// press and release run the handlers given. The release goes to the label that
// took the press, wherever the pointer then is, and runs only after a press.
class PressLabel : public QLabel {
    Q_OBJECT

public:
    using Handler = std::function<void(QMouseEvent *event)>;

    explicit PressLabel(QWidget *parent);

    void setOnPress(Handler handler) { m_onPress = std::move(handler); }
    void setOnRelease(Handler handler) { m_onRelease = std::move(handler); }
    // Pointer moves while the left button is held after a press.
    void setOnDrag(Handler handler) { m_onDrag = std::move(handler); }

    bool isPressed() const { return m_pressed; }

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    Handler m_onPress;
    Handler m_onRelease;
    Handler m_onDrag;
    bool m_pressed = false;
};
