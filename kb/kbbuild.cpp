// Builds Signes.mdb from the knowledge base's CSV sources, then fills the weight table
// by the same rebuild the program's menu command runs.
//   tessavor_kbbuild <folder with the CSV files> <output Signes.mdb>
#include "KnowledgeBaseLoader.h"
#include "WeightRebuild.h"

#include "DatabaseError.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    QTextStream err(stderr);
    if (args.size() != 3) {
        err << "usage: tessavor_kbbuild <source folder> <output file>\n";
        return 2;
    }
    const QString problem = KnowledgeBaseLoader::load(args[1], args[2]);
    if (!problem.isEmpty()) {
        err << problem << '\n';
        return 1;
    }
    try {
        WeightRebuild::run(args[2]);
    } catch (const DatabaseError &e) {
        err << e.path() << ": " << e.engineMessage() << '\n';
        return 1;
    }
    return 0;
}
