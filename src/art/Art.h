#pragma once

#include <QPixmap>
#include <QString>
#include <QStringList>

// The game's pictures, compiled in as Qt resources.
//
// A picture that belongs to a control is named "<FormClass>/<ControlName>"
// ("TFormMain/ImageForm", "TFormTop5/ImageForm"); the named bitmaps are plain
// ("NONE", "YELLOW", "GREEN", "RED", "NOCLICK", "NEW_YEAR", "SNOW").
// The catalogue with sizes and roles is in src/art/README.md.
namespace Art {

// The picture called `name`, at its logical size. On a high-density screen
// (device pixel ratio or QT_SCALE_FACTOR above 1) the twice-as-large copy is
// returned with devicePixelRatio 2, so its logical size stays the same.
// An unknown name gives a null pixmap.
QPixmap Picture(const QString &name);

// The same, with the density chosen by the caller: `ratio` above 1 takes the
// @2x copy. Tests use this to reach both copies without a real screen.
QPixmap Picture(const QString &name, qreal ratio);

// Every name that Picture() knows, sorted.
QStringList Names();

} // namespace Art
