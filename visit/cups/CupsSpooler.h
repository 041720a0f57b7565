#pragma once

#include "PrintSpooler.h"

// The spooler through libcups, on the server libcups is set to use (CUPS_SERVER, the
// client's configuration, else the local one).
class CupsSpooler final : public PrintSpooler
{
public:
    int printFile(const QString &printer, const QString &file, const QString &jobName, const Options &options) override;
    int lastError() const override { return m_lastError; }
    QString lastErrorString() const override { return m_lastErrorString; }
    int printerState(const QString &printer) const override;

    // Whether the spooler answers at all.
    static bool answers();

private:
    int m_lastError = 0;
    QString m_lastErrorString;
};
