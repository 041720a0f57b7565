#pragma once

#include <QString>
#include <QStringList>

// The printers the system offers at this moment. Asked afresh at every print, since
// printers come and go while the program runs.
class PrinterCatalog
{
public:
    virtual ~PrinterCatalog() = default;

    virtual QStringList printerNames() const = 0;
    // The system's default printer, or an empty string when none is set.
    virtual QString defaultPrinter() const = 0;
    // The papers a printer takes, by their short names ("A4", "A5", "Letter"); empty when
    // the system does not say.
    virtual QStringList papers(const QString &printer) const = 0;
    // The paper a printer takes when told nothing, or an empty string when unknown.
    virtual QString defaultPaper(const QString &printer) const = 0;
    // Whether the printing service answers at all: without it the list is empty, whatever
    // is installed.
    virtual bool serviceAnswers() const { return true; }

protected:
    PrinterCatalog() = default;
    PrinterCatalog(const PrinterCatalog &) = default;
    PrinterCatalog &operator=(const PrinterCatalog &) = default;
};

// Which printer a print goes to: the one chosen in the page set-up during this run while it
// is still installed, else the system's default at that moment. Without either, the report
// can only be saved as PDF.
struct PrinterChoice {
    enum class Kind {
        Printer,   // print on `printer`
        NoPrinter, // nothing installed
        NoDefault, // printers installed, none chosen and none set as the default
        NoService  // the printing service does not answer, so no printer is known
    };

    Kind kind = Kind::NoPrinter;
    QString printer;
    // The chosen printer that is no longer installed; the practitioner is told.
    QString gone;

    static PrinterChoice resolve(const PrinterCatalog &catalog, const QString &chosen);

    // What the practitioner reads when the chosen printer has gone.
    QString goneText() const;
    // The question that offers the PDF file when there is no printer to print on.
    QString pdfOfferText() const;
};
