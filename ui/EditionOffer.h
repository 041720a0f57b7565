#pragma once

#include "AppPaths.h"

// At start-up, before the knowledge base is opened: what came of a newer edition of the
// bundled base. The user's unchanged copy was replaced (told, with where the old one is
// kept); a copy the user changed is offered the new edition, once per edition (OK takes it,
// their base kept beside it; Annuler keeps theirs); a replacement that failed is told. The
// base's path never changes.
namespace EditionOffer {

void atStart(const AppPaths::KnowledgeBase &kb, const AppPaths::CopyMemory &memory,
             const AppPaths::FileOperations &files = AppPaths::FileOperations::system());

} // namespace EditionOffer
