#include "game/GameIO.h"

#include "player/BaseList.h"

#include <QCoreApplication>
#include <QDir>

namespace {

const QString QAFolder = QStringLiteral("QA");

} // namespace

std::optional<BaseFailure> FileGameIO::LoadBase(const QString &baseFile, GameState &state,
                                                std::int32_t *gamesPlayed, const BaseProgress &progress)
{
    return ::LoadBase(BasePath(baseFile), state, gamesPlayed, progress);
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
    return ::RewriteBase(BasePath(baseFile), headerLine, state, gamesPlayed, progress);
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
