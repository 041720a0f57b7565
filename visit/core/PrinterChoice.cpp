#include "PrinterChoice.h"

PrinterChoice PrinterChoice::resolve(const PrinterCatalog &catalog, const QString &chosen)
{
    const QStringList names = catalog.printerNames();
    PrinterChoice choice;
    // The chosen printer is not gone: the service that would list it is.
    if (names.isEmpty() && !catalog.serviceAnswers()) {
        choice.kind = Kind::NoService;
        return choice;
    }
    if (!chosen.isEmpty()) {
        if (names.contains(chosen)) {
            choice.kind = Kind::Printer;
            choice.printer = chosen;
            return choice;
        }
        choice.gone = chosen;
    }
    const QString fallback = catalog.defaultPrinter();
    if (!fallback.isEmpty() && names.contains(fallback)) {
        choice.kind = Kind::Printer;
        choice.printer = fallback;
    } else {
        choice.kind = names.isEmpty() ? Kind::NoPrinter : Kind::NoDefault;
    }
    return choice;
}

QString PrinterChoice::goneText() const
{
    QString text = QStringLiteral("L'imprimante « %1 » choisie dans la mise en page n'est plus installée.").arg(gone);
    if (kind == Kind::Printer)
        text += QStringLiteral("\n\nLa visite sera imprimée sur l'imprimante par défaut « %1 ».").arg(printer);
    return text;
}

QString PrinterChoice::pdfOfferText() const
{
    const QString question = QStringLiteral("\n\nVoulez-vous enregistrer la visite dans un fichier PDF ?");
    if (kind == Kind::NoService)
        return QStringLiteral("Le service d'impression de cet ordinateur ne répond pas : la visite ne peut pas être "
                              "imprimée pour le moment.") +
               question;
    if (kind == Kind::NoDefault)
        return QStringLiteral("Aucune imprimante par défaut n'est définie sur cet ordinateur. Vous pouvez en "
                              "choisir une dans Fichier > Mise en page...") +
               question;
    return QStringLiteral("Aucune imprimante n'est installée sur cet ordinateur.") + question;
}
