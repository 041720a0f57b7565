#pragma once

#include "PrinterChoice.h"

// The printers as the platform lists them at this moment (QPrinterInfo asks the spooler
// each time).
class SystemPrinters final : public PrinterCatalog
{
public:
    QStringList printerNames() const override;
    QString defaultPrinter() const override;
    QStringList papers(const QString &printer) const override;
    QString defaultPaper(const QString &printer) const override;
    bool serviceAnswers() const override;
};
