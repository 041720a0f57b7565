#include "PageSetup.h"

#include "PrintDialogs.h"
#include "SessionPrinter.h"

void PageSetup::run(QWidget *parent)
{
    PrintDialogs::pageSetup(parent, m_printer.printer());
}
