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

// 8. A modality's category name, the number of syndromes it points to, and its weight
// (empty when it has none).
QString signSummary(qint32 modality);

// 13. A modality's text and weight, as its entry shows them.
QString signEntry(qint32 modality);

// The search across the whole base reads the signs once into a word index of its own,
// kept while the file is unchanged. These statements are in SQLite's own dialect: the
// replacements keep the order in which the base lists them, which the program's dialect
// cannot name.
// 9. Every recordable modality (those with a weight, as the category listing lists them):
// Modalité, NumModalité, Valeur, and the category's Nom as Catégorie.
QString searchableSigns();
// 10. How many tables named Remplacements the base has, as Compte: 0 in a base older than
// the table, or converted from an Access file.
QString replacementTableCount();
// 11. Every retired modality (kept for its number, without a weight): Modalité,
// NumModalité, and the category's Nom as Catégorie.
QString retiredSigns();
// 12. The recordable modalities that now record each retired one, in the order the base
// lists them: the retired NumModalité, then the replacing one's Modalité, NumRemplaçante
// and Valeur.
QString replacements();

} // namespace Statements
