#include "TestBase.h"

#include <QFile>

#include <variant>

namespace TestBase {

BaseFileModel Make(int perLevel, int gamesPlayed)
{
    BaseFileModel model;
    model.HeaderLine = BaseFile::EncodeText(QStringLiteral("Проверочная база"));
    model.GamesPlayed = gamesPlayed;
    model.AuthorCount = 2;
    model.Authors = {QStringLiteral("Редакция"), QStringLiteral("Гость")};
    model.SubjectCount = 2;
    model.Subjects = {QStringLiteral("География"), QStringLiteral("История")};
    for (int level = 1; level <= BaseFile::Levels; ++level) {
        QList<QABase> &questions = model.Levels[level - 1];
        for (int i = 1; i <= perLevel; ++i) {
            const QString tag = QStringLiteral("%1.%2").arg(level).arg(i);
            QABase q;
            q.Question = QStringLiteral("Вопрос ") + tag;
            q.Answers = {QString(), QStringLiteral("Верно ") + tag,
                         QStringLiteral("Неверно ") + tag + QStringLiteral("/2"),
                         QStringLiteral("Неверно ") + tag + QStringLiteral("/3"),
                         QStringLiteral("Неверно ") + tag + QStringLiteral("/4")};
            q.AuthorIndex = i % 3;
            q.SubjectIndex = (i + 1) % 3;
            questions.append(q);
        }
    }
    return model;
}

bool Write(const QString &path, const BaseFileModel &model)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const QByteArray bytes = SerializeBaseFile(model);
    return file.write(bytes) == bytes.size();
}

BaseFileModel Read(const QString &path, bool *ok)
{
    QFile file(path);
    *ok = false;
    if (!file.open(QIODevice::ReadOnly))
        return {};
    auto parsed = ParseBaseFile(file.readAll());
    if (auto *model = std::get_if<BaseFileModel>(&parsed)) {
        *ok = true;
        return *model;
    }
    return {};
}

QStringList LevelOrder(const BaseFileModel &model, int level)
{
    QStringList order;
    for (const QABase &q : model.Levels[level - 1])
        order << q.Question;
    return order;
}

} // namespace TestBase
