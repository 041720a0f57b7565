#include "CupsSpooler.h"

#include <QFile>
#include <QLibrary>

#include <cups/cups.h>

namespace {

// libcups is loaded when the first report goes to a printer, not with the program: with the
// libraries it brings along (TLS, Kerberos, service discovery) it cost about a tenth of the
// start-up, for a report printed now and then. Its declarations give the calls' types.
struct Cups {
    decltype(&::cupsAddOption) addOption = nullptr;
    decltype(&::cupsFreeOptions) freeOptions = nullptr;
    decltype(&::cupsPrintFile2) printFile2 = nullptr;
    decltype(&::cupsLastError) lastError = nullptr;
    decltype(&::cupsLastErrorString) lastErrorString = nullptr;
    decltype(&::cupsServer) server = nullptr;
    decltype(&::cupsEncryption) encryption = nullptr;
    decltype(&::cupsGetNamedDest) getNamedDest = nullptr;
    decltype(&::cupsGetOption) getOption = nullptr;
    decltype(&::cupsFreeDests) freeDests = nullptr;
    decltype(&::ippPort) port = nullptr;
    decltype(&::httpConnect2) connect = nullptr;
    decltype(&::httpClose) close = nullptr;
    QString failure; // why the library could not be used; empty when it can

    static const Cups &library()
    {
        static const Cups cups = load();
        return cups;
    }

private:
    static Cups load()
    {
        Cups c;
        QLibrary library(QStringLiteral("cups"), 2);
        if (!library.load()) {
            c.failure = library.errorString();
            return c;
        }
        const auto resolve = [&library, &c](auto &function, const char *name) {
            function = reinterpret_cast<std::remove_reference_t<decltype(function)>>(library.resolve(name));
            if (!function && c.failure.isEmpty())
                c.failure = library.errorString();
        };
        resolve(c.addOption, "cupsAddOption");
        resolve(c.freeOptions, "cupsFreeOptions");
        resolve(c.printFile2, "cupsPrintFile2");
        resolve(c.lastError, "cupsLastError");
        resolve(c.lastErrorString, "cupsLastErrorString");
        resolve(c.server, "cupsServer");
        resolve(c.encryption, "cupsEncryption");
        resolve(c.getNamedDest, "cupsGetNamedDest");
        resolve(c.getOption, "cupsGetOption");
        resolve(c.freeDests, "cupsFreeDests");
        resolve(c.port, "ippPort");
        resolve(c.connect, "httpConnect2");
        resolve(c.close, "httpClose");
        return c;
    }
};

// cupsPrintFile2 looks the queue up before it sends anything, and when that fails it
// answers a bare internal error whatever the cause. Asking again, step by step, tells an
// unreachable spooler from a queue it does not know.
void diagnose(const Cups &cups, const QByteArray &printer)
{
    http_t *http = cups.connect(cups.server(), cups.port(), nullptr, AF_UNSPEC, cups.encryption(), 1, 10000, nullptr);
    if (!http)
        return; // libcups has set the service-unavailable answer
    cups.getNamedDest(http, printer.constData(), nullptr);
    cups.close(http);
}

} // namespace

int CupsSpooler::printFile(const QString &printer, const QString &file, const QString &jobName, const Options &options)
{
    const Cups &cups = Cups::library();
    if (!cups.failure.isEmpty()) {
        // Without its library the spooler cannot be reached at all.
        m_lastError = IPP_STATUS_ERROR_SERVICE_UNAVAILABLE;
        m_lastErrorString = cups.failure;
        return 0;
    }
    const QByteArray name = printer.toUtf8();
    cups_option_t *cupsOptions = nullptr;
    int count = 0;
    for (const auto &[option, value] : options)
        count = cups.addOption(option.toUtf8().constData(), value.toUtf8().constData(), count, &cupsOptions);
    const int job = cups.printFile2(CUPS_HTTP_DEFAULT, name.constData(), QFile::encodeName(file).constData(),
                                    jobName.toUtf8().constData(), count, cupsOptions);
    cups.freeOptions(count, cupsOptions);
    if (job > 0) {
        m_lastError = 0;
        m_lastErrorString.clear();
        return job;
    }
    if (cups.lastError() == IPP_STATUS_ERROR_INTERNAL)
        diagnose(cups, name);
    m_lastError = int(cups.lastError());
    m_lastErrorString = QString::fromUtf8(cups.lastErrorString());
    return 0;
}

int CupsSpooler::printerState(const QString &printer) const
{
    const Cups &cups = Cups::library();
    if (!cups.failure.isEmpty())
        return 0;
    cups_dest_t *dest = cups.getNamedDest(CUPS_HTTP_DEFAULT, printer.toUtf8().constData(), nullptr);
    if (!dest)
        return 0;
    const char *state = cups.getOption("printer-state", dest->num_options, dest->options);
    const int value = state ? QByteArray(state).toInt() : 0;
    cups.freeDests(1, dest);
    return value;
}

bool CupsSpooler::answers()
{
    const Cups &cups = Cups::library();
    if (!cups.failure.isEmpty())
        return false;
    http_t *http = cups.connect(cups.server(), cups.port(), nullptr, AF_UNSPEC, cups.encryption(), 1, 5000, nullptr);
    if (!http)
        return false;
    cups.close(http);
    return true;
}
