#include "questionbase/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
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

// The file a path finally names: symbolic links are followed (a relative
// link counts from the link's own folder) until a name that is not a link,
// which may not exist yet. Gives up after 40 links, as the system does.
// Paths are joined as they stand, never cleaned: "a/link/../b" must mean
// what the system makes of it when "link" leads elsewhere.
QString FolderOf(const QString &absolute)
{
    return absolute.left(std::max<qsizetype>(absolute.lastIndexOf(QLatin1Char('/')), 1));
}

QString NameOf(const QString &absolute)
{
    return absolute.mid(absolute.lastIndexOf(QLatin1Char('/')) + 1);
}


std::optional<QString> FollowLinks(const QString &path, QString *target)
{
    QString current = QDir::isAbsolutePath(path) ? path : QDir::currentPath() + QLatin1Char('/') + path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(QFile::encodeName(current).constData(), &st) != 0 || !S_ISLNK(st.st_mode)) {
            *target = current;
            return std::nullopt;
        }
        QByteArray link(PATH_MAX, '\0');
        const ssize_t n = ::readlink(QFile::encodeName(current).constData(), link.data(), link.size());
        if (n < 0)
            return QStringLiteral("cannot read the link %1: %2").arg(current, SystemError());
        link.truncate(n);
        const QString next = QFile::decodeName(link);
        current = QDir::isAbsolutePath(next) ? next : FolderOf(current) + QLatin1Char('/') + next;
    }
    return QStringLiteral("too many levels of symbolic links in %1").arg(path);
}

// Gives the new file the owner, group and mode of the one it replaces, as far
// as the process may: anyone may keep the mode, a member of the group the
// group, only a privileged process the owner. The owner goes first, because
// changing it clears the set-user and set-group bits.
void KeepOwnerAndMode(int fd, const struct stat &old)
{
    if (::fchown(fd, old.st_uid, old.st_gid) != 0)
        (void)::fchown(fd, uid_t(-1), old.st_gid);
    ::fchmod(fd, old.st_mode & 07777);
}

} // namespace

std::optional<QString> WriteFileAtomically(const QString &path, const QByteArray &bytes,
                                           const std::function<bool()> &beforeRename)
{
    if (path.isEmpty())
        return QStringLiteral("no file name");
    // A link stays a link: the file it names receives the new content, and the
    // temporary file goes beside that file, so the rename stays in one folder.
    QString targetPath;
    if (auto reason = FollowLinks(path, &targetPath))
        return reason;
    const QString folder = FolderOf(targetPath);
    if (!QFileInfo(folder).isDir())
        return QStringLiteral("folder %1 does not exist").arg(folder);

    const QByteArray targetName = QFile::encodeName(targetPath);
    struct stat old {};
    const bool exists = ::stat(targetName.constData(), &old) == 0;
    if (exists) {
        if (!S_ISREG(old.st_mode))
            return QStringLiteral("cannot replace %1: not a regular file").arg(path);
        // A file the player may not write is not replaced behind its back,
        // just as writing it in place would have failed. A privileged process
        // may write whatever the mode says, and so it may here.
        if (::faccessat(AT_FDCWD, targetName.constData(), W_OK, AT_EACCESS) != 0)
            return QStringLiteral("cannot write %1: %2").arg(path, SystemError());
    }

    // The name ends in ".tmp", so a listing of bases never picks it up.
    QTemporaryFile temp(folder + QLatin1Char('/') + NameOf(targetPath) + QStringLiteral(".XXXXXX.tmp"));
    if (!temp.open())
        return QStringLiteral("cannot create a temporary file in %1: %2").arg(folder, temp.errorString());

    if (exists)
        KeepOwnerAndMode(temp.handle(), old);
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
    if (std::rename(from.constData(), targetName.constData()) != 0)
        return QStringLiteral("cannot replace %1: %2").arg(path, SystemError());
    // The temporary file is now the target; nothing is left to remove.
    temp.setAutoRemove(false);
    SyncFolder(folder);
    return std::nullopt;
}
