// Feeds arbitrary bytes to the spreadsheet import; an imported base must
// write to bytes that the base reader accepts, and the editorial checks must
// get through its questions.
#include "BaseCsv.h"
#include "BaseLint.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <variant>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    QList<SourceIssue> issues;
    const auto imported = ImportCsv(bytes, QStringLiteral("Fuzz"), &issues);
    if (imported) {
        auto parsed = ParseBaseFile(SerializeBaseFile(imported->Model));
        if (!std::holds_alternative<BaseFileModel>(parsed))
            std::abort();
        LintQuestions(imported->Model.Levels, imported->SourceRows);
    }
    return 0;
}
