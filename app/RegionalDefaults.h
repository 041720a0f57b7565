#pragma once

#include <QByteArray>
#include <QMap>

// A machine without regional settings of its own gets the French forms the program is
// written in: French dates, sizes and words in the toolkit's dialogs, French as the default
// locale.
namespace RegionalDefaults {

// The locale variables of an environment, by name; a variable not set is absent.
using Environment = QMap<QByteArray, QByteArray>;

// The variables to start with: as they are when any of them names a regional setting (a
// locale other than C or POSIX); otherwise only LANG, set to French.
Environment withFrenchForms(const Environment &current);

// Sets the process's environment so. First thing in main(): the toolkit reads the locale of
// the machine once, as the application starts, and its file dialog writes dates and sizes
// with it.
void frenchFormsBeforeStart();

// Once the application exists: French as the default locale when the machine names no
// language, and the toolkit's dialogs in French (Qt's own translation, and ours for the
// words it lacks). The translators live as long as the program.
void frenchToolkit();

} // namespace RegionalDefaults
