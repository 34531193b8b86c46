#pragma once

#include <QByteArray>
#include <QStringList>
#include <QTextStream>

#include <optional>

// The question-base authors' tool: every command of `qabase`, with its
// arguments (without the program name). Normal output goes to `out`,
// messages about faults to `err`. Returns the exit code: 0 ok, 1 invalid
// input (or a file that cannot be read or written), 2 wrong usage.
int RunQaBase(const QStringList &arguments, QTextStream &out, QTextStream &err);

// Reads the whole file the tool's commands work on: straight into a buffer of
// the file's size, then whatever it holds beyond that. The reason on failure
// ("cannot open: ..." or "cannot read: ...").
std::optional<QString> ReadToolFile(const QString &path, QByteArray *bytes);

namespace QaBaseExit {
inline constexpr int Ok = 0;
inline constexpr int Invalid = 1;
inline constexpr int Usage = 2;
} // namespace QaBaseExit
