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
    const QString format = args.value(3, QStringLiteral("jet3"));
    if (args.size() < 3 || args.size() > 4 || !QStringList({"jet3", "jet4", "jet4-compressed"}).contains(format)) {
        err << "usage: jetwrite <knowledge base> <Access file to write> [jet3|jet4|jet4-compressed]\n";
        return 2;
    }
    const JetWriter::Format f = format == QLatin1String("jet3")   ? JetWriter::Format::Jet3
                                : format == QLatin1String("jet4") ? JetWriter::Format::Jet4
                                                                  : JetWriter::Format::Jet4Compressed;
    try {
        if (JetWriter::writeFile(args[2], f, JetWriter::tablesOf(args[1])))
            return 0;
        err << "cannot write " << args[2] << "\n";
    } catch (const DatabaseError &error) {
        err << error.what() << "\n";
    }
    return 1;
}
