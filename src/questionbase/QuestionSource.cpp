#include "questionbase/QuestionSource.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

std::shared_ptr<const QuestionSource> QuestionSource::Adopt(int fd, qint64 size)
{
    struct stat st {};
    if (fd < 0 || ::fstat(fd, &st) != 0 || qint64(st.st_size) != size) {
        if (fd >= 0)
            ::close(fd);
        return nullptr;
    }
    std::shared_ptr<QuestionSource> source(new QuestionSource);
    source->m_fd = fd;
    source->m_size = size;
    source->m_device = std::uint64_t(st.st_dev);
    source->m_inode = std::uint64_t(st.st_ino);
    source->m_modifiedSeconds = std::int64_t(st.st_mtim.tv_sec);
    source->m_modifiedNanoseconds = std::int64_t(st.st_mtim.tv_nsec);
    return source;
}

QuestionSource::~QuestionSource()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

bool QuestionSource::Unchanged() const
{
    struct stat st {};
    return ::fstat(m_fd, &st) == 0 && qint64(st.st_size) == m_size && std::uint64_t(st.st_dev) == m_device
           && std::uint64_t(st.st_ino) == m_inode && std::int64_t(st.st_mtim.tv_sec) == m_modifiedSeconds
           && std::int64_t(st.st_mtim.tv_nsec) == m_modifiedNanoseconds;
}

namespace {

// Reads `size` bytes at `offset` into `out`; false on a short read or an error.
bool ReadAt(int fd, qint64 offset, qint64 size, char *out)
{
    qint64 got = 0;
    while (got < size) {
        const ssize_t n = ::pread(fd, out + got, size_t(size - got), off_t(offset + got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        got += n;
    }
    return true;
}

} // namespace

std::optional<QByteArray> QuestionSource::Line(QuestionRef ref) const
{
    if (ref.Length == 0 || qint64(ref.Offset) + qint64(ref.Length) > m_size || !Unchanged())
        return std::nullopt;
    QByteArray line(qsizetype(ref.Length), Qt::Uninitialized);
    if (!ReadAt(m_fd, qint64(ref.Offset), qint64(ref.Length), line.data()))
        return std::nullopt;
    return line;
}

std::optional<QString> QuestionSource::ReadAll(QByteArray *bytes) const
{
    const QString changed = QStringLiteral("the base was changed on disk during the game");
    if (!Unchanged())
        return changed;
    QByteArray read(qsizetype(m_size), Qt::Uninitialized);
    if (!ReadAt(m_fd, 0, m_size, read.data()) || !Unchanged())
        return changed;
    *bytes = std::move(read);
    return std::nullopt;
}
