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

} // namespace Statements
