#pragma once

#include "DatabaseError.h"

#include <QString>
#include <QTemporaryDir>

#include <functional>
#include <optional>

// Shared helpers for the tests: fresh fixture databases in a temporary folder, files, failures.
namespace TestSupport {

// A new database file in `dir` built from the schema and the SQL fixture
// tests/fixtures/<fixture> (SQLite dialect). Returns its path.
QString makeDatabase(const QTemporaryDir &dir, const QString &fixture,
                     const QString &fileName = QStringLiteral("Signes.mdb"));

// Path of the bundled knowledge base built into the application folder.
QString bundledDatabase();
// Path of the import helper built into the application folder.
QString importHelper();

// Writes `bytes` as the file at `path`, its folder made if needed, and returns the path.
QString writeFile(const QString &path, const QByteArray &bytes);
// The file's bytes; empty when there is no such file.
QByteArray readFile(const QString &path);

// The DatabaseError that `action` throws, or nothing when it succeeds.
std::optional<DatabaseError> failure(const std::function<void()> &action);

} // namespace TestSupport
