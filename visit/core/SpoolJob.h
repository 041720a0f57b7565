#pragma once

#include <QString>

#include <functional>

class PrintSpooler;

// One print through the spooler: the report is written to a temporary PDF file, which is
// handed to the spooler under the document's name with the chosen paper and no scaling
// (the page is already laid out for that paper), then removed whatever happened.
class SpoolJob
{
public:
    enum class Outcome {
        Accepted,     // the spooler holds the job
        Paused,       // the spooler holds the job, but its queue is paused: the job waits
        NotAccepting, // the queue refuses jobs
        UnknownPrinter,
        Unreachable, // no spooler answered
        Refused      // any other refusal
    };

    struct Result {
        Outcome outcome;
        QString spoolerText; // the spooler's own answer when it refused
    };

    // Writes the document into the file at the path it is given; may throw, and the file is
    // removed all the same.
    using Render = std::function<void(const QString &path)>;

    SpoolJob(PrintSpooler &spooler, QString printer, QString jobName, QString paper);

    Result run(const Render &render);

    // What the spooler's IPP status means here.
    static Outcome outcomeOf(int jobId, int ippStatus);
    // What the practitioner reads when the job was refused, with the PDF question.
    static QString refusalText(const QString &printer, const Result &result);
    // What the practitioner reads when the job waits in a paused queue.
    static QString pausedText(const QString &printer);

private:
    PrintSpooler &m_spooler;
    QString m_printer;
    QString m_jobName;
    QString m_paper;
};
