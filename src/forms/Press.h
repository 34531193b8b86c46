#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QtGlobal>

#include <functional>

class QMouseEvent;
class QWidget;

// How a press works on every window of the game: a button is an area that the
// player presses and releases with the left button.
//
// - The press shows the pressed look (the press handler).
// - The release goes to the area where the press began, wherever the pointer
//   then is (Qt's implicit grab), and ends the pressed look.
// - The release acts only if the area still means what it meant at the press:
//   the same meaning text (by default its caption; the main window adds the
//   game and the question) and still enabled. Otherwise it only restores the
//   look. So a button held while the time runs out, or the second press of a
//   double click on a button that the first click changed, does nothing.
// - The second press of a double click is one gesture with the first: it is
//   judged by what the area meant at the first press.
// - Other buttons neither press nor release.
// - A key bound to the area works the same way: its press is the press, its
//   release the release (always inside the area, so a click).
//
// One PressArea watches one widget; it lives as long as the widget.
class PressArea : public QObject {
public:
    using MouseHandler = std::function<void(QMouseEvent *event)>;
    using Handler = std::function<void()>;
    using Meaning = std::function<QString()>;

    explicit PressArea(QWidget *area);

    // The area's PressArea, created on first use.
    static PressArea *Of(QWidget *area);

    // The press look (and whatever a press does).
    void setOnPress(MouseHandler handler) { m_onPress = std::move(handler); }
    // The release that acts: restores the look and performs the action.
    void setOnRelease(MouseHandler handler) { m_onRelease = std::move(handler); }
    // The release that may not act: restores the look only. Without one, such
    // a release does nothing at all.
    void setOnRestore(Handler handler) { m_onRestore = std::move(handler); }
    // After an acting release inside the area (a click).
    void setOnClick(Handler handler) { m_onClick = std::move(handler); }
    // Pointer moves while the left button holds the press.
    void setOnDrag(MouseHandler handler) { m_onDrag = std::move(handler); }
    void setMeaning(Meaning meaning) { m_meaning = std::move(meaning); }

    // A key's press and release on the area, with the mouse's semantics.
    void keyPress();
    void keyRelease();

    bool isPressed() const { return m_pressed; }
    // What the area means now.
    QString meaning() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void press(QMouseEvent *event, bool secondOfDouble);
    void release(QMouseEvent *event);

    QWidget *m_area;
    MouseHandler m_onPress;
    MouseHandler m_onRelease;
    Handler m_onRestore;
    Handler m_onClick;
    MouseHandler m_onDrag;
    Meaning m_meaning;
    bool m_pressed = false;
    QString m_meaningAtPress;
    bool m_hadPress = false;
    quint64 m_pressTimestamp = 0;
};
