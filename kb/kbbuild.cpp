// Builds Signes.mdb from the knowledge base's CSV sources, fills the weight table by the
// same rebuild the program's menu command runs, then checks the result: the structural
// rules any base must meet, the rules of the bundled content and the ranking trials. A base
// that breaks one is not built (the output is removed) and the report says why; the
// figures of the base are printed either way.
//   tessavor_kbbuild <folder with the CSV files> <output Signes.mdb> <edition>
#include "KnowledgeBaseCheck.h"
#include "KnowledgeBaseLoader.h"
#include "WeightRebuild.h"

#include "Database.h"
#include "DatabaseError.h"

#include <QCoreApplication>
#include <QFile>
#include <QTextStream>

namespace {

// The numbers the first two editions published (a hundred's numbers run from its first on).
const KnowledgeBaseCheck::Published Published{
    {{201, 212},   {301, 311},   {401, 420},   {501, 512},   {801, 812},   {901, 910},   {1001, 1010}, {1101, 1110},
     {1401, 1411}, {1501, 1515}, {1701, 1711}, {1801, 1823}, {1901, 1916}, {2201, 2222}, {2301, 2313}, {2401, 2416},
     {2501, 2512}, {2601, 2611}, {2701, 2710}, {2801, 2819}, {2901, 2917}, {3101, 3119}, {3301, 3317}, {3601, 3612},
     {3701, 3711}, {3801, 3812}, {4301, 4337}, {4501, 4517}, {4901, 4910}, {5001, 5010}, {5101, 5112}, {5201, 5214},
     {5301, 5310}, {5401, 5412}, {5601, 5610}, {5701, 5711}, {5801, 5810}, {5901, 5911}, {6001, 6011}, {6201, 6213},
     {6401, 6410}, {6501, 6510}, {6601, 6611}, {6701, 6711}},
    {{101, 120}, {201, 219}, {301, 325}, {401, 416}, {501, 579}}};

// Textbook presentations whose syndrome once tied with a neighbour, or was crowded out by
// one; each must come first alone within its method.
QList<KnowledgeBaseCheck::Presentation> presentations()
{
    // Dizziness, tinnitus, lumbar ache, night sweats, heat of the five hearts, emissions, red
    // tongue without coating, thin and rapid pulse.
    const QList<qint32> yin{511, 902, 6001, 2303, 2211, 5903, 1804, 1909, 4311, 4304};
    return {
        {QStringLiteral("agitation, insomnie, gorge sèche la nuit, langue rouge sans enduit, pouls fin et rapide"),
         111,
         {408, 2507, 1403, 1804, 1909, 4311, 4304}},
        {QStringLiteral("vide de Yin, avec genoux faibles, gorge sèche la nuit et urines foncées"), 553,
         yin + QList<qint32>{6002, 1403, 2902}},
        {QStringLiteral("vide de Yin, avec palpitations et insomnie"), 562, yin + QList<qint32>{5701, 2501}},
        {QStringLiteral("toux sèche, crachats striés de sang, voix rauque, fièvre de l'après-midi, sueurs nocturnes"),
         502,
         {3802, 1705, 3610, 2220, 2303, 207, 1403, 1804, 1909, 4311, 4304}},
        {QStringLiteral("toux sèche avec lombalgie, genoux faibles et pertes séminales"),
         568,
         {3802, 1705, 1403, 6001, 6002, 5903, 2216, 2303, 207, 1804, 1909, 4311, 4304}},
        {QStringLiteral("fatigue, souffle court, transpiration spontanée, douleur fixe, langue pâle tachée, pouls "
                        "rugueux et faible"),
         322,
         {3101, 3702, 2302, 2401, 1801, 1808, 4308, 4312}},
        {QStringLiteral("bas-ventre dur, agitation maniaque, mictions libres"), 105, {6404, 409, 2916, 4302, 4308}},
        {QStringLiteral("plénitude, vomissements, selles molles sans soif, mains et pieds tièdes"),
         109,
         {5201, 5402, 2801, 4901, 4515, 1801, 4312}},
    };
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    QTextStream err(stderr);
    bool numbered = false;
    const int edition = args.value(3).toInt(&numbered);
    if (args.size() != 4 || !numbered || edition < 1) {
        err << "usage: tessavor_kbbuild <source folder> <output file> <edition>\n";
        return 2;
    }
    const QString problem = KnowledgeBaseLoader::load(args[1], args[2]);
    if (!problem.isEmpty()) {
        err << problem << '\n';
        return 1;
    }
    QStringList faults, figures;
    try {
        WeightRebuild::run(args[2]);
        Database::open(args[2])->executeNative(QStringLiteral("PRAGMA user_version = %1").arg(edition));
        const KnowledgeBaseCheck check = KnowledgeBaseCheck::read(args[2]);
        faults = check.structural() + check.bundled(Published, presentations()) + check.trials(figures);
        figures = check.figures() + figures;
    } catch (const DatabaseError &e) {
        err << e.path() << ": " << e.engineMessage() << '\n';
        QFile::remove(args[2]);
        return 1;
    }
    QTextStream out(stdout);
    for (const QString &figure : std::as_const(figures))
        out << figure << '\n';
    if (faults.isEmpty())
        return 0;
    err << args[1] << " : la base ne respecte pas ses règles.\n";
    for (const QString &fault : std::as_const(faults))
        err << "  - " << fault << '\n';
    QFile::remove(args[2]);
    return 1;
}
