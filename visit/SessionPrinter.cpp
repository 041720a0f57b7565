#include "SessionPrinter.h"

#include <QMarginsF>
#include <QPageLayout>
#include <QPrinter>
#include <QPrinterInfo>

SessionPrinter::SessionPrinter() = default;

SessionPrinter::SessionPrinter(bool printerInstalled) : m_printerInstalled(printerInstalled) {}

SessionPrinter::~SessionPrinter() = default;

bool SessionPrinter::anyPrinterInstalled()
{
    return !QPrinterInfo::availablePrinters().isEmpty();
}

bool SessionPrinter::printerInstalled()
{
    if (!m_printerInstalled)
        m_printerInstalled = anyPrinterInstalled();
    return *m_printerInstalled;
}

QPrinter &SessionPrinter::printer()
{
    if (!m_printer) {
        if (printerInstalled()) {
            m_printer = std::make_unique<QPrinter>(QPrinterInfo::defaultPrinter(), QPrinter::HighResolution);
        } else {
            m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
            m_printer->setOutputFormat(QPrinter::PdfFormat);
            // A file has no unprintable edge; give it the margin a printer would have.
            m_printer->setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
        }
    }
    return *m_printer;
}
