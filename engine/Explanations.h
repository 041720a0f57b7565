#pragma once

#include "ListEntry.h"

#include <QList>
#include <QString>

class DataSource;

// Why the lists of the main window read as they do, in words the practitioner reads on
// hovering an entry.
namespace Explanations {

// A syndrome's signs split by the visit: the recorded signs that support it (the same
// signs, with the same weights, that the ranking sums) and its other signs, each as
// "Modalité (Valeur)", in text order.
struct SyndromeSigns {
    QStringList supporting;
    QStringList others;
    long long sum = 0;
};

// Reads the signs of `syndrome` (the syndrome's signs listing) through `listeValeurs`.
// A recorded sign supports it when its number is linked to it, as in the ranking.
// Throws DatabaseError.
SyndromeSigns syndromeSigns(DataSource &listeValeurs, qint32 syndrome, const QList<ListEntry> &signes);

// "3 signes retrouvés sur 12 : Langue rouge (1), Pouls rapide (6), Soif intense (8) —
// somme 15. Autres signes : …"
QString syndromeText(const SyndromeSigns &signs);
// Its first sentence, the signs found: "3 signes retrouvés sur 12 : … — somme 15."
QString foundText(const SyndromeSigns &signs);

// A recorded sign's category, its weight and how many syndromes it points to ("Catégorie :
// Pouls — poids 7 — indique 3 syndromes."), or an empty text when the sign is no longer
// in the base. Throws DatabaseError.
QString signText(DataSource &listeValeurs, qint32 modality);

} // namespace Explanations
