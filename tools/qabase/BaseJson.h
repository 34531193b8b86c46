#pragma once

#include "questionbase/BaseFileModel.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

// A finding while a base is built from another form, located in that form
// (a JSON path such as "levels[3][0].answers[1]", or a CSV row and column).
struct SourceIssue {
    bool Error = false;
    QString Where;
    QString Message;
};

// The whole base as UTF-8 JSON, keys in this order: title, title_rest (hex of
// line 1 after the title, from its separator on), leaders (five of
// {name, step, ticks}), games_played, authors, subjects, levels (fifteen
// arrays of {question, answers: [correct, wrong, wrong, wrong], author,
// subject} in rotation order).
QByteArray BaseToJson(const BaseFileModel &model);

// The inverse of BaseToJson. Anything that does not fit the schema, or that
// the game could not load, is an error with its JSON path; the model comes
// back only when there is none. Warnings are added to *issues as well.
std::optional<BaseFileModel> BaseFromJson(const QByteArray &json, QList<SourceIssue> *issues);

// Where line `line`, field `field` of a base built from `model` sits in its
// JSON form ("levels[2][5].answers[0]", "authors[1]", "leaders", ...).
QString JsonPathOfLine(const BaseFileModel &model, int line, int field);
