#pragma once

#include "questionbase/BaseFileModel.h"

#include <QByteArray>
#include <QString>

// A made-up base of `total` questions spread evenly over the fifteen levels,
// with Cyrillic texts of realistic length, two authors and three subjects.
// The same `total` always gives the same bytes.
inline BaseFileModel SyntheticBaseModel(int total, std::int32_t gamesPlayed = 1)
{
    BaseFileModel model;
    model.HeaderLine = BaseFile::EncodeText(QStringLiteral("Проверочная база"));
    model.GamesPlayed = gamesPlayed;
    model.AuthorCount = 2;
    model.Authors = {QStringLiteral("Редакция"), QStringLiteral("Редакция: проверка")};
    model.SubjectCount = 3;
    model.Subjects = {QStringLiteral("География"), QStringLiteral("История"), QStringLiteral("Наука")};
    for (int i = 0; i < total; ++i) {
        const int level = i % 15;
        QABase q;
        q.Question = QStringLiteral("Вопрос номер %1 уровня %2: какой ответ здесь верный?").arg(i + 1).arg(level + 1);
        q.Answers[1] = QStringLiteral("Верный ответ %1").arg(i + 1);
        q.Answers[2] = QStringLiteral("Неверный ответ А%1").arg(i + 1);
        q.Answers[3] = QStringLiteral("Неверный ответ Б%1").arg(i + 1);
        q.Answers[4] = QStringLiteral("Неверный ответ В%1").arg(i + 1);
        q.AuthorIndex = 1 + i % 2;
        q.SubjectIndex = 1 + i % 3;
        model.Levels[level].append(q);
    }
    return model;
}
