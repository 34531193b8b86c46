#pragma once

#include <QString>
#include <QStringList>

// The bases the player can choose from: the names in `folder` whose extension
// is ".QA" in any letter case (hidden ones included), sorted alphabetically
// without regard to letter case. Only regular files (or links to them) are
// listed: a folder, FIFO or device of that name could never be read as a base.
// Names that the settings file could not store are left out.
QStringList ListBaseFiles(const QString &folder);
