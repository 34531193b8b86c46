#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <cstdint>

// Windows-1251, the code page of every file the game reads or writes.
namespace Cp1251 {

// The character of one byte. Byte 0x98, unassigned in the code page, maps to
// the C1 control U+0098 so that all 256 bytes survive a decode/encode trip.
QChar DecodeByte(std::uint8_t byte);

// The byte of a character; false when the code page cannot hold it.
bool EncodeChar(QChar ch, std::uint8_t *byte);

bool CanEncode(QChar ch);

QString Decode(QByteArrayView bytes);

// Characters that the code page cannot hold become '?'.
QByteArray Encode(QStringView text);

} // namespace Cp1251

// The byte transform of a base's text: stored = (287 - c) mod 256, its own
// inverse. Maps 32..255 onto 255..32, so a text byte never lands below 32.
constexpr std::uint8_t FlipChar(std::uint8_t c)
{
    return std::uint8_t((287 - int(c)) & 0xFF);
}
