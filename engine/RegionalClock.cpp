#include "RegionalClock.h"

QString RegionalClock::dateText(const QDateTime &when) const
{
    return locale.toString(when.date(), QLocale::ShortFormat);
}

QString RegionalClock::timeText(const QDateTime &when) const
{
    // Drop every unquoted 't' (the zone) and the blanks it leaves.
    const QString longFormat = locale.timeFormat(QLocale::LongFormat);
    QString format;
    bool quoted = false;
    for (const QChar c : longFormat) {
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        if (!quoted && c == QLatin1Char('t'))
            continue;
        format += c;
    }
    return locale.toString(when.time(), format.simplified());
}
