#pragma once

#include <QString>
#include <QTemporaryDir>

#include <memory>

class Database;

// Shared helpers for the tests: fresh fixture databases in a temporary folder.
namespace TestSupport {

// A new database file in `dir` built from the schema and the SQL fixture
// tests/data/<fixture> (SQLite dialect). Returns its path.
QString makeDatabase(const QTemporaryDir &dir, const QString &fixture,
                     const QString &fileName = QStringLiteral("Signes.mdb"));

// Path of the bundled knowledge base built into the application folder.
QString bundledDatabase();

} // namespace TestSupport
