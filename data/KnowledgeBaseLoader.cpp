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

} // namespace

namespace KnowledgeBaseLoader {

QString load(const QString &folder, const QString &outputPath)
{
    Table categories, modalities, syndromes, links;
    for (auto [name, header, table] :
         {std::tuple{QStringLiteral("categories.csv"),
                     QStringList{QStringLiteral("NumCatégorie"), QStringLiteral("Nom")}, &categories},
          std::tuple{
              QStringLiteral("modalites.csv"),
              QStringList{QStringLiteral("NumModalité"), QStringLiteral("NumCatégorie"), QStringLiteral("Modalité")},
              &modalities},
          std::tuple{QStringLiteral("syndromes.csv"),
                     QStringList{QStringLiteral("NumSyndrome"), QStringLiteral("NumMéthode"), QStringLiteral("Nom")},
                     &syndromes},
          std::tuple{QStringLiteral("liens.csv"),
                     QStringList{QStringLiteral("NumSyndrome"), QStringLiteral("NumModalité"),
                                 QStringLiteral("Syndrome"), QStringLiteral("Modalité")},
                     &links}}) {
        if (QString problem = readTable(folder, name, header, *table); !problem.isEmpty())
            return problem;
    }

    auto where = [](const Table &t, qsizetype row) { return QStringLiteral("%1:%2: ").arg(t.file).arg(t.lines[row]); };

    QSet<qint32> categoryNumbers;
    for (qsizetype r = 0; r < categories.rows.size(); ++r) {
        qint32 n;
        if (!toNumber(categories.rows[r][0], n) || categoryNumbers.contains(n))
            return where(categories, r) + QStringLiteral("numéro de catégorie invalide ou répété");
        categoryNumbers.insert(n);
    }
    QHash<qint32, QString> modalityText;
    for (qsizetype r = 0; r < modalities.rows.size(); ++r) {
        qint32 n, c;
        if (!toNumber(modalities.rows[r][0], n) || modalityText.contains(n))
            return where(modalities, r) + QStringLiteral("numéro de modalité invalide ou répété");
        if (!toNumber(modalities.rows[r][1], c) || !categoryNumbers.contains(c))
            return where(modalities, r) + QStringLiteral("catégorie inconnue");
        modalityText.insert(n, modalities.rows[r][2]);
    }
    QHash<qint32, QString> syndromeName;
    for (qsizetype r = 0; r < syndromes.rows.size(); ++r) {
        qint32 n, m;
        if (!toNumber(syndromes.rows[r][0], n) || syndromeName.contains(n))
            return where(syndromes, r) + QStringLiteral("numéro de syndrome invalide ou répété");
        if (!toNumber(syndromes.rows[r][1], m) || m < 1 || m > 5)
            return where(syndromes, r) + QStringLiteral("méthode hors de 1 à 5");
        syndromeName.insert(n, syndromes.rows[r][2]);
    }
    for (qsizetype r = 0; r < links.rows.size(); ++r) {
        qint32 s, m;
        if (!toNumber(links.rows[r][0], s) || !syndromeName.contains(s))
            return where(links, r) + QStringLiteral("syndrome inconnu");
        if (!toNumber(links.rows[r][1], m) || !modalityText.contains(m))
            return where(links, r) + QStringLiteral("modalité inconnue");
        if (syndromeName.value(s) != links.rows[r][2])
            return where(links, r) +
                   QStringLiteral("le nom ne correspond pas au syndrome %1 « %2 »").arg(s).arg(syndromeName.value(s));
        if (modalityText.value(m) != links.rows[r][3])
            return where(links, r) + QStringLiteral("le texte ne correspond pas à la modalité %1 « %2 »")
                                         .arg(m)
                                         .arg(modalityText.value(m));
    }

    try {
        auto db = Database::create(outputPath);
        db->beginTransaction();
        auto append = [&db](const QString &table, const QStringList &columns, const Table &source,
                            const QList<int> &numericColumns) {
            auto rs = db->openRecordset(QStringLiteral("SELECT * FROM [%1]").arg(table));
            for (const QStringList &row : source.rows) {
                rs->addNew();
                for (qsizetype c = 0; c < columns.size(); ++c)
                    rs->setField(columns[c],
                                 numericColumns.contains(int(c)) ? QVariant(row[c].toInt()) : QVariant(row[c]));
                rs->update();
            }
            rs->close();
        };
        append(QStringLiteral("Catégories"), {QStringLiteral("NumCatégorie"), QStringLiteral("Nom")}, categories, {0});
        append(QStringLiteral("Modalités"),
               {QStringLiteral("NumModalité"), QStringLiteral("NumCatégorie"), QStringLiteral("Modalité")}, modalities,
               {0, 1});
        append(QStringLiteral("Syndromes"),
               {QStringLiteral("NumSyndrome"), QStringLiteral("NumMéthode"), QStringLiteral("Nom")}, syndromes, {0, 1});
        append(QStringLiteral("Modalité-Syndrome"), {QStringLiteral("NumSyndrome"), QStringLiteral("NumModalité")},
               links, {0, 1});
        db->commit();
        db->close();
    } catch (const DatabaseError &e) {
        return e.path() + QStringLiteral(": ") + e.engineMessage();
    }
    return {};
}

} // namespace KnowledgeBaseLoader
