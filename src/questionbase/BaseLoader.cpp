#include "questionbase/BaseLoader.h"

#include "questionbase/AtomicFile.h"
#include "questionbase/SafeFile.h"

#include <QFile>

#include <unistd.h>

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
    for (QList<QuestionRef> &level : state.LevelQuestions)
        level.clear();
    state.Source.reset();
    state.BaseBytes.clear();
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
    if (!IsBareFileName(currentBaseFile))
        return QString();
    return QStringLiteral("QA/") + currentBaseFile;
}

std::optional<BaseFailure> LoadBase(const QString &path, GameState &state, std::int32_t *gamesPlayed,
                                    const BaseProgress &progress)
{
    ClearTables(state);
    *gamesPlayed = 0;

    if (path.isEmpty())
        return BaseFailure{0, 0, QStringLiteral("not a base file name")};
    QFile file;
    QByteArray bytes;
    auto reason = SafeFile::OpenForReading(file, path);
    if (!reason)
        reason = SafeFile::ReadAll(file, &bytes);
    if (reason)
        return BaseFailure{0, 0, QStringLiteral("cannot read %1: %2").arg(path, *reason)};
    auto indexed = IndexBaseFile(bytes, progress);
    if (auto *failure = std::get_if<BaseFailure>(&indexed))
        return *failure;
    BaseIndex &index = std::get<BaseIndex>(indexed);

    std::array<std::int32_t, Levels> loaded{};
    for (int level = 0; level < Levels; ++level)
        loaded[level] = std::int32_t(index.Levels[level].size());
    if (const int empty = FirstEmptyLevel(loaded))
        return EmptyLevelFailure(empty);

    for (int level = 1; level <= GameState::Levels; ++level) {
        QList<QuestionRef> &list = state.LevelQuestions[level];
        const QList<QuestionRef> &read = index.Levels[level - 1];
        list.reserve(read.size() + 1);
        list.append(QuestionRef()); // the scratch slot
        list.append(read);
        state.LevelCounts[level] = std::int32_t(read.size());
    }
    // The game reads its questions from the file from now on; only a file
    // that changed while it was read is kept in memory as it was read.
    state.Source = QuestionSource::Adopt(::dup(file.handle()), bytes.size());
    if (!state.Source)
        state.BaseBytes = std::move(bytes);
    state.AuthorCount = index.AuthorCount;
    state.Authors = QStringList{QString()} + index.Authors;
    state.SubjectCount = index.SubjectCount;
    state.Subjects = QStringList{QString()} + index.Subjects;
    *gamesPlayed = index.GamesPlayed;
    return std::nullopt;
}

void ShuffleLevels(GameState &state, RandomGenerator &random, const BaseProgress &progress)
{
    const std::int64_t total = TotalQuestions(state);
    std::int64_t processed = 0;
    for (int level = 1; level <= GameState::Levels; ++level) {
        QList<QuestionRef> &list = state.LevelQuestions[level];
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
    LineReader reader(bytes);
    QByteArrayView header;
    QByteArrayView leaderLine;
    reader.Next(&header);
    reader.Next(&leaderLine);
    std::array<BestTable, LeaderEntries> read{};
    std::int32_t games = 0;
    if (auto failure = ReadLeaderLine(leaderLine, &read, &games))
        return failure;
    *headerLine = header.toByteArray();
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
    static const QByteArray LineEnd("\r\n");
    std::array<BestTable, LeaderEntries> leaders;
    for (int i = 0; i < LeaderEntries; ++i)
        leaders[i] = state.Leaders[i + 1];
    std::array<std::int32_t, Levels> counts{};
    std::array<qsizetype, Levels + 1> written{};
    std::int64_t total = 0;
    qsizetype size = 0;
    // The question lines come from the file as it was loaded, read again
    // whole; a file that changed since cannot give them back.
    QByteArray loaded;
    if (state.Source) {
        if (auto reason = state.Source->ReadAll(&loaded))
            return BaseFailure{0, 0, *reason};
    }
    const QByteArrayView source(state.Source ? loaded : state.BaseBytes);
    for (int level = 1; level <= GameState::Levels; ++level) {
        const QList<QuestionRef> &list = state.LevelQuestions[level];
        written[level] = std::max<qsizetype>(0, std::min<qsizetype>(state.LevelCounts[level], list.size() - 1));
        counts[level - 1] = std::int32_t(written[level]);
        total += written[level];
        for (qsizetype i = 1; i <= written[level]; ++i)
            size += list[i].Length + LineEnd.size();
    }

    QByteArray bytes;
    const QByteArray head = headerLine + LineEnd + WriteLeaderLine(leaders, gamesPlayed) + LineEnd
        + WriteNameLine(state.AuthorCount, state.Authors.mid(1)) + LineEnd
        + WriteNameLine(state.SubjectCount, state.Subjects.mid(1)) + LineEnd + WriteLevelCountLine(counts)
        + LineEnd;
    bytes.reserve(head.size() + size);
    bytes += head;
    // Question lines go back byte for byte as they were read.
    std::int64_t processed = 0;
    for (int level = 1; level <= GameState::Levels; ++level) {
        const QList<QuestionRef> &list = state.LevelQuestions[level];
        for (qsizetype i = 1; i <= written[level]; ++i) {
            const QuestionRef ref = list[i];
            if (std::uint64_t(ref.Offset) + ref.Length <= std::uint64_t(source.size()))
                bytes.append(source.sliced(ref.Offset, ref.Length));
            bytes.append(LineEnd);
            ++processed;
            if (progress)
                progress(processed, total);
        }
    }
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
