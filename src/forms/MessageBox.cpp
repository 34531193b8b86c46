#include "forms/MessageBox.h"

#include "forms/Fonts.h"

#include <QApplication>
#include <QAbstractButton>
#include <QEventLoop>
#include <QFrame>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWidget>

#include <algorithm>
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

namespace {

// The studio's colours for a message, on a panel or in a box of its own.
const QString kMessageStyle = QStringLiteral(
    "#GameMessage, QMessageBox { background-color: rgb(16, 8, 41); border: 2px solid rgb(120, 130, 220); }"
    "QLabel { color: white; }"
    "QPushButton { color: white; background-color: rgb(40, 36, 110);"
    " border: 2px solid rgb(160, 170, 255); border-radius: 12px; padding: 4px 22px; }"
    "QPushButton:pressed { background-color: rgb(251, 152, 0); }");

// Enter, Return and Escape answer the message as OK does.
class AnswerKeys : public QObject {
public:
    explicit AnswerKeys(QEventLoop &loop) : m_loop(loop) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent *>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape) {
                m_loop.quit();
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QEventLoop &m_loop;
};

// The message as a panel on the game's one window, above everything on it:
// no window manager or compositor then decides whether it is seen. Like a
// modal box it holds the rest of the window (the stage and any dialog panel)
// until the player answers it.
void ShowOnSurface(QWidget *surface, const QString &text)
{
    QFrame box(surface);
    box.setObjectName(QStringLiteral("GameMessage"));
    box.setAccessibleName(text);
    box.setStyleSheet(kMessageStyle);
    box.setAttribute(Qt::WA_StyledBackground);
    auto *layout = new QVBoxLayout(&box);
    layout->setContentsMargins(28, 20, 28, 16);
    layout->setSpacing(16);
    auto *label = new QLabel(&box);
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignCenter);
    label->setFont(GameFont(FontFamily::MsSansSerif, 13));
    label->setMaximumWidth(std::max(200, std::min(560, surface->width() - 80)));
    auto *ok = new QPushButton(QStringLiteral("OK"), &box);
    ok->setFont(GameFont(FontFamily::MsSansSerif, 13));
    layout->addWidget(label);
    layout->addWidget(ok, 0, Qt::AlignHCenter);
    box.adjustSize();
    box.move((surface->width() - box.width()) / 2, (surface->height() - box.height()) / 2);

    // The focus comes back where it was (the name box of a dialog, say), so
    // that typing and a screen reader go on there.
    const QPointer<QWidget> focusBefore = surface->window()->focusWidget();
    QList<QPointer<QWidget>> held;
    for (QWidget *child : surface->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly)) {
        if (child != &box && child->isEnabled()) {
            child->setEnabled(false);
            held.append(child);
        }
    }
    QEventLoop loop;
    AnswerKeys keys(loop);
    box.installEventFilter(&keys);
    ok->installEventFilter(&keys);
    QObject::connect(ok, &QPushButton::clicked, &loop, &QEventLoop::quit);
    box.show();
    box.raise();
    ok->setFocus(Qt::OtherFocusReason);
    loop.exec();
    box.hide();
    for (const QPointer<QWidget> &child : held) {
        if (child)
            child->setEnabled(true);
    }
    if (focusBefore && focusBefore->isVisible() && focusBefore->isEnabled())
        focusBefore->setFocus(Qt::OtherFocusReason);
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
    if (g_unattended) {
        std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
        return;
    }
    // On the game's window the message is a panel of it; a window that is
    // not up yet would place a box at its own stale position, so then the
    // box stands on its own in the screen's middle.
    if (parent && parent->window()->isVisible()) {
        ShowOnSurface(parent->window(), text);
        return;
    }
    QMessageBox box;
    box.setWindowTitle(QApplication::applicationDisplayName());
    box.setTextFormat(Qt::PlainText);
    box.setText(text);
    box.setIcon(QMessageBox::NoIcon);
    box.setStandardButtons(QMessageBox::Ok);
    box.setFont(GameFont(FontFamily::MsSansSerif, 13));
    box.setStyleSheet(kMessageStyle);
    if (QAbstractButton *ok = box.button(QMessageBox::Ok))
        ok->setIcon(QIcon());
    box.exec();
}

bool MessageShown(const QWidget *surface)
{
    const auto *box = surface ? surface->findChild<QWidget *>(QStringLiteral("GameMessage"), Qt::FindDirectChildrenOnly)
                              : nullptr;
    return box && box->isVisible();
}

QString SystemErrorText(int errorNumber)
{
    return QString::fromLocal8Bit(std::strerror(errorNumber));
}

void ShowSystemError(QWidget *parent, int errorNumber)
{
    ShowMessage(parent, SystemErrorText(errorNumber));
}
