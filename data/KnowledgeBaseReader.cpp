#include "KnowledgeBaseReader.h"

#include "Database.h"
#include "Recordset.h"

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

} // namespace KnowledgeBaseReader
