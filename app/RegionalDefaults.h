#pragma once

#include <QByteArray>

// A machine without regional settings of its own gets the French forms the program is
// written in: French dates in the toolkit's dialogs, French words in them, French as the
// default locale.
namespace RegionalDefaults {

// The locale variables of the environment that decide how dates are written.
struct Environment {
    QByteArray lcAll;
    QByteArray lcTime;
    QByteArray lang;

    friend bool operator==(const Environment &, const Environment &) = default;
};

// The variables to start with: as they are when they name a regional setting for dates;
// otherwise with French dates (LC_TIME), what LC_ALL held moving to LANG, since LC_ALL
// would override LC_TIME and LANG keeps it for everything else.
Environment withFrenchDates(Environment current);

// Sets the process's environment so. First thing in main(): the toolkit reads the time
// locale once, as the application starts, and formats the dates of its file lists with it.
void frenchDatesBeforeStart();

// Once the application exists: French as the default locale when the machine names no
// language, and the toolkit's dialogs in French (Qt's own translation, and ours for the
// words it lacks). The translators live as long as the program.
void frenchToolkit();

} // namespace RegionalDefaults
