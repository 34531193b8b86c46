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

// A borderless top-level window of a fixed size filled with `background`.
void MakeBorderlessWindow(QWidget *dialog, const QString &caption, const QSize &size,
                          const QColor &background);

// Centres `dialog` on the screen of `over` (the primary screen when `over` has
// none) and keeps it above `over` in the window stack.
void CentreAndKeepAbove(QWidget *dialog, QWidget *over);

} // namespace DialogParts
