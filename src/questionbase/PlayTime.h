#pragma once

#include <QString>

// Play time from tenths of a second: minutes (unlimited), ':', two-digit
// seconds, '.', tenths. 754 -> "1:15.4". Negative counts show as 0:00.0.
QString FormatPlayTime(int ticks);
