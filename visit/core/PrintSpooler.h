#pragma once

#include <QList>
#include <QString>

#include <utility>

// The seam over the system's print spooler: a finished PDF file handed over as one job.
// Shaped like the spooler's own calls, so that its answers are read the same way here and in
// tests that need no spooler.
class PrintSpooler
{
public:
    using Options = QList<std::pair<QString, QString>>;

    virtual ~PrintSpooler() = default;

    // The job's number, or 0 when the spooler did not take it; lastError() and
    // lastErrorString() then say why.
    virtual int printFile(const QString &printer, const QString &file, const QString &jobName,
                          const Options &options) = 0;
    // The IPP status of the last request (0 when it succeeded).
    virtual int lastError() const = 0;
    // The spooler's own words about it.
    virtual QString lastErrorString() const = 0;
    // The IPP state of a queue: 3 idle, 4 printing, 5 stopped (paused); 0 when the spooler
    // does not say.
    virtual int printerState(const QString &printer) const = 0;

protected:
    PrintSpooler() = default;
    PrintSpooler(const PrintSpooler &) = default;
    PrintSpooler &operator=(const PrintSpooler &) = default;
};
