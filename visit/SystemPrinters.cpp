#include "SystemPrinters.h"

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
