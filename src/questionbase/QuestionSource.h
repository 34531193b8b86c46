#pragma once

#include "questionbase/QuestionRef.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <memory>
#include <optional>

// The base file a game's level lists point into, held open from the load on,
// so that a game keeps none of the file's bytes in memory: a question's line
// is read from the file when the question is drawn, and the whole file again
// when the base is rewritten. The file is read with pread(2), never mapped:
// another program shortening or rewriting the file in place then makes a read
// come up short or the file differ from what was loaded, which is seen (the
// file's size, modification time and identity are compared with those of the
// load) and refused, instead of the signal that a mapping would raise. A base
// replaced by renaming another file over it (as the game itself rewrites a
// base) is no change: the open file is still the one that was loaded.
class QuestionSource {
public:
    // Takes `fd`, open for reading on the file whose first `size` bytes were
    // loaded; null (and `fd` closed) when the file is no longer that size.
    static std::shared_ptr<const QuestionSource> Adopt(int fd, qint64 size);
    ~QuestionSource();
    QuestionSource(const QuestionSource &) = delete;
    QuestionSource &operator=(const QuestionSource &) = delete;

    // Whether the file is still as it was loaded.
    bool Unchanged() const;
    // The bytes of a question's line, or nothing when the file changed or
    // the read comes up short.
    std::optional<QByteArray> Line(QuestionRef ref) const;
    // The whole file as it was loaded, or the reason it cannot be had.
    std::optional<QString> ReadAll(QByteArray *bytes) const;

private:
    QuestionSource() = default;

    int m_fd = -1;
    qint64 m_size = 0;
    std::uint64_t m_device = 0;
    std::uint64_t m_inode = 0;
    std::int64_t m_modifiedSeconds = 0;
    std::int64_t m_modifiedNanoseconds = 0;
};
