#include "questionbase/GameState.h"

#include "questionbase/BaseFile.h"

QABase GameState::Question(QuestionRef ref) const
{
    if (Source) {
        const std::optional<QByteArray> line = Source->Line(ref);
        return line ? BaseFile::DecodeQuestionLine(*line) : QABase();
    }
    if (ref.Length == 0 || std::uint64_t(ref.Offset) + ref.Length > std::uint64_t(BaseBytes.size()))
        return QABase();
    return BaseFile::DecodeQuestionLine(QByteArrayView(BaseBytes).sliced(ref.Offset, ref.Length));
}

QuestionRef GameState::Keep(const QABase &question)
{
    const QByteArray line = BaseFile::WriteQuestionLine(question);
    const QuestionRef ref{std::uint32_t(BaseBytes.size()), std::uint32_t(line.size())};
    BaseBytes += line;
    BaseBytes += "\r\n";
    return ref;
}
