#include "JetWriter.h"

#include <QCoreApplication>
#include <QDir>

// Writes the seeds of the Access reader's fuzz target into the folder given: a small
// knowledge base in Jet 3, Jet 4 and compressed Jet 4, small enough (a few pages) that
// the fuzzer's changes land on the parts that say where everything lies.
int main(int argc, char *argv[])
{
    const QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 2)
        return 2;
    QList<JetWriter::Table> tables = JetWriter::emptyKnowledgeBase();
    tables[0].rows = {{1, QStringLiteral("Teint")}, {2, QVariant()}};
    tables[1].rows = {{101, QStringLiteral("Teint pâle"), 1}, {102, QStringLiteral("Œdème « cireux »"), 2}};
    tables[2].rows = {{201, QStringLiteral("Vide de sang"), 3}, {202, QStringLiteral("Vide de Qi"), 5}};
    tables[3].rows = {{101, 201}, {101, 202}, {102, 201}};
    tables[4].rows = {{101, 8}, {102, 9}};
    const QDir folder(args[1]);
    for (const auto &[format, name] : {std::pair{JetWriter::Format::Jet3, "jet3.mdb"},
                                       {JetWriter::Format::Jet4, "jet4.mdb"},
                                       {JetWriter::Format::Jet4Compressed, "jet4-compressed.mdb"}})
        if (!folder.mkpath(QStringLiteral(".")) || !JetWriter::writeFile(folder.filePath(name), format, tables))
            return 1;
    return 0;
}
