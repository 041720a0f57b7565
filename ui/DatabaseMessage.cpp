#include "DatabaseMessage.h"

#include "Beep.h"
#include "DatabaseError.h"
#include "JetImportText.h"
#include "MessageBox.h"

#include <QDir>
#include <QFileInfo>

namespace DatabaseMessage {

void show(QWidget *parent, const DatabaseError &error)
{
    const QString file = QDir::toNativeSeparators(error.path());
    QString text;
    switch (error.kind()) {
    case DatabaseError::Kind::Missing:
        text = QStringLiteral("La base de connaissances « %1 » est introuvable.\n\n"
                              "Replacez le fichier Signes.mdb dans le dossier du programme.")
                   .arg(file);
        break;
    case DatabaseError::Kind::NotDatabase:
        text = QStringLiteral("Le fichier « %1 » n'est pas une base de connaissances lisible (%2).")
                   .arg(file, error.engineMessage());
        break;
    case DatabaseError::Kind::AccessFile:
        text = QStringLiteral("Le fichier « %1 » est une base Access : il doit d'abord être converti en base SQLite "
                              "pour être utilisé.")
                   .arg(file);
        break;
    case DatabaseError::Kind::Locked:
        text = QStringLiteral("La base de connaissances « %1 » n'a pas pu être lue.\n\n").arg(file) + lockedAdvice();
        break;
    case DatabaseError::Kind::Failed:
        text = QStringLiteral("La base de connaissances « %1 » n'a pas pu être lue :\n%2")
                   .arg(file, error.engineMessage());
        break;
    case DatabaseError::Kind::NotAccessFile:
    case DatabaseError::Kind::Truncated:
    case DatabaseError::Kind::MissingTable:
    case DatabaseError::Kind::MissingColumn:
    case DatabaseError::Kind::WrongType:
    case DatabaseError::Kind::RowCount:
    case DatabaseError::Kind::NullValue:
    case DatabaseError::Kind::DuplicateKey:
    case DatabaseError::Kind::MissingReference:
    case DatabaseError::Kind::WriteFailed:
    case DatabaseError::Kind::CheckFailed:
    case DatabaseError::Kind::RenameFailed:
    case DatabaseError::Kind::RestoreFailed:
        text = JetImportText::problem(error);
        break;
    }
    Beep::sound();
    MessageBox::show(parent, text, MessageBox::Buttons::Ok, MessageBox::Icon::Critical,
                     QStringLiteral("Base de connaissances"));
}

QString lockedAdvice()
{
    return QStringLiteral("La base est verrouillée par un autre programme : fermez l'outil qui la modifie, puis "
                          "recommencez.");
}

void showCopyFailure(QWidget *parent, const AppPaths::CopyFailure &failure, const QString &used)
{
    const QString target = QDir::toNativeSeparators(failure.target);
    const QString folder = QDir::toNativeSeparators(QFileInfo(failure.target).absolutePath());
    QString text;
    if (failure.target.isEmpty())
        text = QStringLiteral("Votre dossier personnel est introuvable : votre copie de la base de connaissances n'a "
                              "pas été faite.");
    else if (failure.step == AppPaths::CopyFailure::Step::MakeFolder)
        text = QStringLiteral("Le dossier « %1 » n'a pas pu être créé : votre copie de la base de connaissances n'a "
                              "pas été faite.")
                   .arg(folder);
    else
        text = QStringLiteral("La base de connaissances n'a pas pu être copiée vers « %1 » (disque plein ou dossier "
                              "en lecture seule ?). Aucun fichier incomplet n'a été laissé.")
                   .arg(target);
    text += QStringLiteral("\n\nPour cette fois, Tessavor utilise la base installée « %1 », qu'il ne peut pas "
                           "modifier : la régénération de la base n'est pas possible. Libérez de la place ou rendez "
                           "le dossier accessible en écriture, puis relancez Tessavor.")
                .arg(QDir::toNativeSeparators(used));
    Beep::sound();
    MessageBox::show(parent, text, MessageBox::Buttons::Ok, MessageBox::Icon::Exclamation,
                     QStringLiteral("Base de connaissances"));
}

} // namespace DatabaseMessage
