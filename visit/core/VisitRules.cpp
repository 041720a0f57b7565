#include "VisitRules.h"

#include "PrintFailure.h"
#include "RegionalClock.h"

#include <QDir>
#include <QFileInfo>

namespace VisitRules {

Command commandForKey(const QString &key)
{
    static const std::pair<QLatin1StringView, Command> keys[] = {
        {QLatin1StringView("New"), Command::New},        {QLatin1StringView("Open"), Command::Open},
        {QLatin1StringView("Save"), Command::Save},      {QLatin1StringView("Print"), Command::Print},
        {QLatin1StringView("Cut"), Command::Cut},        {QLatin1StringView("Carnet"), Command::Carnet},
        {QLatin1StringView("Visites"), Command::Visites}};
    for (const auto &[name, command] : keys)
        if (key == name)
            return command;
    return Command::None;
}

QString saveMessage(int recordedSigns)
{
    return recordedSigns == 0 ? QStringLiteral("Il n'y a rien à sauvegarder !")
                              : QStringLiteral("Pas de visite en cours !");
}

QString pdfFileName(const QDateTime &when)
{
    return QStringLiteral("Visite ") + when.toString(QStringLiteral("yyyy-MM-dd HH-mm")) + QStringLiteral(".pdf");
}

QString documentName(const RegionalClock &clock, const QDateTime &when)
{
    return QStringLiteral("Visite du ") + clock.dateText(when) + QStringLiteral(" à ") + clock.timeText(when);
}

QString pdfFolder(const QString &documents, const QString &home)
{
    return !documents.isEmpty() && QFileInfo(documents).isDir() ? documents : home;
}

QString missingPaperText(const QString &printer, const QString &paper)
{
    return QStringLiteral("L'imprimante « %1 » n'a pas de papier « %2 » : la visite n'a pas été imprimée.\n\n"
                          "Choisissez un autre papier ou une autre imprimante dans Fichier > Mise en page...")
        .arg(printer, paper);
}

QString withPdfSuffix(const QString &path)
{
    return path.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive) ? path : path + QStringLiteral(".pdf");
}

QString printFailureText(const PrintFailure &failure)
{
    const QString target = failure.toFile() ? QDir::toNativeSeparators(failure.target()) : failure.target();
    if (failure.toFile()) {
        if (failure.stage() == PrintFailure::Stage::Start)
            return QStringLiteral("Le fichier « %1 » n'a pas pu être créé.\n\n"
                                  "Vérifiez que le dossier existe et que vous avez le droit d'y écrire.")
                .arg(target);
        return QStringLiteral("Le fichier « %1 » n'a pas pu être écrit en entier.").arg(target);
    }
    if (failure.stage() == PrintFailure::Stage::Start)
        return QStringLiteral("L'impression n'a pas pu commencer sur l'imprimante « %1 ».").arg(target);
    return QStringLiteral("L'impression sur l'imprimante « %1 » n'a pas pu être terminée.").arg(target);
}

} // namespace VisitRules
