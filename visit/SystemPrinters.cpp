#include "SystemPrinters.h"

#ifdef TESSAVOR_HAVE_CUPS
#include "CupsSpooler.h"
#endif

#include <QPageSize>
#include <QPrinterInfo>

QStringList SystemPrinters::printerNames() const
{
    return QPrinterInfo::availablePrinterNames();
}

QString SystemPrinters::defaultPrinter() const
{
    return QPrinterInfo::defaultPrinterName();
}

QStringList SystemPrinters::papers(const QString &printer) const
{
    QStringList keys;
    for (const QPageSize &size : QPrinterInfo::printerInfo(printer).supportedPageSizes())
        keys.append(size.key());
    return keys;
}

QString SystemPrinters::defaultPaper(const QString &printer) const
{
    const QPageSize size = QPrinterInfo::printerInfo(printer).defaultPageSize();
    return size.isValid() ? size.key() : QString();
}

bool SystemPrinters::serviceAnswers() const
{
#ifdef TESSAVOR_HAVE_CUPS
    return CupsSpooler::answers();
#else
    return true;
#endif
}
