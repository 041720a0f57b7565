#include "PageSetup.h"

#include "PrintDialogs.h"
#include "PrintSetup.h"
#include "PrinterChoice.h"

void PageSetup::run(QWidget *parent)
{
    const PrinterChoice current = PrinterChoice::resolve(m_printers, m_setup.chosenPrinter);
    const PageChoice initial{current.printer, m_setup.layoutFor(m_printers.defaultPaper(current.printer))};
    const std::optional<PageChoice> choice = PrintDialogs::pageSetup(
        parent, m_printers.printerNames(), [this](const QString &printer) { return m_printers.papers(printer); },
        initial);
    if (!choice)
        return;
    // Leaving the printer as it was keeps following the default; picking one holds it, and so
    // does confirming a replacement for a chosen printer that has gone.
    if (choice->printer != current.printer || !current.gone.isEmpty())
        m_setup.chosenPrinter = choice->printer;
    m_setup.layout = choice->layout;
    m_setup.pageChosen = true;
}
