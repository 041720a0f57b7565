#include "SignSearch.h"

#include "Database.h"
#include "ModalityChoice.h"
#include "Recordset.h"
#include "Statements.h"
#include "TextFold.h"

SignSearch::SignSearch(Database &db) : m_db(db)
{
    m_db.executeNative(Statements::searchIndexCreate());
    m_db.executeNative(Statements::searchIndexFill());
}

SignSearch::~SignSearch()
{
    try {
        m_db.executeNative(Statements::searchIndexDrop());
    } catch (const DatabaseError &) {
        // A temporary table goes with its connection anyway.
    }
}

QString SignSearch::matchQuery(const QString &typed)
{
    // Words are what the index's own tokenizer finds: runs of letters and digits. Folding
    // first spells ligatures out as the index does; quoting keeps every word a plain word.
    const QString folded = TextFold::fold(typed);
    QStringList terms;
    QString word;
    const auto flush = [&] {
        if (!word.isEmpty())
            terms.append(QLatin1Char('"') + word + QStringLiteral("\"*"));
        word.clear();
    };
    for (const QChar c : folded) {
        if (c.isLetterOrNumber())
            word += c;
        else
            flush();
    }
    flush();
    return terms.join(QStringLiteral(" AND "));
}

SignSearch::Result SignSearch::search(const QString &typed) const
{
    Result result;
    const QString query = matchQuery(typed);
    if (query.isEmpty())
        return result;
    auto rs = m_db.openNative(Statements::searchMatches(Shown + 1), {query});
    for (; !rs->isEof() && result.found.size() < Shown; rs->moveNext())
        result.found.append({ModalityChoice::modalityEntry(rs->field(u"Modalité").toString(),
                                                           rs->weight(u"Valeur", QStringLiteral("Valorisation")),
                                                           rs->key(u"NumModalité", QStringLiteral("Modalités"))),
                             rs->field(u"Catégorie").toString()});
    if (rs->recordCount() > Shown)
        result.more = m_db.openNative(Statements::searchCount(), {query})->field(u"Compte").toInt() - Shown;
    return result;
}
