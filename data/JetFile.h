#pragma once

#include <QByteArray>
#include <QString>

// Tells an Access (Jet) file from its first bytes. Reading one is the import helper's work
// (JetReader, in its own process); the program itself only needs to recognise one.
namespace JetFile {

// The Jet generation from the file's first page: 3, 4 (later Access files, "Standard ACE
// DB", read as 4), or 0 for a file that is no Access file (or cannot be read).
int versionOf(const QString &path);
// The same from the file's first bytes (at least HeaderBytes of them to be an Access file).
int versionOfHeader(const QByteArray &head);
inline constexpr qint64 HeaderBytes = 0x15;

} // namespace JetFile
