#pragma once

#include <QAccessible>
#include <QObject>
#include <QString>

#include <array>
#include <functional>

class QWidget;

// What screen readers learn of the game's controls. Most of the game's
// buttons are labels with a press area, which a screen reader would take for
// plain text; here each gets the role it plays and a name worked out when
// asked, so it always tells what the control shows now.
namespace Accessible {

using Name = std::function<QString()>;

// Gives `widget` a role and a name (asked for whenever a reader wants it).
void Describe(QWidget *widget, QAccessible::Role role, Name name);
void Describe(QWidget *widget, QAccessible::Role role, const QString &name);

// Tells screen readers that what `widget` says has changed, so they read it.
void Announce(QWidget *widget);

// Tests: sees every announcement (readers are only told while one listens,
// which a test's screen never has). Returns the previous watcher.
using Watcher = std::function<void(QWidget *widget)>;
Watcher SetAnnouncementWatcherForTests(Watcher watcher);

// What a part of the window says that no control with the focus shows (the
// host, a friend on the phone), spoken by a screen reader. A reader speaks a
// control that gains the focus, its name and no more (the voice's role has no
// name of its own), and its "where am I" repeats it. Two invisible controls
// on `parent` take the focus in turn, one per utterance, since the focus must
// move for every one: a name changed on the focused control is spoken only
// the first time by readers that remember it by the control.
class Voice : public QObject {
public:
    explicit Voice(QWidget *parent);

    // Says `text`: the voice takes the focus if it may (its parent is up and
    // no other control there or in a dialog holds the focus); otherwise it
    // waits until TakeFocus().
    void Say(const QString &text);
    // Gives the focus back to the last utterance, if it may.
    void TakeFocus();

private:
    bool focusIsFree() const;

    QWidget *m_parent;
    std::array<QWidget *, 2> m_voices{};
    int m_current = 0;
};

} // namespace Accessible
