#pragma once

#include <QString>

// Small rules of the new-game dialog: names, base file names and the arrows.
namespace PlayerRules {

inline constexpr int MaxNameLength = 20;

// A character the name box takes: one that Windows-1251 can hold and that is
// no control character (C0, DEL or C1).
bool IsNameChar(QChar ch);

// Cleans the name box after an edit: drops every character IsNameChar refuses
// and, when the text is then longer than MaxNameLength, removes the excess just
// before the cursor, so that the latest typed or pasted characters are the ones
// that go. `cursor` follows the text.
void CleanNameInput(QString &text, int &cursor);

// The text cleaned the same way with the cut at the end.
QString CleanName(const QString &text);

// A file name that may stand for a base inside QA/: not empty, not "." or
// "..", no path separator, no control character, and encodable in
// Windows-1251 (it is stored in the settings file).
bool IsBareFileName(const QString &name);

// The arrows. `count` entries; an empty list keeps the index as it is.
// Base arrows: the upper one moves forward and wraps to 0, the lower one back
// and wraps to the last entry.
int UpperBaseIndex(int index, int count);
int LowerBaseIndex(int index, int count);
// Name arrows: the upper one moves back and wraps to the last name, the lower
// one forward and wraps to 0.
int UpperNameIndex(int index, int count);
int LowerNameIndex(int index, int count);

} // namespace PlayerRules
