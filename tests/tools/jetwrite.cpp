#include "DatabaseError.h"
#include "JetWriter.h"

#include <QCoreApplication>
#include <QTextStream>

// Writes a knowledge base as an Access file, for trying the import by hand:
//   jetwrite <knowledge base> <Access file to write> [jet3|jet4|jet4-compressed]
int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    QTextStream err(stderr);
    const QStringList formats{"jet3", "jet4", "jet4-compressed"}; // in the order of JetWriter::Format
    const qsizetype format = formats.indexOf(args.value(3, formats[0]));
    if (args.size() < 3 || args.size() > 4 || format < 0) {
        err << "usage: jetwrite <knowledge base> <Access file to write> [jet3|jet4|jet4-compressed]\n";
        return 2;
    }
    try {
        if (JetWriter::writeFile(args[2], JetWriter::Format(format), JetWriter::tablesOf(args[1])))
            return 0;
        err << "cannot write " << args[2] << "\n";
    } catch (const DatabaseError &error) {
        err << error.what() << "\n";
    }
    return 1;
}
