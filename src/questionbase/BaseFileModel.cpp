#include "questionbase/BaseFileModel.h"

#include <limits>

using namespace BaseFile;

std::variant<BaseIndex, BaseFailure> IndexBaseFile(QByteArrayView bytes, const BaseProgress &progress)
{
    if (bytes.size() > qsizetype(std::numeric_limits<std::uint32_t>::max()))
        return BaseFailure{0, 0, QStringLiteral("the file is larger than 4 GiB")};
    LineReader reader(bytes);
    // Missing lines read as empty lines.
    std::array<QByteArrayView, LevelCountLineNo> head;
    for (QByteArrayView &line : head)
        reader.Next(&line);

    BaseIndex index;
    index.HeaderLine = head[HeaderLineNo - 1].toByteArray();
    if (auto failure = ReadLeaderLine(head[LeaderLineNo - 1], &index.Leaders, &index.GamesPlayed))
        return *failure;
    if (auto failure = ReadNameLine(head[AuthorLineNo - 1], AuthorLineNo, &index.AuthorCount, &index.Authors))
        return *failure;
    if (auto failure = ReadNameLine(head[SubjectLineNo - 1], SubjectLineNo, &index.SubjectCount, &index.Subjects))
        return *failure;
    std::array<std::int32_t, Levels> counts{};
    if (auto failure = ReadLevelCountLine(head[LevelCountLineNo - 1], &counts))
        return *failure;

    std::int64_t total = 0;
    for (std::int32_t count : counts)
        total += count;

    // The counts never size anything: each list grows by the lines that exist,
    // so a count far beyond the file fails when the lines run out.
    int lineNo = FirstQuestionLineNo;
    std::int64_t processed = 0;
    for (int level = 0; level < Levels; ++level) {
        QList<QuestionRef> &list = index.Levels[level];
        // Room for the level at once, but never more than the bytes left
        // could hold at 16 bytes a line, whatever the count claims: the list
        // grows as usual past that.
        list.reserve(qsizetype(std::min<std::int64_t>(counts[level], reader.BytesLeft() / 16)));
        for (std::int32_t i = 0; i < counts[level]; ++i, ++lineNo) {
            QByteArrayView line;
            qsizetype offset = 0;
            if (!reader.Next(&line, &offset)) {
                return BaseFailure{lineNo, 0,
                                   QStringLiteral("the file ends here, but level %1 declares %2 questions "
                                                  "and only %3 are present")
                                       .arg(level + 1)
                                       .arg(counts[level])
                                       .arg(i)};
            }
            if (auto failure = ReadQuestionLine(line, lineNo, nullptr))
                return *failure;
            list.append(QuestionRef{std::uint32_t(offset), std::uint32_t(line.size())});
            ++processed;
            if (progress)
                progress(processed, total);
        }
    }
    index.ExtraLines = int(std::min<qsizetype>(reader.CountRest(), std::numeric_limits<int>::max()));
    return index;
}

int FirstEmptyLevel(const std::array<std::int32_t, Levels> &counts)
{
    for (int level = 0; level < Levels; ++level) {
        if (counts[level] <= 0)
            return level + 1;
    }
    return 0;
}

BaseFailure EmptyLevelFailure(int level)
{
    return BaseFailure{LevelCountLineNo, level, QStringLiteral("level %1 holds no questions").arg(level)};
}

std::variant<BaseFileModel, BaseFailure> ParseBaseFile(const QByteArray &bytes, const BaseProgress &progress)
{
    auto indexed = IndexBaseFile(bytes, progress);
    if (auto *failure = std::get_if<BaseFailure>(&indexed))
        return *failure;
    BaseIndex &index = std::get<BaseIndex>(indexed);
    BaseFileModel model;
    model.HeaderLine = std::move(index.HeaderLine);
    model.Leaders = index.Leaders;
    model.GamesPlayed = index.GamesPlayed;
    model.AuthorCount = index.AuthorCount;
    model.Authors = std::move(index.Authors);
    model.SubjectCount = index.SubjectCount;
    model.Subjects = std::move(index.Subjects);
    model.ExtraLines = index.ExtraLines;
    const QByteArrayView all(bytes);
    for (int level = 0; level < Levels; ++level) {
        model.Levels[level].reserve(index.Levels[level].size());
        for (const QuestionRef &ref : index.Levels[level])
            model.Levels[level].append(DecodeQuestionLine(all.sliced(ref.Offset, ref.Length)));
    }
    return model;
}

QByteArray SerializeBaseFile(const BaseFileModel &model, const BaseProgress &progress)
{
    static const QByteArray LineEnd("\r\n");
    std::array<std::int32_t, Levels> counts{};
    std::int64_t total = 0;
    for (int level = 0; level < Levels; ++level) {
        counts[level] = std::int32_t(model.Levels[level].size());
        total += counts[level];
    }

    QByteArray bytes;
    bytes += model.HeaderLine + LineEnd;
    bytes += WriteLeaderLine(model.Leaders, model.GamesPlayed) + LineEnd;
    bytes += WriteNameLine(model.AuthorCount, model.Authors) + LineEnd;
    bytes += WriteNameLine(model.SubjectCount, model.Subjects) + LineEnd;
    bytes += WriteLevelCountLine(counts) + LineEnd;
    std::int64_t processed = 0;
    for (const QList<QABase> &level : model.Levels) {
        for (const QABase &question : level) {
            bytes += WriteQuestionLine(question) + LineEnd;
            ++processed;
            if (progress)
                progress(processed, total);
        }
    }
    return bytes;
}
