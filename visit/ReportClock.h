#pragma once

#include <QDateTime>
#include <QLocale>

#include <functional>

// Where the report reads the time and how it writes it: the user's regional forms.
struct ReportClock {
    std::function<QDateTime()> now = &QDateTime::currentDateTime;
    QLocale locale = QLocale::system();

    // The short date form, such as 05/12/2026 in French.
    QString dateText(const QDateTime &when) const;
    // The time form with hours, minutes and seconds, such as 14:05:09 in French. The
    // locale's long form is taken without its time zone, which the report never showed.
    QString timeText(const QDateTime &when) const;
};
