#include "BaseFileModel.h"

using namespace BaseFile;

std::variant<BaseFileModel, BaseFailure> ParseBaseFile(const QByteArray &bytes, const BaseProgress &progress)
{
    const QList<QByteArray> lines = SplitLines(bytes);
    // Missing lines read as empty lines.
    auto lineAt = [&lines](int lineNo) { return lineNo <= lines.size() ? lines[lineNo - 1] : QByteArray(); };

    BaseFileModel model;
    model.HeaderLine = lineAt(HeaderLineNo);
    if (auto failure = ReadLeaderLine(lineAt(LeaderLineNo), &model.Leaders, &model.GamesPlayed))
        return *failure;
    if (auto failure = ReadNameLine(lineAt(AuthorLineNo), AuthorLineNo, &model.AuthorCount, &model.Authors))
        return *failure;
    if (auto failure = ReadNameLine(lineAt(SubjectLineNo), SubjectLineNo, &model.SubjectCount, &model.Subjects))
        return *failure;
    std::array<std::int32_t, Levels> counts{};
    if (auto failure = ReadLevelCountLine(lineAt(LevelCountLineNo), &counts))
        return *failure;

    std::int64_t total = 0;
    for (std::int32_t count : counts)
        total += count;

    // The counts never size anything: each list grows by the lines that exist,
    // so a count far beyond the file fails when the lines run out.
    int lineNo = FirstQuestionLineNo;
    std::int64_t processed = 0;
    for (int level = 0; level < Levels; ++level) {
        for (std::int32_t i = 0; i < counts[level]; ++i, ++lineNo) {
            if (lineNo > lines.size()) {
                return BaseFailure{lineNo, 0,
                                   QStringLiteral("the file ends here, but level %1 declares %2 questions "
                                                  "and only %3 are present")
                                       .arg(level + 1)
                                       .arg(counts[level])
                                       .arg(i)};
            }
            QABase question;
            if (auto failure = ReadQuestionLine(lines[lineNo - 1], lineNo, &question))
                return *failure;
            model.Levels[level].append(question);
            ++processed;
            if (progress)
                progress(processed, total);
        }
    }
    model.ExtraLines = int(lines.size() - (lineNo - 1));
    if (model.ExtraLines < 0)
        model.ExtraLines = 0;
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
