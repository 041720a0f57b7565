#pragma once

#include "DatabaseMessage.h"
#include "ListEntry.h"
#include "RegionalClock.h"

#include <QList>
#include <QString>

class PrinterCatalog;
class PrintSpooler;
struct PrintSetup;
class QPageLayout;
class QWidget;

// The print command and the PDF export. Printing asks for confirmation, then prints the visit
// report on the printer current at that moment. On Linux the report is written to a
// temporary PDF and handed to the spooler, whose answer is checked; elsewhere it goes
// through QPrinter. Without a printer, or when the spooler refuses the job, the report can
// be saved as a PDF file instead. Failures are told in French; none leaves the busy pointer
// behind, and nothing is printed half.
class PrintCommand
{
public:
    // Printed: the printer took the job; Saved: the report went to a PDF file instead.
    enum class Outcome { Cancelled, Printed, Saved, Failed };

    // `spooler` may be null: the report then goes through QPrinter.
    PrintCommand(const PrinterCatalog &printers, PrintSpooler *spooler, const PrintSetup &setup,
                 RegionalClock clock = {});

    Outcome run(QWidget *parent, const QList<ListEntry> &signes, const QList<ListEntry> &syndromes,
                const QString &databasePath);
    // Asks for a file and writes the report there, with no question before.
    Outcome exportPdf(QWidget *parent, const QList<ListEntry> &signes, const QList<ListEntry> &syndromes,
                      const QString &databasePath);

    // The step taken before telling a failure of the knowledge base: the import's offer for
    // an Access file found there.
    void setImportOffer(DatabaseMessage::ImportOffer offer) { m_offerImport = std::move(offer); }

    // The file proposed for the PDF: "Visite 2026-12-05 14-05.pdf" in the documents folder
    // (the home folder when there is none).
    QString proposedPdfPath(const QDateTime &when) const;

private:
    struct Report;

    // The report of the lists as they are, read at this moment.
    Report reportNow(const QList<ListEntry> &signes, const QList<ListEntry> &syndromes,
                     const QString &databasePath) const;
    Outcome savePdf(QWidget *parent, const Report &report, const QPageLayout &layout);
    Outcome failed(QWidget *parent, const std::exception &error);

    const PrinterCatalog &m_printers;
    PrintSpooler *m_spooler;
    const PrintSetup &m_setup;
    RegionalClock m_clock;
    DatabaseMessage::ImportOffer m_offerImport;
};
