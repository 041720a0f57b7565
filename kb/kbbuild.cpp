// Builds Signes.mdb from the knowledge base's CSV sources, fills the weight table by the
// same rebuild the program's menu command runs, then checks the result: a base that breaks
// a rule is not built (the output is removed) and the report says why.
//   tessavor_kbbuild <folder with the CSV files> <output Signes.mdb>
#include "KnowledgeBaseCheck.h"
#include "KnowledgeBaseLoader.h"
#include "WeightRebuild.h"

#include "DatabaseError.h"

#include <QCoreApplication>
#include <QFile>
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
    QStringList faults;
    try {
        WeightRebuild::run(args[2]);
        faults = KnowledgeBaseCheck::read(args[2]).structural();
    } catch (const DatabaseError &e) {
        err << e.path() << ": " << e.engineMessage() << '\n';
        QFile::remove(args[2]);
        return 1;
    }
    if (faults.isEmpty())
        return 0;
    err << args[1] << " : la base ne respecte pas ses règles.\n";
    for (const QString &fault : faults)
        err << "  - " << fault << '\n';
    QFile::remove(args[2]);
    return 1;
}
