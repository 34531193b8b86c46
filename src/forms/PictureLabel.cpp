#include "forms/PictureLabel.h"

#include <QPainter>

void PictureLabel::paintEvent(QPaintEvent *event)
{
    if (isEnabled()) {
        QLabel::paintEvent(event);
        return;
    }
    // The disabled look of a plain label would fade the picture; draw it as it
    // is, at the top left, as the enabled label does.
    const QPixmap picture = pixmap();
    if (picture.isNull())
        return;
    QPainter painter(this);
    painter.drawPixmap(contentsRect().topLeft(), picture);
}
