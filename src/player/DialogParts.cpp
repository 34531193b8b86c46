#include "player/DialogParts.h"

#include "art/Art.h"

#include <QLabel>
#include <QWidget>

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

} // namespace DialogParts
