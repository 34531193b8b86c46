#include "questionbase/PlayTime.h"

QString FormatPlayTime(int ticks)
{
    if (ticks < 0)
        ticks = 0;
    const int tenths = ticks % 10;
    const int seconds = (ticks / 10) % 60;
    const int minutes = ticks / 600;
    return QStringLiteral("%1:%2.%3")
        .arg(minutes)
        .arg(seconds, 2, 10, QLatin1Char('0'))
        .arg(tenths);
}
