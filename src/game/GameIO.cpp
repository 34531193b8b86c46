#include "game/GameIO.h"

#include "player/BaseList.h"

#include <QCoreApplication>
#include <QDir>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace {

const QString QAFolder = QStringLiteral("QA");

// Loading a base reads the whole file, builds its level lists beside the
// ones it replaces, and then drops the file's bytes and a list of every
// question's place; a rewrite reads the file back and assembles the new one. The C library keeps such freed memory for later use; a game then
// holds it for nothing, so it goes back to the system at once.
void ReturnFreedMemory()
{
#ifdef __GLIBC__
    malloc_trim(0);
#endif
}

} // namespace

std::optional<BaseFailure> FileGameIO::LoadBase(const QString &baseFile, GameState &state,
                                                std::int32_t *gamesPlayed, const BaseProgress &progress)
{
    auto failure = ::LoadBase(BasePath(baseFile), state, gamesPlayed, progress);
    ReturnFreedMemory();
    return failure;
}

std::optional<BaseFailure> FileGameIO::ReadLeaderboard(const QString &baseFile, QByteArray *headerLine,
                                                       std::array<BestTable, 7> &leaders,
                                                       std::int32_t *gamesPlayed)
{
    return ::ReadLeaderboard(BasePath(baseFile), headerLine, leaders, gamesPlayed);
}

std::optional<BaseFailure> FileGameIO::RewriteBase(const QString &baseFile, const QByteArray &headerLine,
                                                   const GameState &state, std::int32_t gamesPlayed,
                                                   const BaseProgress &progress)
{
    auto failure = ::RewriteBase(BasePath(baseFile), headerLine, state, gamesPlayed, progress);
    ReturnFreedMemory();
    return failure;
}

QString FileGameIO::FolderWithoutBases()
{
    if (!ListBaseFiles(QAFolder).isEmpty())
        return QString();
    return QDir(QAFolder).absolutePath();
}

void FileGameIO::ProcessEvents()
{
    QCoreApplication::processEvents();
}
