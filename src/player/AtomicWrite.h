#pragma once

#include <QByteArray>
#include <QString>

// Replaces the file at `path` with `bytes`: a temporary file in the same
// folder is written, flushed to disk and renamed over the old one. On any
// failure the old file stays as it was, the temporary file is removed and
// `error` (when given) receives the system's text for the failure.
bool WriteFileAtomically(const QString &path, const QByteArray &bytes, QString *error);
