#pragma once

#include <QString>
#include <QStringList>

// The bases the player can choose from: the names in `folder` whose extension
// is ".QA" in any letter case (every kind of entry, hidden ones and folders
// included, as the game always listed them), sorted alphabetically without
// regard to letter case. Names that the settings file could not store are left out.
QStringList ListBaseFiles(const QString &folder);
