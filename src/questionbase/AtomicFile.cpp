#include "AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

QString SystemError() { return QString::fromLocal8Bit(std::strerror(errno)); }

// Makes the rename itself durable; a folder that cannot be synced is not an error.
void SyncFolder(const QString &folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

std::optional<QString> WriteFileAtomically(const QString &path, const QByteArray &bytes,
                                           const std::function<bool()> &beforeRename)
{
    if (path.isEmpty())
        return QStringLiteral("no file name");
    const QFileInfo target(path);
    const QString folder = target.absolutePath();
    if (!QFileInfo(folder).isDir())
        return QStringLiteral("folder %1 does not exist").arg(folder);

    // The name ends in ".tmp", so a listing of bases never picks it up.
    QTemporaryFile temp(folder + QLatin1Char('/') + target.fileName() + QStringLiteral(".XXXXXX.tmp"));
    if (!temp.open())
        return QStringLiteral("cannot create a temporary file in %1: %2").arg(folder, temp.errorString());

    // Keep the permissions of the file being replaced.
    if (target.exists())
        temp.setPermissions(QFile::permissions(path));
    else
        temp.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);

    if (temp.write(bytes) != bytes.size() || !temp.flush())
        return QStringLiteral("cannot write %1: %2").arg(temp.fileName(), temp.errorString());
    if (::fsync(temp.handle()) != 0)
        return QStringLiteral("cannot sync %1: %2").arg(temp.fileName(), SystemError());
    temp.close();

    if (beforeRename && !beforeRename())
        return QStringLiteral("the write was abandoned before %1 was replaced").arg(path);

    const QByteArray from = QFile::encodeName(temp.fileName());
    const QByteArray to = QFile::encodeName(target.absoluteFilePath());
    if (std::rename(from.constData(), to.constData()) != 0)
        return QStringLiteral("cannot replace %1: %2").arg(path, SystemError());
    // The temporary file is now the target; nothing is left to remove.
    temp.setAutoRemove(false);
    SyncFolder(folder);
    return std::nullopt;
}
