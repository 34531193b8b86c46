#include "player/PlayerRules.h"

#include "questionbase/BaseFile.h"

#include "questionbase/Cp1251.h"

#include <algorithm>

namespace PlayerRules {

bool IsNameChar(QChar ch)
{
    const char16_t u = ch.unicode();
    if (u < 0x20 || u == 0x7F || (u >= 0x80 && u <= 0x9F))
        return false;
    return Cp1251::CanEncode(ch);
}

void CleanNameInput(QString &text, int &cursor)
{
    cursor = std::clamp(cursor, 0, int(text.size()));
    QString cleaned;
    cleaned.reserve(text.size());
    int newCursor = 0;
    for (int i = 0; i < text.size(); ++i) {
        if (!IsNameChar(text.at(i)))
            continue;
        cleaned.append(text.at(i));
        if (i < cursor)
            ++newCursor;
    }
    const int excess = int(cleaned.size()) - MaxNameLength;
    if (excess > 0) {
        // The characters just before the cursor are the ones that arrived last.
        const int from = std::max(0, newCursor - excess);
        const int removeBeforeCursor = newCursor - from;
        cleaned.remove(from, removeBeforeCursor);
        newCursor = from;
        if (cleaned.size() > MaxNameLength)
            cleaned.truncate(MaxNameLength);
    }
    text = cleaned;
    cursor = std::min(newCursor, int(text.size()));
}

QString CleanName(const QString &text)
{
    QString result = text;
    int cursor = int(result.size());
    CleanNameInput(result, cursor);
    return result;
}

bool IsBareFileName(const QString &name)
{
    return BaseFile::IsBareFileName(name);
}

namespace {

int Clamped(int index, int count)
{
    return std::clamp(index, 0, count - 1);
}

} // namespace

int UpperBaseIndex(int index, int count)
{
    if (count <= 0)
        return index;
    return Clamped(index >= count - 1 ? 0 : index + 1, count);
}

int LowerBaseIndex(int index, int count)
{
    if (count <= 0)
        return index;
    return Clamped(index <= 0 ? count - 1 : index - 1, count);
}

int UpperNameIndex(int index, int count)
{
    if (count <= 0)
        return index;
    return Clamped(index > 0 ? index - 1 : count - 1, count);
}

int LowerNameIndex(int index, int count)
{
    if (count <= 0)
        return index;
    return Clamped(index < count - 1 ? index + 1 : 0, count);
}

} // namespace PlayerRules
