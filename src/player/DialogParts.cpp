#include "DialogParts.h"

#include "Art.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QWidget>
#include <QWindow>

namespace DialogParts {

void StyleLabel(QLabel *label, const QString &objectName, const QRect &geometry, const QFont &font,
                const QColor &colour, Qt::Alignment alignment, const QString &text, bool wordWrap)
{
    label->setObjectName(objectName);
    label->setTextFormat(Qt::PlainText);
    label->setAttribute(Qt::WA_TranslucentBackground);
    label->setAutoFillBackground(false);
    label->setGeometry(geometry);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    palette.setColor(QPalette::Disabled, QPalette::WindowText, colour);
    label->setPalette(palette);
    label->setAlignment(alignment);
    label->setWordWrap(wordWrap);
    label->setText(text);
}

QLabel *MakePicture(QWidget *parent, const QString &objectName, const QString &artName,
                    const QRect &geometry)
{
    auto *picture = new QLabel(parent);
    picture->setObjectName(objectName);
    picture->setTextFormat(Qt::PlainText);
    picture->setAttribute(Qt::WA_TranslucentBackground);
    picture->setGeometry(geometry);
    picture->setScaledContents(true);
    picture->setPixmap(Art::Picture(artName));
    return picture;
}

void MakeBorderlessWindow(QWidget *dialog, const QString &caption, const QSize &size,
                          const QColor &background)
{
    dialog->setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    dialog->setWindowTitle(caption);
    dialog->setFixedSize(size);
    QPalette palette = dialog->palette();
    palette.setColor(QPalette::Window, background);
    dialog->setPalette(palette);
    dialog->setAutoFillBackground(true);
}

void CentreAndKeepAbove(QWidget *dialog, QWidget *over)
{
    QScreen *screen = over ? over->screen() : nullptr;
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (screen) {
        const QRect area = screen->geometry();
        dialog->move(area.x() + (area.width() - dialog->width()) / 2,
                     area.y() + (area.height() - dialog->height()) / 2);
    }
    if (over && dialog->windowHandle() && over->windowHandle()
        && dialog->windowHandle() != over->windowHandle())
        dialog->windowHandle()->setTransientParent(over->windowHandle());
}

} // namespace DialogParts
