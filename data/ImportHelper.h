#pragma once

#include "DatabaseError.h"
#include "JetImport.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <chrono>
#include <functional>
#include <optional>
#include <variant>

// The import helper, `tessavor-import <Access file> <converted file>`: a program of its own
// that reads the Access file with libmdb and writes the converted knowledge base. libmdb
// trusts the file it reads, and a damaged file can make it crash or loop; in a process of
// its own, that ends the helper, never the program and the visit in progress.
//
// The helper tells the program, one line at a time on its standard output, how far it
// has come ("progress <done> <total>"), then what came over ("summary <JSON>") or why the
// file was refused ("refusal <JSON>").
namespace ImportHelper {

// The helper's file name, beside the program or in its installed folder.
QString fileName();

// How the program runs the helper.
struct Program {
    QString path;          // the helper
    QStringList arguments; // before the two files (tests start a stand-in this way)
    // How long the helper may take for an Access file of so many bytes.
    std::function<std::chrono::milliseconds(qint64 bytes)> timeLimit;
};

// At least a minute, and more for a large file: far beyond what a sound file takes, so
// that only a helper stuck in a damaged file is stopped.
std::chrono::milliseconds timeLimitFor(qint64 bytes);

// Runs the helper at `path` with that time limit. When the helper crashes, runs past its
// time, gives no answer or cannot be started, the converter removes what it left at the
// converted file's name and throws DatabaseError ReaderFailed; when it refuses the file,
// the converter throws the helper's own DatabaseError.
JetImport::Converter converter(const Program &program);
JetImport::Converter converter(const QString &path);

// The lines the helper writes, with their end of line.
QByteArray progressLine(qint64 done, qint64 total);
QByteArray summaryLine(const JetImport::Summary &summary);
QByteArray refusalLine(const DatabaseError &error);

// One line as the program reads it (without its end of line): a progress report, the
// answer, or nothing for a line it does not know.
struct Progress {
    qint64 done;
    qint64 total;
};
using Line = std::variant<std::monostate, Progress, JetImport::Summary, DatabaseError>;
Line parse(const QByteArray &line);

} // namespace ImportHelper
