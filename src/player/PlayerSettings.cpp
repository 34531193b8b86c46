#include "player/PlayerSettings.h"

#include "questionbase/AtomicFile.h"
#include "questionbase/Cp1251.h"
#include "player/PlayerRules.h"
#include "questionbase/SafeFile.h"

#include <QFile>

#include <algorithm>

namespace PlayerSettings {

namespace {

const QByteArray BaseKey = QByteArrayLiteral("[Base]=");
const QByteArray NamesKey = QByteArrayLiteral("[Names]=");
const QByteArray LineEnd = QByteArrayLiteral("\r\n");

// Lines of a file: CR LF or a lone LF ends a line; a last line without its end
// still counts, an empty remainder after the last line end does not.
QList<QByteArray> SplitLines(const QByteArray &bytes)
{
    QList<QByteArray> lines;
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', start);
        const qsizetype next = end < 0 ? bytes.size() : end + 1;
        if (end < 0)
            end = bytes.size();
        QByteArray line = bytes.mid(start, end - start);
        if (line.endsWith('\r'))
            line.chop(1);
        lines.append(line);
        start = next;
    }
    return lines;
}

// A decimal integer that fits 32 bits: an optional sign, then digits
// (leading zeros allowed); std::nullopt for anything else.
std::optional<qint64> DecimalCount(const QByteArray &text)
{
    qsizetype at = 0;
    bool negative = false;
    if (!text.isEmpty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        ++at;
    }
    if (at == text.size())
        return std::nullopt;
    qint64 value = 0;
    for (; at < text.size(); ++at) {
        const char c = text[at];
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > 0x80000000LL)
            return std::nullopt;
    }
    if (negative)
        return -value;
    return value <= 0x7FFFFFFF ? std::optional<qint64>(value) : std::nullopt;
}

} // namespace

std::optional<Contents> Parse(const QByteArray &bytes)
{
    const QList<QByteArray> lines = SplitLines(bytes);
    qsizetype next = 0;
    Contents contents;
    for (int keyLine = 0; keyLine < 2; ++keyLine) {
        if (next >= lines.size())
            return std::nullopt;
        const QByteArray &line = lines.at(next++);
        const qsizetype equals = line.indexOf('=');
        if (equals < 0)
            return std::nullopt;
        const QByteArray key = line.left(equals + 1);
        const QByteArray value = line.mid(equals + 1);
        if (key == BaseKey) {
            // A name that does not stay inside QA/ is refused alone: the
            // default base takes its place and the names are kept.
            const QString base = Cp1251::Decode(value);
            contents.BaseFile = PlayerRules::IsBareFileName(base) ? base : QString::fromLatin1(DefaultBaseFile);
        } else if (key == NamesKey) {
            const std::optional<qint64> read = DecimalCount(value);
            if (!read)
                return std::nullopt;
            // A negative count holds no names.
            const qint64 count = std::max<qint64>(*read, 0);
            // The names that are there, however large the count claims to be.
            const qint64 available = std::min<qint64>(count, lines.size() - next);
            QStringList names;
            names.reserve(available);
            // A name edited into the file by hand may hold control characters
            // or be too long: it is cleaned as the name box would clean it, so
            // it can never split a line when the file is written back.
            for (qint64 i = 0; i < available; ++i)
                names.append(PlayerRules::CleanName(Cp1251::Decode(lines.at(next++))));
            contents.Names = names;
        }
        // Any other key line is consumed and still counts as one of the two.
    }
    return contents;
}

QByteArray Compose(const QString &baseFile, const QString &typedName,
                   const QStringList &knownNames)
{
    const bool isNew = !typedName.isEmpty() && !knownNames.contains(typedName, Qt::CaseSensitive);
    QByteArray out;
    out += BaseKey + Cp1251::Encode(baseFile) + LineEnd;
    out += NamesKey + QByteArray::number(knownNames.size() + (isNew ? 1 : 0)) + LineEnd;
    if (isNew)
        out += Cp1251::Encode(typedName) + LineEnd;
    for (const QString &name : knownNames)
        out += Cp1251::Encode(name) + LineEnd;
    return out;
}

QByteArray DefaultContents()
{
    return BaseKey + DefaultBaseFile + LineEnd + NamesKey + "0" + LineEnd;
}

std::optional<Contents> Read(const QString &path)
{
    QByteArray bytes;
    if (SafeFile::ReadAll(path, &bytes))
        return std::nullopt;
    return Parse(bytes);
}

bool Write(const QString &path, const QByteArray &bytes, QString *error)
{
    const std::optional<QString> failure = WriteFileAtomically(path, bytes);
    if (failure && error)
        *error = *failure;
    return !failure;
}

} // namespace PlayerSettings
