#include "DatabaseError.h"
#include "ImportFiles.h"
#include "ImportHelper.h"
#include "JetConversion.h"

#include <QCoreApplication>

#include <cstdio>

#ifdef Q_OS_LINUX
#include <csignal>
#include <sys/prctl.h>
#include <unistd.h>
#endif

namespace {

void say(const QByteArray &line)
{
    std::fwrite(line.constData(), 1, size_t(line.size()), stdout);
    std::fflush(stdout);
}

} // namespace

// The import helper, started by the program for each Access file it converts:
//   tessavor-import <Access file> <converted file>
// What it says on its standard output is the program's to read (ImportHelper).
int main(int argc, char *argv[])
{
#ifdef Q_OS_LINUX
    // Ends with the program that started it: a helper still reading after the program was
    // killed would hold on to the temporary file.
    const pid_t parent = getppid();
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != parent)
        return 1;
#endif
    const QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 3) {
        std::fputs("usage: tessavor-import <Access file> <converted file>\n", stderr);
        return 2;
    }
    try {
        say(ImportHelper::summaryLine(
            JetConversion::convert(args[1], args[2], ImportFiles::system(),
                                   [](qint64 done, qint64 total) { say(ImportHelper::progressLine(done, total)); })));
    } catch (const DatabaseError &error) {
        say(ImportHelper::refusalLine(error));
    }
    return 0;
}
