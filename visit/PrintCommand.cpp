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
#include "VisitRules.h"

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

} // namespace

PrintCommand::PrintCommand(SessionPrinter &printer, RegionalClock clock, DeviceFactory makeDevice)
    : m_printer(printer), m_clock(std::move(clock)), m_makeDevice(std::move(makeDevice))
{
    if (!m_makeDevice)
        m_makeDevice = [](QPrinter &target) { return std::make_unique<PrinterDevice>(target); };
}

QString PrintCommand::proposedPdfPath() const
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
        .filePath(VisitRules::pdfFileName(m_clock.now()));
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
    const QString path = PrintDialogs::saveFileName(parent, QStringLiteral("Enregistrer la visite"), proposedPdfPath(),
                                                    QStringLiteral("Documents PDF (*.pdf)"));
    if (path.isEmpty())
        return false;
    QPrinter &printer = m_printer.printer();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(VisitRules::withPdfSuffix(path));
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
        const std::unique_ptr<PrintDevice> device = m_makeDevice(m_printer.printer());
        VisitReport(signes, syndromes, databasePath, m_clock, *device).print();
    } catch (const DatabaseError &error) {
        DatabaseMessage::show(parent, error);
        return Outcome::Failed;
    } catch (const PrintFailure &failure) {
        Beep::sound();
        MessageBox::show(parent, VisitRules::printFailureText(failure), MessageBox::Buttons::Ok,
                         MessageBox::Icon::Critical, PrintTitle);
        return Outcome::Failed;
    }
    return Outcome::Printed;
}
