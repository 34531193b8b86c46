#include "BaseLoader.h"

#include "AtomicFile.h"
#include "SafeFile.h"

#include <QFile>

#include <limits>
#include <utility>

using namespace BaseFile;

namespace {

std::optional<BaseFailure> ReadWholeFile(const QString &path, QByteArray *bytes)
{
    if (path.isEmpty())
        return BaseFailure{0, 0, QStringLiteral("not a base file name")};
    if (auto reason = SafeFile::ReadAll(path, bytes))
        return BaseFailure{0, 0, QStringLiteral("cannot read %1: %2").arg(path, *reason)};
    return std::nullopt;
}

void ClearTables(GameState &state)
{
    for (QList<QABase> &level : state.LevelQuestions)
        level.clear();
    state.LevelCounts.fill(0);
    state.Authors.clear();
    state.Subjects.clear();
    state.AuthorCount = 0;
    state.SubjectCount = 0;
}

std::int64_t TotalQuestions(const GameState &state)
{
    std::int64_t total = 0;
    for (int level = 1; level <= GameState::Levels; ++level)
        total += state.LevelCounts[level];
    return total;
}

} // namespace

QString BasePath(const QString &currentBaseFile)
{
    if (currentBaseFile.isEmpty() || currentBaseFile == QLatin1String(".") || currentBaseFile == QLatin1String("..")
        || currentBaseFile.contains(QLatin1Char('/')) || currentBaseFile.contains(QLatin1Char('\\'))
        || currentBaseFile.contains(QChar(0)))
        return QString();
    return QStringLiteral("QA/") + currentBaseFile;
}

std::optional<BaseFailure> LoadBase(const QString &path, GameState &state, std::int32_t *gamesPlayed,
                                    const BaseProgress &progress)
{
    ClearTables(state);
    *gamesPlayed = 0;

    QByteArray bytes;
    if (auto failure = ReadWholeFile(path, &bytes))
        return failure;
    auto parsed = ParseBaseFile(bytes, progress);
    if (auto *failure = std::get_if<BaseFailure>(&parsed))
        return *failure;
    BaseFileModel &model = std::get<BaseFileModel>(parsed);

    for (int level = 0; level < Levels; ++level) {
        if (model.Levels[level].isEmpty()) {
            return BaseFailure{LevelCountLineNo, level + 1,
                               QStringLiteral("level %1 holds no questions").arg(level + 1)};
        }
    }

    for (int level = 1; level <= GameState::Levels; ++level) {
        QList<QABase> &list = state.LevelQuestions[level];
        list = std::move(model.Levels[level - 1]);
        list.prepend(QABase()); // the scratch slot
        state.LevelCounts[level] = std::int32_t(list.size() - 1);
    }
    state.AuthorCount = model.AuthorCount;
    state.Authors = QStringList{QString()} + model.Authors;
    state.SubjectCount = model.SubjectCount;
    state.Subjects = QStringList{QString()} + model.Subjects;
    *gamesPlayed = model.GamesPlayed;
    return std::nullopt;
}

void ShuffleLevels(GameState &state, RandomGenerator &random, const BaseProgress &progress)
{
    const std::int64_t total = TotalQuestions(state);
    std::int64_t processed = 0;
    for (int level = 1; level <= GameState::Levels; ++level) {
        QList<QABase> &list = state.LevelQuestions[level];
        // Only records that were loaded are touched, whatever the count says.
        const int n = int(std::min<qsizetype>(state.LevelCounts[level], list.size() - 1));
        for (int p = 1; p <= n; ++p) {
            random.Reseed();
            const int k = p + random.RandomInt(n - p + 1);
            list[0] = list[p];
            list[p] = list[k];
            list[k] = list[0];
            ++processed;
            if (progress)
                progress(processed, total);
        }
    }
}

std::optional<BaseFailure> ReadLeaderboard(const QString &path, QByteArray *headerLine,
                                           std::array<BestTable, 7> &leaders, std::int32_t *gamesPlayed)
{
    QByteArray bytes;
    if (auto failure = ReadWholeFile(path, &bytes))
        return failure;
    const QList<QByteArray> lines = SplitLines(bytes);
    std::array<BestTable, LeaderEntries> read{};
    std::int32_t games = 0;
    if (auto failure = ReadLeaderLine(lines.value(LeaderLineNo - 1), &read, &games))
        return failure;
    *headerLine = lines.value(HeaderLineNo - 1);
    for (int i = 0; i < LeaderEntries; ++i)
        leaders[i + 1] = read[i];
    *gamesPlayed = games;
    return std::nullopt;
}

void RankLeaders(std::array<BestTable, 7> &leaders)
{
    for (int i = 2; i <= 6; ++i) {
        for (int j = 1; j <= i - 1; ++j) {
            if (leaders[i].Step > leaders[j].Step)
                std::swap(leaders[i], leaders[j]);
            if (leaders[i].Step == leaders[j].Step && leaders[i].Ticks < leaders[j].Ticks)
                std::swap(leaders[i], leaders[j]);
        }
    }
}

std::int32_t NextGamesPlayed(std::int32_t gamesPlayed)
{
    if (gamesPlayed < 0)
        return 1;
    return gamesPlayed == std::numeric_limits<std::int32_t>::max() ? gamesPlayed : gamesPlayed + 1;
}

std::optional<BaseFailure> RewriteBase(const QString &path, const QByteArray &headerLine, const GameState &state,
                                       std::int32_t gamesPlayed, const BaseProgress &progress)
{
    if (path.isEmpty())
        return BaseFailure{0, 0, QStringLiteral("not a base file name")};
    BaseFileModel model;
    model.HeaderLine = headerLine;
    for (int i = 0; i < LeaderEntries; ++i)
        model.Leaders[i] = state.Leaders[i + 1];
    model.GamesPlayed = gamesPlayed;
    model.AuthorCount = state.AuthorCount;
    model.Authors = state.Authors.mid(1);
    model.SubjectCount = state.SubjectCount;
    model.Subjects = state.Subjects.mid(1);
    for (int level = 1; level <= GameState::Levels; ++level) {
        const QList<QABase> &list = state.LevelQuestions[level];
        const qsizetype n = std::min<qsizetype>(state.LevelCounts[level], list.size() - 1);
        if (n > 0)
            model.Levels[level - 1] = list.mid(1, n);
    }
    const QByteArray bytes = SerializeBaseFile(model, progress);
    if (auto reason = WriteFileAtomically(path, bytes))
        return BaseFailure{0, 0, *reason};
    return std::nullopt;
}

int GaugeValue(std::int64_t processed, std::int64_t total)
{
    if (total <= 0 || processed <= 0)
        return 0;
    const std::int64_t value = total < 100 ? (100 / total) * processed : processed / (total / 100);
    return int(std::min<std::int64_t>(value, std::numeric_limits<int>::max()));
}

QString NameAt(const QStringList &table, std::int32_t index)
{
    return index > 0 && index < table.size() ? table[index] : QString();
}
