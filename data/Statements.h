#pragma once

#include <QString>

#include <array>
#include <span>

// The catalogue of every statement the program sends, each built from its fixed pieces.
// The pieces are exact, blanks included: callers and tests rely on the very text.
namespace Statements {

// 1. Empties the weight table.
QString weightReset();
// 2. Link count and weight per linked modality, by ascending count then modality number.
QString weightCount();
// The weight rule that statement 2 computes for a modality with `links` links (at least
// one): 10 − links below ten links, 1 from ten on. For code that weighs without the
// statement, such as the import telling which weights differ from the rule.
constexpr int ruleWeight(qsizetype links)
{
    return links < 10 ? int(10 - links) : 1;
}
// 3. The weight table, opened to append rows.
QString weightTable();

// The sign condition of the ranking: the first modality number alone, each further one
// preceded by " OR Valorisation.NumModalité=".
QString rankingSignCondition(std::span<const qint32> modalities);
// The method condition: methods 1 to 5 whose entry is exactly 1, ascending, each after
// the first preceded by " OR Syndromes.NumMéthode=". Index 0 of the table is unused.
QString rankingMethodCondition(const std::array<qint32, 6> &activeMethods);
// 4. The ranking of syndromes by summed weight, highest first.
QString ranking(const QString &signCondition, const QString &methodCondition);

// 5. The modalities of a category with their weights, in text order.
QString categoryListing(qint32 category);
// 6. The modalities of a syndrome with their weights, in text order.
QString syndromeSigns(qint32 syndrome);
// 7. The syndromes a modality points to.
QString signSyndromes(qint32 modality);

// 8. A modality's category name and the number of syndromes it points to.
QString signSummary(qint32 modality);

// 14. A modality's text and weight, as its entry shows them.
QString signEntry(qint32 modality);

// The search across the whole base works on a word index of every recordable modality
// (those with a weight, as the category listing lists them), made afresh on the
// connection each time a search opens, so that it always reflects the file. The index
// and its queries are in SQLite's own dialect: the program's dialect has no word index.
// 9. Makes the index (empty), replacing any left over.
QString searchIndexCreate();
// 10. Fills the index, in the order results are shown: category name, then modality
// text, both in the French collation; ligatures are spelled out ("oe") for the index only.
QString searchIndexFill();
// 11. At most `limit` entries of the index matching the query bound as ?1, in the index's
// order: Modalité, NumModalité, Valeur, and the category's Nom as Catégorie.
QString searchMatches(int limit);
// 12. How many entries of the index match the query bound as ?1, as Compte.
QString searchCount();
// 13. Drops the index.
QString searchIndexDrop();

} // namespace Statements
