#pragma once

#include <QString>

#include <functional>

class QWidget;

// The game's message boxes: modal, one OK button, plain text (player names
// and file names are shown literally, never as markup).
void ShowMessage(QWidget *parent, const QString &text);

// Whether a message stands on `surface` (the game's window) waiting for its
// answer: the game's own keys then leave the keyboard to it.
bool MessageShown(const QWidget *surface);

// The text the operating system gives for an error number, for example
// "No such file or directory" for ENOENT.
QString SystemErrorText(int errorNumber);

// The application-wide error report for a file or number error that a
// window does not handle itself: the same box with the system's text.
void ShowSystemError(QWidget *parent, int errorNumber);

// When nobody is left to answer a box (the session is ending), messages go
// to the error output instead and never wait.
void SetMessagesUnattended(bool unattended);

// Tests: while a sink is set, messages go to it instead of a box, so that
// nothing blocks. Pass an empty function to show real boxes again. Returns
// the sink that was set before.
using MessageSink = std::function<void(const QString &)>;
MessageSink SetMessageSinkForTests(MessageSink sink);
