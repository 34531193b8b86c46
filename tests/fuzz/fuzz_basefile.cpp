// Feeds arbitrary bytes to the base reader. A base that reads must write back
// to bytes that read to the same content again.
#include "questionbase/BaseFileModel.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <variant>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    auto parsed = ParseBaseFile(bytes);
    // The game's load takes what the tools take, and refuses it at the same place;
    // every question it keeps lies inside the bytes.
    auto indexed = IndexBaseFile(bytes);
    if (parsed.index() != indexed.index())
        std::abort();
    if (auto *failure = std::get_if<BaseFailure>(&indexed)) {
        if (*failure != std::get<BaseFailure>(parsed))
            std::abort();
    } else {
        for (const auto &level : std::get<BaseIndex>(indexed).Levels) {
            for (const QuestionRef &ref : level) {
                if (std::uint64_t(ref.Offset) + ref.Length > std::uint64_t(size))
                    std::abort();
            }
        }
    }
    if (auto *model = std::get_if<BaseFileModel>(&parsed)) {
        const QByteArray written = SerializeBaseFile(*model);
        auto again = ParseBaseFile(written);
        auto *second = std::get_if<BaseFileModel>(&again);
        if (!second)
            std::abort();
        // Written bytes are canonical: reading and writing them again changes nothing.
        if (SerializeBaseFile(*second) != written)
            std::abort();
    }
    return 0;
}
