#include "MessageBox.h"

#include "Fonts.h"

#include <QApplication>
#include <QMessageBox>
#include <QWidget>

#include <cstring>
#include <utility>

namespace {

MessageSink &sink()
{
    static MessageSink current;
    return current;
}

} // namespace

MessageSink SetMessageSinkForTests(MessageSink newSink)
{
    return std::exchange(sink(), std::move(newSink));
}

void ShowMessage(QWidget *parent, const QString &text)
{
    if (sink()) {
        // A copy: the sink may replace itself while it runs.
        const MessageSink current = sink();
        current(text);
        return;
    }
    // A window that is not up yet would place the box at its own stale
    // position; the screen's middle is better.
    QMessageBox box(parent && parent->isVisible() ? parent : nullptr);
    box.setWindowTitle(QApplication::applicationDisplayName());
    box.setTextFormat(Qt::PlainText);
    box.setText(text);
    box.setIcon(QMessageBox::NoIcon);
    box.setStandardButtons(QMessageBox::Ok);
    box.setFont(GameFont(FontFamily::MsSansSerif, 11));
    box.exec();
}

QString SystemErrorText(int errorNumber)
{
    return QString::fromLocal8Bit(std::strerror(errorNumber));
}

void ShowSystemError(QWidget *parent, int errorNumber)
{
    ShowMessage(parent, SystemErrorText(errorNumber));
}
