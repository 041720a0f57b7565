#pragma once

class PrinterCatalog;
struct PrintSetup;
class QWidget;

// The page set-up command: chooses the printer the next prints go to, and the page they are
// laid out on. Annuler changes nothing.
class PageSetup
{
public:
    PageSetup(const PrinterCatalog &printers, PrintSetup &setup) : m_printers(printers), m_setup(setup) {}

    void run(QWidget *parent);

private:
    const PrinterCatalog &m_printers;
    PrintSetup &m_setup;
};
