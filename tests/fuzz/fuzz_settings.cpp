// Feeds arbitrary bytes to the settings reader; whatever it accepts must
// compose back into a file that reads again.
#include "player/PlayerSettings.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const auto contents = PlayerSettings::Parse(bytes);
    if (contents && contents->BaseFile && contents->Names) {
        const QByteArray written = PlayerSettings::Compose(*contents->BaseFile, QString(), *contents->Names);
        if (!PlayerSettings::Parse(written))
            std::abort();
    }
    return 0;
}
