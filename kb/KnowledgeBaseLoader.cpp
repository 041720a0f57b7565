#include "KnowledgeBaseLoader.h"

#include "Database.h"
#include "Recordset.h"

#include <QFile>
#include <QHash>
#include <QSet>
#include <QTextStream>

namespace {

struct Table {
    QString file;
    QList<QStringList> rows; // without the header
    QList<int> lines;        // source line of each row
};

QString readTable(const QString &folder, const QString &name, const QStringList &header, Table &table)
{
    table.file = name;
    QFile file(folder + QLatin1Char('/') + name);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return name + QStringLiteral(": ") + file.errorString();
    QTextStream in(&file);
    in.setEncoding(QStringConverter::Utf8);
    int line = 0;
    while (!in.atEnd()) {
        const QString text = in.readLine();
        ++line;
        if (line == 1) {
            if (text.split(QLatin1Char(';')) != header)
                return QStringLiteral("%1:1: en-tête attendu « %2 »").arg(name, header.join(QLatin1Char(';')));
            continue;
        }
        if (text.trimmed().isEmpty())
            continue;
        const QStringList fields = text.split(QLatin1Char(';'));
        if (fields.size() != header.size())
            return QStringLiteral("%1:%2: %3 champs attendus").arg(name).arg(line).arg(header.size());
        table.rows.append(fields);
        table.lines.append(line);
    }
    return {};
}

bool toNumber(const QString &text, qint32 &value)
{
    bool ok = false;
    value = text.toInt(&ok);
    return ok;
}

// The source files, as read.
struct Sources {
    Table categories, modalities, syndromes, links, replacements;
};

QString readSources(const QString &folder, Sources &sources)
{
    for (auto [name, header, table] :
         {std::tuple{QStringLiteral("categories.csv"),
                     QStringList{QStringLiteral("NumCatégorie"), QStringLiteral("Nom")}, &sources.categories},
          std::tuple{
              QStringLiteral("modalites.csv"),
              QStringList{QStringLiteral("NumModalité"), QStringLiteral("NumCatégorie"), QStringLiteral("Modalité")},
              &sources.modalities},
          std::tuple{QStringLiteral("syndromes.csv"),
                     QStringList{QStringLiteral("NumSyndrome"), QStringLiteral("NumMéthode"), QStringLiteral("Nom")},
                     &sources.syndromes},
          std::tuple{QStringLiteral("liens.csv"),
                     QStringList{QStringLiteral("NumSyndrome"), QStringLiteral("NumModalité"),
                                 QStringLiteral("Syndrome"), QStringLiteral("Modalité")},
                     &sources.links},
          std::tuple{QStringLiteral("remplacements.csv"),
                     QStringList{QStringLiteral("NumModalité"), QStringLiteral("NumRemplaçante"),
                                 QStringLiteral("Modalité"), QStringLiteral("Remplaçante")},
                     &sources.replacements}}) {
        if (QString problem = readTable(folder, name, header, *table); !problem.isEmpty())
            return problem;
    }
    return {};
}

QString where(const Table &t, qsizetype row)
{
    return QStringLiteral("%1:%2: ").arg(t.file).arg(t.lines[row]);
}

// Numbers whole and unique, every reference known, and the repeated names and texts of the
// link and replacement files equal to those of the files they repeat. Whether a replacement
// makes sense (a retired sign, a live replacement) is the checker's to say, on the built base.
QString checkSources(const Sources &s)
{
    QSet<qint32> categoryNumbers;
    for (qsizetype r = 0; r < s.categories.rows.size(); ++r) {
        qint32 n;
        if (!toNumber(s.categories.rows[r][0], n) || categoryNumbers.contains(n))
            return where(s.categories, r) + QStringLiteral("numéro de catégorie invalide ou répété");
        categoryNumbers.insert(n);
    }
    QHash<qint32, QString> modalityText;
    for (qsizetype r = 0; r < s.modalities.rows.size(); ++r) {
        qint32 n, c;
        if (!toNumber(s.modalities.rows[r][0], n) || modalityText.contains(n))
            return where(s.modalities, r) + QStringLiteral("numéro de modalité invalide ou répété");
        if (!toNumber(s.modalities.rows[r][1], c) || !categoryNumbers.contains(c))
            return where(s.modalities, r) + QStringLiteral("catégorie inconnue");
        modalityText.insert(n, s.modalities.rows[r][2]);
    }
    QHash<qint32, QString> syndromeName;
    for (qsizetype r = 0; r < s.syndromes.rows.size(); ++r) {
        qint32 n, m;
        if (!toNumber(s.syndromes.rows[r][0], n) || syndromeName.contains(n))
            return where(s.syndromes, r) + QStringLiteral("numéro de syndrome invalide ou répété");
        if (!toNumber(s.syndromes.rows[r][1], m) || m < 1 || m > 5)
            return where(s.syndromes, r) + QStringLiteral("méthode hors de 1 à 5");
        syndromeName.insert(n, s.syndromes.rows[r][2]);
    }
    for (qsizetype r = 0; r < s.links.rows.size(); ++r) {
        qint32 syndrome, modality;
        const QStringList &row = s.links.rows[r];
        if (!toNumber(row[0], syndrome) || !syndromeName.contains(syndrome))
            return where(s.links, r) + QStringLiteral("syndrome inconnu");
        if (!toNumber(row[1], modality) || !modalityText.contains(modality))
            return where(s.links, r) + QStringLiteral("modalité inconnue");
        if (syndromeName.value(syndrome) != row[2])
            return where(s.links, r) + QStringLiteral("le nom ne correspond pas au syndrome %1 « %2 »")
                                           .arg(syndrome)
                                           .arg(syndromeName.value(syndrome));
        if (modalityText.value(modality) != row[3])
            return where(s.links, r) + QStringLiteral("le texte ne correspond pas à la modalité %1 « %2 »")
                                           .arg(modality)
                                           .arg(modalityText.value(modality));
    }
    for (qsizetype r = 0; r < s.replacements.rows.size(); ++r) {
        const QStringList &row = s.replacements.rows[r];
        for (int column : {0, 1}) {
            qint32 modality;
            if (!toNumber(row[column], modality) || !modalityText.contains(modality))
                return where(s.replacements, r) + QStringLiteral("modalité inconnue");
            if (modalityText.value(modality) != row[column + 2])
                return where(s.replacements, r) + QStringLiteral("le texte ne correspond pas à la modalité %1 « %2 »")
                                                      .arg(modality)
                                                      .arg(modalityText.value(modality));
        }
    }
    return {};
}

// Appends the rows of `source` to `table`, the columns at `numericColumns` as numbers.
void append(Database &db, const QString &table, const QStringList &columns, const Table &source,
            const QList<int> &numericColumns)
{
    auto rs = db.openRecordset(QStringLiteral("SELECT * FROM [%1]").arg(table));
    for (const QStringList &row : source.rows) {
        rs->addNew();
        for (qsizetype c = 0; c < columns.size(); ++c)
            rs->setField(columns[c], numericColumns.contains(int(c)) ? QVariant(row[c].toInt()) : QVariant(row[c]));
        rs->update();
    }
    rs->close();
}

QString write(const Sources &s, const QString &outputPath)
{
    try {
        auto db = Database::create(outputPath);
        db->beginTransaction();
        append(*db, QStringLiteral("Catégories"), {QStringLiteral("NumCatégorie"), QStringLiteral("Nom")}, s.categories,
               {0});
        append(*db, QStringLiteral("Modalités"),
               {QStringLiteral("NumModalité"), QStringLiteral("NumCatégorie"), QStringLiteral("Modalité")},
               s.modalities, {0, 1});
        append(*db, QStringLiteral("Syndromes"),
               {QStringLiteral("NumSyndrome"), QStringLiteral("NumMéthode"), QStringLiteral("Nom")}, s.syndromes,
               {0, 1});
        append(*db, QStringLiteral("Modalité-Syndrome"), {QStringLiteral("NumSyndrome"), QStringLiteral("NumModalité")},
               s.links, {0, 1});
        append(*db, QStringLiteral("Remplacements"), {QStringLiteral("NumModalité"), QStringLiteral("NumRemplaçante")},
               s.replacements, {0, 1});
        db->commit();
        db->close();
    } catch (const DatabaseError &e) {
        return e.path() + QStringLiteral(": ") + e.engineMessage();
    }
    return {};
}

} // namespace

namespace KnowledgeBaseLoader {

QString load(const QString &folder, const QString &outputPath)
{
    Sources sources;
    if (QString problem = readSources(folder, sources); !problem.isEmpty())
        return problem;
    if (QString problem = checkSources(sources); !problem.isEmpty())
        return problem;
    return write(sources, outputPath);
}

} // namespace KnowledgeBaseLoader
