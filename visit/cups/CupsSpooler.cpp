#include "CupsSpooler.h"

#include <QFile>

#include <cups/cups.h>

namespace {

// cupsPrintFile2 looks the queue up before it sends anything, and when that fails it
// answers a bare internal error whatever the cause. Asking again, step by step, tells an
// unreachable spooler from a queue it does not know.
void diagnose(const QByteArray &printer)
{
    http_t *http = httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1, 10000, nullptr);
    if (!http)
        return; // libcups has set the service-unavailable answer
    cupsGetNamedDest(http, printer.constData(), nullptr);
    httpClose(http);
}

} // namespace

int CupsSpooler::printFile(const QString &printer, const QString &file, const QString &jobName, const Options &options)
{
    const QByteArray name = printer.toUtf8();
    cups_option_t *cupsOptions = nullptr;
    int count = 0;
    for (const auto &[option, value] : options)
        count = cupsAddOption(option.toUtf8().constData(), value.toUtf8().constData(), count, &cupsOptions);
    const int job = cupsPrintFile2(CUPS_HTTP_DEFAULT, name.constData(), QFile::encodeName(file).constData(),
                                   jobName.toUtf8().constData(), count, cupsOptions);
    cupsFreeOptions(count, cupsOptions);
    if (job > 0) {
        m_lastError = 0;
        m_lastErrorString.clear();
        return job;
    }
    if (cupsLastError() == IPP_STATUS_ERROR_INTERNAL)
        diagnose(name);
    m_lastError = int(cupsLastError());
    m_lastErrorString = QString::fromUtf8(cupsLastErrorString());
    return 0;
}

int CupsSpooler::printerState(const QString &printer) const
{
    cups_dest_t *dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, printer.toUtf8().constData(), nullptr);
    if (!dest)
        return 0;
    const char *state = cupsGetOption("printer-state", dest->num_options, dest->options);
    const int value = state ? QByteArray(state).toInt() : 0;
    cupsFreeDests(1, dest);
    return value;
}

bool CupsSpooler::answers()
{
    http_t *http = httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1, 5000, nullptr);
    if (!http)
        return false;
    httpClose(http);
    return true;
}
