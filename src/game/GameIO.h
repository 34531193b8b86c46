#pragma once

#include "questionbase/BaseFileModel.h"
#include "questionbase/BaseLoader.h"
#include "questionbase/BestTable.h"
#include "questionbase/GameState.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>
#include <optional>

// What a game needs from the world outside it: the base file read when a game
// begins and rewritten when it ends, and a moment for the window to handle
// its pending events (so the progress gauge moves and the window stays alive
// during a long load or rewrite). `baseFile` is the bare file name of the base
// inside the QA folder.
class GameIO {
public:
    virtual ~GameIO() = default;

    virtual std::optional<BaseFailure> LoadBase(const QString &baseFile, GameState &state,
                                                std::int32_t *gamesPlayed, const BaseProgress &progress) = 0;
    virtual std::optional<BaseFailure> ReadLeaderboard(const QString &baseFile, QByteArray *headerLine,
                                                       std::array<BestTable, 7> &leaders,
                                                       std::int32_t *gamesPlayed) = 0;
    virtual std::optional<BaseFailure> RewriteBase(const QString &baseFile, const QByteArray &headerLine,
                                                   const GameState &state, std::int32_t gamesPlayed,
                                                   const BaseProgress &progress) = 0;
    // The QA folder as the player should look for it, or "" when it holds at
    // least one base (then nothing more needs saying after a failed load).
    virtual QString FolderWithoutBases() = 0;
    // Let the window process pending events; any handler may run inside.
    virtual void ProcessEvents() = 0;
};

// The game's own files: bases in QA/ under the working directory, events
// processed by the application.
class FileGameIO : public GameIO {
public:
    std::optional<BaseFailure> LoadBase(const QString &baseFile, GameState &state, std::int32_t *gamesPlayed,
                                        const BaseProgress &progress) override;
    std::optional<BaseFailure> ReadLeaderboard(const QString &baseFile, QByteArray *headerLine,
                                               std::array<BestTable, 7> &leaders,
                                               std::int32_t *gamesPlayed) override;
    std::optional<BaseFailure> RewriteBase(const QString &baseFile, const QByteArray &headerLine,
                                           const GameState &state, std::int32_t gamesPlayed,
                                           const BaseProgress &progress) override;
    QString FolderWithoutBases() override;
    void ProcessEvents() override;
};
