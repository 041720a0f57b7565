#include "DatabaseMessage.h"

#include "Beep.h"
#include "DatabaseError.h"
#include "JetImportText.h"
#include "MessageBox.h"

#include <QDir>
#include <QFileInfo>

namespace DatabaseMessage {

namespace {

using Kind = DatabaseError::Kind;

const QString Title = QStringLiteral("Base de connaissances");

bool isImportKind(Kind kind)
{
    switch (kind) {
    case Kind::NotAccessFile:
    case Kind::Truncated:
    case Kind::MissingTable:
    case Kind::MissingColumn:
    case Kind::WrongType:
    case Kind::RowCount:
    case Kind::NullValue:
    case Kind::DuplicateKey:
    case Kind::MissingReference:
    case Kind::WriteFailed:
    case Kind::CheckFailed:
    case Kind::RenameFailed:
    case Kind::RestoreFailed:
    case Kind::CannotRead:
    case Kind::JetDamaged:
    case Kind::NoSpace:
    case Kind::ReaderFailed:
        return true;
    default:
        return false;
    }
}

const QString BadShape = QStringLiteral("Ce fichier n'a pas la forme d'une base de connaissances de Tessavor : "
                                        "rétablissez-la avec l'outil qui a servi à la modifier, ou remplacez-la par "
                                        "une copie en bon état.");

} // namespace

QString reason(const DatabaseError &error)
{
    const DatabaseError::Detail where = error.details().value(0);
    switch (error.kind()) {
    case Kind::Missing:
        return QStringLiteral("le fichier est introuvable");
    case Kind::NotDatabase:
        return QStringLiteral("le fichier n'est pas une base de données");
    case Kind::AccessFile:
        return QStringLiteral("c'est une base Access, qui doit d'abord être convertie en base SQLite");
    case Kind::Locked:
        return QStringLiteral("la base est verrouillée par un autre programme");
    case Kind::Damaged:
        return QStringLiteral("le fichier est endommagé");
    case Kind::ReadOnly:
        return QStringLiteral("le fichier est en lecture seule");
    case Kind::DiskFull:
        return QStringLiteral("le disque est plein");
    case Kind::DiskError:
        return QStringLiteral("le fichier n'a pas pu être lu ou écrit sur le disque");
    case Kind::NoSuchTable:
        return QStringLiteral("la table « %1 » est absente").arg(where.table);
    case Kind::NoSuchColumn:
        if (where.table.isEmpty())
            return QStringLiteral("la colonne « %1 » est absente").arg(where.column);
        return QStringLiteral("la colonne « %1 » de la table « %2 » est absente").arg(where.column, where.table);
    case Kind::BadKey:
        if (where.value.isEmpty())
            return QStringLiteral("la table « %1 » contient un numéro vide (colonne « %2 ») : la base est endommagée")
                .arg(where.table, where.column);
        return QStringLiteral("la table « %1 » contient le numéro %2 (colonne « %3 »), qui n'est pas un nombre "
                              "entier de -2147483648 à 2147483647 : la base est endommagée")
            .arg(where.table, where.value, where.column);
    case Kind::BadWeight:
        if (where.value.isEmpty())
            return QStringLiteral("la table « %1 » contient un poids vide (colonne « %2 ») : la base est endommagée")
                .arg(where.table, where.column);
        return QStringLiteral("la table « %1 » contient le poids %2 (colonne « %3 »), qui n'est pas un nombre "
                              "entier de -2147483648 à 2147483647 : la base est endommagée")
            .arg(where.table, where.value, where.column);
    case Kind::TooComplex:
        return QStringLiteral("une requête dépasse la taille que le programme accepte");
    case Kind::Failed:
        return QStringLiteral("le moteur de base de données a signalé une erreur");
    default:
        return QStringLiteral("le fichier n'a pas pu être importé");
    }
}

QString advice(const DatabaseError &error)
{
    switch (error.kind()) {
    case Kind::Missing:
        return QStringLiteral("Replacez le fichier Signes.mdb dans le dossier du programme.");
    case Kind::NotDatabase:
    case Kind::Damaged:
        return QStringLiteral("Remplacez-le par une copie en bon état de la base de connaissances.");
    case Kind::Locked:
        return QStringLiteral("Fermez l'outil qui la modifie, puis recommencez.");
    case Kind::ReadOnly:
        return QStringLiteral("Autorisez l'écriture dans ce fichier et dans son dossier, puis recommencez.");
    case Kind::DiskFull:
        return QStringLiteral("Libérez de la place sur le disque, puis recommencez.");
    case Kind::DiskError:
        return QStringLiteral("Vérifiez que le disque qui porte la base est accessible, puis recommencez.");
    case Kind::NoSuchTable:
    case Kind::NoSuchColumn:
        return BadShape;
    case Kind::BadWeight:
        return QStringLiteral("Choisissez « Régénérer la base » dans le menu Fichier pour recalculer les poids.");
    case Kind::BadKey:
        return QStringLiteral("Corrigez ce numéro avec l'outil qui a servi à modifier la base, ou remplacez-la par "
                              "une copie en bon état.");
    default:
        return {};
    }
}

QString text(const DatabaseError &error)
{
    if (isImportKind(error.kind()))
        return JetImportText::problem(error);
    const QString file = QDir::toNativeSeparators(error.path());
    QString text;
    switch (error.kind()) {
    case Kind::Missing:
        text = QStringLiteral("La base de connaissances « %1 » est introuvable.").arg(file);
        break;
    case Kind::AccessFile:
        text = QStringLiteral("Le fichier « %1 » est une base Access : il doit d'abord être converti en base SQLite "
                              "pour être utilisé.")
                   .arg(file);
        break;
    default:
        text = QStringLiteral("La base de connaissances « %1 » n'a pas pu être lue : %2.").arg(file, reason(error));
    }
    const QString what = advice(error);
    return what.isEmpty() ? text : text + QStringLiteral("\n\n") + what;
}

void show(QWidget *parent, const DatabaseError &error)
{
    show(parent, text(error), error, Title);
}

void show(QWidget *parent, const QString &text, const DatabaseError &error, const QString &title)
{
    Beep::sound();
    MessageBox::show(parent, text, MessageBox::Buttons::Ok, MessageBox::Icon::Critical, title, error.engineMessage());
}

void showReplaced(QWidget *parent, const QString &path, bool visitEmptied)
{
    const QString file = QDir::toNativeSeparators(path);
    QString text =
        QFileInfo::exists(path)
            ? QStringLiteral("La base de connaissances « %1 » a été remplacée par un autre fichier pendant que "
                             "Tessavor était ouvert : Tessavor se sert désormais de ce fichier.")
                  .arg(file)
            : QStringLiteral("La base de connaissances « %1 » a été déplacée ou supprimée pendant que Tessavor était "
                             "ouvert.")
                  .arg(file);
    if (visitEmptied)
        text += QStringLiteral("\n\nLa visite en cours a été vidée, car ses signes venaient de l'ancienne base.");
    Beep::sound();
    MessageBox::show(parent, text, MessageBox::Buttons::Ok, MessageBox::Icon::Exclamation, Title);
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
