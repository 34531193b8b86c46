#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>

class QLabel;
class QWidget;

// Building blocks shared by the player's dialogs.
namespace DialogParts {

// A transparent plain-text label at `geometry`.
void StyleLabel(QLabel *label, const QString &objectName, const QRect &geometry, const QFont &font,
                const QColor &colour, Qt::Alignment alignment, const QString &text,
                bool wordWrap = false);

// A picture control showing the artwork called `artName` stretched over
// `geometry`; an empty box until that artwork exists.
QLabel *MakePicture(QWidget *parent, const QString &objectName, const QString &artName,
                    const QRect &geometry);

} // namespace DialogParts
