#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>

// Replaces `path` with `bytes` so that the file is either whole and old or
// whole and new: the bytes go to a temporary file in the same folder, are
// flushed and synced, and the temporary file is renamed over `path`. On any
// failure the old file is untouched, the temporary file is removed and the
// reason comes back.
//
// `beforeRename` runs once the temporary file is complete and synced; if it
// returns false the write is abandoned as a failure (a seam for tests that
// stop a write at its most delicate moment).
std::optional<QString> WriteFileAtomically(const QString &path, const QByteArray &bytes,
                                           const std::function<bool()> &beforeRename = {});
