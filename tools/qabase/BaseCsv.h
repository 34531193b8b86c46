#pragma once

#include "questionbase/BaseFileModel.h"
#include "BaseJson.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

// The spreadsheet form of a base: one row per question, header row
// "level,question,correct,wrong1,wrong2,wrong3,author,subject"; author and
// subject as names. Import also takes a ninth column "check" (how an editor
// checked the question's fact), which the base does not store; export writes
// the eight columns the base holds.

struct CsvImport {
    BaseFileModel Model;
    // For level L (index 0..14) and question i, the CSV row it came from
    // (1-based, the header being row 1).
    std::array<QList<int>, BaseFile::Levels> SourceRows;
};

// Reads a CSV export: UTF-8 with or without BOM, or Windows-1251 (taken when
// the bytes are not valid UTF-8); comma or semicolon separated (whichever the
// header row uses); quoting as RFC 4180. Author and subject names become the
// tables in order of first appearance; an empty name is index 0. Questions keep
// their row order within a level. Errors and warnings go to *issues with their
// row and column; the base comes back only when there is no error.
std::optional<CsvImport> ImportCsv(const QByteArray &bytes, const QString &title, QList<SourceIssue> *issues);

// The inverse: UTF-8 with BOM, comma separated, CR LF row ends, fields quoted
// when they need it. An index beyond its table exports as an empty name.
QByteArray ExportCsv(const BaseFileModel &model);

// The CSV rows of a text, RFC 4180; `delimiter` is ',' or ';'. Each row also
// gives the 1-based line on which it starts. Fails (with that line) on a
// quoted field that is not closed.
struct CsvRow {
    int Line = 0;
    QStringList Fields;
};
std::optional<QList<CsvRow>> ParseCsv(const QString &text, QChar delimiter, int *badLine);
