#pragma once

#include <QDateTime>
#include <QLocale>

#include <functional>

// Where the program reads the time (the report, the status bar) and how it writes it:
// the user's regional forms.
struct RegionalClock {
    std::function<QDateTime()> now = &QDateTime::currentDateTime;
    QLocale locale; // the default locale: the system's, unless start-up chose another

    // The short date form, such as 05/12/2026 in French.
    QString dateText(const QDateTime &when) const;
    // The time form with hours, minutes and seconds, such as 14:05:09 in French. The
    // locale's long form is taken without its time zone, which the program never shows.
    QString timeText(const QDateTime &when) const;
};
