#include "PrintCommand.h"

#include "Beep.h"
#include "BusyPointer.h"
#include "DatabaseError.h"
#include "DatabaseMessage.h"
#include "MessageBox.h"
#include "PrintDialogs.h"
#include "PrintFailure.h"
#include "PrinterDevice.h"
#include "SessionPrinter.h"
#include "VisitReport.h"

#include <QDir>
#include <QPrinter>
#include <QStandardPaths>

namespace {

const QString PrintTitle = QStringLiteral("Opération d'impression");

// Leaves the default pointer however the work ends.
struct BusyScope {
    BusyScope() { BusyPointer::setBusy(); }
    ~BusyScope() { BusyPointer::setDefault(); }
    Q_DISABLE_COPY_MOVE(BusyScope)
};

QString failureText(const PrintFailure &failure)
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

} // namespace

PrintCommand::PrintCommand(SessionPrinter &printer, RegionalClock clock) : m_printer(printer), m_clock(std::move(clock))
{}

QString PrintCommand::proposedPdfPath() const
{
    const QString name =
        QStringLiteral("Visite ") + m_clock.now().toString(QStringLiteral("yyyy-MM-dd HH-mm")) + QStringLiteral(".pdf");
    return QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)).filePath(name);
}

bool PrintCommand::choosePdfFile(QWidget *parent)
{
    const MessageBox::Answer answer =
        MessageBox::show(parent,
                         QStringLiteral("Aucune imprimante n'est installée sur cet ordinateur.\n\n"
                                        "Voulez-vous enregistrer la visite dans un fichier PDF ?"),
                         MessageBox::Buttons::OkCancel, MessageBox::Icon::Question, PrintTitle);
    if (answer != MessageBox::Answer::Ok)
        return false;
    QString path = PrintDialogs::saveFileName(parent, QStringLiteral("Enregistrer la visite"), proposedPdfPath(),
                                              QStringLiteral("Documents PDF (*.pdf)"));
    if (path.isEmpty())
        return false;
    if (!path.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
        path += QStringLiteral(".pdf");
    QPrinter &printer = m_printer.printer();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    return true;
}

PrintCommand::Outcome PrintCommand::run(QWidget *parent, const QList<ListEntry> &signes,
                                        const QList<ListEntry> &syndromes, const QString &databasePath)
{
    if (MessageBox::show(parent, QStringLiteral("Impression de la visite en cours?"), MessageBox::Buttons::OkCancel,
                         MessageBox::Icon::Question, PrintTitle) != MessageBox::Answer::Ok)
        return Outcome::Cancelled;
    if (!m_printer.printerInstalled() && !choosePdfFile(parent))
        return Outcome::Cancelled;

    try {
        BusyScope busy;
        PrinterDevice device(m_printer.printer());
        VisitReport(signes, syndromes, databasePath, m_clock, device).print();
    } catch (const DatabaseError &error) {
        DatabaseMessage::show(parent, error);
        return Outcome::Failed;
    } catch (const PrintFailure &failure) {
        Beep::sound();
        MessageBox::show(parent, failureText(failure), MessageBox::Buttons::Ok, MessageBox::Icon::Critical, PrintTitle);
        return Outcome::Failed;
    }
    return Outcome::Printed;
}
