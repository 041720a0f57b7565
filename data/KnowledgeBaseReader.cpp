#include "KnowledgeBaseReader.h"

#include "Database.h"
#include "Recordset.h"

#include <QCryptographicHash>

namespace KnowledgeBaseReader {

namespace {

template <typename F> void forEachRow(Database &db, const QString &sql, F f)
{
    for (auto rs = db.openNative(sql); !rs->isEof(); rs->moveNext())
        f(*rs);
}

std::optional<QString> optionalText(const QVariant &value)
{
    return value.isNull() ? std::nullopt : std::optional<QString>(value.toString());
}

} // namespace

KnowledgeBaseRows read(Database &db)
{
    KnowledgeBaseRows kb;
    forEachRow(db, QStringLiteral(R"(SELECT "NumCatégorie", "Nom" FROM "Catégories")"), [&](const Recordset &r) {
        kb.categories.append({r.key(u"NumCatégorie", QStringLiteral("Catégories")), optionalText(r.field(u"Nom"))});
    });
    const QString modalities = QStringLiteral("Modalités");
    forEachRow(db, QStringLiteral(R"(SELECT "NumModalité", "Modalité", "NumCatégorie" FROM "Modalités")"),
               [&](const Recordset &r) {
                   kb.modalities.append({r.key(u"NumModalité", modalities), r.field(u"Modalité").toString(),
                                         r.key(u"NumCatégorie", modalities)});
               });
    forEachRow(db, QStringLiteral(R"(SELECT "NumSyndrome", "Nom", "NumMéthode" FROM "Syndromes")"),
               [&](const Recordset &r) {
                   kb.syndromes.append({r.key(u"NumSyndrome", QStringLiteral("Syndromes")), r.field(u"Nom").toString(),
                                        r.field(u"NumMéthode").toInt()});
               });
    const QString links = QStringLiteral("Modalité-Syndrome");
    forEachRow(db, QStringLiteral(R"(SELECT "NumModalité", "NumSyndrome" FROM "Modalité-Syndrome")"),
               [&](const Recordset &r) {
                   kb.links.append({r.key(u"NumModalité", links), r.key(u"NumSyndrome", links)});
               });
    forEachRow(db, QStringLiteral(R"(SELECT "NumModalité", "Valeur" FROM "Valorisation")"), [&](const Recordset &r) {
        const QVariant value = r.field(u"Valeur");
        kb.weights.append({r.key(u"NumModalité", QStringLiteral("Valorisation")),
                           value.isNull() ? std::nullopt : std::optional<qint32>(value.toInt())});
    });
    if (db.openNative(QStringLiteral("SELECT COUNT(*) AS n FROM sqlite_master WHERE type = 'table' AND name = "
                                     "'Remplacements'"))
            ->field(u"n")
            .toInt() == 0)
        return kb;
    kb.hasReplacementTable = true;
    const QString replacements = QStringLiteral("Remplacements");
    forEachRow(
        db, QStringLiteral(R"(SELECT "NumModalité", "NumRemplaçante" FROM "Remplacements")"), [&](const Recordset &r) {
            kb.replacements.append({r.key(u"NumModalité", replacements), r.key(u"NumRemplaçante", replacements)});
        });
    return kb;
}

int edition(Database &db)
{
    return db.openNative(QStringLiteral("PRAGMA user_version"))->field(u"user_version").toInt();
}

QByteArray checksum(const KnowledgeBaseRows &rows)
{
    QStringList lines;
    for (const auto &c : rows.categories)
        lines.append(QStringLiteral("Catégories;%1;%2").arg(c.number).arg(c.name.value_or(QString())));
    for (const auto &m : rows.modalities)
        lines.append(QStringLiteral("Modalités;%1;%2;%3").arg(m.number).arg(m.category).arg(m.text));
    for (const auto &s : rows.syndromes)
        lines.append(QStringLiteral("Syndromes;%1;%2;%3").arg(s.number).arg(s.method).arg(s.name));
    for (const auto &l : rows.links)
        lines.append(QStringLiteral("Modalité-Syndrome;%1;%2").arg(l.modality).arg(l.syndrome));
    for (const auto &r : rows.replacements)
        lines.append(QStringLiteral("Remplacements;%1;%2").arg(r.modality).arg(r.replacement));
    lines.sort();
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (const QString &line : std::as_const(lines))
        hash.addData((line + QLatin1Char('\n')).toUtf8());
    return hash.result().toHex();
}

} // namespace KnowledgeBaseReader
