#include "EditionOffer.h"

#include "MessageBox.h"

#include <QDir>

namespace EditionOffer {

namespace {

const QString Title = QStringLiteral("Base de connaissances");

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

void tellFailure(const AppPaths::KnowledgeBase &kb, const AppPaths::CopyFailure &failure, const QString &when)
{
    MessageBox::show(nullptr,
                     QStringLiteral("La nouvelle édition de la base de connaissances n'a pas pu remplacer votre copie "
                                    "« %1 » : %2.\n\nVotre base reste en place, telle qu'elle était%3.")
                         .arg(native(kb.database), failure.reason, when),
                     MessageBox::Buttons::Ok, MessageBox::Icon::Exclamation, Title);
}

} // namespace

void atStart(const AppPaths::KnowledgeBase &kb, const AppPaths::CopyMemory &memory,
             const AppPaths::FileOperations &files)
{
    if (!kb.previousCopy.isEmpty())
        MessageBox::show(nullptr,
                         QStringLiteral("Une nouvelle édition de la base de connaissances est livrée avec Tessavor : "
                                        "votre copie, que vous n'aviez pas modifiée, a été mise à jour.\n\nL'ancienne "
                                        "est gardée sous « %1 ».")
                             .arg(native(kb.previousCopy)),
                         MessageBox::Buttons::Ok, MessageBox::Icon::None, Title);
    if (kb.editionFailure)
        tellFailure(kb, kb.editionFailure, QStringLiteral(" ; Tessavor essaiera de nouveau au prochain démarrage"));
    if (kb.newEdition == 0)
        return;
    const MessageBox::Answer answer = MessageBox::show(
        nullptr,
        QStringLiteral("Une nouvelle édition (%1) de la base de connaissances est livrée avec Tessavor, mais votre "
                       "copie « %2 » a été modifiée depuis qu'elle a été faite : la nouvelle édition ne contient pas "
                       "vos modifications.\n\nPrendre la nouvelle édition ? Votre base sera gardée à côté, sous "
                       "« %3 ».\n\nAnnuler garde votre base ; la question ne sera plus posée pour cette édition.")
            .arg(kb.newEdition)
            .arg(native(kb.database), native(kb.keptName)),
        MessageBox::Buttons::OkCancel, MessageBox::Icon::Question, Title);
    if (answer == MessageBox::Answer::Cancel) {
        AppPaths::keepCopy(kb, memory);
        return;
    }
    if (const AppPaths::CopyFailure failure = AppPaths::takeNewEdition(kb, files, memory))
        tellFailure(kb, failure, QString());
}

} // namespace EditionOffer
