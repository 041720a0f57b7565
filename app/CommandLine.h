#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The program's own command line, read before the toolkit starts so that the version, the
// help and a mistaken option need no display. The toolkit's options (-platform, -style...)
// are let through for QApplication to read; anything else is a mistake.
namespace CommandLine {

struct Answer {
    int status = 0; // the process's exit status
    QString out;    // for the standard output
    QString err;    // for the standard error
};

// Nothing when the program is to start; otherwise what to print and the status to exit
// with. `arguments` begins with the program's name, as the process received it.
std::optional<Answer> answer(const QStringList &arguments);

QStringList arguments(int argc, char *argv[]);

} // namespace CommandLine
