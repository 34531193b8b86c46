#include "MessageBox.h"

#include "Fonts.h"

#include <QApplication>
#include <QAbstractButton>
#include <QIcon>
#include <QMessageBox>
#include <QWidget>

#include <cstdio>
#include <cstring>
#include <utility>

namespace {

MessageSink &sink()
{
    static MessageSink current;
    return current;
}

} // namespace

namespace {
bool g_unattended = false;
} // namespace

void SetMessagesUnattended(bool unattended)
{
    g_unattended = unattended;
}

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
    if (g_unattended) {
        std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
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
    box.setFont(GameFont(FontFamily::MsSansSerif, 13));
    // In the colours of the studio rather than the desktop's grey.
    box.setStyleSheet(QStringLiteral(
        "QMessageBox { background-color: rgb(16, 8, 41); border: 2px solid rgb(120, 130, 220); }"
        "QLabel { color: white; }"
        "QPushButton { color: white; background-color: rgb(40, 36, 110);"
        " border: 2px solid rgb(160, 170, 255); border-radius: 12px; padding: 4px 22px; }"
        "QPushButton:pressed { background-color: rgb(251, 152, 0); }"));
    if (QAbstractButton *ok = box.button(QMessageBox::Ok))
        ok->setIcon(QIcon());
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
