#include "player/BaseDescription.h"

#include "questionbase/BaseFile.h"
#include "questionbase/SafeFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <algorithm>

namespace {

constexpr int Levels = BaseFile::Levels;

// One line without its end, by the base file's own rule; an empty array past
// the end of the file. Only the lines asked for are read.
QByteArray NextLine(QFile &file)
{
    const QByteArray chunk = file.readLine();
    QByteArrayView line;
    BaseFile::LineReader(chunk).Next(&line);
    return line.toByteArray();
}

} // namespace

BaseSummary DescribeBaseFile(const QString &path)
{
    BaseSummary summary;
    QFile file;
    if (auto reason = SafeFile::OpenForReading(file, path)) {
        summary.failure = BaseSummary::Failure::Open;
        summary.Error = *reason;
        return summary;
    }

    summary.Title = BaseFile::ReadTitle(NextLine(file));

    for (int skip = 0; skip < 3; ++skip)
        NextLine(file);
    const QByteArray counts = NextLine(file);
    if (file.error() != QFileDevice::NoError) {
        summary.failure = BaseSummary::Failure::Open;
        summary.Error = file.errorString();
        return summary;
    }

    // Line 5: the base file's own numbers. Fields beyond the fifteenth are not
    // shown, so they are not read here; counts read before a fault stay.
    const QList<QByteArray> fields = BaseFile::SplitFields(counts);
    for (int level = 1; level <= Levels && level <= fields.size(); ++level) {
        const QByteArray &field = fields[level - 1];
        if (!BaseFile::ParseNumber(field, true, &summary.LevelCounts[level]))
            continue;
        summary.failure = BaseSummary::Failure::Number;
        const bool digitsOnly = std::all_of(field.begin(), field.end(), [](char c) { return c >= '0' && c <= '9'; });
        summary.Error = digitsOnly
            ? QCoreApplication::translate("BaseDescription", "Счётчик вопросов уровня %1 слишком велик.").arg(level)
            : QCoreApplication::translate("BaseDescription",
                                          "В строке счётчиков вопросов (строка 5) стоит не цифра.");
        return summary;
    }
    return summary;
}

QString BaseDescription(const QString &title, const QString &fileName)
{
    return title + QStringLiteral(" (") + fileName + QStringLiteral(")");
}

qint64 TotalQuestions(const std::array<std::int32_t, 16> &levelCounts)
{
    qint64 total = 0;
    for (int level = 1; level <= Levels; ++level)
        total += levelCounts[level];
    return total;
}

QString NoBasesMessage(const QString &qaFolder)
{
    return QCoreApplication::translate(
               "BaseDescription",
               "Не найдено ни одной вопросной базы.\n\n"
               "Вопросная база — это файл с расширением .QA, в котором хранятся вопросы "
               "игры, её название и таблица лидеров. Положите такой файл в папку\n%1\n"
               "и выберите его в этом окне.")
        .arg(QDir::toNativeSeparators(qaFolder));
}
