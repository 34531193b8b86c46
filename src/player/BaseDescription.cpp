#include "BaseDescription.h"

#include "BaseFile.h"
#include "SafeFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

namespace {

constexpr char Separator = BaseFile::Separator;
constexpr int Levels = BaseFile::Levels;

// One line without its end; an empty array past the end of the file.
QByteArray NextLine(QFile &file)
{
    QByteArray line = file.readLine();
    if (line.endsWith('\n'))
        line.chop(1);
    if (line.endsWith('\r'))
        line.chop(1);
    return line;
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

    // Line 5 is stored plain: digits, fields split by the separator.
    int field = 1;
    for (const char byte : counts) {
        if (byte == Separator) {
            ++field;
            continue;
        }
        if (field > Levels)
            continue;
        if (byte < '0' || byte > '9') {
            summary.failure = BaseSummary::Failure::Number;
            summary.Error = QCoreApplication::translate(
                "BaseDescription", "В строке счётчиков вопросов (строка 5) стоит не цифра.");
            return summary;
        }
        const qint64 value = qint64(summary.LevelCounts[field]) * 10 + (byte - '0');
        if (value > 0x7FFFFFFF) {
            summary.failure = BaseSummary::Failure::Number;
            summary.Error = QCoreApplication::translate(
                "BaseDescription", "Счётчик вопросов уровня %1 слишком велик.").arg(field);
            return summary;
        }
        summary.LevelCounts[field] = std::int32_t(value);
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
