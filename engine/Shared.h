#pragma once

#include "Ranking.h"

// The program-wide values that live for the whole run. Their names follow the domain's
// French names without accents (methodeActive for MéthodeActive, and so on).
namespace Shared {

// Entry m is 1 when diagnosis method m is chosen; index 0 is never used.
inline MethodTable methodeActive{0, 1, 1, 1, 1, 1};
// Handed to the modality choice dialog: the category to list, or the sign whose
// syndromes to list; 0 means none. The dialog sets both back to 0 when it closes.
inline qint32 categorieChoisie = 0;
inline qint32 signeChoisi = 0;

} // namespace Shared
