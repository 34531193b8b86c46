#include "questionbase/SafeFile.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace SafeFile {

namespace {

QString SystemError(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

} // namespace

std::optional<QString> OpenForReading(QFile &file, const QString &path, qint64 maxSize)
{
    if (path.isEmpty())
        return QStringLiteral("no file name");
    const QByteArray name = QFile::encodeName(path);
    // O_NONBLOCK: opening a FIFO with no writer would otherwise wait for ever.
    // The checks run on the opened descriptor, so nothing can swap the file
    // between the check and the read.
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return SystemError(errno);
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        const int error = errno;
        ::close(fd);
        return SystemError(error);
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        return QStringLiteral("not a regular file");
    }
    if (qint64(st.st_size) > maxSize) {
        ::close(fd);
        return QStringLiteral("larger than %1 MiB").arg(maxSize / (1024 * 1024));
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0)
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return file.errorString();
    }
    return std::nullopt;
}

std::optional<QString> ReadAll(const QString &path, QByteArray *bytes, qint64 maxSize)
{
    QFile file;
    if (auto reason = OpenForReading(file, path, maxSize))
        return reason;
    return ReadAll(file, bytes, maxSize);
}

std::optional<QString> ReadAll(QFile &file, QByteArray *bytes, qint64 maxSize)
{
    // Straight into a buffer of the file's size, in as few reads as the
    // system allows; then whatever the file grew by since, up to one byte
    // past the limit.
    QByteArray read(qsizetype(file.size()), Qt::Uninitialized);
    qint64 got = 0;
    while (got < read.size()) {
        const qint64 n = file.read(read.data() + got, read.size() - got);
        if (n < 0)
            return file.errorString();
        if (n == 0)
            break;
        got += n;
    }
    read.truncate(qsizetype(got));
    const QByteArray rest = file.read(std::max<qint64>(maxSize - got + 1, 0));
    if (file.error() != QFileDevice::NoError)
        return file.errorString();
    read += rest;
    *bytes = std::move(read);
    // A file that grew after the check.
    if (bytes->size() > maxSize) {
        bytes->clear();
        return QStringLiteral("larger than %1 MiB").arg(maxSize / (1024 * 1024));
    }
    return std::nullopt;
}

bool IsRegularFile(const QString &path)
{
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 && S_ISREG(st.st_mode);
}

} // namespace SafeFile
