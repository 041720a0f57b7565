#include "JetImportText.h"

#include "DatabaseError.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QLocale>

#include <functional>

namespace JetImportText {

namespace {

using Kind = DatabaseError::Kind;
using Detail = DatabaseError::Detail;

// A long list is cut: the practitioner needs to see the kind of fault, not a thousand lines.
constexpr qsizetype MaxListed = 12;

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

QString number(qint64 n)
{
    return QLocale(QLocale::French).toString(n);
}

QString list(const QList<Detail> &details, const std::function<QString(const Detail &)> &line)
{
    QStringList lines;
    for (qsizetype i = 0; i < details.size() && i < MaxListed; ++i)
        lines.append(QStringLiteral("- ") + line(details[i]));
    if (details.size() > MaxListed)
        lines.append(QStringLiteral("- et %1 autres.").arg(number(details.size() - MaxListed)));
    return lines.join(QLatin1Char('\n'));
}

QString frenchType(const QString &accessType)
{
    static const QHash<QString, QString> names{
        {QStringLiteral("Yes/No"), QStringLiteral("Oui/Non")},
        {QStringLiteral("Byte"), QStringLiteral("Octet")},
        {QStringLiteral("Integer"), QStringLiteral("Entier")},
        {QStringLiteral("Long Integer"), QStringLiteral("Entier long")},
        {QStringLiteral("Currency"), QStringLiteral("Monétaire")},
        {QStringLiteral("Single"), QStringLiteral("Réel simple")},
        {QStringLiteral("Double"), QStringLiteral("Réel double")},
        {QStringLiteral("Date/Time"), QStringLiteral("Date/Heure")},
        {QStringLiteral("Binary"), QStringLiteral("Binaire")},
        {QStringLiteral("Text"), QStringLiteral("Texte")},
        {QStringLiteral("OLE Object"), QStringLiteral("Objet OLE")},
        {QStringLiteral("Memo"), QStringLiteral("Mémo")},
        {QStringLiteral("Replication ID"), QStringLiteral("N° de réplication")},
        {QStringLiteral("Decimal"), QStringLiteral("Décimal")},
    };
    return names.value(accessType, accessType);
}

const QString Unchanged = QStringLiteral("Aucun fichier n'a été modifié.");
const QString FixInAccess = QStringLiteral("Corrigez ces lignes avec Access, puis recommencez l'importation.");

// The texts that could not be read whole: the first few, with where they lie, so that the
// practitioner can check them.
QString alteredTexts(const QList<KnowledgeBaseRows::AlteredText> &texts)
{
    constexpr qsizetype Shown = 5;
    const bool one = texts.size() == 1;
    QStringList lines;
    lines.append(one ? QStringLiteral("1 texte contenait des caractères illisibles :")
                     : QStringLiteral("%1 textes contenaient des caractères illisibles :").arg(number(texts.size())));
    for (qsizetype i = 0; i < texts.size() && i < Shown; ++i)
        lines.append(QStringLiteral("- table « %1 », n° %2 : « %3 »")
                         .arg(texts[i].table, QString::number(texts[i].number), texts[i].text));
    if (texts.size() > Shown)
        lines.append(QStringLiteral("- et %1 autres.").arg(number(texts.size() - Shown)));
    lines.append(one ? QStringLiteral("Il a été repris tel qu'il a pu être lu, chaque caractère illisible remplacé par "
                                      "« \uFFFD » : vérifiez-le dans la base.")
                     : QStringLiteral("Ils ont été repris tels qu'ils ont pu être lus, chaque caractère illisible "
                                      "remplacé par « \uFFFD » : vérifiez-les dans la base."));
    return lines.join(QLatin1Char('\n'));
}

} // namespace

QString question(const KnowledgeBaseImport::Question &q)
{
    QStringList parts;
    const QString visit = QStringLiteral("La visite en cours sera vidée, car ses signes viennent de l'ancienne base.");
    if (q.inPlace()) {
        parts.append(QStringLiteral("Le fichier « %1 » est une base Access : Tessavor doit d'abord la convertir "
                                    "pour s'en servir.")
                         .arg(native(q.source)));
        QString kept = QStringLiteral("La conversion ne perd rien : le fichier d'origine sera conservé sous le nom "
                                      "« %1 », à côté de la base convertie.")
                           .arg(native(q.keptCopy));
        if (q.emptiesVisit)
            kept += QLatin1Char(' ') + visit;
        parts.append(kept);
        parts.append(QStringLiteral("Voulez-vous la convertir maintenant ? Si vous annulez, le fichier reste tel "
                                    "quel et Tessavor ne pourra pas s'en servir."));
    } else {
        parts.append(QStringLiteral("La base Access « %1 » va remplacer la base de connaissances en usage, « %2 ».")
                         .arg(native(q.source), native(q.knowledgeBase)));
        QString kept = q.keptCopy.isEmpty()
                           ? QStringLiteral("Ce fichier est introuvable : la base importée prendra sa place.")
                           : QStringLiteral("La base actuelle sera conservée sous le nom « %1 », dans le même "
                                            "dossier.")
                                 .arg(native(q.keptCopy));
        if (q.emptiesVisit)
            kept += QLatin1Char(' ') + visit;
        parts.append(kept);
        parts.append(QStringLiteral("Voulez-vous importer cette base maintenant ?"));
    }
    return parts.join(QStringLiteral("\n\n"));
}

namespace {

const QString Repair = QStringLiteral("Réparez et compactez la base avec Access, ou reprenez-en une copie en bon état, "
                                      "puis recommencez l'importation.");

// "1 minute", "90 secondes".
QString duration(qint64 seconds)
{
    if (seconds % 60 == 0)
        return seconds == 60 ? QStringLiteral("1 minute") : QStringLiteral("%1 minutes").arg(number(seconds / 60));
    return seconds == 1 ? QStringLiteral("1 seconde") : QStringLiteral("%1 secondes").arg(number(seconds));
}

// The file is damaged: cut short, its structure unreadable, rows lost, or its reading stopped.
QString damagedFile(const DatabaseError &error, const QString &file, const Detail &first)
{
    switch (error.kind()) {
    case Kind::Truncated:
        if (first.table.isEmpty())
            return QStringLiteral("Le fichier Access « %1 » est incomplet : sa taille (%2 octets) n'est pas un nombre "
                                  "entier de pages de %3 octets. Il a sans doute été coupé lors d'une copie ; "
                                  "reprenez-en une copie complète.\n\n%4")
                .arg(file, number(first.value.toLongLong()), number(first.expected.toLongLong()), Unchanged);
        return QStringLiteral("Le fichier Access « %1 » est incomplet : la table « %2 » continue au-delà de la fin "
                              "du fichier. Il a sans doute été coupé lors d'une copie ; reprenez-en une copie "
                              "complète.\n\n%3")
            .arg(file, first.table, Unchanged);
    case Kind::RowCount:
        return QStringLiteral("Le fichier Access « %1 » est endommagé : la table « %2 » annonce %3 lignes, mais %4 "
                              "seulement ont pu être lues. %5\n\n%6")
            .arg(file, first.table, number(first.expected.toLongLong()), number(first.value.toLongLong()), Repair,
                 Unchanged);
    case Kind::JetDamaged: {
        static const QHash<QString, QString> parts{
            {QStringLiteral("header"), QStringLiteral("son en-tête ne peut pas être lu")},
            {QStringLiteral("catalogue"), QStringLiteral("la liste de ses tables ne peut pas être lue")},
            {QStringLiteral("definition"), QStringLiteral("la définition de la table « %1 » ne peut pas être lue")},
            {QStringLiteral("columns"), QStringLiteral("les colonnes de la table « %1 » ne peuvent pas être lues")},
            {QStringLiteral("usage map"), QStringLiteral("la liste des pages de la table « %1 » ne peut pas être lue")},
        };
        const QString what = parts.value(first.value, QStringLiteral("une ligne de la table « %1 » ne peut pas "
                                                                     "être lue"));
        return QStringLiteral("Le fichier Access « %1 » est endommagé : %2. %3\n\n%4")
            .arg(file, what.contains(QLatin1String("%1")) ? what.arg(first.table) : what, Repair, Unchanged);
    }
    default: // ReaderFailed
        if (first.value == QLatin1String("start"))
            return QStringLiteral("Le programme qui lit les bases Access, « %1 », n'a pas pu être lancé : "
                                  "l'installation de Tessavor est incomplète. Réinstallez Tessavor, puis recommencez "
                                  "l'importation.\n\n%2")
                .arg(native(first.expected), Unchanged);
        return QStringLiteral("Le fichier Access « %1 » est endommagé ou illisible : %2. %3\n\n%4")
            .arg(file,
                 first.value == QLatin1String("time-out")
                     ? QStringLiteral("sa lecture n'était pas finie au bout de %1")
                           .arg(duration(first.expected.toLongLong()))
                     : QStringLiteral("le programme qui le lit s'est arrêté avant la fin"),
                 Repair, Unchanged);
    }
}

// The file is sound but is not a knowledge base, or cannot be read at all.
QString wrongFile(const DatabaseError &error, const QString &file)
{
    const QList<Detail> &details = error.details();
    switch (error.kind()) {
    case Kind::NotAccessFile:
        return QStringLiteral("Le fichier « %1 » n'est pas une base Access : il ne peut pas être importé.").arg(file);
    case Kind::CannotRead:
        return QStringLiteral("Le fichier « %1 » ne peut pas être lu : Tessavor n'a pas le droit de l'ouvrir, ou le "
                              "disque qui le porte ne répond pas. Vérifiez que vous pouvez lire ce fichier (ou "
                              "copiez-le dans votre dossier personnel), puis recommencez l'importation.\n\n%2")
            .arg(file, Unchanged);
    case Kind::MissingTable:
        return QStringLiteral("Le fichier Access « %1 » n'est pas une base de connaissances : il y manque\n%2\n\n%3")
            .arg(file, list(details, [](const Detail &d) { return QStringLiteral("la table « %1 »").arg(d.table); }),
                 Unchanged);
    case Kind::MissingColumn:
        return QStringLiteral("Le fichier Access « %1 » ne peut pas être importé : il y manque\n%2\n\n%3")
            .arg(file,
                 list(details,
                      [](const Detail &d) {
                          return QStringLiteral("la colonne « %1 » de la table « %2 »").arg(d.column, d.table);
                      }),
                 Unchanged);
    default: // WrongType
        return QStringLiteral("Le fichier Access « %1 » ne peut pas être importé :\n%2\n\nChangez le type de ces "
                              "colonnes avec Access, puis recommencez l'importation. %3")
            .arg(file,
                 list(details,
                      [](const Detail &d) {
                          return QStringLiteral("la colonne « %1 » de la table « %2 » est de type « %3 » ; elle doit "
                                                "être %4")
                              .arg(d.column, d.table, frenchType(d.value),
                                   d.expected == QLatin1String("text")
                                       ? QStringLiteral("de type « Texte » ou « Mémo ».")
                                       : QStringLiteral("de type « Entier long », « Entier » ou « Octet »."));
                      }),
                 Unchanged);
    }
}

// Rows the practitioner corrects in Access.
QString rowsToMend(const DatabaseError &error, const QString &file)
{
    const QList<Detail> &details = error.details();
    switch (error.kind()) {
    case Kind::NullValue:
        return QStringLiteral("Le fichier Access « %1 » contient des lignes incomplètes :\n%2\n\n%3 %4")
            .arg(file,
                 list(details,
                      [](const Detail &d) {
                          const QString row = d.context.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(d.context);
                          return QStringLiteral("table « %1 » : la colonne « %2 » est vide%3")
                              .arg(d.table, d.column, row);
                      }),
                 FixInAccess, Unchanged);
    case Kind::DuplicateKey:
        return QStringLiteral("Le fichier Access « %1 » contient des numéros en double :\n%2\n\nChaque numéro ne "
                              "doit désigner qu'une ligne. %3 %4")
            .arg(file,
                 list(details,
                      [](const Detail &d) {
                          return QStringLiteral("table « %1 » : %2 %3 figure plusieurs fois")
                              .arg(d.table, d.column, d.value);
                      }),
                 FixInAccess, Unchanged);
    default: // MissingReference
        return QStringLiteral("Le fichier Access « %1 » contient des liens ou des poids qui renvoient à un signe ou "
                              "à un syndrome absent :\n%2\n\nCorrigez ou supprimez ces lignes avec Access, puis "
                              "recommencez l'importation. %3")
            .arg(file,
                 list(details,
                      [](const Detail &d) {
                          const QString what = d.column == QLatin1String("NumSyndrome")
                                                   ? QStringLiteral("le syndrome n° %1 n'existe pas")
                                                   : QStringLiteral("le signe n° %1 n'existe pas");
                          return QStringLiteral("table « %1 » : %2 (%3)").arg(d.table, what.arg(d.value), d.context);
                      }),
                 Unchanged);
    }
}

// Writing the converted file and the renames.
QString fileOperation(const DatabaseError &error, const Detail &first)
{
    switch (error.kind()) {
    case Kind::NoSpace:
        return QStringLiteral("La base convertie n'a pas pu être écrite dans « %1 » : le disque est plein. Libérez de "
                              "la place sur le disque, puis recommencez l'importation.\n\n%2")
            .arg(native(first.value), Unchanged);
    case Kind::WriteFailed:
        return QStringLiteral("La base convertie n'a pas pu être écrite dans « %1 » :\n%2\n\n%3")
            .arg(native(first.value), error.engineMessage(), Unchanged);
    case Kind::CheckFailed:
        return QStringLiteral("La base convertie ne s'est pas relue comme elle avait été écrite dans « %1 » :\n%2\n\n"
                              "%3")
            .arg(native(first.value), error.engineMessage(), Unchanged);
    case Kind::RenameFailed:
        return QStringLiteral("Le fichier « %1 » n'a pas pu être renommé en « %2 » :\n%3\n\n%4")
            .arg(native(first.value), native(first.expected), error.engineMessage(), Unchanged);
    default: // RestoreFailed
        return QStringLiteral("L'importation a échoué, et le fichier « %1 » n'a pas pu reprendre son nom :\n%2\n\n"
                              "Il n'est pas perdu : renommez-le vous-même « %3 ».")
            .arg(native(first.value), error.engineMessage(), QFileInfo(first.expected).fileName());
    }
}

} // namespace

QString problem(const DatabaseError &error)
{
    const QString file = native(error.path());
    const Detail first = error.details().value(0);
    switch (error.kind()) {
    case Kind::Truncated:
    case Kind::RowCount:
    case Kind::JetDamaged:
    case Kind::ReaderFailed:
        return damagedFile(error, file, first);
    case Kind::NotAccessFile:
    case Kind::CannotRead:
    case Kind::MissingTable:
    case Kind::MissingColumn:
    case Kind::WrongType:
        return wrongFile(error, file);
    case Kind::NullValue:
    case Kind::DuplicateKey:
    case Kind::MissingReference:
        return rowsToMend(error, file);
    case Kind::NoSpace:
    case Kind::WriteFailed:
    case Kind::CheckFailed:
    case Kind::RenameFailed:
    case Kind::RestoreFailed:
        return fileOperation(error, first);
    default:
        return QStringLiteral("Le fichier « %1 » n'a pas pu être importé :\n%2\n\n%3")
            .arg(file, error.engineMessage(), Unchanged);
    }
}

QString summary(const JetImport::Summary &s)
{
    QStringList parts;
    const bool inPlace = s.source == s.knowledgeBase;
    if (inPlace)
        parts.append(
            QStringLiteral("La base Access « %1 » (Jet %2) a été convertie.").arg(native(s.source)).arg(s.version));
    else
        parts.append(
            QStringLiteral("La base Access « %1 » (Jet %2) remplace désormais la base de connaissances « %3 ».")
                .arg(native(s.source))
                .arg(s.version)
                .arg(native(s.knowledgeBase)));
    parts.append(
        QStringLiteral("Catégories : %1\nModalités : %2\nSyndromes : %3\nLiens (Modalité-Syndrome) : %4\n"
                       "Poids (Valorisation) : %5")
            .arg(number(s.categories), number(s.modalities), number(s.syndromes), number(s.links), number(s.weights)));
    if (!s.otherTables.isEmpty())
        parts.append(QStringLiteral("Tables non reprises : %1.").arg(s.otherTables.join(QStringLiteral(", "))));
    if (!s.otherColumns.isEmpty())
        parts.append(QStringLiteral("Colonnes non reprises : %1.").arg(s.otherColumns.join(QStringLiteral(", "))));
    if (s.weightsDiffering > 0) {
        const bool one = s.weightsDiffering == 1;
        parts.append(
            (one ? QStringLiteral("1 poids diffère de la règle des poids")
                 : QStringLiteral("%1 poids diffèrent de la règle des poids").arg(number(s.weightsDiffering))) +
            QStringLiteral(" (10 moins le nombre de liens du signe, 1 à partir de dix liens). ") +
            (one ? QStringLiteral("Il a été repris tel quel ; pour le recalculer")
                 : QStringLiteral("Ils ont été repris tels quels ; pour les recalculer")) +
            QStringLiteral(", choisissez « Régénérer la base » dans le menu Fichier."));
    }
    if (!s.alteredTexts.isEmpty())
        parts.append(alteredTexts(s.alteredTexts));
    if (!s.keptCopy.isEmpty())
        parts.append((inPlace ? QStringLiteral("Le fichier Access d'origine est conservé sous le nom « %1 ».")
                              : QStringLiteral("L'ancienne base est conservée sous le nom « %1 »."))
                         .arg(native(s.keptCopy)));
    return parts.join(QStringLiteral("\n\n"));
}

} // namespace JetImportText
