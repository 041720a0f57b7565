#include "PrintCommand.h"

#include "Beep.h"
#include "BusyPointer.h"
#include "DatabaseError.h"
#include "DatabaseMessage.h"
#include "MessageBox.h"
#include "PrintDialogs.h"
#include "PrintFailure.h"
#include "PrintSetup.h"
#include "PrinterChoice.h"
#include "PrinterDevice.h"
#include "SpoolJob.h"
#include "VisitReport.h"
#include "VisitRules.h"

#include <QDir>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStandardPaths>

namespace {

const QString PrintTitle = QStringLiteral("Opération d'impression");

} // namespace

// One report, read at one moment: the header, the PDF's title and the job's name all carry
// the same date and time.
struct PrintCommand::Report {
    QList<ListEntry> signes;
    QList<ListEntry> syndromes;
    QString databasePath;
    RegionalClock clock; // stopped at the moment of the command
    QDateTime when;
    QString name;

    // Prints the report on `printer`, laid out on `layout`, under the document's name.
    void printOn(QPrinter &printer, const QPageLayout &layout) const
    {
        printer.setPageLayout(layout);
        printer.setDocName(name);
        PrinterDevice device(printer);
        VisitReport(signes, syndromes, databasePath, clock, device).print();
    }

    void writePdf(const QString &path, const QPageLayout &layout) const
    {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        printOn(printer, layout);
    }
};

PrintCommand::PrintCommand(const PrinterCatalog &printers, PrintSpooler *spooler, const PrintSetup &setup,
                           RegionalClock clock)
    : m_printers(printers), m_spooler(spooler), m_setup(setup), m_clock(std::move(clock))
{}

QString PrintCommand::proposedPdfPath(const QDateTime &when) const
{
    const QString folder =
        VisitRules::pdfFolder(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation), QDir::homePath());
    return QDir(folder).filePath(VisitRules::pdfFileName(when));
}

PrintCommand::Outcome PrintCommand::failed(QWidget *parent, const std::exception &error)
{
    if (const auto *database = dynamic_cast<const DatabaseError *>(&error)) {
        if (!m_offerImport || !m_offerImport(*database))
            DatabaseMessage::show(parent, *database);
    } else if (const auto *failure = dynamic_cast<const PrintFailure *>(&error)) {
        Beep::sound();
        MessageBox::show(parent, VisitRules::printFailureText(*failure), MessageBox::Buttons::Ok,
                         MessageBox::Icon::Critical, PrintTitle);
    }
    return Outcome::Failed;
}

PrintCommand::Outcome PrintCommand::savePdf(QWidget *parent, const Report &report, const QPageLayout &layout)
{
    const QString path =
        PrintDialogs::saveFileName(parent, QStringLiteral("Enregistrer la visite"), proposedPdfPath(report.when),
                                   QStringLiteral("Documents PDF (*.pdf)"));
    if (path.isEmpty())
        return Outcome::Cancelled;
    try {
        BusyPointer::Scope busy;
        report.writePdf(VisitRules::withPdfSuffix(path), layout);
    } catch (const DatabaseError &error) {
        return failed(parent, error);
    } catch (const PrintFailure &error) {
        return failed(parent, error);
    }
    return Outcome::Saved;
}

PrintCommand::Report PrintCommand::reportNow(const QList<ListEntry> &signes, const QList<ListEntry> &syndromes,
                                             const QString &databasePath) const
{
    const QDateTime when = m_clock.now();
    const RegionalClock stopped{[when] { return when; }, m_clock.locale};
    return {signes, syndromes, databasePath, stopped, when, VisitRules::documentName(m_clock, when)};
}

PrintCommand::Outcome PrintCommand::exportPdf(QWidget *parent, const QList<ListEntry> &signes,
                                              const QList<ListEntry> &syndromes, const QString &databasePath)
{
    return savePdf(parent, reportNow(signes, syndromes, databasePath), m_setup.layout);
}

PrintCommand::Outcome PrintCommand::run(QWidget *parent, const QList<ListEntry> &signes,
                                        const QList<ListEntry> &syndromes, const QString &databasePath)
{
    if (MessageBox::show(parent, QStringLiteral("Impression de la visite en cours?"), MessageBox::Buttons::OkCancel,
                         MessageBox::Icon::Question, PrintTitle) != MessageBox::Answer::Ok)
        return Outcome::Cancelled;

    const Report report = reportNow(signes, syndromes, databasePath);

    const PrinterChoice choice = PrinterChoice::resolve(m_printers, m_setup.chosenPrinter);
    if (!choice.gone.isEmpty())
        MessageBox::show(parent, choice.goneText(), MessageBox::Buttons::Ok, MessageBox::Icon::Exclamation, PrintTitle);
    if (choice.kind != PrinterChoice::Kind::Printer) {
        if (MessageBox::show(parent, choice.pdfOfferText(), MessageBox::Buttons::OkCancel, MessageBox::Icon::Question,
                             PrintTitle) != MessageBox::Answer::Ok)
            return Outcome::Cancelled;
        return savePdf(parent, report, m_setup.layout);
    }

    const QPageLayout layout = m_setup.layoutFor(m_printers.defaultPaper(choice.printer));
    const QString paper = layout.pageSize().key();
    const QStringList papers = m_printers.papers(choice.printer);
    if (!papers.isEmpty() && !papers.contains(paper)) {
        Beep::sound();
        MessageBox::show(parent, VisitRules::missingPaperText(choice.printer, layout.pageSize().name()),
                         MessageBox::Buttons::Ok, MessageBox::Icon::Critical, PrintTitle);
        return Outcome::Failed;
    }

    SpoolJob::Result result{SpoolJob::Outcome::Accepted, {}};
    try {
        BusyPointer::Scope busy;
        if (m_spooler) {
            result = SpoolJob(*m_spooler, choice.printer, report.name, paper).run([&](const QString &path) {
                report.writePdf(path, layout);
            });
        } else {
            QPrinter printer(QPrinterInfo::printerInfo(choice.printer), QPrinter::HighResolution);
            report.printOn(printer, layout);
        }
    } catch (const DatabaseError &error) {
        return failed(parent, error);
    } catch (const PrintFailure &error) {
        return failed(parent, error);
    }
    if (result.outcome == SpoolJob::Outcome::Accepted)
        return Outcome::Printed;
    if (result.outcome == SpoolJob::Outcome::Paused) {
        MessageBox::show(parent, SpoolJob::pausedText(choice.printer), MessageBox::Buttons::Ok,
                         MessageBox::Icon::Exclamation, PrintTitle);
        return Outcome::Printed;
    }

    Beep::sound();
    if (MessageBox::show(parent, SpoolJob::refusalText(choice.printer, result), MessageBox::Buttons::OkCancel,
                         MessageBox::Icon::Critical, PrintTitle) != MessageBox::Answer::Ok)
        return Outcome::Failed;
    return savePdf(parent, report, layout) == Outcome::Saved ? Outcome::Saved : Outcome::Failed;
}
