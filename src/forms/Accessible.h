#pragma once

#include <QAccessible>
#include <QString>

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

} // namespace Accessible
