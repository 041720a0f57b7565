#pragma once

#include <QString>

// Where the program finds its files: the folder that holds the program file.
namespace AppPaths {

// The application folder as the platform reports it (no trailing separator).
QString applicationFolder();

// The application folder joined with a file name by the platform's own separator.
QString inApplicationFolder(const QString &fileName);

// Full path of the knowledge base, Signes.mdb, in the application folder.
QString databasePath();

} // namespace AppPaths
